// The month-change files of the change of business date.
#include "records/month_change.h"

#include "platform/text.h"
#include "records/filenames.h"

namespace records {

std::string MonthNumberText(std::string_view dateText) {
    if (platform::Mid(dateText, 2, 1) == "/")
        return platform::Left(dateText, 1);
    return platform::Left(dateText, 2);
}

platform::SeqLine MonthChangeLine::ToSeqLine() const {
    platform::SeqLine line;
    line.Text(MonthBefore).Text(MonthAfter);
    return line;
}

void WriteMonthChangeLine(const platform::DataFolder& folder, std::string_view dateText,
                          const MonthChangeLine& line) {
    platform::WriteLines(DayFilePath(folder, DayFile::Dates, dateText), {line.ToSeqLine()});
}

} // namespace records
