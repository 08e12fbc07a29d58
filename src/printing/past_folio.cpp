// The rebuilt folio of a checked-out stay: list lines, sums and the printed past folio.
#include "printing/past_folio.h"

#include "platform/decimal.h"
#include "platform/text.h"
#include "printing/letterhead.h"
#include "records/filenames.h"
#include "records/posting_codes.h"
#include "records/settings_files.h"

namespace printing {

using platform::PrintItems;
using platform::RTrim;
using records::HistoryEntry;
using records::StayLedgerLine;

namespace {

// The text filled with blanks to the column's width; a longer text keeps one blank
// after it so the next column never runs into it.
std::string Column(std::string text, size_t width) {
    if (text.size() < width)
        text.append(width - text.size(), ' ');
    else if (text.size() > width)
        text += ' ';
    return text;
}

platform::Decimal Rounded(const platform::Decimal& amount) {
    return amount.Rounded(2);
}

} // namespace

double CurrentTaxRate(const platform::DataFolder& folder) {
    return records::ReadTaxRate(folder).value_or(0.0);
}

bool IsTaxExempt(const HistoryEntry& entry) {
    return entry.TaxExempt == 1.0f;
}

platform::FilePath PastStayLedgerPath(const platform::DataFolder& folder, const HistoryEntry& entry) {
    return records::StayLedgerFile(folder, entry.Room, entry.LastName, entry.FirstName, entry.ArrivalDate);
}

std::optional<std::vector<StayLedgerLine>> ReadPastStayLedger(const platform::DataFolder& folder,
                                                              const HistoryEntry& entry) {
    const platform::FilePath ledger = PastStayLedgerPath(folder, entry);
    if (!platform::FileExists(ledger))
        return std::nullopt;
    return records::ReadStayLedger(ledger);
}

std::string PastFolioTaxText(const StayLedgerLine& line, double taxRate, bool taxExempt) {
    if (line.Code != "E")
        return std::string();
    return records::LineTax(line, taxRate, taxExempt).Text();
}

std::string PastFolioListLine(const StayLedgerLine& line, std::string_view taxText,
                              const platform::Decimal& balance) {
    std::string text = line.Room + "  " + line.Shift + "  " + line.PostDate + "  " + line.Code + "  ";
    text += Column(RTrim(line.Description), 28);
    text += Column(platform::StoredStr(line.Amount), 11);
    text += Column(std::string(taxText), 6);
    text += platform::AmountStr(balance);
    return text;
}

RebuiltFolio RebuildPastFolio(const std::vector<StayLedgerLine>& ledger, double taxRate, bool taxExempt) {
    RebuiltFolio folio;
    for (const StayLedgerLine& line : ledger) {
        folio.balance = records::AddToStayBalance(folio.balance, line, taxRate, taxExempt);
        folio.lines.push_back(
            PastFolioListLine(line, PastFolioTaxText(line, taxRate, taxExempt), folio.balance));
    }
    return folio;
}

std::vector<std::string> NoFurtherInfoListLines() {
    return {" ", " ", " ", " ", std::string(kNoFurtherInfoListLine)};
}

std::vector<std::string> PastFolioListLines(const platform::DataFolder& folder, const HistoryEntry& entry) {
    const std::optional<std::vector<StayLedgerLine>> ledger = ReadPastStayLedger(folder, entry);
    if (!ledger)
        return NoFurtherInfoListLines();
    return RebuildPastFolio(*ledger, CurrentTaxRate(folder), IsTaxExempt(entry)).lines;
}

PrintItems PastFolioNameLine(const HistoryEntry& entry) {
    PrintItems items;
    items.Text(RTrim(entry.FirstName) + " " + RTrim(entry.LastName))
        .Tab(45)
        .Text("Arrived: ")
        .Text(entry.ArrivalDate);
    return items;
}

PrintItems PastFolioStreetLine(const HistoryEntry& entry) {
    PrintItems items;
    items.Text(entry.Street).Tab(46).Text("Depart: ").Text(entry.CheckOutDate);
    return items;
}

PrintItems PastFolioTownLine(const HistoryEntry& entry) {
    PrintItems items;
    items.Text(RTrim(entry.City) + ", " + entry.State + "  " + entry.Zip)
        .Tab(40)
        .Text("Arrival Time: ")
        .Text(entry.CheckInTime);
    return items;
}

PrintItems PastFolioDepartTimeLine(const HistoryEntry& entry) {
    PrintItems items;
    items.Tab(41).Text("Depart Time: ").Text(entry.CheckOutTime);
    return items;
}

PrintItems PastFolioLedgerLine(const StayLedgerLine& line, std::string_view taxText,
                               const platform::Decimal& balance) {
    PrintItems items;
    items.Text(line.Room)
        .Tab(7)
        .Text(line.Shift)
        .Tab(12)
        .Text(line.PostDate)
        .Tab(22)
        .Text(line.Code)
        .Tab(28)
        .Text(line.Description)
        .Tab(50)
        .Value(line.Amount)
        .Tab(60)
        .Text(taxText)
        .Tab(65)
        .Value(balance);
    return items;
}

PrintItems PastFolioBalanceLine(const platform::Decimal& balance) {
    PrintItems items;
    items.Tab(52).Text("Balance.....").Tab(65).Value(balance);
    return items;
}

PastFolioTotals SumPastFolio(const std::vector<StayLedgerLine>& ledger, double taxRate, bool taxExempt) {
    return records::SumStayLedger(ledger, taxRate, taxExempt);
}

std::vector<std::string> PastFolioTotalsLines(const PastFolioTotals& totals) {
    std::vector<std::string> lines;
    auto add = [&lines](const PrintItems& items) {
        lines.insert(lines.end(), items.lines().begin(), items.lines().end());
    };
    if (totals.roomRent != platform::Decimal()) {
        add(PrintItems()
                .Text("ROOM RENT:")
                .Value(Rounded(totals.roomRent))
                .Tab(20)
                .Text("TAX:")
                .Value(Rounded(totals.tax)));
        lines.emplace_back();
    }
    const struct {
        const char* label;
        platform::Decimal sum;
    } cards[] = {
        {"VISA/MASTER:", totals.visaMaster},
        {"AMERICAN EXP.:", totals.americanExpress},
        {"DISCOVER:", totals.discover},
        {"DINERS:", totals.diners},
    };
    for (const auto& card : cards) {
        if (card.sum == platform::Decimal())
            continue;
        add(PrintItems().Text(card.label).Value(Rounded(card.sum)));
        lines.emplace_back();
    }
    if (totals.cash != platform::Decimal())
        add(PrintItems().Text("CASH RECEIVED:").Value(Rounded(totals.cash)));
    return lines;
}

std::string PastFolioDirectBillLine(std::string_view code,
                                    const std::optional<records::DirectBillAccount>& account) {
    std::string line = "DIRECT BILL ACCOUNT: " + std::string(code);
    if (account)
        line += " " + RTrim(account->CompanyName);
    return line;
}

void PrintPastFolio(platform::Printer& printer, const platform::DataFolder& folder,
                    const records::MotelSettings& motel, const HistoryEntry& entry) {
    const double rate = CurrentTaxRate(folder);
    const bool exempt = IsTaxExempt(entry);
    const std::optional<std::vector<StayLedgerLine>> ledger = ReadPastStayLedger(folder, entry);

    // The account is looked up only when the accounts file exists: this printout writes no file.
    const std::string accountCode = platform::Trim(entry.DBNumber);
    std::optional<records::DirectBillAccount> account;
    const bool directBill = entry.PayCode == records::kDirectBill.code;
    if (directBill && platform::FileExists(records::DbMemberFile(folder))) {
        if (const std::optional<long> n = records::FindAccount(folder, accountCode))
            account = records::ReadAccount(folder, *n);
    }

    StartFolioDocument(printer, motel);
    printer.Title(LetterheadDocumentName("Past Folio", "room", entry.Room,
                                         RTrim(entry.FirstName) + " " + RTrim(entry.LastName)));
    printer.Print(PastFolioNameLine(entry));
    printer.Print(PastFolioStreetLine(entry));
    printer.Print(PastFolioTownLine(entry));
    printer.Print(PastFolioDepartTimeLine(entry));
    printer.Print();
    printer.Print();
    printer.Print(kPastFolioHeading);
    printer.Print(std::string(kPastFolioRuleWidth, '='));

    if (!ledger) {
        printer.Print();
        printer.Print();
        printer.Print();
        printer.Print(kNoFurtherInfoPrintLine);
        printer.EndDoc();
        return;
    }

    platform::Decimal balance;
    for (const StayLedgerLine& line : *ledger) {
        balance = records::AddToStayBalance(balance, line, rate, exempt);
        printer.Print(PastFolioLedgerLine(line, PastFolioTaxText(line, rate, exempt), balance));
    }
    printer.Print(std::string(kPastFolioRuleWidth, '='));
    printer.Print(PastFolioBalanceLine(balance));
    printer.Print();
    for (const std::string& line : PastFolioTotalsLines(SumPastFolio(*ledger, rate, exempt)))
        printer.Print(line);
    if (directBill) {
        printer.Print();
        printer.Print(PastFolioDirectBillLine(accountCode, account));
        printer.Print();
    }
    printer.Print();
    printer.Print();
    printer.Print("Thank you for staying with " + motel.motelName + ". We hope your stay was an enjoyable");
    printer.Print("one. If you have any issues or problems, please let us know. Thank you!");
    printer.Print();
    printer.Print();
    printer.Print();
    printer.Print(PrintItems().Tab(18).Text("SIGNATURE:_______________________________________"));
    printer.EndDoc();
}

} // namespace printing
