// Room counts by group of room types for one day, and the chart of days.
#include "reservations/room_availability.h"

#include "platform/text.h"

namespace vantreth {

using platform::RTrim;

std::optional<RoomGroup> RoomGroupOf(std::string_view roomType) {
    const std::string type = RTrim(roomType);
    if (type == "NK1")
        return kGroupNK1;
    if (type == "K11")
        return kGroupK11;
    if (type == "NQ1" || type == "PNQ1")
        return kGroupNQ1;
    if (type == "Q11" || type == "PQ1")
        return kGroupQ11;
    if (type == "NDD1")
        return kGroupNDD1;
    if (type == "DD1")
        return kGroupDD1;
    if (type == "SNQ1" || type == "SQ1" || type == "SQ3" || type == "SNQ3")
        return kGroupJQZ;
    return std::nullopt;
}

// The nights are compared as dates, so a stay that runs into the next month or year
// holds its room on every night of it.
bool HoldsRoomOn(const records::GuestRecord& reservation, std::string_view day, int currentYear) {
    return DatesHoldRoomOn(reservation.ArrivalDate, reservation.DepartureDate, day, currentYear);
}

bool HoldsRoomDuring(const records::GuestRecord& reservation, const platform::Date& from,
                     const platform::Date& until, int currentYear) {
    return DatesHoldRoomDuring(reservation.ArrivalDate, reservation.DepartureDate, from, until, currentYear);
}

bool DatesHoldRoomOn(std::string_view arrivalDate, std::string_view departureDate, std::string_view day,
                     int currentYear) {
    const std::string arrivalText = RTrim(arrivalDate);
    if (arrivalText.empty())
        return false;
    if (arrivalText == RTrim(day))
        return true;
    const auto night = platform::ParseDate(day, currentYear);
    if (!night)
        return false;
    return DatesHoldRoomDuring(arrivalDate, departureDate, *night, platform::AddDays(*night, 1), currentYear);
}

bool DatesHoldRoomDuring(std::string_view arrivalDate, std::string_view departureDate,
                         const platform::Date& from, const platform::Date& until, int currentYear) {
    const std::string arrivalText = RTrim(arrivalDate);
    if (arrivalText.empty())
        return false;
    const auto arrival = platform::ParseDate(arrivalText, currentYear);
    if (!arrival)
        return false;
    const long first = platform::DaysFromCivil(from);
    const long last = platform::DaysFromCivil(until);
    const long in = platform::DaysFromCivil(*arrival);
    const auto departure = platform::ParseDate(departureDate, currentYear);
    if (departure && platform::DaysFromCivil(*departure) > in)
        return in < last && first < platform::DaysFromCivil(*departure);
    return platform::DateText(*arrival) == arrivalText && first <= in && in < last;
}

namespace {

// The rooms of each group, less one each time `eachHeldRoom` names a room of the group
// (a room as stored, 3 characters) as held.
template <class EachHeldRoom>
RoomGroupCounts CountRooms(const std::vector<records::RoomRecord>& rooms, EachHeldRoom eachHeldRoom) {
    RoomGroupCounts counts{};
    for (const records::RoomRecord& room : rooms)
        if (auto group = RoomGroupOf(room.RoomType))
            counts[*group]++;
    eachHeldRoom([&](std::string_view room3) {
        for (const records::RoomRecord& room : rooms) {
            if (platform::Fixed(room.Room, records::RoomRecord::kRoomWidth) != room3)
                continue;
            if (auto group = RoomGroupOf(room.RoomType))
                counts[*group]--;
        }
    });
    return counts;
}

} // namespace

RoomGroupCounts CountAvailableRooms(const std::vector<records::RoomRecord>& rooms,
                                    const std::vector<records::GuestRecord>& reservations,
                                    std::string_view day, int currentYear) {
    return CountRooms(rooms, [&](auto held) {
        for (const records::GuestRecord& reservation : reservations)
            if (HoldsRoomOn(reservation, day, currentYear))
                held(platform::Fixed(reservation.Room, records::RoomRecord::kRoomWidth));
    });
}

RoomGroupCounts CountAvailableRooms(const std::vector<records::RoomRecord>& rooms,
                                    const records::GuestSlots& reservations, std::string_view day,
                                    int currentYear) {
    using records::GuestField;
    return CountRooms(rooms, [&](auto held) {
        for (long n = 1; n <= reservations.Count(); ++n)
            if (DatesHoldRoomOn(reservations.Field(n, GuestField::ArrivalDate),
                                reservations.Field(n, GuestField::DepartureDate), day, currentYear))
                held(platform::Fixed(reservations.Field(n, GuestField::Room),
                                     records::RoomRecord::kRoomWidth));
    });
}

std::vector<std::string> DateChart(const platform::Date& today) {
    std::vector<std::string> days;
    days.reserve(kDateChartDays);
    for (int i = 0; i < kDateChartDays; ++i)
        days.push_back(platform::DateText(platform::AddDays(today, i)));
    return days;
}

} // namespace vantreth
