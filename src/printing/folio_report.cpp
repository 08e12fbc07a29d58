// The guest's printed folio, on its own and at a direct-bill check-out.
#include "printing/folio_report.h"

#include "platform/decimal.h"
#include "platform/text.h"
#include "printing/letterhead.h"
#include "records/posting_codes.h"

namespace printing {

using platform::PrintItems;
using platform::RTrim;
using records::GuestRecord;
using records::StayLedgerLine;

namespace {

platform::Decimal Rounded(const platform::Decimal& amount) {
    return amount.Rounded(2);
}

void Append(std::vector<std::string>& lines, const PrintItems& items) {
    lines.insert(lines.end(), items.lines().begin(), items.lines().end());
}

// The tax column: a room-rent line's tax rounded to 2 decimals without a leading blank;
// "" for every other line.
std::string TaxText(const StayLedgerLine& line, double taxRate, bool taxExempt) {
    if (line.Code != "E")
        return std::string();
    return records::LineTax(line, taxRate, taxExempt).Text();
}

} // namespace

FolioReportTotals SumFolioReport(const std::vector<StayLedgerLine>& ledger, double taxRate, bool taxExempt) {
    FolioReportTotals t;
    static_cast<records::StayLedgerSums&>(t) = records::SumStayLedger(ledger, taxRate, taxExempt);
    for (const StayLedgerLine& line : ledger)
        t.balance = records::AddToStayBalance(t.balance, line, taxRate, taxExempt);
    return t;
}

PrintItems FolioReportNameLine(const GuestRecord& guest) {
    PrintItems items;
    items.Text(RTrim(guest.FirstName) + " " + RTrim(guest.LastName))
        .Tab(45)
        .Text("Arrived: " + guest.ArrivalDate);
    return items;
}

PrintItems FolioReportStreetLine(const GuestRecord& guest) {
    PrintItems items;
    items.Text(guest.Street).Tab(46).Text("Depart: " + guest.DepartureDate);
    return items;
}

PrintItems FolioReportTownLine(const GuestRecord& guest) {
    PrintItems items;
    items.Text(RTrim(guest.City) + ", " + guest.State + "  " + guest.Zip)
        .Tab(40)
        .Text("Arrival Time: " + guest.CheckInTime);
    return items;
}

PrintItems FolioReportPresentTimeLine(std::string_view timeText) {
    PrintItems items;
    items.Tab(40).Text("Present Time: ").Text(timeText);
    return items;
}

PrintItems FolioReportDepartTimeLine(std::string_view checkOutTime) {
    PrintItems items;
    items.Tab(41).Text("Depart Time: ").Text(checkOutTime);
    return items;
}

PrintItems FolioReportTodayLine(std::string_view dateText) {
    PrintItems items;
    items.Tab(47).Text("Today: ").Text(dateText);
    return items;
}

PrintItems FolioReportLedgerLine(const StayLedgerLine& line, std::string_view taxText,
                                 const platform::Decimal& balance, FolioForm form) {
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
        .Text(platform::StoredStr(line.Amount))
        .Tab(form == FolioForm::PrintFolio ? 60 : 59)
        .Text(taxText)
        .Tab(65)
        .Text(platform::AmountStr(balance));
    return items;
}

PrintItems FolioReportBalanceLine(const platform::Decimal& balance, FolioForm form) {
    PrintItems items;
    if (form == FolioForm::PrintFolio)
        items.Tab(52).Text("Balance.....");
    else
        items.Tab(43).Text("Balance this stay.....");
    items.Tab(65).Text(platform::AmountStr(balance));
    return items;
}

std::vector<std::string> PrintFolioTotalsLines(const FolioReportTotals& totals, std::string_view payCode,
                                               std::string_view accountLine) {
    std::vector<std::string> lines;
    if (totals.roomRent != platform::Decimal()) {
        Append(lines, PrintItems()
                          .Text("ROOM RENT:")
                          .Value(Rounded(totals.roomRent))
                          .Tab(20)
                          .Text("TAX:")
                          .Value(Rounded(totals.tax)));
    }
    const struct {
        const char* label;
        platform::Decimal sum;
    } sums[] = {
        {"VISA/MASTER:", totals.visaMaster}, {"AMERICAN EXP.:", totals.americanExpress},
        {"DISCOVER:", totals.discover},      {"DINERS:", totals.diners},
        {"CASH RECEIVED:", totals.cash},
    };
    for (const auto& sum : sums) {
        if (sum.sum != platform::Decimal())
            Append(lines, PrintItems().Text(sum.label).Value(Rounded(sum.sum)));
    }
    if (payCode == records::kDirectBill.code) {
        lines.emplace_back();
        lines.push_back("DIRECT BILL ACCOUNT: " + platform::Trim(accountLine));
        lines.emplace_back();
    }
    lines.emplace_back();
    lines.emplace_back();
    return lines;
}

std::vector<std::string> CheckOutTotalsLines(const FolioReportTotals& totals, std::string_view accountLine,
                                             std::optional<platform::Decimal> accountBalanceAfter) {
    std::vector<std::string> lines;
    if (totals.roomRent != platform::Decimal()) {
        Append(lines, PrintItems()
                          .Text("ROOM RENT:")
                          .Value(totals.roomRent)
                          .Tab(20)
                          .Text("TAX:")
                          .Value(Rounded(totals.tax)));
    }
    if (totals.cash != platform::Decimal())
        Append(lines, PrintItems().Text("CASH RECEIVED:").Value(totals.cash));
    lines.emplace_back();
    lines.push_back("DIRECT BILL ACCOUNT: " + platform::Trim(accountLine));
    lines.emplace_back();
    lines.emplace_back();
    if (accountBalanceAfter) {
        Append(lines, PrintItems().Tab(29).Text("Account balance after this stay....." +
                                                platform::AmountStr(*accountBalanceAfter)));
    }
    lines.emplace_back();
    lines.emplace_back();
    return lines;
}

std::vector<std::string> FolioClosingLines(std::string_view motelName, FolioForm form) {
    std::vector<std::string> lines;
    lines.push_back("Thank you for staying with " + std::string(motelName) +
                    ". We hope your stay was an enjoyable");
    lines.push_back("one. If you have any issues or problems, please let us know. Thank you!");
    lines.emplace_back();
    lines.emplace_back();
    lines.emplace_back();
    Append(lines, PrintItems()
                      .Tab(form == FolioForm::PrintFolio ? 18 : 20)
                      .Text("SIGNATURE:_______________________________________"));
    return lines;
}

FolioReportTotals PrintFolioReport(platform::Printer& printer, const records::MotelSettings& motel,
                                   const FolioReport& report) {
    const GuestRecord& guest = report.guest;
    const bool exempt = guest.IsTaxExempt();
    const bool folio = report.form == FolioForm::PrintFolio;

    StartFolioDocument(printer, motel);
    printer.Title(LetterheadDocumentName(folio ? "Folio" : "Check-Out Folio", "room", guest.Room,
                                         RTrim(guest.FirstName) + " " + RTrim(guest.LastName)));
    printer.Print(FolioReportNameLine(guest));
    printer.Print(FolioReportStreetLine(guest));
    printer.Print(FolioReportTownLine(guest));
    printer.Print(folio ? FolioReportPresentTimeLine(report.timeText)
                        : FolioReportDepartTimeLine(report.timeText));
    printer.Print(FolioReportTodayLine(report.dateText));
    printer.Print();
    printer.Print();
    printer.Print(kFolioReportHeading);
    printer.Print(std::string(kFolioReportRuleWidth, '='));

    platform::Decimal balance;
    for (const StayLedgerLine& line : report.ledger) {
        balance = records::AddToStayBalance(balance, line, report.taxRate, exempt);
        printer.Print(
            FolioReportLedgerLine(line, TaxText(line, report.taxRate, exempt), balance, report.form));
    }
    const FolioReportTotals totals = SumFolioReport(report.ledger, report.taxRate, exempt);

    printer.Print(std::string(kFolioReportRuleWidth, '='));
    printer.Print(FolioReportBalanceLine(totals.balance, report.form));
    printer.Print();

    std::vector<std::string> lines;
    if (folio) {
        lines = PrintFolioTotalsLines(totals, guest.PayCode, report.accountLine);
    } else {
        std::optional<platform::Decimal> after;
        if (report.account)
            after = (platform::Decimal::Of(report.account->Balance) + totals.balance).Rounded(2);
        lines = CheckOutTotalsLines(totals, report.accountLine, after);
    }
    for (const std::string& line : lines)
        printer.Print(line);
    for (const std::string& line : FolioClosingLines(motel.motelName, report.form))
        printer.Print(line);
    printer.EndDoc();
    return totals;
}

} // namespace printing
