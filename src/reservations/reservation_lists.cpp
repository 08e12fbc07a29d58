// Reservation list lines and keys, cancelling today's arrivals, canceled reservation lines.
#include "reservations/reservation_lists.h"

#include "platform/text.h"
#include "records/filenames.h"
#include "reservations/reservation_edit.h"

#include <algorithm>
#include <filesystem>

namespace vantreth {

using platform::Fixed;
using platform::RTrim;

namespace {
constexpr size_t kDateWidth = 10;
constexpr size_t kRoomWidth = 3;
} // namespace

bool ListedForEditing(const records::GuestRecord& slot) {
    return !RTrim(slot.LastName).empty() && !RTrim(slot.FirstName).empty();
}

std::string EditListLine(const records::GuestRecord& slot) {
    const std::string date = Fixed(slot.ArrivalDate, kDateWidth);
    return date + platform::Space(11 - static_cast<long>(RTrim(date).size())) + Fixed(slot.Room, kRoomWidth) +
           platform::Space(8) + RTrim(slot.LastName);
}

ReservationKey EditListKey(std::string_view line) {
    ReservationKey key;
    key.date = RTrim(platform::Left(line, kDateWidth));
    const long roomStart = 22 - static_cast<long>(key.date.size());
    key.room = Fixed(platform::Mid(line, roomStart, kRoomWidth), kRoomWidth);
    return key;
}

bool ArrivesOn(const records::GuestRecord& slot, std::string_view today) {
    return RTrim(slot.ArrivalDate) == RTrim(today);
}

std::string TodayListLine(const records::GuestRecord& slot) {
    return Fixed(slot.Room, kRoomWidth) + platform::Space(5) + RTrim(slot.LastName) + "  " + RTrim(slot.FirstName);
}

ReservationKey TodayListKey(std::string_view line, std::string_view today) {
    return {RTrim(today), platform::Left(line, kRoomWidth)};
}

bool DueToday(const records::GuestRecord& slot, std::string_view today) {
    return platform::Trim(slot.ArrivalDate) == platform::Trim(today);
}

int CancelAllDueToday(const platform::DataFolder& folder, std::string_view clerk, std::string_view today) {
    const std::filesystem::path dayFile = records::DayFilePath(folder, records::DayFile::Notes, today);
    const long count = records::GuestCount(folder, records::kReservationsFile);
    int cancelled = 0;
    for (long n = 1; n <= count; ++n) {
        const records::GuestRecord slot = records::ReadGuest(folder, records::kReservationsFile, n);
        if (!DueToday(slot, today)) continue;
        if (!std::filesystem::is_directory(dayFile.parent_path())) folder.EnsureLayout();
        reservations::CancelReservation(
            folder, reservations::MakeCancelRecord(slot.LastName, slot.FirstName, clerk, today, slot.ReservedOn),
            today, n);
        cancelled++;
    }
    return cancelled;
}

std::vector<std::string> CancelYears(int currentYear) {
    std::vector<std::string> years;
    for (int year = 2004; year <= std::max(2020, currentYear); ++year) years.push_back(std::to_string(year));
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
