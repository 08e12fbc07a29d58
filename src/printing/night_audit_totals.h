// The night audit's totals report: the daily totals page, the direct bill charges,
// payments and balances, the vending and other cash of each shift, the day's
// cancellations and petty cash out, each page its own document. The daily totals page is
// also printed on its own from the reports menu and the totals repair window.
#pragma once

#include "platform/decimal.h"
#include "platform/files.h"
#include "platform/printer.h"
#include "records/day_totals.h"

#include <string>
#include <string_view>

namespace printing {

// State or city tax on the day's room rent: rate x RoomRent, exactly, rounded to 2
// decimals.
platform::Decimal TaxOnRoomRent(float rate, const platform::Decimal& roomRent);

// One copy of the daily totals page. Every value is the text printed right after its
// caption's dot leader.
struct DailyTotalsPage {
    std::string dateText;
    std::string roomRent, grossRent, tax, stateTax, cityTax, cash, petOther, phone, visaMaster,
        americanExpress, discover, diners;
    // The last line whole ("                          TOTAL ROOMS TODAY: 12" or the like).
    std::string roomsLine;
    bool leadingBlankLine = true; // the totals repair copy starts with the title
    // false: one "Tax.............." line in place of the total, state and city tax lines
    bool taxBreakdown = true;
};

// The night audit's copy: amounts as number values (" 45.5 "), the state and city tax
// computed from the rates on RoomRent, the rooms as number text.
DailyTotalsPage AuditDailyTotalsPage(const records::DayTotals& totals, float stateTaxRate, float cityTaxRate,
                                     float roomsRented, std::string_view dateText);

// Prints the page as one document (ends any open document first).
void PrintDailyTotalsPage(platform::Printer& printer, const DailyTotalsPage& page);
// The night audit's copy for the date, read from the day's totals and rooms rented and
// the state and city tax rates.
void PrintDailyTotalsPage(const platform::DataFolder& folder, platform::Printer& printer,
                          std::string_view dateText);

// The whole report for the business date: writes 0 to "cdropyes", prints the eight
// pages, and writes 0 to "dbpaymentyesno" after the payments page.
void PrintNightAuditTotalsReport(const platform::DataFolder& folder, platform::Printer& printer,
                                 std::string_view dateText);

// The pages one by one, for the date.
void PrintDirectBillChargesPage(const platform::DataFolder& folder, platform::Printer& printer,
                                std::string_view dateText);
// Prints the day's payments when "dbpaymentyesno" holds 1, then writes 0 to it.
void PrintDirectBillPaymentsPage(const platform::DataFolder& folder, platform::Printer& printer,
                                 std::string_view dateText);
void PrintAccountsWithBalancesPage(const platform::DataFolder& folder, platform::Printer& printer,
                                   std::string_view dateText);
void PrintCashFromVendingPage(const platform::DataFolder& folder, platform::Printer& printer,
                              std::string_view dateText);
void PrintCashFromOtherPage(const platform::DataFolder& folder, platform::Printer& printer,
                            std::string_view dateText);
void PrintCanceledReservationsPage(const platform::DataFolder& folder, platform::Printer& printer,
                                   std::string_view dateText);
void PrintPettyCashOutPage(const platform::DataFolder& folder, platform::Printer& printer,
                           std::string_view dateText);

} // namespace printing
