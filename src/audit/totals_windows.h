// What the totals windows show, print and write, as plain functions: the daily totals of a
// picked day, the monthly totals of a picked month, and the totals repair window's writes
// and its access code check.
#pragma once

#include "platform/clock.h"
#include "platform/files.h"
#include "platform/printer.h"
#include "printing/night_audit_totals.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace vantreth::audit {

// ---- Daily totals of a picked day ----

// The day picker's dates: today first, back to 1 January of today's year.
std::vector<std::string> DayPickerDates(const platform::Date& today);

// The figures of one day as the window shows them (plain number text, no leading blank).
struct DailyTotalsFigures {
    std::string dateText;
    // RoomRent, GrossRent, Tax, Cash, PetOther, PhoneCharges, VisaMaster, AmericanExpress,
    // Discover, Diners.
    std::array<std::string, 10> amounts;
    std::string stateTax, cityTax, roomsRented;
};

// Reads the rates stored now and the day's totals and rooms rented (creating missing day
// files empty).
DailyTotalsFigures ReadDailyTotalsFigures(const platform::DataFolder& folder, std::string_view dateText);
// The daily totals page with the window's texts after each caption.
printing::DailyTotalsPage DailyTotalsWindowPage(const DailyTotalsFigures& figures);

// ---- Monthly totals of a picked month ----

inline constexpr const char* kMonthItems[12] = {
    "1  -January", "2  -February", "3  -March",     "4  -April",   "5  -May",      "6  -June",
    "7  -July",    "8  -August",   "9  -September", "10 -October", "11 -November", "12 -Decemeber"};
// "2004" to the later of "2020" and the current year.
std::vector<std::string> YearItems(int currentYear);
// The month part of the day keys: the item's first two characters without blanks ("3").
std::string MonthKeyOf(std::string_view monthItem);
// The month name of the number the item starts with; "" when it is not 1 to 12.
std::string MonthNameOfItem(std::string_view monthItem);

struct MonthFigures {
    std::vector<std::string> rows; // a row for each day with RoomRent and GrossRent both not 0
    std::string rent, grossRent, tax, cash, other, phone, rooms, cityTax, stateTax;
};
// Days 1 to 31 of the month item and year item; missing day files are created empty.
MonthFigures ReadMonthFigures(const platform::DataFolder& folder, std::string_view monthItem,
                              std::string_view yearItem);
// One list row: the day text padded to 7, the amounts padded to 9 (cash 12), the rooms.
// A text that fills or passes its column is followed directly by the next one.
std::string MonthListRow(std::string_view dayText, float roomRent, float grossRent, float tax, float cash,
                         float petOther, float phone, float rooms);

// The window's print: the totals page (leading empty line) of the month and year items,
// then the continued page whose average rooms come from the rooms shown and whose tax
// lines print the texts shown. Nothing is deleted.
void PrintMonthWindowReport(const platform::DataFolder& folder, platform::Printer& printer,
                            std::string_view monthItem, std::string_view yearItem,
                            std::string_view roomsShown, std::string_view cityTaxShown,
                            std::string_view stateTaxShown);

// ---- Totals repair ----

// Lower-case hex SHA-256 of the bytes.
std::string Sha256Hex(std::string_view bytes);
// Whether the typed text is the access code, exactly (case and blanks count).
bool IsAccessCode(std::string_view typed);

inline constexpr const char* kRoomsCountWarning =
    "The number of rooms you typed is not a number. Please type it in digits, like 12.";
inline constexpr const char* kDateDigitsWarning =
    "Please type the day's date without slashes, like 12626 for 12/6/26.";

// Empty, or a whole or decimal number that is not negative.
bool IsRoomsCountText(std::string_view text);
// The typed day's DateDigits ("/" left out); "" when the text is not 4 to 6 digits.
std::string TypedDateDigits(std::string_view text);

// The day's RoomRent, GrossRent, Tax and Cash replaced, as given; other fields kept.
void RecomputeDayTotals(const platform::DataFolder& folder, std::string_view dateText, float roomRent,
                        float grossRent, float tax, float cash);
void ClearDayCash(const platform::DataFolder& folder, std::string_view dateText);
// The shift's CashFromRent := the amount rounded to 2 decimals; other fields kept.
void SetShiftCashFromRent(const platform::DataFolder& folder, std::string_view shift,
                          std::string_view dateText, double amount);
void SetRoomsRented(const platform::DataFolder& folder, std::string_view dateDigits, float rooms);
// The repair copy of the daily totals page for the date: no leading empty line, one tax line.
void PrintRepairTotalsPage(const platform::DataFolder& folder, platform::Printer& printer,
                           std::string_view dateText);

} // namespace vantreth::audit
