// Room counts by group of room types for one day, and the chart of days.
#include "reservations/room_availability.h"

#include "platform/text.h"

namespace vantreth {

using platform::RTrim;

std::optional<RoomGroup> RoomGroupOf(std::string_view roomType) {
    const std::string type = RTrim(roomType);
    if (type == "NK1") return kGroupNK1;
    if (type == "K11") return kGroupK11;
    if (type == "NQ1" || type == "PNQ1") return kGroupNQ1;
    if (type == "Q11" || type == "PQ1") return kGroupQ11;
    if (type == "NDD1") return kGroupNDD1;
    if (type == "DD1") return kGroupDD1;
    if (type == "SNQ1" || type == "SQ1" || type == "SQ3" || type == "SNQ3") return kGroupJQZ;
    return std::nullopt;
}

// The nights are compared as dates, so a stay that runs into the next month or year
// holds its room on every night of it.
bool HoldsRoomOn(const records::GuestRecord& reservation, std::string_view day, int currentYear) {
    const std::string arrivalText = RTrim(reservation.ArrivalDate);
    if (arrivalText.empty()) return false;
    if (arrivalText == RTrim(day)) return true;
    const auto night = platform::ParseDate(day, currentYear);
    if (!night) return false;
    return HoldsRoomDuring(reservation, *night, platform::AddDays(*night, 1), currentYear);
}

bool HoldsRoomDuring(const records::GuestRecord& reservation, const platform::Date& from,
                     const platform::Date& until, int currentYear) {
    const std::string arrivalText = RTrim(reservation.ArrivalDate);
    if (arrivalText.empty()) return false;
    const auto arrival = platform::ParseDate(arrivalText, currentYear);
    if (!arrival) return false;
    const long first = platform::DaysFromCivil(from);
    const long last = platform::DaysFromCivil(until);
    const long in = platform::DaysFromCivil(*arrival);
    const auto departure = platform::ParseDate(reservation.DepartureDate, currentYear);
    if (departure && platform::DaysFromCivil(*departure) > in)
        return in < last && first < platform::DaysFromCivil(*departure);
    return platform::DateText(*arrival) == arrivalText && first <= in && in < last;
}

RoomGroupCounts CountAvailableRooms(const std::vector<records::RoomRecord>& rooms,
                                    const std::vector<records::GuestRecord>& reservations, std::string_view day,
                                    int currentYear) {
    RoomGroupCounts counts{};
    for (const records::RoomRecord& room : rooms)
        if (auto group = RoomGroupOf(room.RoomType)) counts[*group]++;
    for (const records::GuestRecord& reservation : reservations) {
        if (!HoldsRoomOn(reservation, day, currentYear)) continue;
        const std::string room3 = platform::Fixed(reservation.Room, records::RoomRecord::kRoomWidth);
        for (const records::RoomRecord& room : rooms) {
            if (platform::Fixed(room.Room, records::RoomRecord::kRoomWidth) != room3) continue;
            if (auto group = RoomGroupOf(room.RoomType)) counts[*group]--;
        }
    }
    return counts;
}

std::vector<std::string> DateChart(const platform::Date& today) {
    std::vector<std::string> days;
    days.reserve(kDateChartDays);
    for (int i = 0; i < kDateChartDays; ++i) days.push_back(platform::DateText(platform::AddDays(today, i)));
    return days;
}

} // namespace vantreth
