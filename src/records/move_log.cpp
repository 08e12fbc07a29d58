// The day's move log and the "movedyes" flag.
#include "records/move_log.h"

#include "platform/text.h"
#include "records/filenames.h"
#include "records/settings_files.h"

#include <optional>

namespace records {

using platform::DataFolder;
using platform::SeqLine;

SeqLine MoveLogLine::ToSeqLine() const {
    SeqLine line;
    line.Text(Shift).Text(Clerk).Text(platform::Fixed(FromRoom, 3)).Text(platform::Fixed(ToRoom, 3));
    line.TimeLit(TimeMoved);
    return line;
}

void AppendMoveLogLine(const DataFolder& folder, std::string_view dateText, const MoveLogLine& line) {
    platform::AppendLine(DayFilePath(folder, DayFile::Move, dateText), line.ToSeqLine());
}

std::vector<MoveLogLine> ReadMoveLog(const DataFolder& folder, std::string_view dateText) {
    const platform::FilePath file = DayFilePath(folder, DayFile::Move, dateText);
    platform::SeqReader reader(file);
    std::vector<MoveLogLine> lines;
    reader.ForEachLine(5, [&] {
        MoveLogLine line;
        line.Shift = reader.ReadText();
        line.Clerk = reader.ReadText();
        line.FromRoom = reader.ReadText();
        line.ToRoom = reader.ReadText();
        const std::string timeText = reader.ReadText();
        const std::optional<platform::TimeOfDay> time = platform::ParseTime(timeText);
        if (!time)
            throw platform::IoError(file, "Not a time: \"" + timeText + "\"");
        line.TimeMoved = *time;
        lines.push_back(std::move(line));
    });
    return lines;
}

// The flag is a single setting: one Single in a 10-byte record.
static_assert(kMovedYesLength == kSingleSettingLength);

float ReadMovedYes(const DataFolder& folder) {
    return ReadSingleSetting(folder, kMovedYesFile);
}

void WriteMovedYes(const DataFolder& folder, float value) {
    WriteSingleSetting(folder, kMovedYesFile, value);
}

} // namespace records
