// Room availability for a day: the rooms of each group of room types less the reservations
// that hold one of them that night, and the chart of days the clerk picks from.
#pragma once

#include "platform/clock.h"
#include "records/guest_record.h"
#include "records/room_record.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantreth {

// The groups of room types the report counts, in the order of RoomGroupCounts.
enum RoomGroup : int {
    kGroupNK1,
    kGroupK11,
    kGroupNQ1,
    kGroupQ11,
    kGroupNDD1,
    kGroupDD1,
    kGroupJQZ,
    kRoomGroups
};
using RoomGroupCounts = std::array<int, kRoomGroups>;

// The group of a room type (trailing blanks dropped, compared exactly); none for a type the
// report does not count.
std::optional<RoomGroup> RoomGroupOf(std::string_view roomType);

// Whether the reservation holds its room on the night of `day` (a date text): on its arrival
// day, and on every day after it up to, not including, its departure day. The dates are
// read as calendar dates, two-digit years placed around `currentYear`, so "3/12/2026" is
// the night of 3/12/26 and a stay runs across the end of a month or a year. Every room
// list of the reservations and the availability counts go by this one rule.
bool HoldsRoomOn(const records::GuestRecord& reservation, std::string_view day, int currentYear);
// Whether the reservation holds its room on any night from `from` up to, not including,
// `until`. A reservation without a readable departure after its arrival holds its arrival
// night only, and only when its arrival is stored in the system's own date form.
bool HoldsRoomDuring(const records::GuestRecord& reservation, const platform::Date& from,
                     const platform::Date& until, int currentYear);
// The same rules on a reservation's two dates as stored (ArrivalDate, DepartureDate).
bool DatesHoldRoomOn(std::string_view arrivalDate, std::string_view departureDate, std::string_view day,
                     int currentYear);
bool DatesHoldRoomDuring(std::string_view arrivalDate, std::string_view departureDate,
                         const platform::Date& from, const platform::Date& until, int currentYear);

// Per group: its rooms, less one for every reservation holding a room of the group on `day`
// (a room listed twice in the rooms file counts twice). Out-of-order and occupied rooms
// count as available. Counts can go below zero when a room is booked twice.
RoomGroupCounts CountAvailableRooms(const std::vector<records::RoomRecord>& rooms,
                                    const std::vector<records::GuestRecord>& reservations,
                                    std::string_view day, int currentYear);
// The same counts from the reservations file's slots, reading only their rooms and dates.
RoomGroupCounts CountAvailableRooms(const std::vector<records::RoomRecord>& rooms,
                                    const records::GuestSlots& reservations, std::string_view day,
                                    int currentYear);

inline constexpr int kDateChartDays = 372;
// The days of the chart as date texts: today, then each following day.
std::vector<std::string> DateChart(const platform::Date& today);

} // namespace vantreth
