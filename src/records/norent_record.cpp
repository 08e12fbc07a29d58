// The do-not-rent list file "norent".
#include "records/norent_record.h"

#include "platform/text.h"
#include "records/filenames.h"
#include "records/record_fields.h"
#include "records/record_file.h"

#include <algorithm>

namespace records {

using platform::DataFolder;
using platform::RecordBuffer;

namespace {

constexpr size_t kFirstNameOffset = NoRentRecord::kNameWidth;
constexpr size_t kSpareTextOffset = 2 * NoRentRecord::kNameWidth;
constexpr size_t kSpareNoteOffset = kSpareTextOffset + NoRentRecord::kSpareTextWidth;

RecordFile<NoRentRecord> NoRentFile(const DataFolder& folder) {
    return RecordFile<NoRentRecord>(folder.File(kNoRentFile));
}

std::string RawField(std::string_view value, size_t width) {
    std::string bytes(value.substr(0, std::min(value.size(), width)));
    bytes.resize(width, '\0');
    return bytes;
}

bool NamesMatch(const NoRentRecord& record, std::string_view lastName, std::string_view firstName) {
    return record.IsLive() && platform::Trim(record.LastName) == lastName &&
           platform::Trim(record.FirstName) == firstName;
}

} // namespace

NoRentRecord NoRentRecord::Decode(std::string_view bytes) {
    const std::string image = fields::Padded(bytes, kLength);
    const RecordBuffer buffer(image);
    NoRentRecord record;
    record.LastName = fields::Text(buffer, 0, kNameWidth);
    record.FirstName = fields::Text(buffer, kFirstNameOffset, kNameWidth);
    record.SpareText = image.substr(kSpareTextOffset, kSpareTextWidth);
    record.SpareNote = image.substr(kSpareNoteOffset, kSpareNoteWidth);
    return record;
}

std::string NoRentRecord::Encode() const {
    return platform::Fixed(LastName, kNameWidth) + platform::Fixed(FirstName, kNameWidth) +
           RawField(SpareText, kSpareTextWidth) + RawField(SpareNote, kSpareNoteWidth);
}

bool NoRentRecord::IsLive() const {
    return !platform::RTrim(LastName).empty();
}

void NoRentRecord::Remove() {
    LastName = std::string(kNameWidth, ' ');
    FirstName = std::string(kNameWidth, ' ');
}

std::string NoRentRecord::ListLine() const {
    return platform::Trim(LastName) + " " + platform::Trim(FirstName);
}

long NoRentCount(const DataFolder& folder) {
    return NoRentFile(folder).Count();
}

NoRentRecord ReadNoRent(const DataFolder& folder, long n) {
    return NoRentFile(folder).Read(n);
}

void WriteNoRent(const DataFolder& folder, long n, const NoRentRecord& record) {
    NoRentFile(folder).Write(n, record);
}

std::vector<NoRentRecord> ReadAllNoRent(const DataFolder& folder) {
    return NoRentFile(folder).ReadAll();
}

std::vector<NoRentEntry> ReadNoRentList(const DataFolder& folder) {
    std::vector<NoRentEntry> entries;
    long n = 0;
    for (const NoRentRecord& record : ReadAllNoRent(folder)) {
        ++n;
        if (!record.IsLive())
            continue;
        entries.push_back(
            {n, platform::Trim(record.LastName), platform::Trim(record.FirstName), record.ListLine()});
    }
    return entries;
}

long AddNoRent(const DataFolder& folder, std::string_view lastName, std::string_view firstName) {
    NoRentRecord record;
    record.LastName = platform::Fixed(lastName, NoRentRecord::kNameWidth);
    record.FirstName = platform::Fixed(firstName, NoRentRecord::kNameWidth);
    if (!record.IsLive())
        return 0;
    return NoRentFile(folder).Append(record);
}

long FindNoRent(const DataFolder& folder, std::string_view lastName, std::string_view firstName) {
    return NoRentFile(folder)
        .Find([&](const NoRentRecord& record) { return NamesMatch(record, lastName, firstName); })
        .value_or(0);
}

bool RemoveNoRent(const DataFolder& folder, std::string_view lastName, std::string_view firstName) {
    const long n = FindNoRent(folder, lastName, firstName);
    if (n == 0)
        return false;
    NoRentRecord record = ReadNoRent(folder, n);
    record.Remove();
    WriteNoRent(folder, n, record);
    return true;
}

int NoRentMatches(const DataFolder& folder, std::string_view lastName, std::string_view firstName) {
    int matches = 0;
    for (const NoRentRecord& record : ReadAllNoRent(folder))
        if (NamesMatch(record, lastName, firstName))
            ++matches;
    return matches;
}

} // namespace records
