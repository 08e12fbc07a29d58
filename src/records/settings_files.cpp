// The small settings and flag files of the data folder.
#include "records/settings_files.h"

#include "platform/text.h"
#include "records/filenames.h"
#include "records/record_fields.h"
#include "records/record_file.h"

namespace records {

using platform::DataFolder;
using platform::RecordBuffer;

namespace {

// Encodes Singles packed from offset 0.
std::string Singles(std::initializer_list<float> values) {
    RecordBuffer buffer(4 * values.size());
    size_t offset = 0;
    for (float value : values) {
        buffer.SetSingle(offset, value);
        offset += 4;
    }
    return buffer.bytes();
}

} // namespace

SingleSetting SingleSetting::Decode(std::string_view bytes) {
    return SingleSetting{RecordBuffer(fields::Padded(bytes, 4)).Single(0)};
}

std::string SingleSetting::Encode() const {
    return Singles({Value});
}

float ReadSingleSetting(const DataFolder& folder, std::string_view fileName) {
    return RecordFile<SingleSetting>(folder.File(fileName)).Read(1).Value;
}

void WriteSingleSetting(const DataFolder& folder, std::string_view fileName, float value) {
    RecordFile<SingleSetting>(folder.File(fileName)).Write(1, SingleSetting{value});
}

RateTable RateTable::Decode(std::string_view bytes) {
    const RecordBuffer buffer(fields::Padded(bytes, kBytesWritten));
    return RateTable{buffer.Single(0), buffer.Single(4), buffer.Single(8)};
}

std::string RateTable::Encode() const {
    return Singles({SingleRate, DoubleRate, JqzRate});
}

std::optional<float> RateTable::RateForType(std::string_view roomType) const {
    const std::string type = platform::RTrim(roomType);
    if (type == "NK1" || type == "K11" || type == "NQ1" || type == "Q11" || type == "PNQ1" || type == "PQ1")
        return SingleRate;
    if (type == "NDD1" || type == "DD1")
        return DoubleRate;
    if (!roomType.empty() && roomType.front() == 'S')
        return JqzRate;
    return std::nullopt;
}

RateTable ReadRateTable(const DataFolder& folder, std::string_view fileName) {
    return RecordFile<RateTable>(folder.File(fileName)).Read(1);
}

void WriteRateTable(const DataFolder& folder, std::string_view fileName, const RateTable& table) {
    RecordFile<RateTable>(folder.File(fileName)).Write(1, table);
}

OptionalRates OptionalRates::Decode(std::string_view bytes) {
    const RecordBuffer buffer(fields::Padded(bytes, kBytesWritten));
    return OptionalRates{buffer.Single(0), buffer.Single(4), buffer.Single(8), buffer.Single(12),
                         buffer.Single(16)};
}

std::string OptionalRates::Encode() const {
    return Singles({Rate1, Rate2, Rate3, Rate4, Rate5});
}

OptionalRates ReadOptionalRates(const DataFolder& folder) {
    return RecordFile<OptionalRates>(folder.File(kOptionalRatesFile)).Read(1);
}

void WriteOptionalRates(const DataFolder& folder, const OptionalRates& rates) {
    RecordFile<OptionalRates>(folder.File(kOptionalRatesFile)).Write(1, rates);
}

float ReadIntroFlag(const DataFolder& folder) {
    return ReadSingleSetting(folder, kIntroFile);
}
void WriteIntroFlag(const DataFolder& folder, float value) {
    WriteSingleSetting(folder, kIntroFile, value);
}
float ReadStateTax(const DataFolder& folder) {
    return ReadSingleSetting(folder, kStateTaxFile);
}
void WriteStateTax(const DataFolder& folder, float rate) {
    WriteSingleSetting(folder, kStateTaxFile, rate);
}
float ReadCityTax(const DataFolder& folder) {
    return ReadSingleSetting(folder, kCityTaxFile);
}
void WriteCityTax(const DataFolder& folder, float rate) {
    WriteSingleSetting(folder, kCityTaxFile, rate);
}

DateStatusRecord DateStatusRecord::Decode(std::string_view bytes) {
    const RecordBuffer buffer(fields::Padded(bytes, kBytesWritten));
    return DateStatusRecord{buffer.Single(0), buffer.Single(4)};
}

std::string DateStatusRecord::Encode() const {
    return Singles({RolledBack, Spare});
}

DateStatusRecord ReadDateStatus(const DataFolder& folder) {
    return RecordFile<DateStatusRecord>(folder.File(kDateStatusFile)).Read(1);
}

void WriteDateStatus(const DataFolder& folder, const DateStatusRecord& status) {
    RecordFile<DateStatusRecord>(folder.File(kDateStatusFile)).Write(1, status);
}

std::optional<double> ReadNumberFile(const DataFolder& folder, std::string_view fileName) {
    const platform::FilePath file = folder.File(fileName);
    if (!platform::FileExists(file))
        return std::nullopt;
    platform::SeqReader reader(file);
    if (reader.Eof())
        return std::nullopt; // an empty file, or one with no complete line: as if missing
    return reader.ReadNumber();
}

void WriteNumberFile(const DataFolder& folder, std::string_view fileName, double value) {
    platform::SeqLine line;
    line.Number(value);
    platform::WriteLines(folder.File(fileName), {line});
}

void WriteNumberFile(const DataFolder& folder, std::string_view fileName, int value) {
    platform::SeqLine line;
    line.Number(value);
    platform::WriteLines(folder.File(fileName), {line});
}

std::optional<double> ReadDayOfWeek(const DataFolder& folder) {
    return ReadNumberFile(folder, kDayOfWeekFile);
}
void WriteDayOfWeek(const DataFolder& folder, int day) {
    WriteNumberFile(folder, kDayOfWeekFile, day);
}
std::optional<double> ReadTaxRate(const DataFolder& folder) {
    return ReadNumberFile(folder, kTaxFile);
}
void WriteTaxRate(const DataFolder& folder, double rate) {
    WriteNumberFile(folder, kTaxFile, rate);
}
std::optional<double> ReadSleepersToday(const DataFolder& folder) {
    return ReadNumberFile(folder, kSleepersTodayFile);
}
void WriteSleepersToday(const DataFolder& folder, int value) {
    WriteNumberFile(folder, kSleepersTodayFile, value);
}

std::string SleeperLineText(const GuestRecord& guest) {
    return platform::Fixed(guest.Room, 3) + "  " + platform::Trim(guest.LastName) + ", " +
           platform::Trim(guest.FirstName);
}

void AppendSleeperLine(const DataFolder& folder, std::string_view dateText, const GuestRecord& guest) {
    platform::SeqLine line;
    line.Text(SleeperLineText(guest));
    platform::AppendLine(DayFilePath(folder, DayFile::Sleepers, dateText), line);
}

std::vector<std::string> ReadSleeperLines(const DataFolder& folder, std::string_view dateText) {
    platform::SeqReader reader(DayFilePath(folder, DayFile::Sleepers, dateText));
    std::vector<std::string> lines;
    reader.ForEachLine(1, [&] { lines.push_back(reader.ReadText()); });
    return lines;
}

} // namespace records
