// The petty cash out record.
#include "records/petty_cash.h"

#include "platform/decimal.h"
#include "platform/text.h"
#include "records/filenames.h"
#include "records/record_fields.h"
#include "records/record_file.h"

namespace records {

using platform::DataFolder;
using platform::RecordBuffer;

namespace {

RecordFile<PettyCashRecord> PettyCashFile(const DataFolder& folder, std::string_view dateText) {
    return RecordFile<PettyCashRecord>(DayFilePath(folder, DayFile::PettyCash, dateText));
}

} // namespace

namespace {
constexpr char kNoShift = '\0';
constexpr const char* kShiftOfOldRecords = "A";
} // namespace

std::string PettyCashRecord::ShiftLetter() const {
    const char letter = SpareText1.empty() ? kNoShift : SpareText1[0];
    if (letter == kNoShift || letter == ' ')
        return kShiftOfOldRecords;
    return std::string(1, letter);
}

void PettyCashRecord::SetShiftLetter(std::string_view shift) {
    SpareText1 = fields::Padded(SpareText1, 10);
    SpareText1[0] = shift.empty() || shift[0] == ' ' ? kNoShift : shift[0];
}

PettyCashRecord PettyCashRecord::Decode(std::string_view bytes) {
    const RecordBuffer buffer(fields::Padded(bytes, kLength));
    PettyCashRecord record;
    record.Amount = buffer.Single(0);
    record.Clerk = fields::Text(buffer, 4, 2);
    record.TimeText = fields::Text(buffer, 6, 12);
    record.DateText = fields::Text(buffer, 18, 10);
    record.SpareText1 = buffer.bytes().substr(28, 10);
    record.SpareText2 = buffer.bytes().substr(38, 10);
    return record;
}

std::string PettyCashRecord::Encode() const {
    RecordBuffer buffer(std::string(kBytesWritten, '\0'));
    buffer.SetSingle(0, Amount);
    buffer.SetText(4, 2, Clerk);
    buffer.SetText(6, 12, TimeText);
    buffer.SetText(18, 10, DateText);
    std::string bytes = buffer.bytes();
    bytes.replace(28, 10, fields::Padded(SpareText1, 10));
    bytes.replace(38, 10, fields::Padded(SpareText2, 10));
    return bytes;
}

long PettyCashRecordCount(long fileLength) {
    return fileLength > 0 ? fileLength / PettyCashRecord::kLength + 1 : 0;
}

std::vector<PettyCashRecord> ReadPettyCash(const DataFolder& folder, std::string_view dateText) {
    const RecordFile<PettyCashRecord> file = PettyCashFile(folder, dateText);
    const long count = PettyCashRecordCount(file.file().Lof());
    std::vector<PettyCashRecord> all;
    all.reserve(static_cast<size_t>(count));
    for (long n = 1; n <= count; ++n)
        all.push_back(file.Read(n));
    return all;
}

platform::Decimal ShiftPettyCashTotal(const DataFolder& folder, std::string_view shift,
                                      std::string_view dateText) {
    const std::string letter = platform::Left(shift, 1);
    platform::Decimal total;
    for (const PettyCashRecord& record : ReadPettyCash(folder, dateText))
        if (record.ShiftLetter() == letter)
            total += platform::Decimal::Of(record.Amount);
    return total;
}

void AppendPettyCash(const DataFolder& folder, std::string_view dateText, const PettyCashRecord& record) {
    const RecordFile<PettyCashRecord> file = PettyCashFile(folder, dateText);
    file.Write(PettyCashRecordCount(file.file().Lof()) + 1, record);
}

} // namespace records
