// The index kept beside the history, "history/history.keys": the keys of every entry and
// where it lies, so that a search reads whole only the entries it wants. Made and caught up
// with the history's end by its searches, added to as entries are appended. Used by the
// history's own readers only (history.cpp).
#pragma once

#include "platform/files.h"
#include "records/history.h"
#include "records/history_reader.h"
#include "records/history_stream.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace records {

// A header, then one record per readable entry of the history and per damage found in it,
// in file order, each kIndexRecord bytes, numbers little-endian:
//   entry:  0 'E', 1 the keys too long for their room (bit k for key k), 2 kinds (bit 0: the
//           check-out date is a date literal, bit 1: neither that nor an account code),
//           4 its place in the history (8), 12 its length (4), 16 the literal's day (4),
//           20 the keys in HistoryKey order, each its length (1) and its text (kKeyWidth)
//   damage: 0 'D', 3 what (Damage), 4 why, 8 the line (8), 16 the other number (8)
// The header: "VHKEYS01", the history bytes covered (8), the lines they hold (8), the
// records (8), the entries among them (8), a hash of the last covered bytes (8), the
// damage records (8), 56 kinds (4: bit 0 the literal days never went back and every entry
// has one or an account code, bit 1 a day was seen), 60 the last day (4), 64 the first (4).
constexpr size_t kIndexRecord = 80;
constexpr std::string_view kIndexMagic = "VHKEYS01";
constexpr size_t kKeyWidth[kIndexKeys] = {15, 6, 10, 10, 5, 8};
constexpr size_t kKeysAt = 20;
constexpr uint8_t kLiteralDay = 1, kIrregular = 2;
constexpr size_t KeyAt(size_t k) {
    size_t at = kKeysAt;
    for (size_t i = 0; i < k; ++i)
        at += 1 + kKeyWidth[i];
    return at;
}
static_assert(KeyAt(kIndexKeys) <= kIndexRecord);

inline uint64_t NumberAt(std::string_view bytes, size_t at, size_t width) {
    uint64_t value = 0;
    for (size_t i = width; i-- > 0;)
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

// One record of the index, as it lies.
struct IndexRecord {
    std::string_view bytes;
    bool IsEntry() const { return bytes[0] == 'E'; }
    uint64_t Offset() const { return NumberAt(bytes, 4, 8); }
    uint64_t Length() const { return NumberAt(bytes, 12, 4); }
    uint8_t Kinds() const { return static_cast<uint8_t>(bytes[2]); }
    long Day() const { return static_cast<long>(static_cast<int32_t>(NumberAt(bytes, 16, 4))); }
    // The key's text; nullopt when it is too long for the record.
    std::optional<std::string_view> Key(size_t k) const {
        if ((static_cast<uint8_t>(bytes[1]) >> k & 1) != 0)
            return std::nullopt;
        return bytes.substr(KeyAt(k) + 1, static_cast<unsigned char>(bytes[KeyAt(k)]));
    }
    DamageFound Noted() const {
        return {static_cast<Damage>(bytes[3]), static_cast<uint8_t>(bytes[4]), NumberAt(bytes, 8, 8),
                NumberAt(bytes, 16, 8)};
    }
};

struct IndexHeader {
    uint64_t covered = 0, lines = 0, records = 0, entries = 0, tailHash = 0, damaged = 0;
    bool ordered = true; // the literal days never went back, and no entry lacks both
    bool days = false;   // a literal day was seen
    long lastDay = 0, firstDay = 0;

    void Add(const IndexRecord& r);

    std::string Encode() const;

    static std::optional<IndexHeader> Decode(std::string_view h);
};

// The index names bytes that are not the entry it says: it is made anew.
struct StaleIndex {};

// The header of an index that covers the first part of the history as it is now (of
// `size` bytes); nullopt for a missing or damaged index, one ahead of the history, one of
// another history (its covered part's end differs), or one the history was changed after
// behind the program's back (written to later than the index, by more than a clock's step).
std::optional<IndexHeader> TrustedIndex(const platform::FilePath& history, const platform::FilePath& keys,
                                        long long size);

// The bytes of the entries an index names, where they lie: the first few read one by one, then
// the file mapped once for the rest of the search, the pages looked at handed back as it goes
// on; or as the running step sees it.
class EntryBytes {
public:
    explicit EntryBytes(const platform::FilePath& history);
    ~EntryBytes();
    EntryBytes(const EntryBytes&) = delete;
    EntryBytes& operator=(const EntryBytes&) = delete;

    // The `length` bytes at `offset`; nullopt when the file is shorter.
    std::optional<std::string_view> At(uint64_t offset, uint64_t length);

private:
    static constexpr uint64_t kGiveBack = 1024 * 1024;
    // Reads before the file is mapped: a search that reads a few entries maps nothing.
    static constexpr int kReadsBeforeMapping = 64;
    void Map();
    platform::FilePath m_file;
    int m_reads = 0;
    int m_fd = -1;
    char* m_map = nullptr;
    uint64_t m_size = 0;
    uint64_t m_low = UINT64_MAX;
    uint64_t m_high = 0;
    std::string m_read;
};

// The history and its key index as one search sees them: the index caught up with the end of
// the history (and written back when the folder takes changes), its records in file order.
class IndexedHistory {
public:
    // `anew`: the index on the disk is not trusted, but made again.
    IndexedHistory(const platform::DataFolder& folder, bool anew);

    const IndexHeader& whole() const { return m_whole; }

    // f(record) for every record from the first on, or from the last back, until f says no more.
    void Forward(const std::function<bool(const IndexRecord&)>& f, bool fileOnly = false) const;
    void Backward(const std::function<bool(const IndexRecord&)>& f) const;

    // The entry the record names, read whole into `entry`; StaleIndex when the bytes there
    // are not that entry.
    void Read(const IndexRecord& record, HistoryEntry& entry);

    // Hands the damage found over to the clerk, as a whole pass over the file does: the lines
    // that could not be read, a last line cut short, then the rest.
    void ReportDamage() const;

private:
    std::string_view FileRecords(uint64_t first, uint64_t count) const;

    platform::FilePath m_history;
    platform::FilePath m_keys;
    EntryBytes m_bytes;
    Literals m_literals;
    std::optional<HistoryStream> m_stream; // the part after the index, read to the end
    uint64_t m_fileRecords = 0;            // the records of the index file used
    bool m_fileDamaged = false;
    std::string m_tail; // the records of the part after them
    IndexHeader m_whole;
    mutable std::optional<EntryBytes> m_keyBytes; // the index file's records
    // Reading one entry whole.
    std::optional<HistoryStream> m_entryStream;
    std::optional<HistoryScanner> m_entryScanner;
    IndexRecord m_reading;
    HistoryEntry* m_readInto = nullptr;
    size_t m_entriesRead = 0;
};

// Which keys accept the record's entry (bit k for keys[k]), each asked once; `read`: whether
// the entry was read whole into `entry` already (a key too long for the record is read
// from the entry).
unsigned Accepted(IndexedHistory& history, const IndexRecord& record,
                  const std::vector<HistoryKeyWanted>& keys, HistoryEntry& entry, bool& read);

// Runs the search over the history and its index; an index found to name wrong bytes is
// made anew and the search run again.
void WithIndex(const platform::DataFolder& folder, const std::function<void(IndexedHistory&)>& search);

// The day of the date text `text` when a walk back through the history may end at an entry
// whose check-out date literal is before it: the literal days never went back, each entry
// has one or an account code, and all of them lie within a hundred years of it, so that no
// older entry's date reads as `text`. nullopt when the walk must go to the first entry.
std::optional<long> DayFloor(const IndexHeader& whole, std::string_view text);

// Adds the entry appended after the first `before` bytes of the history to its index, which
// covered those bytes (`index`), in the step that appended it. An append that does not read
// back as one whole entry (never made by the program) leaves the index behind: the next
// search catches it up.
void IndexAppended(const platform::DataFolder& folder, const IndexHeader& index, long long before);

} // namespace records
