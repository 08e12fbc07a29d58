// ReservationMadeLine: one reservation stored, appended to "reservationstoday/" +
// DateDigits. Five quoted text items: Room (3 characters as stored), LastName,
// FirstName, Arriving, Departing (trailing blanks removed).
// "restodayyes" (a sequential file of one number) holds 1 when reservations were made
// since the night audit last printed them.
#pragma once

#include "platform/files.h"

#include <string>
#include <string_view>
#include <vector>

namespace records {

struct ReservationMadeLine {
    std::string Room;
    std::string LastName;
    std::string FirstName;
    std::string Arriving;
    std::string Departing;

    platform::SeqLine ToSeqLine() const;
    friend bool operator==(const ReservationMadeLine&, const ReservationMadeLine&) = default;
};

void AppendReservationMadeLine(const platform::DataFolder& folder, std::string_view dateText,
                               const ReservationMadeLine& line);
// The day's lines; throws IoError when the day has no file.
std::vector<ReservationMadeLine> ReadReservationsMade(const platform::DataFolder& folder,
                                                      std::string_view dateText);

} // namespace records
