// The reservation desk's small files: the confirmation number counter "cnumber" (a
// sequential file of one number, the next confirmation number to hand out) and the flag
// "restodayyes" (one number, 1 = reservations were made since the night audit last printed
// them). The day's list of reservations made itself is in records/reservation_made.h.
#pragma once

#include "platform/files.h"
#include "records/guest_record.h"
#include "records/reservation_made.h"

#include <optional>

namespace records {

// Hands out the next confirmation number: returns the number the file holds and rewrites
// it with that number plus 1. A data folder without the file, or with an empty one, starts
// the numbers at 1; a file whose first item is a date or time throws IoError and is left
// as it is.
double IssueConfirmationNumber(const platform::DataFolder& folder);
// The next number to be handed out; nullopt when the file does not exist.
std::optional<double> ReadConfirmationCounter(const platform::DataFolder& folder);
void WriteConfirmationCounter(const platform::DataFolder& folder, double next);

// The line a stored reservation adds to the day's list: the room as stored, the names and
// the two dates without trailing blanks.
ReservationMadeLine MadeLineOf(const GuestRecord& reservation);

// Sets "restodayyes" to 1.
void MarkReservationsMadeToday(const platform::DataFolder& folder);
// The flag; nullopt when the file does not exist.
std::optional<double> ReadReservationsTodayFlag(const platform::DataFolder& folder);

} // namespace records
