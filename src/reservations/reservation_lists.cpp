// Reservation list lines and keys, cancelling today's arrivals, canceled reservation lines.
#include "reservations/reservation_lists.h"

#include "platform/text.h"
#include "records/arrivals.h"
#include "records/filenames.h"
#include "reservations/reservation_edit.h"

#include <algorithm>
#include <filesystem>

namespace vantreth {

using platform::Fixed;
using platform::RTrim;

using records::GuestField;

namespace {
constexpr size_t kDateWidth = 10;
constexpr size_t kRoomWidth = 3;

bool BothNames(std::string_view lastName, std::string_view firstName) {
    return !RTrim(lastName).empty() && !RTrim(firstName).empty();
}

std::string EditLine(std::string_view arrivalDate, std::string_view room, std::string_view lastName) {
    const std::string date = Fixed(arrivalDate, kDateWidth);
    return date + platform::Space(11 - static_cast<long>(RTrim(date).size())) + Fixed(room, kRoomWidth) +
           platform::Space(8) + RTrim(lastName);
}

std::string TodayLine(std::string_view room, std::string_view lastName, std::string_view firstName) {
    return Fixed(room, kRoomWidth) + platform::Space(5) + RTrim(lastName) + "  " + RTrim(firstName);
}

bool DueOn(std::string_view arrivalDate, std::string_view today) {
    return records::ArrivesOn(arrivalDate, today, records::ArrivalMatch::OuterBlanks);
}
} // namespace

bool ListedForEditing(const records::GuestRecord& slot) {
    return BothNames(slot.LastName, slot.FirstName);
}

std::string EditListLine(const records::GuestRecord& slot) {
    return EditLine(slot.ArrivalDate, slot.Room, slot.LastName);
}

bool ListedForEditing(const records::GuestSlots& slots, long n) {
    return BothNames(slots.Field(n, GuestField::LastName), slots.Field(n, GuestField::FirstName));
}

std::string EditListLine(const records::GuestSlots& slots, long n) {
    return EditLine(slots.Field(n, GuestField::ArrivalDate), slots.Field(n, GuestField::Room),
                    slots.Field(n, GuestField::LastName));
}

ReservationKey EditListKey(std::string_view line) {
    ReservationKey key;
    key.date = RTrim(platform::Left(line, kDateWidth));
    const long roomStart = 22 - static_cast<long>(key.date.size());
    key.room = Fixed(platform::Mid(line, roomStart, kRoomWidth), kRoomWidth);
    return key;
}

bool ArrivesOn(const records::GuestRecord& slot, std::string_view today) {
    return records::ArrivesOn(slot.ArrivalDate, today, records::ArrivalMatch::TrailingBlanks);
}

std::string TodayListLine(const records::GuestRecord& slot) {
    return TodayLine(slot.Room, slot.LastName, slot.FirstName);
}

bool ArrivesOn(const records::GuestSlots& slots, long n, std::string_view today) {
    return records::ArrivesOn(slots.Field(n, GuestField::ArrivalDate), today,
                              records::ArrivalMatch::TrailingBlanks);
}

std::string TodayListLine(const records::GuestSlots& slots, long n) {
    return TodayLine(slots.Field(n, GuestField::Room), slots.Field(n, GuestField::LastName),
                     slots.Field(n, GuestField::FirstName));
}

ReservationKey TodayListKey(std::string_view line, std::string_view today) {
    return {RTrim(today), platform::Left(line, kRoomWidth)};
}

bool DueToday(const records::GuestRecord& slot, std::string_view today) {
    return DueOn(slot.ArrivalDate, today);
}

int CancelAllDueToday(const platform::DataFolder& folder, std::string_view clerk, std::string_view today) {
    const platform::FilePath dayFile = records::DayFilePath(folder, records::DayFile::Notes, today);
    // Cancelling a reservation frees its own slot only, so the others are read once.
    const records::GuestSlots slots(folder, records::kReservationsFile);
    int cancelled = 0;
    for (long n = 1; n <= slots.Count(); ++n) {
        if (!DueOn(slots.Field(n, GuestField::ArrivalDate), today))
            continue;
        const records::GuestRecord slot = slots.Record(n);
        if (!std::filesystem::is_directory(dayFile.parent_path()))
            folder.EnsureLayout(records::DataSubFolders());
        reservations::CancelReservation(
            folder,
            reservations::MakeCancelRecord(slot.LastName, slot.FirstName, clerk, today, slot.ReservedOn),
            today, n);
        cancelled++;
    }
    return cancelled;
}

std::vector<std::string> CancelYears(int currentYear) {
    std::vector<std::string> years;
    for (int year = 2004; year <= std::max(2020, currentYear); ++year)
        years.push_back(std::to_string(year));
    return years;
}

std::string CanceledListLine(const records::CancelRecord& record) {
    const std::string name = RTrim(record.GuestName);
    const std::string madeOn = RTrim(record.ReservedOn);
    const auto pad = [](long width, const std::string& text) {
        return platform::Space(width - static_cast<long>(text.size()));
    };
    return name + pad(31, name) + madeOn + pad(15, madeOn) + Fixed(record.CanceledOn, 10) +
           pad(16, RTrim(record.CanceledOn)) + Fixed(record.Clerk, 2);
}

} // namespace vantreth
