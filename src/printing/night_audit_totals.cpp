// The night audit's totals report pages.
#include "printing/night_audit_totals.h"

#include "platform/decimal.h"
#include "platform/text.h"
#include "records/cancel_record.h"
#include "records/counters.h"
#include "records/direct_bill.h"
#include "records/direct_bill_files.h"
#include "records/filenames.h"
#include "records/petty_cash.h"
#include "records/settings_files.h"
#include "records/shift_cash.h"

#include <vector>

namespace printing {

using platform::Printer;
using platform::PrintItems;

namespace {

std::string Dashes(int n) {
    return std::string(static_cast<size_t>(n), '-');
}

// An amount printed as a value: the exact figure the record keeps, in Str form, and one blank.
std::string ValueText(float v) {
    return platform::StoredStr(v) + " ";
}
std::string ValueText(const platform::Decimal& v) {
    return platform::AmountStr(v) + " ";
}

// Every page is a document of its own, at font size 10.
void StartPage(Printer& printer) {
    printer.EndDoc();
    printer.FontSize(10);
}

void EmptySection(Printer& printer, std::string_view line) {
    printer.Print();
    printer.Print();
    printer.Print(line);
}

// The head every page but the first shares: a blank line, the title and the date, two
// blank lines.
void PageTitle(Printer& printer, std::string_view title, std::string_view dateText) {
    printer.Print();
    printer.Print(std::string(title) + std::string(dateText));
    printer.Print();
    printer.Print();
}

// The vending and the other cash pages.
void PrintShiftCashPage(const platform::DataFolder& folder, Printer& printer, std::string_view dateText,
                        std::string_view title, records::ShiftCashField field) {
    StartPage(printer);
    PageTitle(printer, title, dateText);
    printer.Print(Dashes(73));
    printer.Print("SHIFT  CLERK    AMOUNT");
    printer.Print(Dashes(73));
    bool found = false;
    for (const char* shift : {"A", "B", "C"}) {
        const records::ShiftCash cash = records::ReadShiftCash(folder, shift, dateText);
        const float amount = cash.Amount(field);
        if (amount == 0)
            continue;
        printer.Print(PrintItems().Text(cash.Shift).Tab(8).Text(cash.Clerk).Tab(17).Value(amount));
        found = true;
    }
    if (!found)
        EmptySection(printer, "                             No Payments Today");
    printer.EndDoc();
}

} // namespace

platform::Decimal TaxOnRoomRent(float rate, const platform::Decimal& roomRent) {
    return (platform::Decimal::Of(rate) * roomRent).Rounded(2);
}

DailyTotalsPage AuditDailyTotalsPage(const records::DayTotals& totals, float stateTaxRate, float cityTaxRate,
                                     float roomsRented, std::string_view dateText) {
    DailyTotalsPage page;
    page.dateText = std::string(dateText);
    page.roomRent = ValueText(totals.RoomRent);
    page.grossRent = ValueText(totals.GrossRent);
    page.tax = ValueText(totals.Tax);
    page.stateTax = ValueText(TaxOnRoomRent(stateTaxRate, platform::Decimal::Of(totals.RoomRent)));
    page.cityTax = ValueText(TaxOnRoomRent(cityTaxRate, platform::Decimal::Of(totals.RoomRent)));
    page.cash = ValueText(totals.Cash);
    page.petOther = ValueText(totals.PetOther);
    page.phone = ValueText(totals.PhoneCharges);
    page.visaMaster = ValueText(totals.VisaMaster);
    page.americanExpress = ValueText(totals.AmericanExpress);
    page.discover = ValueText(totals.Discover);
    page.diners = ValueText(totals.Diners);
    page.roomsLine = "                          TOTAL ROOMS TODAY:" + platform::Str(roomsRented);
    return page;
}

void PrintDailyTotalsPage(Printer& printer, const DailyTotalsPage& page) {
    printer.FontSize(10);
    printer.EndDoc();
    printer.FontSize(10);
    if (page.leadingBlankLine)
        printer.Print();
    printer.Print("                          Totals Report for " + page.dateText);
    printer.Print(Dashes(72));
    printer.Print();
    printer.Print();
    auto amountLine = [&printer](std::string_view caption, const std::string& value) {
        printer.Print(std::string(caption) + value);
        printer.Print();
    };
    amountLine("                          Room Rent........", page.roomRent);
    amountLine("                          Gross Rent.......", page.grossRent);
    if (page.taxBreakdown) {
        amountLine("                          Total Taxes......", page.tax);
        amountLine("                          State Tax........", page.stateTax);
        amountLine("                          City Tax.........", page.cityTax);
    } else {
        amountLine("                          Tax..............", page.tax);
    }
    amountLine("                          Cash.............", page.cash);
    amountLine("                          Pet or Other.....", page.petOther);
    amountLine("                          Phone............", page.phone);
    amountLine("                          Visa/Master......", page.visaMaster);
    amountLine("                          American Ex......", page.americanExpress);
    amountLine("                          Discover.........", page.discover);
    printer.Print("                          Diners..........." + page.diners);
    printer.Print();
    printer.Print();
    printer.Print();
    printer.Print(page.roomsLine);
    printer.EndDoc();
}

void PrintDailyTotalsPage(const platform::DataFolder& folder, Printer& printer, std::string_view dateText) {
    const records::DayTotals totals = records::ReadDayTotals(folder, dateText);
    const float cityRate = records::ReadCityTax(folder);
    const float stateRate = records::ReadStateTax(folder);
    const float rooms = records::ReadRoomsRented(folder, dateText).RoomsRented;
    PrintDailyTotalsPage(printer, AuditDailyTotalsPage(totals, stateRate, cityRate, rooms, dateText));
}

void PrintDirectBillChargesPage(const platform::DataFolder& folder, Printer& printer,
                                std::string_view dateText) {
    // A day without a direct bill check-out has no file.
    std::vector<records::DbDailyLine> lines;
    if (platform::FileExists(records::DayFilePath(folder, records::DayFile::DbDaily, dateText)))
        lines = records::ReadDbDaily(folder, dateText);
    StartPage(printer);
    PageTitle(printer, "                  Total Direct Bill Charges For ", dateText);
    printer.Print(Dashes(66));
    printer.Print("ROOM  SHIFT  DATE     COMPANY                           AMOUNT");
    printer.Print(Dashes(66));
    for (const records::DbDailyLine& line : lines) {
        printer.Print(PrintItems()
                          .Text(line.Room + "   " + line.Shift + "      " + line.PostDate)
                          .Tab(23)
                          .Text(platform::Left(line.Account, 33))
                          .Tab(56)
                          .Text(platform::StoredStr(line.Amount)));
        printer.Print(Dashes(66));
    }
    if (lines.empty())
        EmptySection(printer, "                             No Charges Today");
    printer.EndDoc();
}

void PrintDirectBillPaymentsPage(const platform::DataFolder& folder, Printer& printer,
                                 std::string_view dateText) {
    // A missing flag means no payment; a missing day file under a set flag, a day
    // without payments.
    std::vector<records::DbPaymentLine> lines;
    if (records::ReadDbPaymentFlag(folder).value_or(0) == 1 &&
        platform::FileExists(records::DayFilePath(folder, records::DayFile::DbPayments, dateText)))
        lines = records::ReadDbPayments(folder, dateText);
    StartPage(printer);
    PageTitle(printer, "                       Direct Bill Payments for ", dateText);
    printer.Print(Dashes(73));
    printer.Print("COMPANY NAME                                PAYMENT     NEW BALANCE");
    printer.Print(Dashes(73));
    for (const records::DbPaymentLine& line : lines) {
        printer.Print(
            PrintItems().Text(line.Account).Tab(45).Text(line.Payment).Tab(57).Text(line.NewBalance));
        printer.Print(Dashes(73));
    }
    if (lines.empty())
        EmptySection(printer, "                             No Payments Today");
    printer.EndDoc();
    records::WriteDbPaymentFlag(folder, 0);
}

void PrintAccountsWithBalancesPage(const platform::DataFolder& folder, Printer& printer,
                                   std::string_view dateText) {
    const std::vector<records::DirectBillAccount> accounts = records::ReadAllAccounts(folder);
    StartPage(printer);
    PageTitle(printer, "               Direct Bill Accounts With Balances for ", dateText);
    printer.Print("COMPANY NAME                                         BALANCE");
    printer.Print(Dashes(73));
    platform::Decimal total;
    bool found = false;
    for (const records::DirectBillAccount& account : accounts) {
        if (account.IsDeleted() || !(account.Balance > 0))
            continue;
        const platform::Decimal balance = platform::Decimal::Of(account.Balance).Rounded(2);
        printer.Print(PrintItems()
                          .Text(platform::Trim(account.CompanyName))
                          .Tab(53)
                          .Text(platform::AmountStr(balance)));
        printer.Print(Dashes(73));
        total += balance;
        found = true;
    }
    printer.Print();
    printer.Print(PrintItems().Tab(47).Text("TOTAL:").Text(platform::AmountStr(total.Rounded(2))));
    if (!found)
        EmptySection(printer, "                         No Accounts Have Balances Due");
    printer.EndDoc();
}

void PrintCashFromVendingPage(const platform::DataFolder& folder, Printer& printer,
                              std::string_view dateText) {
    PrintShiftCashPage(folder, printer, dateText, "                       Cash From Vending Report For ",
                       records::ShiftCashField::CashFromVending);
}

void PrintCashFromOtherPage(const platform::DataFolder& folder, Printer& printer, std::string_view dateText) {
    PrintShiftCashPage(folder, printer, dateText, "                       Cash From Other Report For ",
                       records::ShiftCashField::CashFromOther);
}

void PrintCanceledReservationsPage(const platform::DataFolder& folder, Printer& printer,
                                   std::string_view dateText) {
    const std::vector<records::CancelRecord> records =
        records::ReadCancelRecords(records::DayFilePath(folder, records::DayFile::Notes, dateText));
    StartPage(printer);
    PageTitle(printer, "                       Canceled Reservations Report For ", dateText);
    printer.Print(Dashes(78));
    printer.Print("NAME                             ORIGINAL DATE     CANCELED DATE   CLERK");
    printer.Print(Dashes(78));
    for (const records::CancelRecord& record : records) {
        printer.Print(PrintItems()
                          .Text(platform::RTrim(record.GuestName))
                          .Tab(34)
                          .Text(record.ReservedOn)
                          .Tab(52)
                          .Text(record.CanceledOn)
                          .Tab(68)
                          .Text(record.Clerk));
    }
    if (records.empty())
        EmptySection(printer, "                             No Cancelations Today");
    printer.EndDoc();
}

void PrintPettyCashOutPage(const platform::DataFolder& folder, Printer& printer, std::string_view dateText) {
    const std::vector<records::PettyCashRecord> records = records::ReadPettyCash(folder, dateText);
    StartPage(printer);
    PageTitle(printer, "                       Petty Cash Out Report For ", dateText);
    printer.Print(Dashes(78));
    printer.Print("CLERK       AMOUNT         DATE               TIME");
    printer.Print(Dashes(78));
    bool found = false;
    for (const records::PettyCashRecord& record : records) {
        if (record.Amount == 0)
            continue;
        printer.Print(PrintItems()
                          .Text(record.Clerk)
                          .Tab(13)
                          .Text(platform::StoredStr(record.Amount))
                          .Tab(28)
                          .Text(record.DateText)
                          .Tab(47)
                          .Text(record.TimeText));
        found = true;
    }
    if (!found)
        EmptySection(printer, "                             No Petty Cash Out Today");
    printer.EndDoc();
}

void PrintNightAuditTotalsReport(const platform::DataFolder& folder, Printer& printer,
                                 std::string_view dateText) {
    records::WriteNumberFile(folder, records::kCashDropYesFile, 0);
    PrintDailyTotalsPage(folder, printer, dateText);
    PrintDirectBillChargesPage(folder, printer, dateText);
    PrintDirectBillPaymentsPage(folder, printer, dateText);
    PrintAccountsWithBalancesPage(folder, printer, dateText);
    PrintCashFromVendingPage(folder, printer, dateText);
    PrintCashFromOtherPage(folder, printer, dateText);
    PrintCanceledReservationsPage(folder, printer, dateText);
    PrintPettyCashOutPage(folder, printer, dateText);
}

} // namespace printing
