// A random-access file of one fixed-length record type: the read, write, append, count,
// read-all and find that every record file of the data folder shares.
//
// The record type gives
//   kLength                              the record length in the file
//   static Record Decode(std::string_view)  the record from its bytes; short bytes (a record
//                                        past the end of the file) read as zero bytes
//   std::string Encode() const           the bytes written at the start of the record
// Record n (from 1) lies at (n-1) * kLength; the count is the file length / kLength.
#pragma once

#include "platform/files.h"
#include "records/record_fields.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace records {

// The bytes of records 1 to `count` of the file in one read (in pieces only past what one
// read can take): count * record length bytes, zero bytes past the end of the file.
std::string ReadRecordBytes(const platform::RandomFile& file, long count);

template <class Record> class RecordFile {
public:
    static constexpr int kLength = static_cast<int>(Record::kLength);

    explicit RecordFile(platform::FilePath file) : m_file(std::move(file), kLength) {}

    long Count() const { return m_file.RecordCount(); }

    // Record n; past the end of the file (or of a missing file) it decodes from zero bytes.
    Record Read(long n) const { return Record::Decode(m_file.Get(n)); }

    // Writes the record's bytes at the start of record n (the file grows as needed).
    void Write(long n, const Record& record) const { m_file.Put(n, record.Encode()); }

    // As Write, except that when the file holds record n, every text field of `textFields`
    // (a range of objects with `offset` and `width`) that the write leaves as it was keeps its
    // stored bytes: zero bytes in a field nobody changed stay zero bytes.
    template <class TextFields>
    void WriteKeepingText(long n, const Record& record, const TextFields& textFields) const {
        std::string image = record.Encode();
        if (n >= 1 && n <= Count())
            image = fields::KeepUnchangedText(std::move(image), m_file.Get(n), textFields);
        m_file.Put(n, image);
    }

    // Writes the record after the last whole record and returns its number.
    long Append(const Record& record) const {
        const long n = Count() + 1;
        Write(n, record);
        return n;
    }

    // The bytes of every whole record, record 1 first (Count() * kLength bytes), in one read.
    std::string ReadAllBytes() const { return ReadRecordBytes(m_file, Count()); }

    // Every record, record 1 first.
    std::vector<Record> ReadAll() const {
        const std::string bytes = ReadAllBytes();
        const long count = RecordsIn(bytes);
        std::vector<Record> records;
        records.reserve(static_cast<size_t>(count));
        for (long n = 1; n <= count; ++n)
            records.push_back(Record::Decode(Slice(bytes, n)));
        return records;
    }

    // The number of the first record for which match(record) holds; nullopt when none does.
    template <class Match> std::optional<long> Find(Match match) const {
        const std::string bytes = ReadAllBytes();
        const long count = RecordsIn(bytes);
        for (long n = 1; n <= count; ++n) {
            if (match(Record::Decode(Slice(bytes, n))))
                return n;
        }
        return std::nullopt;
    }

    const platform::RandomFile& file() const { return m_file; }
    const platform::FilePath& path() const { return m_file.path(); }

private:
    static long RecordsIn(const std::string& bytes) { return static_cast<long>(bytes.size() / kLength); }
    static std::string_view Slice(const std::string& bytes, long n) {
        return std::string_view(bytes).substr(static_cast<size_t>(n - 1) * kLength, kLength);
    }

    platform::RandomFile m_file;
};

} // namespace records
