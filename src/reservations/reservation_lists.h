// The lines of the reservation lists and the keys a chosen line hands to Edit Reservation,
// cancelling every reservation due today, and the lines of the canceled reservations list.
#pragma once

#include "platform/files.h"
#include "records/cancel_record.h"
#include "records/guest_record.h"

#include <string>
#include <string_view>
#include <vector>

namespace vantreth {

// What a list hands to Edit Reservation: the arrival date without trailing blanks and the
// room as stored (3 characters).
struct ReservationKey {
    std::string date;
    std::string room;
    friend bool operator==(const ReservationKey&, const ReservationKey&) = default;
};

// The edit list shows every slot with both names filled in.
bool ListedForEditing(const records::GuestRecord& slot);
// ArrivalDate as stored (10), blanks up to column 11 past the date, Room as stored, 8 blanks,
// the last name: "1/5/04         101        ABC".
std::string EditListLine(const records::GuestRecord& slot);
// The same for slot n of the reservations file read as GuestSlots.
bool ListedForEditing(const records::GuestSlots& slots, long n);
std::string EditListLine(const records::GuestSlots& slots, long n);
// The key of an edit list line: the room stands right after the date's blanks, wherever a
// date of any length puts it.
ReservationKey EditListKey(std::string_view line);

// Today's list: every slot whose arrival date is today's date text.
bool ArrivesOn(const records::GuestRecord& slot, std::string_view today);
// Room as stored, 5 blanks, last name, 2 blanks, first name.
std::string TodayListLine(const records::GuestRecord& slot);
bool ArrivesOn(const records::GuestSlots& slots, long n, std::string_view today);
std::string TodayListLine(const records::GuestSlots& slots, long n);
ReservationKey TodayListKey(std::string_view line, std::string_view today);

// A reservation is due today when its arrival date, blanks around it dropped, is today's.
bool DueToday(const records::GuestRecord& slot, std::string_view today);
// Cancels every reservation due today, in slot order: its CancelRecord goes to the year
// file and then the day file, and its slot is freed. Deposits taken stay where they are.
// Returns how many were cancelled.
int CancelAllDueToday(const platform::DataFolder& folder, std::string_view clerk, std::string_view today);

// The years the canceled reservations list offers: 2004 up to the current year (2020 at
// the least).
std::vector<std::string> CancelYears(int currentYear);
// Name, blanks to column 32, the date made, blanks to column 47, the date canceled as
// stored, 16 columns past its text, the clerk.
std::string CanceledListLine(const records::CancelRecord& record);

} // namespace vantreth
