// The shift cash drop sheet printed from the "Drawer Balance" window: the shift's cash by
// kind, the petty cash paid out, the total, the amount dropped and the shortfall, with the
// rooms rented on the shift as a column on the right of the same page.
#pragma once

#include "platform/printer.h"

#include <optional>
#include <string>
#include <vector>

namespace printing {

// What the sheet shows, as the window holds it: the amounts are the texts of its value
// labels, the drop amount the text the clerk typed.
struct DropSheet {
    std::string dateText;
    std::string shift; // from the shift file
    std::string clerk;
    std::string cashFromRent;
    std::string cashFromVending;
    std::string cashFromDirectBill;
    std::string cashFromOther;
    std::string pettyCashOut;
    std::string totalShiftCash; // the window's total label
    std::string dropAmount;
    // The rooms rented on the shift in file order; nullopt when the shift has no rentals file,
    // which leaves the rooms column out, heading and all.
    std::optional<std::vector<std::string>> roomsRented;
};

// Rent + vending + direct bill + other - petty cash, each read from its text, added up exactly
// in decimals.
double TotalShiftCash(const std::string& rent, const std::string& vending, const std::string& directBill,
                      const std::string& other, const std::string& pettyCash);
// The total minus the amount dropped, exactly, rounded to 2 decimals (negative when the drawer
// holds more).
double DrawerShortfall(const std::string& totalShiftCash, const std::string& dropAmount);

inline constexpr int kDropSheetRuleWidth = 90;
// The rooms column: its heading's line, the column of rooms 1 to 8 and of rooms 9 onward.
inline constexpr int kRoomsHeadingTwips = 1200;
inline constexpr int kRoomsFirstColumn = 55;
inline constexpr int kRoomsSecondColumn = 60;
inline constexpr int kRoomsInFirstColumn = 8;

// The page as printed, line by line. The rooms column is laid over the lines of the sheet
// the way a printer puts text over what is already on the page; the heading's line is bold.
std::vector<platform::PrintedLine> DropSheetLines(const DropSheet& sheet);

// Prints the sheet as one document at font size 10.
void PrintDropSheet(platform::Printer& printer, const DropSheet& sheet);

} // namespace printing
