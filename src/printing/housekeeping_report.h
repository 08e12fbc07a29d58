// The housekeeping report: what each room needs today, one line per room of the rooms
// file, with the counts of dirty-or-occupied rooms and of guests staying over. Printed
// from the Main Menu and by the night audit; the audit runs in the morning and passes
// afternoon = false.
#pragma once

#include "platform/files.h"
#include "platform/printer.h"
#include "records/guest_record.h"
#include "records/room_record.h"

#include <string>
#include <string_view>
#include <vector>

namespace printing {

inline constexpr int kHousekeepingRuleWidth = 75;
// The comment column is filled to this width; longer comments are printed in full.
inline constexpr size_t kHousekeepingCommentWidth = 50;

struct HousekeepingCounts {
    int dirtyOrOccupied = 0; // 1 per dirty room plus 1 per occupied room
    int stayovers = 0;       // in-house guests not due out today
};

HousekeepingCounts CountHousekeeping(const std::vector<records::RoomRecord>& rooms,
                                     const std::vector<records::GuestRecord>& guests, std::string_view today);

// The time text says afternoon or evening: it holds a "P" ("3:45:12 PM").
bool IsAfternoon(std::string_view timeText);

// The departure date of the first in-house guest whose Room equals the room's 3-character
// field; "" when the room has no guest record.
std::string DepartureDateOf(const std::vector<records::GuestRecord>& guests, std::string_view room3);

// The 11-character status word of a room. An empty departureDate (no guest record)
// differs from today, so an occupied room without a guest reads as staying over.
std::string HousekeepingStatus(const records::RoomRecord& room, std::string_view departureDate,
                               std::string_view today, bool afternoon);

// One room's line: room, Tab(7) type, Tab(14) status word, Tab(26) comment.
platform::PrintItems HousekeepingRoomLine(const records::RoomRecord& room, std::string_view departureDate,
                                          std::string_view today, bool afternoon);

std::string HousekeepingTitle(std::string_view motelName);
std::string HousekeepingDateLine(std::string_view today, const HousekeepingCounts& counts);
inline constexpr std::string_view kHousekeepingHeader = "ROOM  TYPE    S/O   C/O    COMMENTS";

// Reads "rooms" and "guest" and prints the whole report as one document.
void PrintHousekeepingReport(platform::Printer& printer, const platform::DataFolder& folder,
                             std::string_view motelName, std::string_view today, bool afternoon);

} // namespace printing
