// The index kept beside the history: its records, made by a pass over the history, and
// the searches' view of the history through it.
#include "records/history_index.h"

#include "platform/text.h"
#include "records/filenames.h"

#include <algorithm>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace records {

using platform::DataFolder;

namespace {

// Bytes at the end of the covered part whose hash the header keeps.
constexpr uint64_t kTailChecked = 64 * 1024;

void PutNumber(std::string& bytes, size_t at, uint64_t value, size_t width) {
    for (size_t i = 0; i < width; ++i)
        bytes[at + i] = static_cast<char>(value >> (8 * i) & 0xff);
}

uint64_t HashOf(std::string_view bytes) {
    uint64_t hash = 1469598103934665603ULL;
    for (unsigned char c : bytes)
        hash = (hash ^ c) * 1099511628211ULL;
    return hash;
}

bool Charged(std::string_view dbNumber) {
    const std::string code = platform::Trim(dbNumber);
    return !code.empty() && code != "none";
}

std::string EntryRecord(const ScannedEntry& e) {
    std::string r(kIndexRecord, '\0');
    r[0] = 'E';
    uint8_t kinds = e.day ? kLiteralDay : 0;
    if (!e.day && !Charged(e.keys[kDbNumberKey]))
        kinds |= kIrregular;
    r[2] = static_cast<char>(kinds);
    PutNumber(r, 4, e.start, 8);
    PutNumber(r, 12, e.end - e.start, 4);
    PutNumber(r, 16, e.day ? static_cast<uint64_t>(platform::DaysFromCivil(*e.day)) : 0, 4);
    uint8_t tooLong = 0;
    for (size_t k = 0; k < kIndexKeys; ++k) {
        if (e.keys[k].size() > kKeyWidth[k]) {
            tooLong |= static_cast<uint8_t>(1u << k);
            continue;
        }
        r[KeyAt(k)] = static_cast<char>(e.keys[k].size());
        r.replace(KeyAt(k) + 1, e.keys[k].size(), e.keys[k]);
    }
    r[1] = static_cast<char>(tooLong);
    return r;
}

std::string DamageRecord(const DamageFound& d) {
    std::string r(kIndexRecord, '\0');
    r[0] = 'D';
    r[3] = static_cast<char>(d.what);
    r[4] = static_cast<char>(d.why);
    PutNumber(r, 8, d.a, 8);
    PutNumber(r, 16, d.b, 8);
    return r;
}

// The file's time of change in nanoseconds; -1 when missing or changed by the running step.
long long ChangeTime(const platform::FilePath& file) {
    struct stat st;
    if (platform::ChangedByStep(file) || ::stat(file.c_str(), &st) != 0)
        return -1;
    return st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec;
}

// The hash of the last bytes of the first `covered` bytes of the history as it is now.
uint64_t TailHash(const platform::FilePath& history, uint64_t covered) {
    const uint64_t n = std::min(covered, kTailChecked);
    return HashOf(platform::ReadFileAt(history, static_cast<long long>(covered - n), n));
}

// What a pass over the history after the part the index covers adds to it.
struct CaughtUp {
    std::string records;    // every record the pass gave, in order
    IndexHeader whole;      // the index with all of them
    IndexHeader kept;       // with those up to the last entry that ends for good
    size_t keptRecords = 0; // how many of `records` that is
};

CaughtUp CatchUp(HistoryStream& stream, Literals& literals, const IndexHeader& from) {
    CaughtUp up{{}, from, from, 0};
    const auto add = [&](const std::string& record) {
        up.whole.Add(IndexRecord{record});
        up.records += record;
    };
    HistoryScanner scanner(
        stream, literals,
        [&](const ScannedEntry& e) {
            add(EntryRecord(e));
            if (!e.settled)
                return;
            up.kept = up.whole;
            up.kept.covered = e.end;
            up.kept.lines = e.lastLine;
            up.keptRecords = up.records.size() / kIndexRecord;
        },
        [&](const DamageFound& d) { add(DamageRecord(d)); });
    scanner.Run();
    return up;
}

// Writes the header and the records added after the first `fileRecords`; `whole`: the file
// is written anew with them alone.
void WriteIndex(const platform::FilePath& keys, const IndexHeader& header, std::string_view added,
                uint64_t fileRecords, bool whole) {
    if (whole) {
        platform::ReplaceFileContent(keys, header.Encode() + std::string(added));
        return;
    }
    const platform::RandomFile file(keys, static_cast<int>(kIndexRecord));
    if (!added.empty())
        file.Put(static_cast<long>(fileRecords) + 2, added);
    file.Put(1, header.Encode());
}

// Runs the change as a step of its own through the folder's engine (a step already running
// is left alone). A folder that takes no change keeps the index in memory only.
void KeepIndex(const DataFolder& folder, const std::function<void()>& change) {
    platform::Engine* engine = folder.engine();
    try {
        if (engine == nullptr)
            change();
        else if (platform::RunningStep(*engine) == nullptr)
            platform::RunAsStep(*engine, "Bringing the index of the history up to date", change);
    } catch (const platform::IoError&) {
        // looked at only, or the disk failed: nothing was changed, and the search goes on
    }
}

const std::string& FieldOf(const HistoryEntry& e, HistoryKey key) {
    switch (key) {
    case HistoryKey::LastName:
        return e.LastName;
    case HistoryKey::RegCard:
        return e.RegCard;
    case HistoryKey::ArrivalDate:
        return e.ArrivalDate;
    case HistoryKey::CheckOutDate:
        return e.CheckOutDate;
    case HistoryKey::FolioNumber:
        return e.FolioNumber;
    case HistoryKey::DBNumber:
        return e.DBNumber;
    }
    return e.LastName;
}

bool SameKeys(const IndexRecord& record, const HistoryEntry& entry) {
    for (size_t k = 0; k < kIndexKeys; ++k) {
        const std::optional<std::string_view> key = record.Key(k);
        if (key && *key != FieldOf(entry, static_cast<HistoryKey>(k)))
            return false;
    }
    const bool literal = (record.Kinds() & kLiteralDay) != 0;
    return literal == entry.CheckOutDateLiteral.has_value() &&
           (!literal || record.Day() == platform::DaysFromCivil(*entry.CheckOutDateLiteral));
}

} // namespace

void IndexHeader::Add(const IndexRecord& r) {
    ++records;
    if (!r.IsEntry()) {
        ++damaged;
        return;
    }
    ++entries;
    if ((r.Kinds() & kIrregular) != 0)
        ordered = false;
    if ((r.Kinds() & kLiteralDay) == 0)
        return;
    if (days && r.Day() < lastDay)
        ordered = false;
    if (!days)
        firstDay = r.Day();
    days = true;
    lastDay = r.Day();
}

std::string IndexHeader::Encode() const {
    std::string h(kIndexRecord, '\0');
    h.replace(0, kIndexMagic.size(), kIndexMagic);
    size_t at = 8;
    for (uint64_t n : {covered, lines, records, entries, tailHash, damaged}) {
        PutNumber(h, at, n, 8);
        at += 8;
    }
    PutNumber(h, 56, (ordered ? 1u : 0u) | (days ? 2u : 0u), 4);
    PutNumber(h, 60, static_cast<uint64_t>(lastDay), 4);
    PutNumber(h, 64, static_cast<uint64_t>(firstDay), 4);
    return h;
}

std::optional<IndexHeader> IndexHeader::Decode(std::string_view h) {
    if (h.size() != kIndexRecord || h.substr(0, kIndexMagic.size()) != kIndexMagic)
        return std::nullopt;
    IndexHeader header;
    size_t at = 8;
    for (uint64_t* n : {&header.covered, &header.lines, &header.records, &header.entries, &header.tailHash,
                        &header.damaged}) {
        *n = NumberAt(h, at, 8);
        at += 8;
    }
    const uint64_t kinds = NumberAt(h, 56, 4);
    header.ordered = (kinds & 1) != 0;
    header.days = (kinds & 2) != 0;
    header.lastDay = static_cast<int32_t>(NumberAt(h, 60, 4));
    header.firstDay = static_cast<int32_t>(NumberAt(h, 64, 4));
    return header;
}

std::optional<IndexHeader> TrustedIndex(const platform::FilePath& history, const platform::FilePath& keys,
                                        long long size) {
    constexpr long long kTimeSlack = 2'000'000'000LL;
    const long long keysSize = platform::FileSize(keys);
    if (keysSize < static_cast<long long>(kIndexRecord))
        return std::nullopt;
    std::optional<IndexHeader> header = IndexHeader::Decode(platform::ReadFileAt(keys, 0, kIndexRecord));
    if (!header || header->covered > static_cast<uint64_t>(size) ||
        static_cast<uint64_t>(keysSize) != (header->records + 1) * kIndexRecord)
        return std::nullopt;
    const long long historyTime = ChangeTime(history), keysTime = ChangeTime(keys);
    if (historyTime >= 0 && keysTime >= 0 && historyTime > keysTime + kTimeSlack)
        return std::nullopt;
    if (TailHash(history, header->covered) != header->tailHash)
        return std::nullopt;
    return header;
}

EntryBytes::EntryBytes(const platform::FilePath& history) : m_file(history) {
    if (platform::ChangedByStep(m_file))
        return;
    m_fd = ::open(m_file.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st;
    if (m_fd >= 0 && ::fstat(m_fd, &st) == 0 && st.st_size > 0)
        m_size = static_cast<uint64_t>(st.st_size);
}

void EntryBytes::Map() {
    void* map = ::mmap(nullptr, static_cast<size_t>(m_size), PROT_READ, MAP_SHARED, m_fd, 0);
    if (map != MAP_FAILED)
        m_map = static_cast<char*>(map);
}

EntryBytes::~EntryBytes() {
    if (m_map != nullptr)
        ::munmap(m_map, m_size);
    if (m_fd >= 0)
        ::close(m_fd);
}

std::optional<std::string_view> EntryBytes::At(uint64_t offset, uint64_t length) {
    if (m_size > 0 && offset + length > m_size)
        return std::nullopt;
    if (m_map == nullptr && m_size > 0 && ++m_reads > kReadsBeforeMapping)
        Map();
    if (m_map == nullptr && m_size > 0) {
        m_read = platform::fileops::ReadAt(m_file.path(), m_fd, static_cast<long long>(offset), length);
        if (m_read.size() != length)
            return std::nullopt;
        return std::string_view(m_read);
    }
    if (m_map == nullptr) { // the file as the running step sees it
        m_read = platform::ReadFileAt(m_file, static_cast<long long>(offset), length);
        if (m_read.size() != length)
            return std::nullopt;
        return std::string_view(m_read);
    }
    // The pages looked at since they were last handed back lie between m_low and m_high
    // (and a few around them, mapped with the pages looked at): all go back together.
    m_low = std::min(m_low, offset);
    m_high = std::max(m_high, offset + length);
    if (m_high - m_low > kGiveBack) {
        ::madvise(m_map, m_size, MADV_DONTNEED);
        m_low = offset;
        m_high = offset + length;
    }
    return std::string_view(m_map + offset, length);
}

IndexedHistory::IndexedHistory(const DataFolder& folder, bool anew)
    : m_history(HistoryFile(folder)), m_keys(HistoryKeysFile(folder)), m_bytes(m_history) {
    const long long size = platform::FileSize(m_history);
    const std::optional<IndexHeader> trusted = anew ? std::nullopt : TrustedIndex(m_history, m_keys, size);
    const IndexHeader base = trusted.value_or(IndexHeader{});
    m_fileRecords = trusted ? base.records : 0;
    m_fileDamaged = base.damaged > 0;
    m_stream.emplace(m_history, base.covered, base.lines);
    CaughtUp up = CatchUp(*m_stream, m_literals, base);
    m_whole = up.whole;
    if (!trusted || up.keptRecords > 0) {
        up.kept.tailHash = TailHash(m_history, up.kept.covered);
        const std::string_view added(up.records.data(), up.keptRecords * kIndexRecord);
        KeepIndex(folder, [&] { WriteIndex(m_keys, up.kept, added, m_fileRecords, !trusted); });
    }
    m_tail = std::move(up.records);
    m_keyBytes.emplace(m_keys);
}

void IndexedHistory::Forward(const std::function<bool(const IndexRecord&)>& f, bool fileOnly) const {
    constexpr uint64_t kChunk = 8192;
    for (uint64_t at = 0; at < m_fileRecords; at += kChunk) {
        const std::string_view chunk = FileRecords(at, std::min(kChunk, m_fileRecords - at));
        for (size_t i = 0; i < chunk.size(); i += kIndexRecord)
            if (!f(IndexRecord{chunk.substr(i, kIndexRecord)}))
                return;
    }
    for (size_t i = 0; !fileOnly && i < m_tail.size(); i += kIndexRecord)
        if (!f(IndexRecord{std::string_view(m_tail).substr(i, kIndexRecord)}))
            return;
}

void IndexedHistory::Backward(const std::function<bool(const IndexRecord&)>& f) const {
    for (size_t i = m_tail.size(); i > 0; i -= kIndexRecord)
        if (!f(IndexRecord{std::string_view(m_tail).substr(i - kIndexRecord, kIndexRecord)}))
            return;
    constexpr uint64_t kChunk = 1024;
    for (uint64_t end = m_fileRecords; end > 0;) {
        const uint64_t at = end > kChunk ? end - kChunk : 0;
        const std::string_view chunk = FileRecords(at, end - at);
        for (size_t i = chunk.size(); i > 0; i -= kIndexRecord)
            if (!f(IndexRecord{chunk.substr(i - kIndexRecord, kIndexRecord)}))
                return;
        end = at;
    }
}

void IndexedHistory::Read(const IndexRecord& record, HistoryEntry& entry) {
    const std::optional<std::string_view> bytes = m_bytes.At(record.Offset(), record.Length());
    if (!bytes)
        throw StaleIndex{};
    if (!m_entryScanner) {
        m_entryStream.emplace(std::string_view(), 0);
        m_entryScanner.emplace(
            *m_entryStream, m_literals,
            [this](const ScannedEntry& e) {
                if (++m_entriesRead == 1 && e.start == m_reading.Offset() &&
                    e.end - e.start == m_reading.Length())
                    DecodeEntry(*m_entryStream, e, m_literals, *m_readInto);
                else
                    m_entriesRead = 2;
            },
            [](const DamageFound&) {});
        m_entryScanner->LeaveKeys();
        m_entryScanner->KeepItems();
    }
    m_entryStream->Reset(*bytes, record.Offset());
    m_reading = record;
    m_readInto = &entry;
    m_entriesRead = 0;
    m_entryScanner->Run();
    if (m_entriesRead != 1 || !SameKeys(record, entry))
        throw StaleIndex{};
}

void IndexedHistory::ReportDamage() const {
    std::vector<std::string> unreadable, other;
    const auto take = [&](const IndexRecord& r) {
        if (!r.IsEntry())
            (r.Noted().what == Damage::Unreadable ? unreadable : other).push_back(r.Noted().Text());
        return true;
    };
    if (m_fileDamaged)
        Forward(take, true);
    for (size_t i = 0; i < m_tail.size(); i += kIndexRecord)
        take(IndexRecord{std::string_view(m_tail).substr(i, kIndexRecord)});
    if (!m_stream->CutShort().empty())
        unreadable.push_back(m_stream->CutShort());
    unreadable.insert(unreadable.end(), other.begin(), other.end());
    m_stream->ReportDamage(unreadable);
}

std::string_view IndexedHistory::FileRecords(uint64_t first, uint64_t count) const {
    const std::optional<std::string_view> records =
        m_keyBytes->At((first + 1) * kIndexRecord, count * kIndexRecord);
    if (!records)
        throw StaleIndex{};
    return *records;
}

unsigned Accepted(IndexedHistory& history, const IndexRecord& record,
                  const std::vector<HistoryKeyWanted>& keys, HistoryEntry& entry, bool& read) {
    unsigned accepted = 0;
    for (size_t k = 0; k < keys.size(); ++k) {
        std::optional<std::string_view> text = record.Key(static_cast<size_t>(keys[k].key));
        if (!text) {
            if (!read)
                history.Read(record, entry);
            read = true;
            text = FieldOf(entry, keys[k].key);
        }
        if (keys[k].wanted(*text))
            accepted |= 1u << k;
    }
    return accepted;
}

void WithIndex(const DataFolder& folder, const std::function<void(IndexedHistory&)>& search) {
    for (bool anew : {false, true}) {
        try {
            IndexedHistory history(folder, anew);
            search(history);
            return;
        } catch (const StaleIndex&) {
            if (anew)
                throw platform::IoError(HistoryFile(folder), "The history changed while it was read");
        }
    }
}

std::optional<long> DayFloor(const IndexHeader& whole, std::string_view text) {
    if (!whole.ordered || !whole.days)
        return std::nullopt;
    const std::string wanted = platform::Trim(text);
    const std::optional<platform::Date> day =
        platform::ParseDate(wanted, platform::CivilFromDays(whole.lastDay).year);
    if (!day || platform::DateText(*day) != wanted)
        return std::nullopt;
    const long floor = platform::DaysFromCivil(*day);
    constexpr long kNearlyACentury = 36000;
    if (whole.firstDay <= floor - kNearlyACentury)
        return std::nullopt;
    return floor;
}

void IndexAppended(const DataFolder& folder, const IndexHeader& index, long long before) {
    const platform::FilePath history = HistoryFile(folder);
    const long long after = platform::FileSize(history);
    const std::string bytes =
        platform::ReadFileAt(history, before, static_cast<size_t>(std::max(after - before, 0LL)));
    HistoryStream stream(bytes, static_cast<uint64_t>(before), index.lines);
    Literals literals;
    CaughtUp up = CatchUp(stream, literals, index);
    if (up.keptRecords != 1 || up.records.size() != kIndexRecord ||
        up.kept.covered != static_cast<uint64_t>(after))
        return;
    up.kept.tailHash = TailHash(history, up.kept.covered);
    WriteIndex(HistoryKeysFile(folder), up.kept, up.records, index.records, before == 0);
}

} // namespace records
