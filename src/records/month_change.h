// The month before and after a change of the business date, kept in "dates/" + DateDigits.
// Change Date writes one file at its load (named after the day being closed) and one at
// "Change Now" (named after the new day); nothing reads them back.
//
// MonthChangeLine, one line of two quoted texts: MonthBefore, MonthAfter (month number
// texts "1" to "12"; an empty text when not set yet). Writing replaces the file.
#pragma once

#include "platform/files.h"

#include <string>
#include <string_view>

namespace records {

// The month number text of a date text: its first two characters, or only the first when
// the second is "/" ("12/6/26" gives "12", "1/31/27" gives "1").
std::string MonthNumberText(std::string_view dateText);

struct MonthChangeLine {
    std::string MonthBefore;
    std::string MonthAfter;

    platform::SeqLine ToSeqLine() const;
    friend bool operator==(const MonthChangeLine&, const MonthChangeLine&) = default;
};

void WriteMonthChangeLine(const platform::DataFolder& folder, std::string_view dateText,
                          const MonthChangeLine& line);

} // namespace records
