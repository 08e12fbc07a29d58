// The call box's record fields and the day's phone log file.
#include "records/call_record.h"

#include "platform/text.h"
#include "records/filenames.h"

#include <algorithm>

namespace records {

using platform::Mid;

std::string CallRecord::Date() const {
    return Mid(text, 11, 5);
}
std::string CallRecord::ExtensionField() const {
    return Mid(text, 17, 4);
}
std::string CallRecord::Extension() const {
    return platform::Trim(ExtensionField());
}
std::string CallRecord::Time() const {
    return Mid(text, 23, 5);
}
std::string CallRecord::AmountField() const {
    return Mid(text, 35, 6);
}
std::string CallRecord::Number() const {
    return Mid(text, 42, 12);
}

float CallRecord::Amount() const {
    return static_cast<float>(platform::Val(AmountField()));
}

std::string CallRecord::ChargeDescription() const {
    return Time() + "  " + Number();
}

namespace {

bool IsControl(char c) {
    const auto code = static_cast<unsigned char>(c);
    return code < 32 || code == 127;
}

} // namespace

bool CallRecord::HasControlCharacters() const {
    return std::any_of(text.begin(), text.end(), IsControl);
}

void CallRecord::BlankControlCharacters() {
    std::replace_if(text.begin(), text.end(), IsControl, ' ');
}

void AppendPhoneLogLine(const platform::DataFolder& folder, std::string_view dateText,
                        const CallRecord& record) {
    CallRecord storable = record;
    storable.BlankControlCharacters();
    platform::SeqLine line;
    line.Text(storable.text);
    platform::AppendLine(DayFilePath(folder, DayFile::PhoneLog, dateText), line);
}

std::vector<CallRecord> ReadPhoneLog(const platform::DataFolder& folder, std::string_view dateText) {
    const platform::FilePath file = DayFilePath(folder, DayFile::PhoneLog, dateText);
    std::vector<CallRecord> records;
    if (!platform::FileExists(file))
        return records;
    // Logs of earlier versions hold the records unchanged, a NUL or CR of a noisy line
    // included: such a record reads back whole, its characters kept.
    platform::SeqReader reader(file, platform::SeqQuotes::AnyCharacter);
    reader.ForEachLine(1, [&] { records.push_back(CallRecord{reader.ReadText()}); });
    return records;
}

} // namespace records
