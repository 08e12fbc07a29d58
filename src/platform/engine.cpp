// The write-ahead journal and the step's transaction.
//
// Engine layout: a header, then one record per committed step, each appended in one piece
// and flushed. Numbers are little-endian.
//   header: "VWAL2\n", the folder's id (32 characters), u32 checksum of the 38 bytes before;
//           then two slots of 256 bytes, at 42 and at 298 (records start at 554). A slot:
//           "VSLT", u64 generation, u64 number of the last step cut, u8 1 while the program runs
//           (0 after a clean end), u32 length + the words of that step (at most 200, the rest
//           zeros up to byte 252), u32 checksum of the slot's 252 bytes before it. The slot of
//           the higher generation whose checksum holds is the header's; a cut writes the other.
//   record: "VREC", u32 body length, u32 checksum of these 8 bytes,
//           body: 'S', u64 the step's number (the last cut's + 1, + 1 for each record after it),
//                 u32 length + the action's words, u32 count of changes,
//                 each: kind, u32 length + file name (relative to the data folder),
//                       i64 number, u64 length + data,
//           u32 checksum of the record from "VREC" to the end of the body
//   kinds:  'W' data written at offset `number`; 'L' the file's length is `number` (after its
//           writes); 'R' the whole file is `data`; 'D' the file is deleted.
// A step that changed bytes 10-19 of `rooms` (40 bytes long) and deleted `move/move12626`:
//   W rooms 10 <10 bytes>, L rooms 40, D move/move12626 0.
// Reading stops at a record cut short by a crash (never committed), and at a whole record of a
// number the header's slot already cut (the cut's truncation did not reach the disk); a record
// that is whole but wrong, or out of its turn, with more after it, is damage.
//
// The version before kept "VWAL1\n", the id and its checksum (42 bytes) with no slots, and records
// with 'C' and no number. Such a journal is read the same way, written into the files, and
// replaced by a new one once they are flushed.
//
// The program's previous version kept a rollback journal under the same name: the old bytes
// of what the running step changed, each entry flushed before its change. Found at start-up
// (that version was stopped in the middle of a step), it is undone, newest entry first:
//   header: "VJRNL1\n", u32 length, the action's words, u32 checksum of the bytes before
//   entry:  kind, u32 length + file name, i64 number, u64 length + data, u32 checksum of the
//           entry's bytes before it
//   kinds:  'S' the file's length before the step (-1: it did not exist), 'B' the old bytes at
//           offset `number`, 'C' the file's whole old content.
// Reading stops at the first entry cut short or not matching its checksum: its change was
// never made.
#include "platform/engine.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <optional>
#include <random>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace platform {

namespace {

constexpr std::string_view kMagic = "VWAL2\n";
constexpr std::string_view kFormerMagic = "VWAL1\n";
constexpr std::string_view kSlotMagic = "VSLT";
constexpr std::string_view kPreviousMagic = "VJRNL1\n";
constexpr std::string_view kRecordMagic = "VREC";
constexpr size_t kIdLength = 32;
constexpr size_t kFixedHeader = 6 + kIdLength + 4;
constexpr size_t kSlotSize = 256;
constexpr size_t kSlotWords = 200;
constexpr size_t kHeaderSize = kFixedHeader + 2 * kSlotSize;
static_assert(kHeaderSize == kJournalHeaderBytes && kSlotSize == kJournalSlotBytes);
constexpr size_t kRecordHead = 12;

uint32_t Checksum(std::string_view bytes) {
    uint32_t h = 2166136261u;
    for (unsigned char c : bytes) {
        h ^= c;
        h *= 16777619u;
    }
    return h;
}

void PutU32(std::string& out, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>((v >> (8 * i)) & 0xFF);
}
void PutU64(std::string& out, uint64_t v) {
    for (int i = 0; i < 8; ++i)
        out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

class Cursor {
public:
    explicit Cursor(std::string_view bytes) : m_bytes(bytes) {}
    bool Take(size_t n, std::string_view& out) {
        if (m_bytes.size() - m_pos < n)
            return false;
        out = m_bytes.substr(m_pos, n);
        m_pos += n;
        return true;
    }
    template <class T> bool Unsigned(T& v) {
        std::string_view b;
        if (!Take(sizeof(T), b))
            return false;
        v = 0;
        for (size_t i = sizeof(T); i-- > 0;)
            v = static_cast<T>((v << 8) | static_cast<unsigned char>(b[i]));
        return true;
    }
    bool AtEnd() const { return m_pos == m_bytes.size(); }

private:
    std::string_view m_bytes;
    size_t m_pos = 0;
};

bool AllZero(std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return c == '\0'; });
}

// A file name a record may hold: relative, inside the data folder, none of the journal's own.
bool ValidName(const std::string& name) {
    if (name.empty() || name.find('\0') != std::string::npos || name.front() == '/' || name.back() == '/')
        return false;
    // Its parts, between runs of "/": none is "." or "..".
    int parts = 0;
    for (size_t at = 0; at < name.size();) {
        const size_t end = std::min(name.find('/', at), name.size());
        const std::string_view part(name.data() + at, end - at);
        if (part == "." || part == "..")
            return false;
        ++parts;
        at = name.find_first_not_of('/', end);
        if (at == std::string::npos)
            break;
    }
    return !(parts == 1 && (name == kJournalName || name == kFolderIdName || name == "lock" ||
                            name.starts_with(std::string(kJournalName) + ".")));
}

std::string Header(const std::string& id) {
    std::string out(kMagic);
    out += id;
    PutU32(out, Checksum(out));
    return out;
}

// What a slot of the header says.
struct Slot {
    unsigned long long generation = 0;
    unsigned long long seq = 0; // the last step cut
    bool running = false;
    std::string words;
};

std::string EncodeSlot(const Slot& slot) {
    std::string out(kSlotMagic);
    PutU64(out, slot.generation);
    PutU64(out, slot.seq);
    out += static_cast<char>(slot.running ? 1 : 0);
    const std::string words = slot.words.substr(0, kSlotWords);
    PutU32(out, static_cast<uint32_t>(words.size()));
    out += words;
    out.resize(kSlotSize - 4, '\0');
    PutU32(out, Checksum(out));
    return out;
}

std::optional<Slot> DecodeSlot(std::string_view bytes) {
    if (bytes.size() < kSlotSize || bytes.substr(0, 4) != kSlotMagic)
        return std::nullopt;
    Cursor c(bytes.substr(4));
    Slot slot;
    uint32_t length = 0, sum = 0;
    std::string_view running, words, tail;
    if (!c.Unsigned(slot.generation) || !c.Unsigned(slot.seq) || !c.Take(1, running) || !c.Unsigned(length) ||
        length > kSlotWords || !c.Take(length, words))
        return std::nullopt;
    Cursor end(bytes.substr(kSlotSize - 4, 4));
    end.Unsigned(sum);
    if (sum != Checksum(bytes.substr(0, kSlotSize - 4)))
        return std::nullopt;
    slot.running = running[0] != 0;
    slot.words = std::string(words);
    return slot;
}

} // namespace

struct Engine::Record {
    struct Change {
        char kind = 0;
        std::string file;
        long long number = 0;
        std::string data;
    };
    unsigned long long seq = 0; // 0 in a journal of the version before
    std::string action;
    std::vector<Change> changes;
};

namespace {

// The record's bytes.
template <class Record> std::string EncodeRecord(const Record& record) {
    std::string body = "S";
    PutU64(body, record.seq);
    PutU32(body, static_cast<uint32_t>(record.action.size()));
    body += record.action;
    PutU32(body, static_cast<uint32_t>(record.changes.size()));
    for (const auto& c : record.changes) {
        body += c.kind;
        PutU32(body, static_cast<uint32_t>(c.file.size()));
        body += c.file;
        PutU64(body, static_cast<uint64_t>(c.number));
        PutU64(body, c.data.size());
        body += c.data;
    }
    std::string out(kRecordMagic);
    PutU32(out, static_cast<uint32_t>(body.size()));
    PutU32(out, Checksum(out));
    out += body;
    PutU32(out, Checksum(out));
    return out;
}

// A body that reads whole and names only files inside the folder, none written past the
// length the record gives it nor past where a file of its kind reaches.
template <class Record> bool DecodeBody(std::string_view body, Record& record, const Engine::Reach& reach) {
    Cursor c(body);
    std::string_view flag, action;
    uint32_t length = 0, count = 0;
    if (!c.Take(1, flag) || (flag != "C" && flag != "S") || (flag == "S" && !c.Unsigned(record.seq)) ||
        !c.Unsigned(length) || !c.Take(length, action) || !c.Unsigned(count))
        return false;
    record.action = std::string(action);
    std::map<std::string, long long> lengths; // the length each 'L' gives
    for (uint32_t i = 0; i < count; ++i) {
        std::string_view kind, file, data;
        uint32_t fileLength = 0;
        uint64_t number = 0, dataLength = 0;
        if (!c.Take(1, kind) || !c.Unsigned(fileLength) || !c.Take(fileLength, file) || !c.Unsigned(number) ||
            !c.Unsigned(dataLength) || dataLength > body.size() ||
            !c.Take(static_cast<size_t>(dataLength), data))
            return false;
        typename Record::Change change{kind[0], std::string(file), static_cast<long long>(number),
                                       std::string(data)};
        if (!ValidName(change.file) || change.number < 0 || change.number > kLargestFile ||
            static_cast<long long>(change.data.size()) > kLargestFile - change.number)
            return false;
        if ((change.kind == 'W' &&
             change.number + static_cast<long long>(change.data.size()) > reach(change.file)) ||
            (change.kind == 'R' && static_cast<long long>(change.data.size()) > reach(change.file)) ||
            (change.kind == 'L' && change.number > reach(change.file)))
            return false;
        if (change.kind == 'L')
            lengths[change.file] = change.number;
        else if (change.kind != 'W' && change.kind != 'R' && change.kind != 'D')
            return false;
        record.changes.push_back(std::move(change));
    }
    if (!c.AtEnd())
        return false;
    // Every write lies inside the length its file ends with.
    for (const auto& change : record.changes) {
        if (change.kind != 'W')
            continue;
        auto found = lengths.find(change.file);
        if (found == lengths.end() ||
            change.number + static_cast<long long>(change.data.size()) > found->second)
            return false;
    }
    return true;
}

struct Parsed {
    bool header = false; // a whole header was there
    int format = 2;
    std::string id;
    Slot slot; // the header's (format 2)
    std::vector<Engine::Record> records;
    std::vector<size_t> starts; // where each record starts
    size_t end = 0;             // the end of the last good record
    size_t headerSize = kHeaderSize;
    bool damaged = false;
    std::string damage; // where and what, for the clerk
};

// Reads one record at `pos`: 1 read, 0 the end (torn or clean), -1 damage.
int ReadRecord(std::string_view bytes, size_t pos, Engine::Record& record, size_t& next,
               const Engine::Reach& reach) {
    const std::string_view rest = bytes.substr(pos);
    if (rest.size() < kRecordHead)
        return 0; // cut short
    Cursor c(rest);
    std::string_view magic;
    uint32_t length = 0, headSum = 0;
    c.Take(4, magic);
    c.Unsigned(length);
    c.Unsigned(headSum);
    if (magic != kRecordMagic || headSum != Checksum(rest.substr(0, 8)))
        return AllZero(rest) ? 0 : -1;
    const size_t total = kRecordHead + static_cast<size_t>(length) + 4;
    if (length > rest.size() || total > rest.size())
        return 0; // cut short by a crash
    std::string_view sumBytes = rest.substr(kRecordHead + length, 4);
    Cursor sc(sumBytes);
    uint32_t sum = 0;
    sc.Unsigned(sum);
    if (sum != Checksum(rest.substr(0, kRecordHead + length)))
        return -1; // all of it is on the disk, and it is not what was written: damage

    if (!DecodeBody(rest.substr(kRecordHead, length), record, reach))
        return -1;
    next = pos + total;
    return 1;
}

// The words of the step whose record starts at `pos`, as far as they can be read without
// trusting the record's checksum; empty when they cannot.
std::string StepWordsAt(std::string_view bytes, size_t pos) {
    Cursor c(bytes.substr(pos));
    std::string_view head, flag, words;
    uint32_t length = 0;
    uint64_t seq = 0;
    if (!c.Take(kRecordHead, head) || head.substr(0, 4) != kRecordMagic || !c.Take(1, flag) ||
        (flag != "C" && flag != "S") || (flag == "S" && !c.Unsigned(seq)) || !c.Unsigned(length) ||
        length > 200 || !c.Take(length, words))
        return {};
    const bool printable =
        std::all_of(words.begin(), words.end(), [](char ch) { return static_cast<unsigned char>(ch) >= 32; });
    return printable ? std::string(words) : std::string();
}

Parsed Parse(std::string_view bytes, const Engine::Reach& reach) {
    Parsed out;
    if (bytes.size() < kFixedHeader)
        return out;
    Cursor c(bytes);
    std::string_view magic, id;
    uint32_t sum = 0;
    c.Take(kMagic.size(), magic);
    c.Take(kIdLength, id);
    c.Unsigned(sum);
    out.format = magic == kFormerMagic ? 1 : 2;
    if ((magic != kMagic && magic != kFormerMagic) || sum != Checksum(bytes.substr(0, kFixedHeader - 4))) {
        out.header = true;
        out.damaged = true;
        out.damage = "its header is not a journal header";
        return out;
    }
    out.headerSize = out.format == 1 ? kFixedHeader : kHeaderSize;
    if (out.format == 2) {
        if (bytes.size() < kHeaderSize)
            return out; // a header cut short: no record was ever written after it
        std::optional<Slot> best;
        for (size_t at : {kFixedHeader, kFixedHeader + kSlotSize})
            if (std::optional<Slot> slot = DecodeSlot(bytes.substr(at, kSlotSize));
                slot && (!best || slot->generation > best->generation))
                best = slot;
        if (!best) {
            if (AllZero(bytes.substr(kFixedHeader)))
                return out; // the first slot never reached the disk: nothing after it did
            out.header = true;
            out.damaged = true;
            out.damage = "neither slot of its header can be read";
            return out;
        }
        out.slot = *best;
    }
    out.header = true;
    out.id = std::string(id);
    size_t pos = out.headerSize;
    out.end = pos;
    unsigned long long expected = out.slot.seq + 1;
    for (;;) {
        Engine::Record record;
        size_t next = 0;
        int read = ReadRecord(bytes, pos, record, next, reach);
        if (read == 1 && out.format == 2 && record.seq != expected) {
            if (out.records.empty() && record.seq <= out.slot.seq) {
                pos = next; // cut already (its truncation is not yet on the disk): in the files
                out.end = pos;
                continue;
            }
            read = -1; // out of its turn
        }
        if (read == 0)
            return out;
        if (read < 0) {
            out.damaged = true;
            out.damage = "it is damaged at byte " + std::to_string(pos);
            const std::string step = StepWordsAt(bytes, pos);
            if (!step.empty())
                out.damage += ", where the step \"" + step + "\" was saved; it may be lost";
            // What whole records can still be found after the damage could not be put back.
            std::string lost;
            for (size_t at = pos + 1; at + kRecordHead <= bytes.size(); ++at) {
                if (bytes.compare(at, 4, kRecordMagic) != 0)
                    continue;
                Engine::Record later;
                size_t after = 0;
                if (ReadRecord(bytes, at, later, after, reach) != 1)
                    continue;
                std::string files;
                for (const auto& change : later.changes)
                    if (files.find(change.file) == std::string::npos)
                        files += (files.empty() ? "" : ", ") + change.file;
                lost += "\n\"" + later.action + "\": " + files;
                at = after - 1;
            }
            out.damage += lost.empty() ? "; whatever was saved after that could not be put back"
                                       : "; these steps saved after that could not be put back:" + lost;
            return out;
        }
        out.records.push_back(std::move(record));
        out.starts.push_back(pos);
        pos = next;
        out.end = pos;
        ++expected;
    }
}

// An open folder inside the data folder, reached without following links.
class FolderAt {
public:
    FolderAt(const std::filesystem::path& root, const std::string& relative, std::string& name) {
        std::filesystem::path path(relative);
        m_fd = Open(AT_FDCWD, root.c_str(), root);
        std::filesystem::path at = root;
        auto last = std::prev(path.end());
        for (auto it = path.begin(); it != last; ++it) {
            at /= *it;
            const int next = Open(m_fd, it->c_str(), at);
            ::close(m_fd);
            m_fd = next;
        }
        name = last->string();
    }
    ~FolderAt() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FolderAt(const FolderAt&) = delete;
    FolderAt& operator=(const FolderAt&) = delete;
    int fd() const { return m_fd; }

private:
    static int Open(int at, const char* name, const std::filesystem::path& shown) {
        int fd;
        do
            fd = ::openat(at, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        while (fd < 0 && errno == EINTR);
        if (fd < 0)
            throw IoError(shown, fileops::ErrorText(errno));
        return fd;
    }
    int m_fd = -1;
};

std::string Relative(const std::filesystem::path& root, const std::filesystem::path& file) {
    const std::string& fileText = file.native();
    const std::string& rootText = root.native();
    // A file named by the folder starts with its root: the rest is its name in the folder.
    const std::string name = IsNormalPath(file) && IsNormalPath(root) &&
                                     fileText.size() > rootText.size() + 1 &&
                                     fileText.starts_with(rootText) && fileText[rootText.size()] == '/'
                                 ? fileText.substr(rootText.size() + 1)
                                 : NormalPath(file).lexically_relative(NormalPath(root)).string();
    return ValidName(name) ? name : std::string();
}

std::string ParentOf(const std::string& relative) {
    return std::filesystem::path(relative).parent_path().string();
}

} // namespace

// ---- each file's last image in a run of records ----

namespace {

// What a run of records leaves a file holding: deleted, or its parts written over what it holds,
// zeros where no part is from `floor` on (a length set short, then longer), and its length.
struct FileImage {
    bool deleted = false;
    long long floor = -1;                   // from here on the file's old bytes are gone; -1: none are
    long long length = -1;                  // -1: as it is
    long long written = 0;                  // the end of the furthest write
    std::map<long long, std::string> parts; // never touching
};

// Puts `data` at `at` over the parts, newest first.
void Overlay(std::map<long long, std::string>& parts, long long at, const std::string& data) {
    const long long end = at + static_cast<long long>(data.size());
    if (data.empty())
        return;
    auto it = parts.lower_bound(at);
    if (it != parts.begin()) {
        auto before = std::prev(it);
        const long long beforeEnd = before->first + static_cast<long long>(before->second.size());
        if (beforeEnd > at) {
            std::string tail = beforeEnd > end
                                   ? before->second.substr(static_cast<size_t>(end - before->first))
                                   : std::string();
            before->second.resize(static_cast<size_t>(at - before->first));
            if (!tail.empty())
                parts[end] = std::move(tail);
            if (before->second.empty())
                parts.erase(before);
        }
    }
    it = parts.lower_bound(at);
    while (it != parts.end() && it->first < end) {
        const long long itEnd = it->first + static_cast<long long>(it->second.size());
        if (itEnd > end)
            parts[end] = it->second.substr(static_cast<size_t>(end - it->first));
        it = parts.erase(it);
    }
    parts[at] = data;
}

// Drops what lies past `length`.
void Trim(std::map<long long, std::string>& parts, long long length) {
    for (auto it = parts.lower_bound(length); it != parts.end();)
        it = parts.erase(it);
    if (!parts.empty()) {
        auto last = std::prev(parts.end());
        if (last->first + static_cast<long long>(last->second.size()) > length)
            last->second.resize(static_cast<size_t>(length - last->first));
    }
}

std::map<std::string, FileImage> Images(const std::vector<Engine::Record>& records) {
    std::map<std::string, FileImage> images;
    for (const Engine::Record& record : records)
        for (const Engine::Record::Change& change : record.changes) {
            FileImage& image = images[change.file];
            switch (change.kind) {
            case 'D':
                image = FileImage{true, 0, 0, 0, {}};
                break;
            case 'R':
                image = FileImage{false,
                                  0,
                                  static_cast<long long>(change.data.size()),
                                  static_cast<long long>(change.data.size()),
                                  {}};
                if (!change.data.empty())
                    image.parts[0] = change.data;
                break;
            case 'W':
                image.deleted = false;
                Overlay(image.parts, change.number, change.data);
                image.written =
                    std::max(image.written, change.number + static_cast<long long>(change.data.size()));
                break;
            default: // 'L'
                image.deleted = false;
                Trim(image.parts, change.number);
                image.floor = image.floor < 0 ? change.number : std::min(image.floor, change.number);
                image.length = change.number;
                break;
            }
        }
    return images;
}

// The writes that give a file its image: zeros where no part is from its floor to its length,
// then the parts.
std::vector<std::pair<long long, std::string>> WritesOf(const FileImage& image) {
    std::vector<std::pair<long long, std::string>> writes;
    long long at = image.floor;
    for (const auto& [offset, bytes] : image.parts) {
        if (at >= 0 && offset > at)
            writes.emplace_back(at, std::string(static_cast<size_t>(offset - at), '\0'));
        writes.emplace_back(offset, bytes);
        at = at >= 0 ? std::max(at, offset + static_cast<long long>(bytes.size())) : at;
    }
    if (at >= 0 && image.length > at)
        writes.emplace_back(at, std::string(static_cast<size_t>(image.length - at), '\0'));
    return writes;
}

std::string UncleanMessage(const std::string& folder, const std::string& words) {
    if (words.empty())
        return "The program did not close normally the last time it ran on the data folder " + folder +
               ". No step was found saved in it: a step done then was not saved. Please do it again.";
    return "The program did not close normally the last time it ran on the data folder " + folder +
           ".\nThe last step found saved is \"" + words +
           "\": it is in the files, with every step before it. A step done after it was not saved. "
           "Please do it again.";
}

} // namespace

// ---- the journal ----

Engine::Engine(std::filesystem::path root, FileFaults* faults)
    : m_root(std::move(root)), m_path(m_root / kJournalName), m_faults(faults) {}

Engine::~Engine() {
    if (m_fd >= 0)
        ::close(m_fd);
}

void Engine::Enter(State next) {
    using enum State;
    bool drawn = false;
    switch (m_state) {
    case NotRecovered:
        drawn = next == ReadOnly || next == Open;
        break;
    case Open:
        drawn = next == Open || next == MustRewrite || next == Unsure || next == ReadOnly || next == Stopped;
        break;
    case MustRewrite:
        drawn = next == Open || next == MustRewrite || next == Failing || next == Unsure ||
                next == ReadOnly || next == Stopped;
        break;
    case Failing:
        drawn = next == Open || next == MustRewrite || next == Failing;
        break;
    case Unsure:
    case Stopped:
        drawn = next == Open; // a new start
        break;
    case ReadOnly:
        drawn = false;
        break;
    }
    if (!drawn)
        throw std::logic_error("the storage engine cannot move from state " +
                               std::to_string(static_cast<int>(m_state)) + " to " +
                               std::to_string(static_cast<int>(next)));
    m_state = next;
}

void Engine::SetReadOnly(std::string reason) {
    if (m_state != State::NotRecovered)
        throw std::logic_error("a folder is opened look-only before its start, or by a start that failed");
    m_readOnlyReason = std::move(reason);
    Enter(State::ReadOnly);
}

Transaction* Engine::BeginStep(Transaction* step) {
    return std::exchange(m_step, step);
}

void Engine::EndStep(Transaction* step, Transaction* previous) {
    if (m_step != step)
        throw std::logic_error("steps over a folder end in the order they began");
    m_step = previous;
}

Transaction* Engine::RunningStep() const {
    return m_step;
}

void Engine::RunAsStep(const std::string& action, const std::function<void()>& change) {
    Transaction step(*this, action);
    change();
    step.Commit();
}

// What the file layer asks of the engine and its step (files.h).
Transaction* RunningStep(const Engine& engine) {
    return engine.RunningStep();
}
void WriteCommitted(Engine& engine) {
    engine.WriteCommitted();
}
FileFaults* FaultsOf(const Engine& engine) {
    return engine.Faults();
}
bool Durable(const Engine& engine) {
    return engine.Durable();
}
DamageLog& DamageOf(Engine& engine) {
    return engine.damage();
}
void RunAsStep(Engine& engine, const std::string& action, const std::function<void()>& change) {
    engine.RunAsStep(action, change);
}
const PendingChanges& ForReading(Transaction& step, const std::filesystem::path& file) {
    return step.ForReading(file);
}
PendingChanges& ForChange(Transaction& step, const std::filesystem::path& file) {
    return step.ForChange(file);
}
void MayChange(Transaction& step, const std::filesystem::path& file) {
    step.MayChange(file);
}
void OnUndo(Transaction& step, std::function<void()> undo) {
    step.OnUndo(std::move(undo));
}

std::string Engine::FolderId(bool create) const {
    const std::filesystem::path file = m_root / kFolderIdName;
    std::optional<std::string> id = fileops::ReadWhole(file, O_NOFOLLOW);
    if (id && id->size() >= kIdLength &&
        std::all_of(id->begin(), id->begin() + kIdLength, [](char c) { return std::isxdigit(c) != 0; }))
        return id->substr(0, kIdLength);
    if (!create)
        return {};
    // Written once, before the first journal; one left empty or short by a crash is written anew.
    std::random_device random;
    std::string made;
    constexpr const char* kHex = "0123456789abcdef";
    while (made.size() < kIdLength)
        made += kHex[random() % 16];
    fileops::Fd fd(fileops::OpenForChange(this, file, O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW));
    fileops::Write(this, file, fd.get(), made + "\n", 0);
    fileops::Sync(this, file, fd.get());
    fileops::Close(file, fd.Release());
    fileops::SyncFolder(this, m_root);
    return made;
}

void Engine::OpenForAppend() {
    if (m_fd >= 0)
        return;
    const std::string id = FolderId(true);
    fileops::Fd fd(fileops::OpenForChange(this, m_path, O_RDWR | O_CREAT | O_TRUNC | O_NOFOLLOW));
    m_generation = 1;
    m_cutSeq = m_lastSeq;
    m_cutWords = m_lastWords;
    std::string header = Header(id) + EncodeSlot({m_generation, m_cutSeq, true, m_cutWords});
    header.resize(kHeaderSize, '\0');
    fileops::Write(this, m_path, fd.get(), header, 0);
    fileops::Sync(this, m_path, fd.get());
    fileops::SyncFolder(this, m_root); // the names of the journal and of the folder's id
    m_headerSize = m_size = static_cast<long long>(header.size());
    m_slotRunning = true;
    m_fd = fd.Release();
}

void Engine::WriteSlot(bool running) {
    const unsigned long long generation = m_generation + 1;
    const size_t at = kFixedHeader + ((generation & 1) != 0 ? 0 : kSlotSize);
    fileops::Write(this, m_path, m_fd, EncodeSlot({generation, m_lastSeq, running, m_lastWords}),
                   static_cast<long long>(at));
    m_generation = generation;
    m_cutSeq = m_lastSeq;
    m_cutWords = m_lastWords;
    m_slotRunning = running;
}

// The notes the version before kept beside the journal.
std::vector<std::string> Engine::PreviousNotes() const {
    std::string notes;
    try {
        notes = fileops::ReadWhole(m_root / kUntoldName, O_NOFOLLOW).value_or(std::string());
    } catch (const IoError&) {
    }
    std::vector<std::string> told;
    for (size_t from = 0; from < notes.size();) {
        const size_t end = std::min(notes.find('\0', from), notes.size());
        if (end > from)
            told.push_back(notes.substr(from, end - from));
        from = end + 1;
    }
    return told;
}

std::vector<std::string> Engine::AsideMessages(std::vector<std::filesystem::path>* names) const {
    std::vector<std::filesystem::path> aside;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(m_root, ec)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with(kDamagedJournalName) && !name.ends_with(kShownSuffix))
            aside.push_back(entry.path());
    }
    std::sort(aside.begin(), aside.end(), [](const auto& a, const auto& b) {
        return a.string().size() != b.string().size() ? a.string().size() < b.string().size() : a < b;
    });
    const std::string folder = m_root.string();
    std::vector<std::string> told;
    for (const std::filesystem::path& file : aside) {
        const std::string as = file.filename().string();
        std::optional<std::string> bytes;
        try {
            bytes = fileops::ReadWhole(file, O_NOFOLLOW);
        } catch (const IoError& e) {
            if (e.reason() != fileops::ErrorText(ELOOP))
                continue;
            told.push_back("The journal of the data folder " + folder +
                           " is a link to another file; nothing of it was written into the files. It was put "
                           "aside as \"" +
                           as + "\".");
            if (names != nullptr)
                names->push_back(file);
            continue;
        }
        if (!bytes)
            continue;
        std::string message;
        if (bytes->starts_with(kPreviousMagic)) {
            std::string action;
            message = "The journal the previous version of the program left in the data folder " + folder +
                      " is damaged: " + CheckPreviousEntries(ReadPreviousEntries(*bytes, action)) +
                      ". Nothing of it was undone. It was put aside as \"" + as + "\".";
        } else {
            const Parsed parsed = Parse(*bytes, m_reach);
            if (parsed.id.empty())
                message = "The journal of the data folder " + folder + " could not be read (" +
                          (parsed.damage.empty() ? std::string("its header is not a journal header")
                                                 : parsed.damage) +
                          "); nothing of it was written into the files. It was put aside as \"" + as + "\".";
            else if (parsed.id != FolderId(false))
                message = "The journal found in the data folder " + folder +
                          " belongs to another data folder; nothing of it was written into the files. It was "
                          "put aside as \"" +
                          as + "\".";
            else
                message = "The journal of the data folder " + folder + " is damaged: " + parsed.damage +
                          ".\nThe steps saved before the damage were written into the files. The journal was "
                          "put aside as \"" +
                          as + "\".";
        }
        told.push_back(message);
        if (names != nullptr)
            names->push_back(file);
    }
    return told;
}

void Engine::PutAside() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    m_cutUnsure = false;
    std::filesystem::path aside = m_root / kDamagedJournalName;
    std::error_code ec;
    const auto taken = [&ec](const std::filesystem::path& name) {
        return std::filesystem::exists(std::filesystem::symlink_status(name, ec)) ||
               std::filesystem::exists(std::filesystem::symlink_status(name.string() + kShownSuffix, ec));
    };
    for (int n = 2; taken(aside); ++n)
        aside = m_root / (std::string(kDamagedJournalName) + "-" + std::to_string(n));
    fileops::Rename(this, m_path, aside);
    fileops::SyncFolder(this, m_root);
    m_size = m_headerSize = 0;
}

void Engine::Told() {
    if (ReadOnly())
        return;
    try {
        std::vector<std::filesystem::path> shown;
        AsideMessages(&shown);
        for (const std::filesystem::path& file : shown)
            fileops::Rename(this, file, file.string() + kShownSuffix);
        fileops::Remove(this, m_root / kUntoldName);
        fileops::Remove(this, m_root / kUnsureName);
        fileops::SyncFolder(this, m_root);
    } catch (const IoError&) {
        // Told again at the next start.
    }
}

void Engine::Close() {
    if (m_state != State::Open || Behind() || m_inFlight != InFlight::None || m_cutUnsure || m_lengthUnsure ||
        m_fd < 0 || m_size > m_headerSize || !m_written.empty() || !m_slotRunning)
        return;
    try {
        WriteSlot(false);
        fileops::Sync(this, m_path, m_fd);
    } catch (const IoError&) {
        // The next start tells the last step saved, as after any end that was not clean.
    }
}

void Engine::Apply(const std::vector<Record>& records) {
    if (m_state != State::MustRewrite)
        Enter(State::MustRewrite);
    std::map<std::string, std::string> failed; // file -> why
    // Each folder is opened once for the files written in it.
    std::map<std::string, std::unique_ptr<FolderAt>> folders;
    for (const auto& [relative, image] : Images(records)) {
        const std::filesystem::path file = m_root / relative;
        // A name it makes or removes is flushed with its folder at the checkpoint.
        m_folders.insert(ParentOf(relative));
        try {
            std::string name;
            std::unique_ptr<FolderAt>& folder = folders[ParentOf(relative)];
            if (folder)
                name = std::filesystem::path(relative).filename().string();
            else
                folder = std::make_unique<FolderAt>(m_root, relative, name);
            if (image.deleted) {
                fileops::RemoveAt(this, folder->fd(), name, file);
                continue;
            }
            fileops::Fd fd(fileops::OpenAt(this, folder->fd(), name, file, O_WRONLY | O_CREAT));
            struct stat st;
            if (::fstat(fd.get(), &st) != 0)
                throw IoError(file, fileops::ErrorText(errno));
            // Written over what is there, then cut to length: a reader never finds it short.
            const bool neverHad =
                image.floor != 0 && image.length > st.st_size && image.length > image.written;
            long long size = static_cast<long long>(st.st_size);
            for (const auto& [offset, bytes] : neverHad ? std::vector<std::pair<long long, std::string>>(
                                                              image.parts.begin(), image.parts.end())
                                                        : WritesOf(image)) {
                fileops::Write(this, file, fd.get(), bytes, offset);
                size = std::max(size, offset + static_cast<long long>(bytes.size()));
            }
            m_written.insert(relative);
            // Never longer than its writes made it (or than it is).
            if (neverHad)
                throw IoError(file, "the journal gives it a length it never had");
            if (image.length >= 0 && size != image.length)
                fileops::Truncate(this, file, fd.get(), image.length);
        } catch (const IoError& e) {
            failed[relative] = e.reason();
        }
    }
    if (!failed.empty()) {
        std::string list;
        for (const auto& [file, why] : failed)
            list += "\n" + (m_root / file).string() + ": " + why;
        m_unappliedWhy = list;
        throw FolderNotWhole(m_path, "these files could not be written:" + list);
    }
    m_unappliedWhy.clear();
    if (m_failure) {
        Enter(State::Failing);
        m_lastAttempt = std::chrono::steady_clock::now();
    } else {
        Enter(State::Open);
    }
}

// Without the lock the journal is only read: the steps it holds are not in the files, and
// the clerk is told which.
std::vector<std::string> Engine::StepsNotShown() const {
    std::optional<std::string> bytes;
    try {
        bytes = fileops::ReadWhole(m_path, O_NOFOLLOW);
    } catch (const IoError&) {
        return {};
    }
    if (!bytes || bytes->starts_with(kPreviousMagic))
        return {};
    const Parsed parsed = Parse(*bytes, m_reach);
    if (parsed.records.empty() || parsed.id != FolderId(false))
        return {};
    std::string steps;
    for (const Record& record : parsed.records)
        steps += "\n\"" + record.action + "\"";
    return {
        "The data folder " + m_root.string() + " is open only to be looked at (" + m_readOnlyReason +
        "). These steps were saved but are not yet written into its files, so they are not shown:" + steps};
}

std::vector<std::string> Engine::Recover() {
    if (ReadOnly())
        return StepsNotShown();
    // What is still being flushed is flushed again from the journal: its outcome matters no more.
    (void)Collect(true);
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    m_cutUnsure = m_lengthUnsure = m_slotRunning = false;
    m_slotFlushed = true;
    m_failure.reset();
    m_attempts = 0;
    m_size = m_headerSize = 0;
    m_held.clear(); // the journal holds them
    m_written.clear();
    m_folders.clear();
    // Only the first start of this engine speaks of the program before: a start over finds
    // this program's own steps.
    m_firstStart = m_state == State::NotRecovered;
    Enter(State::Open);
    std::vector<std::string> told;
    try {
        Start(told);
    } catch (const FolderNotWhole&) {
        if (m_fd >= 0) {
            ::close(m_fd);
            m_fd = -1;
        }
        Enter(State::Stopped);
        throw;
    } catch (const IoError& e) {
        // The files hold every saved step, but the start could not flush them, cut the journal or
        // put a damaged one aside: nothing more is written until the next start does.
        if (m_fd >= 0) {
            ::close(m_fd);
            m_fd = -1;
        }
        m_readOnlyReason = "its start could not be finished: " + e.file().string() + ": " + e.reason();
        Enter(State::ReadOnly);
        told.push_back(
            "The data folder " + m_root.string() + " is open only to be looked at (" + m_readOnlyReason +
            "). Every step saved is shown, but nothing can be changed. Close the program, free some "
            "disk space or mend the disk, and start it again.");
    }
    if (m_state == State::Open && m_fd < 0) {
        // A folder without a journal gets it now, so that every step waits for its own record
        // only; when it cannot be made yet, the first step makes it.
        try {
            OpenForAppend();
        } catch (const IoError&) {
        }
    }
    return told;
}

void Engine::Start(std::vector<std::string>& told) {
    const std::string folder = m_root.string();
    told = PreviousNotes();
    const auto withAside = [&] {
        for (std::string& message : AsideMessages(nullptr))
            told.push_back(std::move(message));
    };
    std::optional<std::string> bytes;
    try {
        bytes = fileops::ReadWhole(m_path, O_NOFOLLOW);
    } catch (const IoError& e) {
        if (e.reason() != fileops::ErrorText(ELOOP))
            throw;
        PutAside(); // a link: renamed, never followed
        return withAside();
    }
    if (!bytes || bytes->empty())
        return withAside();
    if (bytes->starts_with(kPreviousMagic)) {
        RollBackPrevious(*bytes);
        return withAside();
    }
    const Parsed parsed = Parse(*bytes, m_reach);
    if (!parsed.header)
        return withAside(); // a header cut short: no record was ever written after it
    if (parsed.id.empty() || parsed.id != FolderId(false)) {
        PutAside(); // unreadable, or another folder's: nothing of it is applied
        return withAside();
    }
    const bool unclean = parsed.slot.running || !parsed.records.empty();
    m_lastSeq = parsed.slot.seq;
    m_lastWords = parsed.slot.words;
    for (const Record& record : parsed.records) {
        m_lastSeq = parsed.format == 1 ? m_lastSeq + 1 : record.seq;
        m_lastWords = record.action;
    }
    Apply(parsed.records); // throws FolderNotWhole when the files cannot all be written: the journal stays
    // The files hold every step found saved: said even if the start cannot finish after this.
    if (unclean && m_firstStart)
        told.push_back(UncleanMessage(folder, m_lastWords));
    if (parsed.damaged || parsed.format == 1) {
        // What was written from it is on the disk before it is put aside or replaced.
        while (!m_written.empty() || !m_folders.empty()) {
            HandOverWritten();
            if (std::optional<IoError> failed = Collect(true))
                throw *failed;
        }
        if (parsed.damaged) {
            PutAside();
        } else { // the version before's: a new journal is made at the next commit
            fileops::Remove(this, m_path);
            fileops::SyncFolder(this, m_root);
        }
    } else {
        // Reopened for appending after the good records; a torn tail is cut off at the cut.
        m_fd = fileops::OpenForChange(this, m_path, O_RDWR | O_NOFOLLOW);
        m_headerSize = static_cast<long long>(kHeaderSize);
        m_size = static_cast<long long>(parsed.end);
        m_generation = parsed.slot.generation;
        m_cutSeq = parsed.slot.seq;
        m_cutWords = parsed.slot.words;
        m_slotRunning = parsed.slot.running;
        if (bytes->size() > parsed.end) {
            fileops::Truncate(this, m_path, m_fd, m_size);
            m_cutUnsure = true; // the length is flushed with the cut
        }
        Checkpoint(); // a failure: the start ends look-only
        if (!m_slotRunning) {
            // From now until a clean end the header says the program runs: a kill before the
            // first step is saved is told at the next start too.
            WriteSlot(true);
            fileops::Sync(this, m_path, m_fd);
        }
    }
    withAside();
}

struct Engine::PreviousEntry {
    char kind;
    std::string file;
    long long number;
    std::string data;
};

// The entries of a previous version's journal up to the first one cut short or damaged;
// none when its header is not whole.
std::vector<Engine::PreviousEntry> Engine::ReadPreviousEntries(const std::string& bytes,
                                                               std::string& action) {
    Cursor c(bytes);
    std::string_view magic, words;
    uint32_t length = 0, sum = 0;
    std::vector<PreviousEntry> entries;
    if (!c.Take(kPreviousMagic.size(), magic) || !c.Unsigned(length) || !c.Take(length, words) ||
        !c.Unsigned(sum) ||
        sum != Checksum(std::string_view(bytes).substr(0, kPreviousMagic.size() + 4 + length)))
        return entries;
    action = std::string(words);
    for (size_t start = kPreviousMagic.size() + 8 + length;;) {
        std::string_view kind, file, data;
        uint32_t fileLength = 0, entrySum = 0;
        uint64_t number = 0, dataLength = 0;
        if (!c.Take(1, kind) || !c.Unsigned(fileLength) || !c.Take(fileLength, file) || !c.Unsigned(number) ||
            !c.Unsigned(dataLength) || dataLength > bytes.size() ||
            !c.Take(static_cast<size_t>(dataLength), data))
            break;
        const size_t end = start + 1 + 4 + fileLength + 8 + 8 + static_cast<size_t>(dataLength);
        if (!c.Unsigned(entrySum) ||
            entrySum != Checksum(std::string_view(bytes).substr(start, end - start)) ||
            (kind[0] != 'S' && kind[0] != 'B' && kind[0] != 'C'))
            break;
        entries.push_back({kind[0], std::string(file), static_cast<long long>(number), std::string(data)});
        start = end + 4;
    }
    return entries;
}

// What is wrong with the entries (a file outside the folder, bytes past the length a file had
// before the step); empty when nothing is.
std::string Engine::CheckPreviousEntries(const std::vector<PreviousEntry>& entries) const {
    std::map<std::string, long long> lengthBefore;
    for (const PreviousEntry& e : entries)
        if (e.kind == 'S')
            lengthBefore.try_emplace(e.file, e.number);
    for (const PreviousEntry& e : entries) {
        auto before = lengthBefore.find(e.file);
        if (!ValidName(e.file))
            return "it names a file outside the data folder (" + e.file + ")";
        if (e.kind == 'B' && (e.number < 0 || e.number > kLargestFile ||
                              (before != lengthBefore.end() &&
                               e.number + static_cast<long long>(e.data.size()) > before->second)))
            return "it gives " + e.file + " bytes past the length it had";
    }
    return {};
}

// Puts back what the entries kept, newest first, and flushes it. Throws FolderNotWhole naming
// every file that could not be put back.
void Engine::UndoPreviousEntries(const std::vector<PreviousEntry>& entries) {
    std::map<std::string, std::string> failed; // file -> why
    std::set<std::string> folders;
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        const std::filesystem::path file = m_root / it->file;
        try {
            std::string name;
            FolderAt at(m_root, it->file, name);
            folders.insert(ParentOf(it->file));
            if (it->kind == 'S' && it->number < 0) {
                fileops::RemoveAt(this, at.fd(), name, file);
                continue;
            }
            const bool whole = it->kind == 'C';
            const int flags = it->kind == 'S' ? O_WRONLY : O_WRONLY | O_CREAT | (whole ? O_TRUNC : 0);
            fileops::Fd fd;
            try {
                fd.Reset(fileops::OpenAt(this, at.fd(), name, file, flags));
            } catch (const IoError& e) {
                if (it->kind == 'S' && e.reason() == fileops::ErrorText(ENOENT))
                    continue; // gone already: it was made by the step
                throw;
            }
            if (it->kind == 'S') {
                struct stat st;
                if (::fstat(fd.get(), &st) != 0)
                    throw IoError(file, fileops::ErrorText(errno));
                if (st.st_size > it->number) // never made longer than it is
                    fileops::Truncate(this, file, fd.get(), it->number);
            } else {
                fileops::Write(this, file, fd.get(), it->data, whole ? 0 : it->number);
            }
            fileops::Sync(this, file, fd.get());
        } catch (const IoError& e) {
            failed.try_emplace(it->file, e.reason());
        }
    }
    try {
        for (const std::string& name : folders)
            fileops::SyncFolder(this, name.empty() ? m_root : m_root / name);
    } catch (const IoError& e) {
        failed.try_emplace(".", e.reason());
    }
    if (!failed.empty()) {
        std::string list;
        for (const auto& [file, why] : failed)
            list += "\n" + (m_root / file).string() + ": " + why;
        m_unappliedWhy = list;
        throw FolderNotWhole(m_path,
                             "the step the previous version left unfinished could not be undone:" + list);
    }
}

std::vector<std::string> Engine::RollBackPrevious(const std::string& bytes) {
    std::string action;
    const std::vector<PreviousEntry> entries = ReadPreviousEntries(bytes, action);
    const std::string wrong = CheckPreviousEntries(entries);
    if (!wrong.empty()) {
        PutAside(); // its bytes tell what is wrong with it
        return {};
    }
    m_previousPending = true;
    Enter(State::MustRewrite);
    UndoPreviousEntries(entries);
    fileops::Remove(this, m_path);
    fileops::SyncFolder(this, m_root);
    m_previousPending = false;
    Enter(State::Open);
    if (!entries.empty())
        m_undoneStep = action.empty() ? std::string("a step") : action;
    return {};
}

void Engine::EnsureWhole() {
    (void)Collect(false); // a flush that failed meanwhile: the files are written again first
    WriteCommitted();
    switch (m_state) {
    case State::NotRecovered:
        Recover();
        return;
    case State::Stopped:
        throw FolderNotWhole(m_path, "the journal could not be written into the files" + m_unappliedWhy);
    case State::MustRewrite:
        m_held.clear(); // the journal holds them: every record of it is written again
        break;
    case State::Open:
    case State::Failing:
    case State::Unsure:
    case State::ReadOnly:
        return;
    }
    const std::optional<std::string> bytes = fileops::ReadWhole(m_path, O_NOFOLLOW);
    if (!bytes)
        throw FolderNotWhole(m_path, fileops::ErrorText(ENOENT));
    if (m_previousPending) {
        RollBackPrevious(*bytes);
        return;
    }
    Apply(Parse(*bytes, m_reach).records);
}

std::string Engine::FailingMessage() const {
    return "The disk did not take the saved steps (" + m_failure->file().string() + ": " +
           m_failure->reason() +
           ").\nEvery step saved so far is kept in the journal and shown, but nothing more can be saved "
           "until "
           "the disk answers again or the program is started again. The program tries again a few times by "
           "itself.";
}

void Engine::KeepFailure(const IoError& failure) {
    if (m_failure)
        return;
    m_failure = failure;
    m_attempts = 0;
    m_notes.push_back(FailingMessage());
}

void Engine::Commit(const std::string& action, const PendingChanges& changes) {
    if (changes.empty())
        return; // a step that changed nothing is no commit, even where nothing may change
    if (ReadOnly())
        throw FolderReadOnly(m_root, m_readOnlyReason);
    if (m_state == State::Unsure)
        throw StepOutcomeUnknown(m_path, UnsureMessage());
    EnsureWhole();
    if (m_state == State::Failing)
        throw DiskFailing(m_failure->file(), FailingMessage() + "\nThis step was not saved.");
    if (m_size > kJournalLimit)
        Checkpoint(); // under any load the journal stays bounded: the step waits for it
    Record record;
    record.seq = m_lastSeq + 1;
    record.action = action;
    for (const auto& [path, f] : changes.files()) {
        const std::string name = Relative(m_root, path);
        if (name.empty())
            throw IoError(path, "not a file of the data folder");
        if (!f.exists) {
            record.changes.push_back({'D', name, 0, {}});
        } else if (!f.fromDisk) {
            std::string content(static_cast<size_t>(f.size), '\0');
            for (const auto& [offset, bytes] : f.parts)
                content.replace(static_cast<size_t>(offset), bytes.size(), bytes);
            record.changes.push_back({'R', name, static_cast<long long>(content.size()), std::move(content)});
        } else {
            for (const auto& [offset, bytes] : f.parts)
                record.changes.push_back({'W', name, offset, bytes});
            record.changes.push_back({'L', name, f.size, {}});
        }
        if (f.size > kLargestFile)
            throw IoError(path, "the file would grow past " + std::to_string(kLargestFile) + " bytes");
        const long long reach = m_reach(name);
        for (const auto& [offset, bytes] : f.parts)
            if (offset + static_cast<long long>(bytes.size()) > reach)
                throw IoError(path, "a write past byte " + std::to_string(reach) +
                                        ", where no file of its kind reaches");
        if (f.exists && f.size > reach)
            throw IoError(path, "a length past byte " + std::to_string(reach) +
                                    ", where no file of its kind reaches");
    }
    const std::string bytes = EncodeRecord(record);
    OpenForAppend();
    if (m_inFlight == InFlight::Slot || m_inFlight == InFlight::Cut)
        (void)Collect(true); // the record goes after the cut's flush, never over old records
    if (m_cutUnsure)
        Cut(true); // written again and flushed here; a failure: nothing saved, the cut still unsure
    if (m_lengthUnsure) {
        fileops::Truncate(this, m_path, m_fd, m_size); // what a failed write left past the end
        fileops::Sync(this, m_path, m_fd);
        m_lengthUnsure = false;
    }
    const long long at = m_size;
    try {
        fileops::Write(this, m_path, m_fd, bytes, at);
    } catch (const IoError&) {
        // The record never reached the journal whole: the step was not saved. What the write left
        // is cut off before the next record.
        m_lengthUnsure = true;
        throw;
    }
    try {
        fileops::Sync(this, m_path, m_fd);
    } catch (const IoError& e) {
        // The flush failed: the disk may hold the record or not. Written again and flushed, it is
        // saved; else cut off again and that flushed, it is not; else nobody knows until the next
        // start, which names the last step found saved.
        if (WriteAgain(bytes, at)) {
            m_notes.push_back("The disk reported an error while the step \"" + action +
                              "\" was being saved (" + e.reason() + "). It was written again: it is saved.");
        } else if (TakeBack(at)) {
            throw;
        } else {
            Enter(State::Unsure);
            m_unsureStep = action;
            throw StepOutcomeUnknown(e.file(), "The file " + e.file().string() + " could not be used: " +
                                                   e.reason() + ".\n" + UnsureMessage());
        }
    }
    m_size = at + static_cast<long long>(bytes.size()); // the commit point
    m_lastRecordBytes = static_cast<long long>(bytes.size());
    m_lastSeq = record.seq;
    m_lastWords = action;
    m_held.push_back(std::move(record));
    if (!m_holdUntilQuiet)
        WriteCommitted();
}

void Engine::WriteCommitted() {
    if (m_held.empty() || m_state != State::Open)
        return;
    const std::vector<Record> held = std::exchange(m_held, {});
    try {
        Apply(held);
    } catch (const FolderNotWhole&) {
        // The steps stand in the journal; EnsureWhole writes it before anything reads the folder.
    }
}

std::string Engine::UnsureMessage() const {
    return "The step \"" + m_unsureStep +
           "\" may have been saved: whether it was can only be told when the program starts again. Nothing "
           "more can be saved until then. Close the program and start it again; it will tell you.";
}

bool Engine::WriteAgain(const std::string& bytes, long long at) {
    try {
        fileops::Write(this, m_path, m_fd, bytes, at);
        fileops::Sync(this, m_path, m_fd);
        return true;
    } catch (const IoError&) {
        return false;
    }
}

bool Engine::TakeBack(long long at) {
    try {
        fileops::Truncate(this, m_path, m_fd, at);
        fileops::Sync(this, m_path, m_fd);
        return true;
    } catch (const IoError&) {
        return false;
    }
}

// A file written since the last checkpoint, opened to be flushed; -1 when a later step deleted it.
int Engine::OpenWritten(const std::string& relative) const {
    std::string name;
    FolderAt folder(m_root, relative, name);
    int opened;
    do
        opened = ::openat(folder.fd(), name.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    while (opened < 0 && errno == EINTR);
    if (opened < 0 && errno != ENOENT)
        throw IoError(m_root / relative, fileops::ErrorText(errno));
    return opened;
}

FlushWorker& Engine::Worker() {
    if (!m_worker) {
        m_worker = std::make_unique<FlushWorker>(m_flusher);
        m_worker->SetNoThread(m_noFlushThread);
    }
    return *m_worker;
}

void Engine::SetNoFlushThread(bool none) {
    (void)Collect(true);
    m_worker.reset();
    m_noFlushThread = none;
}

void Engine::SetFlusher(Flusher flusher) {
    (void)Collect(true);
    m_worker.reset();
    m_flusher = std::move(flusher);
}

void Engine::HandOverWritten() {
    if (!Durable()) { // nothing is flushed: written is all the files need
        m_written.clear();
        m_folders.clear();
        return;
    }
    std::vector<FlushWorker::Job> jobs;
    try {
        // At most kBatchFiles open at once: the rest go in the next batch.
        for (auto it = m_written.begin(); it != m_written.end() && jobs.size() < kBatchFiles;) {
            const std::filesystem::path file = m_root / *it;
            fileops::Fd fd(OpenWritten(*it));
            if (fd.get() >= 0) { // else deleted by a later step
                const bool disk = fileops::BeforeFlush(this, file, false);
                jobs.emplace_back(file, fd.Release(), false, disk);
            }
            it = m_written.erase(it);
        }
        for (auto it = m_folders.begin(); it != m_folders.end() && jobs.size() < kBatchFiles;) {
            const std::filesystem::path folder = it->empty() ? m_root : m_root / *it;
            const bool disk = fileops::BeforeFlush(this, folder, true);
            jobs.emplace_back(folder, fileops::OpenFolder(folder), true, disk);
            it = m_folders.erase(it);
        }
    } catch (const IoError& e) {
        // As a failed flush: the files are written again from the journal before the cut.
        KeepFailure(e);
        if (m_state != State::MustRewrite)
            Enter(State::MustRewrite);
        throw;
    }
    if (jobs.empty())
        return;
    Worker().Hand(std::move(jobs));
    m_inFlight = InFlight::Files;
}

std::optional<IoError> Engine::Collect(bool wait) {
    if (m_inFlight == InFlight::None)
        return std::nullopt;
    std::optional<FlushWorker::Outcome> outcome = m_worker->Take(wait);
    if (!outcome)
        return std::nullopt; // still flushing
    const InFlight was = std::exchange(m_inFlight, InFlight::None);
    for (const auto& [file, folder] : outcome->done)
        fileops::AfterFlush(this, file, folder);
    if (was == InFlight::Slot)
        m_slotFlushed = !outcome->failure; // the cut goes on from there (CheckpointRound)
    if (was == InFlight::Cut) {
        m_cutUnsure = outcome->failure.has_value();
        m_slotFlushed = m_slotFlushed && !m_cutUnsure; // a failed flush is never merely tried again
    }
    if (!outcome->failure) {
        if (was == InFlight::Retry) {
            // The disk answers again: every file was written again and flushed.
            m_failure.reset();
            m_attempts = 0;
            Enter(State::Open);
            m_notes.push_back(
                "The disk answers again: the saved steps are on it, and steps can be saved again.");
        }
        return std::nullopt;
    }
    const IoError failure(outcome->failure->file, fileops::ErrorText(outcome->failure->error));
    // A file's flush failed: what the kernel could not write it may have dropped, and flushing
    // again proves nothing. The files are written again from the journal before anything reads
    // them, and before the journal is cut; the failure is kept, told once, and refuses commits.
    if (was == InFlight::Files || was == InFlight::Slot) {
        KeepFailure(failure);
        if (m_state == State::Open)
            Enter(State::MustRewrite);
    }
    if (was == InFlight::Retry)
        ++m_attempts;
    return failure;
}

void Engine::TryAgainWhileFailing(bool wait) {
    if (m_inFlight != InFlight::None)
        return;
    {
        const auto now = std::chrono::steady_clock::now();
        if (!wait && (m_attempts >= kFailingAttempts ||
                      now - m_lastAttempt < std::chrono::milliseconds(m_failingRetryMs)))
            return;
        m_lastAttempt = now;
        const std::optional<std::string> bytes = fileops::ReadWhole(m_path, O_NOFOLLOW);
        std::vector<FlushWorker::Job> jobs;
        std::set<std::string> folders;
        try {
            for (auto& [relative, image] : Images(Parse(bytes.value_or(std::string()), m_reach).records)) {
                folders.insert(ParentOf(relative));
                if (image.deleted)
                    continue;
                const std::filesystem::path file = m_root / relative;
                const bool disk = fileops::BeforeFlush(this, file, false);
                // Opened on the engine's thread, one at a time, never through a link.
                auto open = [root = m_root, relative = relative]() -> int {
                    try {
                        std::string name;
                        FolderAt folder(root, relative, name);
                        const int fd = ::openat(folder.fd(), name.c_str(),
                                                O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
                        return fd >= 0 ? fd : -errno;
                    } catch (const IoError&) {
                        return -EIO;
                    }
                };
                jobs.emplace_back(file, std::move(open), WritesOf(image), image.length, disk);
            }
            for (const std::string& relative : folders) {
                const std::filesystem::path folder = relative.empty() ? m_root : m_root / relative;
                const bool disk = fileops::BeforeFlush(this, folder, true);
                jobs.emplace_back(folder, fileops::OpenFolder(folder), true, disk);
            }
        } catch (const IoError&) {
            ++m_attempts;
            throw;
        }
        m_written.clear();
        m_folders.clear();
        Worker().Hand(std::move(jobs));
        m_inFlight = InFlight::Retry;
    }
    if (!wait)
        return;
    if (std::optional<IoError> failed = Collect(true))
        throw *failed;
}

void Engine::Cut(bool wait) {
    if (m_fd < 0 || (m_size <= m_headerSize && !m_cutUnsure))
        return;
    const bool cutUnsure = m_cutUnsure;
    try {
        // First the header's slot names the last step, flushed; only then do the records go: the
        // journal never loses the name of the last step saved. A cut whose flush failed is
        // written again, never merely flushed again.
        if (!m_slotFlushed || m_cutSeq != m_lastSeq || m_cutWords != m_lastWords || !m_slotRunning) {
            WriteSlot(true);
            m_slotFlushed = !Durable();
            if (wait && Durable()) {
                fileops::Sync(this, m_path, m_fd);
                m_slotFlushed = true;
            } else if (Durable()) {
                HandOverCut(InFlight::Slot);
                return;
            }
        }
        if (!wait && m_size <= m_headerSize && cutUnsure)
            return; // only the truncation's flush failed: the next commit writes and flushes it, never a tick
        if (m_size > m_headerSize || cutUnsure)
            fileops::Truncate(this, m_path, m_fd, m_headerSize);
        m_size = m_headerSize;
        if (!Durable()) {
            m_cutUnsure = false;
            return;
        }
        if (wait) {
            fileops::Sync(this, m_path, m_fd);
            m_cutUnsure = false;
            return;
        }
        HandOverCut(InFlight::Cut);
    } catch (const IoError&) {
        // The next record goes where the journal ends, whatever the disk made of the cut.
        struct stat st;
        if (::fstat(m_fd, &st) == 0)
            m_size = std::max(st.st_size, static_cast<off_t>(m_headerSize));
        m_cutUnsure = cutUnsure || m_size > m_headerSize;
        throw;
    }
}

void Engine::HandOverCut(InFlight what) {
    if (what == InFlight::Cut)
        m_cutUnsure = true; // until its flush is done
    const bool disk = fileops::BeforeFlush(this, m_path, false);
    // A duplicate of the journal's own descriptor: one open description, so a failure is seen
    // once, here; what it covers is then written again before it is flushed again.
    const int dup = ::fcntl(m_fd, F_DUPFD_CLOEXEC, 0);
    if (dup < 0)
        throw IoError(m_path, fileops::ErrorText(errno));
    std::vector<FlushWorker::Job> jobs;
    jobs.emplace_back(m_path, dup, false, disk);
    Worker().Hand(std::move(jobs));
    m_inFlight = what;
}

bool Engine::CheckpointRound(bool wait) {
    if (m_state == State::ReadOnly || m_state == State::Unsure || m_state == State::Stopped)
        return true;
    const InFlight was = m_inFlight;
    if (std::optional<IoError> failed = Collect(wait))
        throw *failed;
    if (m_inFlight != InFlight::None)
        return false; // still flushing
    if (was == InFlight::Cut)
        return true; // a step saved meanwhile would have waited for the cut's flush
    EnsureWhole();
    if (m_state == State::Failing) {
        TryAgainWhileFailing(wait); // throws the attempt's failure
        if (m_state == State::Failing)
            return m_inFlight == InFlight::None; // a later attempt, or the next start
    }
    if (!m_written.empty() || !m_folders.empty()) {
        HandOverWritten();
        if (m_inFlight != InFlight::None)
            return false; // looked at in a later round; steps may be saved meanwhile
    }
    Cut(wait);
    return m_inFlight == InFlight::None;
}

void Engine::Checkpoint() {
    while (!CheckpointRound(true)) {
    }
}

bool Engine::CheckpointWithoutWaiting() {
    return CheckpointRound(false);
}

// ---- transactions ----

Transaction::Transaction(Engine& engine, std::string action) : m_engine(engine), m_action(std::move(action)) {
    m_previous = m_engine.BeginStep(this);
}

Transaction::~Transaction() {
    m_engine.EndStep(this, m_previous);
}

const PendingChanges& Transaction::ForReading(const std::filesystem::path&) {
    if (!m_whole || m_engine.Behind()) { // a step inside this one may have committed
        if (m_engine.Behind())
            m_pending.ForgetDisk(); // the files it writes change what this step saw
        m_engine.EnsureWhole();
        m_whole = true;
    }
    return m_pending;
}

void Transaction::MayChange(const std::filesystem::path& file) {
    if (m_done)
        throw IoError(file, "The action is already finished");
    if (m_blocked)
        throw WorkDeferred{};
    if (!m_refused.empty())
        throw FolderReadOnly(file, m_refused);
    ForReading(file);
    if (m_engine.ReadOnly())
        throw FolderReadOnly(file, m_engine.readOnlyReason());
}

PendingChanges& Transaction::ForChange(const std::filesystem::path& file) {
    MayChange(file);
    if (Relative(m_engine.root(), file).empty())
        throw IoError(file, "not a file of the data folder");
    return m_pending;
}

void Transaction::Commit() {
    if (m_done)
        return;
    m_engine.Commit(m_action, m_pending);
    m_done = true;
    m_pending = PendingChanges();
    m_undo.clear();
}

void Transaction::Rollback() {
    m_done = true;
    m_pending = PendingChanges();
    Undo(0);
}

void Transaction::Undo(size_t keep) {
    while (m_undo.size() > keep) {
        std::function<void()> undo = std::move(m_undo.back());
        m_undo.pop_back();
        undo();
    }
}

void Transaction::AllOrNothing(const std::function<void()>& step) {
    PendingChanges mark = m_pending;
    const size_t undoMark = m_undo.size();
    try {
        step();
    } catch (const SimulatedCrash&) {
        throw; // a crash leaves everything as it is
    } catch (...) {
        m_pending = std::move(mark);
        Undo(undoMark);
        throw;
    }
}

void DescribeStep(const DataFolder& folder, std::string words) {
    auto* engine = dynamic_cast<Engine*>(folder.engine());
    if (Transaction* tx = engine != nullptr ? engine->step() : nullptr)
        tx->Describe(std::move(words));
}

void AllOrNothing(const DataFolder& folder, const std::function<void()>& step) {
    auto* engine = dynamic_cast<Engine*>(folder.engine());
    Transaction* tx = engine != nullptr ? engine->step() : nullptr;
    if (tx != nullptr)
        tx->AllOrNothing(step);
    else
        step();
}

} // namespace platform
