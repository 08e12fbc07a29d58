// The day's move log and the "movedyes" flag: each move of a guest to another room adds a
// line to "move/" + DateDigits and sets the flag; the night audit prints the day's moves
// when the flag is set and resets it to 0.
//
// MoveLogLine, five items: Shift, Clerk, FromRoom, ToRoom (texts; the rooms as their
// 3-character fields) and TimeMoved (a time literal, #14:05:09#).
// "movedyes": record 1, record length 10, 4 bytes written: one Single, 1 = a guest was
// moved since the last night audit.
#pragma once

#include "platform/clock.h"
#include "platform/files.h"

#include <string>
#include <string_view>
#include <vector>

namespace records {

struct MoveLogLine {
    std::string Shift;
    std::string Clerk;
    std::string FromRoom;
    std::string ToRoom;
    platform::TimeOfDay TimeMoved;

    // The time as the system's time text ("2:05:09 PM").
    std::string TimeMovedText() const { return platform::TimeText(TimeMoved); }
    // The rooms are written as 3-character fields ("12 "), as the room keys are stored.
    platform::SeqLine ToSeqLine() const;
    friend bool operator==(const MoveLogLine&, const MoveLogLine&) = default;
};

void AppendMoveLogLine(const platform::DataFolder& folder, std::string_view dateText,
                       const MoveLogLine& line);
// The day's lines in the order made; throws IoError when the day has no move log.
std::vector<MoveLogLine> ReadMoveLog(const platform::DataFolder& folder, std::string_view dateText);

inline constexpr int kMovedYesLength = 10;
// A new or empty file reads as 0.
float ReadMovedYes(const platform::DataFolder& folder);
void WriteMovedYes(const platform::DataFolder& folder, float value);

} // namespace records
