// The rooms rented on one shift of the day: reading the shift's rentals file as far as it
// can be read, and the printed list of the night audit ("Rooms Rented On A Shift for ...").
#pragma once

#include "platform/files.h"
#include "platform/printer.h"

#include <string>
#include <string_view>
#include <vector>

namespace printing {

// One rental line with its four items as read: the room as stored, the shift letter, the
// clerk's initials and the time rented as the system's time text ("3:45:12 PM").
struct RentalItems {
    std::string Room;
    std::string Shift;
    std::string Clerk;
    std::string TimeRented;
    friend bool operator==(const RentalItems&, const RentalItems&) = default;
};

struct ShiftRentalsRead {
    bool opened = false;            // false when the file does not exist or cannot be opened
    std::vector<RentalItems> lines; // the readable lines of four items
};

// Reads "shiftrentals/" + shift + DateDigits in file order. Never throws: a file that cannot
// be opened gives opened == false, and a line that cannot be read is skipped, keeping the
// lines before and after it.
ShiftRentalsRead ReadShiftRentalsAsFarAsReadable(const platform::DataFolder& folder, std::string_view shift,
                                                 std::string_view dateText);

inline constexpr int kShiftRentalsRuleWidth = 75;
inline constexpr std::string_view kShiftRentalsHeader = "ROOM   SHIFT   CLERK   TIME RENTED";

std::string ShiftRentalsTitle(std::string_view shift, std::string_view dateText);
std::string NoShiftRentalsText(std::string_view shift);
// Room, Tab 8 shift, Tab 16 clerk, Tab 24 time, each as read.
platform::PrintItems ShiftRentalLineItems(const RentalItems& rental);

// The shift's printout for the date, one document.
void PrintShiftRentals(platform::Printer& printer, const platform::DataFolder& folder, std::string_view shift,
                       std::string_view dateText);

} // namespace printing
