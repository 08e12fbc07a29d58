// The printed list of out-of-order rooms (Service "X"), from the Main Menu and from the
// "Out of Order Rooms" window.
#pragma once

#include "platform/files.h"
#include "platform/printer.h"
#include "records/room_record.h"

#include <string>
#include <string_view>

namespace printing {

inline constexpr int kOutOfOrderRuleWidth = 77;
inline constexpr std::string_view kOutOfOrderHeader = "ROOM  TYPE   COMMENT";

std::string OutOfOrderTitle(std::string_view today);
// Room as stored, Tab(7) type, Tab(14) the comment without its blanks.
platform::PrintItems OutOfOrderRoomLine(const records::RoomRecord& room);

// Reads "rooms" and prints the list as one document; blankLineFirst puts one empty line
// above the title (the window's printout).
void PrintOutOfOrderList(platform::Printer& printer, const platform::DataFolder& folder,
                         std::string_view today, bool blankLineFirst);

} // namespace printing
