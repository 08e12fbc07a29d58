// The monthly totals report: day by day rent, tax, cash, other, phone and rooms, the
// card takings, and the month's averages and taxes. The night audit prints it for the
// month that has just ended, after the guest listing; the monthly totals window prints it
// for any month.
#pragma once

#include "platform/clock.h"
#include "platform/decimal.h"
#include "platform/files.h"
#include "platform/printer.h"

#include <string>
#include <string_view>
#include <vector>

namespace printing {

// "January" .. "December"; "" for any other number.
std::string MonthName(int month);
// The name of the month number at the start of a date text ("10/31/26" gives "October").
std::string MonthNameOfDateText(std::string_view dateText);

// One day of the report: the text printed on its line and the DateDigits of its files.
struct MonthDay {
    std::string dateText;
    std::string digits;
};
// The audit's days: the 1st to the last day before the business date, of that day's month.
std::vector<MonthDay> AuditMonthDays(const platform::Date& businessDate);
// Days 1 to 31 of a picked month, also in shorter months: "3/5/04" with the files of "3504".
// month: the month number text ("3"); year: its last two characters are used ("2004").
std::vector<MonthDay> MonthDaySlots(std::string_view month, std::string_view year);

// What happens to a day's totals file that holds no amount once the report has read it.
enum class EmptyTotalsFiles { Keep, Delete };

// The amounts are added up exactly in decimals.
struct MonthlyRentSums {
    platform::Decimal roomRent, grossRent, tax, cash, petOther, phone;
    float roomsRented = 0;
    // The days' RoomRent / RoomsRented, plus RoomRent of days without rooms, each quotient
    // to kAverageDigits decimals, so that the average is their mean rounded once.
    platform::Decimal averageRentSum;
    int countedDays = 0; // days with RoomRent and RoomsRented both not 0
};
struct MonthlyCardSums {
    platform::Decimal visaMaster, americanExpress, discover, diners;
};

// The first page (one document): a line for each day with RoomRent and GrossRent both
// not 0, then the totals line. Returns the sums over every day.
MonthlyRentSums PrintMonthlyTotalsPage(const platform::DataFolder& folder, platform::Printer& printer,
                                       std::string_view monthName, const std::vector<MonthDay>& days,
                                       bool leadingBlankLine, EmptyTotalsFiles emptyFiles);
// The card page (one document).
MonthlyCardSums PrintMonthlyCardPage(const platform::DataFolder& folder, platform::Printer& printer,
                                     std::string_view monthName, const std::vector<MonthDay>& days,
                                     EmptyTotalsFiles emptyFiles);

// The texts printed after the four captions of the continued page.
struct MonthlyContinuedValues {
    std::string averageRent, averageRooms, cityTax, stateTax;
};
// The audit's values, printed as number values: the averages over the counted days (0
// when no day was counted), the city and state tax on the rounded rent sum.
MonthlyContinuedValues AuditContinuedValues(const MonthlyRentSums& sums, float cityTaxRate,
                                            float stateTaxRate);
// The continued page (one document).
void PrintMonthlyContinuedPage(platform::Printer& printer, std::string_view monthName,
                               const MonthlyContinuedValues& values);

// The audit's monthly report of the month that ended before the business date: the totals
// page, the card page and the continued page; totals files without any amount are deleted.
void PrintAuditMonthlyTotals(const platform::DataFolder& folder, platform::Printer& printer,
                             const platform::Date& businessDate);

// The report for any month, read from its 31 day slots, without deleting anything: the
// totals page (starting with an empty line) and the continued page with the audit's values.
void PrintMonthlyTotalsForMonth(const platform::DataFolder& folder, platform::Printer& printer,
                                std::string_view month, std::string_view year);

// The audit's fifth step: the guest listing, then, when monthBefore and monthAfter differ,
// the monthly report. Returns true when the monthly report was printed.
bool PrintNightAuditGuestListing(const platform::DataFolder& folder, platform::Printer& printer,
                                 const platform::Date& businessDate, std::string_view monthBefore,
                                 std::string_view monthAfter);

} // namespace printing
