// The write-ahead journal and the step's transaction.
//
// Journal layout: a header, then one record per committed step, each appended in one piece
// and flushed. Numbers are little-endian.
//   header: "VWAL1\n", the folder's id (32 characters), u32 checksum of the 38 bytes before
//   record: "VREC", u32 body length, u32 checksum of these 8 bytes,
//           body: 'C' (committed), u32 length + the action's words, u32 count of changes,
//                 each: kind, u32 length + file name (relative to the data folder),
//                       i64 number, u64 length + data,
//           u32 checksum of the record from "VREC" to the end of the body
//   kinds:  'W' data written at offset `number`; 'L' the file's length is `number` (after its
//           writes); 'R' the whole file is `data`; 'D' the file is deleted.
// A step that changed bytes 10-19 of `rooms` (40 bytes long) and deleted `move/move12626`:
//   W rooms 10 <10 bytes>, L rooms 40, D move/move12626 0.
// Reading stops at a record cut short by a crash (never committed); a record that is whole
// but wrong, with more after it, is damage.
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
#include "platform/journal.h"

#include <algorithm>
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

constexpr std::string_view kMagic = "VWAL1\n";
constexpr std::string_view kPreviousMagic = "VJRNL1\n";
constexpr std::string_view kRecordMagic = "VREC";
constexpr size_t kIdLength = 32;
constexpr size_t kHeaderSize = 6 + kIdLength + 4;
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
    if (name.empty() || name.find('\0') != std::string::npos || name.front() == '/')
        return false;
    const std::filesystem::path path(name);
    int parts = 0;
    for (const auto& part : path) {
        const std::string s = part.string();
        if (s.empty() || s == "." || s == ".." || s == "/")
            return false;
        ++parts;
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

} // namespace

struct Journal::Record {
    struct Change {
        char kind = 0;
        std::string file;
        long long number = 0;
        std::string data;
    };
    std::string action;
    std::vector<Change> changes;
};

namespace {

// The record's bytes.
template <class Record> std::string EncodeRecord(const Record& record) {
    std::string body = "C";
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
template <class Record> bool DecodeBody(std::string_view body, Record& record, const Journal::Reach& reach) {
    Cursor c(body);
    std::string_view flag, action;
    uint32_t length = 0, count = 0;
    if (!c.Take(1, flag) || flag != "C" || !c.Unsigned(length) || !c.Take(length, action) ||
        !c.Unsigned(count))
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
            (change.kind == 'R' && static_cast<long long>(change.data.size()) > reach(change.file)))
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
    std::string id;
    std::vector<Journal::Record> records;
    std::vector<size_t> starts; // where each record starts
    size_t end = 0;             // the end of the last good record
    bool damaged = false;
    std::string damage; // where and what, for the clerk
};

// Reads one record at `pos`: 1 read, 0 the end (torn or clean), -1 damage.
int ReadRecord(std::string_view bytes, size_t pos, Journal::Record& record, size_t& next,
               const Journal::Reach& reach) {
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
    if (!c.Take(kRecordHead, head) || head.substr(0, 4) != kRecordMagic || !c.Take(1, flag) || flag != "C" ||
        !c.Unsigned(length) || length > 200 || !c.Take(length, words))
        return {};
    const bool printable =
        std::all_of(words.begin(), words.end(), [](char ch) { return static_cast<unsigned char>(ch) >= 32; });
    return printable ? std::string(words) : std::string();
}

Parsed Parse(std::string_view bytes, const Journal::Reach& reach) {
    Parsed out;
    if (bytes.size() < kHeaderSize)
        return out;
    out.header = true;
    Cursor c(bytes);
    std::string_view magic, id;
    uint32_t sum = 0;
    c.Take(kMagic.size(), magic);
    c.Take(kIdLength, id);
    c.Unsigned(sum);
    if (magic != kMagic || sum != Checksum(bytes.substr(0, kHeaderSize - 4))) {
        out.damaged = true;
        out.damage = "its header is not a journal header";
        return out;
    }
    out.id = std::string(id);
    size_t pos = kHeaderSize;
    out.end = pos;
    for (;;) {
        Journal::Record record;
        size_t next = 0;
        const int read = ReadRecord(bytes, pos, record, next, reach);
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
                Journal::Record later;
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
    const std::filesystem::path relative =
        file.lexically_normal().lexically_relative(root.lexically_normal());
    const std::string name = relative.string();
    return ValidName(name) ? name : std::string();
}

std::string ParentOf(const std::string& relative) {
    return std::filesystem::path(relative).parent_path().string();
}

} // namespace

// ---- the journal ----

Journal::Journal(std::filesystem::path root, FileFaults* faults)
    : m_root(std::move(root)), m_path(m_root / kJournalName), m_faults(faults) {}

Journal::~Journal() {
    if (m_fd >= 0)
        ::close(m_fd);
}

void Journal::Enter(State next) {
    using enum State;
    bool drawn = false;
    switch (m_state) {
    case NotRecovered:
        drawn = next == ReadOnly || next == Open;
        break;
    case Open:
    case MustRewrite:
        drawn = next != NotRecovered && next != ReadOnly;
        break;
    case Unsure:
    case Stopped:
        drawn = next == Open || next == m_state; // a new start
        break;
    case ReadOnly:
        drawn = next == ReadOnly;
        break;
    }
    if (!drawn)
        throw std::logic_error("the storage engine cannot move from state " +
                               std::to_string(static_cast<int>(m_state)) + " to " +
                               std::to_string(static_cast<int>(next)));
    m_state = next;
}

void Journal::SetReadOnly(std::string reason) {
    m_readOnlyReason = std::move(reason);
    Enter(State::ReadOnly);
}

Transaction* Journal::BeginStep(Transaction* step) {
    return std::exchange(m_step, step);
}

void Journal::EndStep(Transaction* step, Transaction* previous) {
    if (m_step != step)
        throw std::logic_error("steps over a folder end in the order they began");
    m_step = previous;
}

FileTransaction* Journal::RunningStep() const {
    return m_step;
}

std::string Journal::FolderId(bool create) const {
    const std::filesystem::path file = m_root / kFolderIdName;
    std::optional<std::string> id = fileops::ReadWhole(file, O_NOFOLLOW);
    if (id && id->size() >= kIdLength)
        return id->substr(0, kIdLength);
    if (!create)
        return {};
    // Written once, before the first journal; an empty one left by a crash is written anew.
    std::random_device random;
    std::string made;
    constexpr const char* kHex = "0123456789abcdef";
    while (made.size() < kIdLength)
        made += kHex[random() % 16];
    fileops::Fd fd(fileops::OpenForChange(this, file, O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW));
    fileops::Write(this, file, fd.get(), made + "\n", 0);
    fileops::Sync(this, file, fd.get());
    fileops::Close(file, fd.Release());
    return made;
}

void Journal::OpenForAppend() {
    if (m_fd >= 0)
        return;
    const std::string id = FolderId(true);
    fileops::Fd fd(fileops::OpenForChange(this, m_path, O_RDWR | O_CREAT | O_TRUNC | O_NOFOLLOW));
    const std::string header = Header(id);
    fileops::Write(this, m_path, fd.get(), header, 0);
    fileops::Sync(this, m_path, fd.get());
    fileops::SyncFolder(this, m_root); // the names of the journal and of the folder's id
    m_headerSize = m_size = static_cast<long long>(header.size());
    m_fd = fd.Release();
}

void Journal::KeepUntold(const std::string& told) {
    const std::filesystem::path untold = m_root / kUntoldName;
    const std::optional<std::string> notes = fileops::ReadWhole(untold, O_NOFOLLOW);
    fileops::Fd note(fileops::OpenForChange(this, untold, O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW));
    fileops::Write(this, untold, note.get(), notes.value_or(std::string()) + told + '\0', 0);
    fileops::Sync(this, untold, note.get());
    fileops::Close(untold, note.Release());
    if (!notes)
        fileops::SyncFolder(this, m_root);
}

std::vector<std::string> Journal::UntoldNotes() const {
    const std::string notes = fileops::ReadWhole(m_root / kUntoldName, O_NOFOLLOW).value_or(std::string());
    std::vector<std::string> told;
    for (size_t from = 0; from < notes.size();) {
        const size_t end = std::min(notes.find('\0', from), notes.size());
        if (end > from)
            told.push_back(notes.substr(from, end - from));
        from = end + 1;
    }
    return told;
}

void Journal::PutAside(const std::string& told) {
    KeepUntold(told);
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    m_cutUnsure = false;
    std::filesystem::path aside = m_root / kDamagedJournalName;
    std::error_code ec;
    for (int n = 2; std::filesystem::exists(std::filesystem::symlink_status(aside, ec)); ++n)
        aside = m_root / (std::string(kDamagedJournalName) + "-" + std::to_string(n));
    fileops::Rename(this, m_path, aside);
    fileops::SyncFolder(this, m_root);
    m_size = m_headerSize = 0;
}

void Journal::ResolveUnsure(const std::vector<size_t>& starts) {
    const std::filesystem::path file = m_root / kUnsureName;
    const std::optional<std::string> unsure = fileops::ReadWhole(file, O_NOFOLLOW);
    if (!unsure)
        return;
    const size_t line = unsure->find('\n');
    const std::string offset = unsure->substr(0, line);
    const std::string step =
        line == std::string::npos ? std::string("the last step") : unsure->substr(line + 1);
    const bool saved = std::any_of(starts.begin(), starts.end(),
                                   [&](size_t start) { return std::to_string(start) == offset; });
    KeepUntold("Whether the step \"" + step + "\" was saved could not be told when it was done." +
               (saved ? "\nIt was found saved: it is in the files. Do not do it again."
                      : "\nIt was not saved: nothing of it is in the files. Please do it again."));
    fileops::Remove(this, file);
    fileops::SyncFolder(this, m_root);
}

void Journal::Told() {
    if (ReadOnly())
        return;
    try {
        fileops::Remove(this, m_root / kUntoldName);
        fileops::SyncFolder(this, m_root);
    } catch (const IoError&) {
        // Told again at the next start.
    }
}

void Journal::Apply(const std::vector<Record>& records) {
    Enter(State::MustRewrite);
    std::map<std::string, std::string> failed; // file -> why
    for (const Record& record : records) {
        std::string open; // the file `fd` is open on
        fileops::Fd fd;
        for (const Record::Change& change : record.changes) {
            if (failed.count(change.file) != 0)
                continue;
            const std::filesystem::path file = m_root / change.file;
            // A name it makes or removes is flushed with its folder at the checkpoint.
            m_folders.insert(ParentOf(change.file));
            try {
                if (change.file != open) {
                    fd.Reset();
                    open.clear();
                }
                std::string name;
                FolderAt folder(m_root, change.file, name);
                switch (change.kind) {
                case 'D':
                    fileops::RemoveAt(this, folder.fd(), name, file);
                    break;
                case 'R':
                    fd.Reset(fileops::OpenAt(this, folder.fd(), name, file, O_WRONLY | O_CREAT | O_TRUNC));
                    open = change.file;
                    if (!change.data.empty())
                        fileops::Write(this, file, fd.get(), change.data, 0);
                    m_written.insert(change.file);
                    break;
                default: // 'W', 'L'
                    if (fd.get() < 0) {
                        fd.Reset(fileops::OpenAt(this, folder.fd(), name, file, O_WRONLY | O_CREAT));
                        open = change.file;
                    }
                    if (change.kind == 'W') {
                        fileops::Write(this, file, fd.get(), change.data, change.number);
                    } else {
                        struct stat st;
                        if (::fstat(fd.get(), &st) != 0)
                            throw IoError(file, fileops::ErrorText(errno));
                        // Never longer than the step's own writes made it (or than it is).
                        long long written = 0;
                        for (const Record::Change& w : record.changes)
                            if (w.kind == 'W' && w.file == change.file)
                                written = std::max(written, w.number + static_cast<long long>(w.data.size()));
                        if (change.number > st.st_size && change.number > written)
                            throw IoError(file, "the journal gives it a length it never had");
                        if (st.st_size != change.number)
                            fileops::Truncate(this, file, fd.get(), change.number);
                    }
                    m_written.insert(change.file);
                    break;
                }
            } catch (const IoError& e) {
                failed[change.file] = e.reason();
            }
        }
    }
    if (!failed.empty()) {
        std::string list;
        for (const auto& [file, why] : failed)
            list += "\n" + (m_root / file).string() + ": " + why;
        m_unappliedWhy = list;
        throw FolderNotWhole(m_path, "these files could not be written:" + list);
    }
    Enter(State::Open);
    m_unappliedWhy.clear();
}

// Without the lock the journal is only read: the steps it holds are not in the files, and
// the clerk is told which.
std::vector<std::string> Journal::StepsNotShown() const {
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

std::vector<std::string> Journal::Recover() {
    if (ReadOnly())
        return StepsNotShown();
    // What is still being flushed is flushed again from the journal: its outcome matters no more.
    (void)Collect(true);
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    m_cutUnsure = false;
    m_size = m_headerSize = 0;
    Enter(State::Open);
    const std::string folder = m_root.string();
    std::optional<std::string> bytes;
    try {
        bytes = fileops::ReadWhole(m_path, O_NOFOLLOW);
    } catch (const IoError& e) {
        if (e.reason() != fileops::ErrorText(ELOOP))
            throw;
        PutAside("The journal of the data folder " + folder +
                 " is a link to another file; nothing of it was written into the files. It was put aside "
                 "as \"" +
                 kDamagedJournalName + "\".");
        return UntoldNotes();
    }
    if (!bytes || bytes->empty())
        return UntoldNotes();
    if (bytes->starts_with(kPreviousMagic))
        return RollBackPrevious(*bytes);
    const Parsed parsed = Parse(*bytes, m_reach);
    if (!parsed.header)
        return UntoldNotes(); // a header cut short: no record was ever written after it
    if (!parsed.damage.empty() && parsed.records.empty() && parsed.id.empty()) {
        PutAside("The journal of the data folder " + folder + " could not be read (" + parsed.damage +
                 "); nothing of it was written into the files. It was put aside as \"" + kDamagedJournalName +
                 "\".");
        return UntoldNotes();
    }
    if (parsed.id != FolderId(false)) {
        PutAside(
            "The journal found in the data folder " + folder +
            " belongs to another data folder; nothing of it was written into the files. It was put aside "
            "as \"" +
            kDamagedJournalName + "\".");
        return UntoldNotes();
    }
    Apply(parsed.records); // throws when the files cannot all be written: the journal stays
    ResolveUnsure(parsed.starts);
    if (parsed.damaged) {
        // What was written from it is on the disk before it is put aside.
        try {
            HandOverWritten();
            if (std::optional<IoError> failed = Collect(true))
                throw *failed;
        } catch (const IoError& e) {
            Enter(State::Stopped);
            throw FolderNotWhole(e.file(), e.reason());
        }
        PutAside("The journal of the data folder " + folder + " is damaged: " + parsed.damage +
                 ".\nThe steps saved before the damage were written into the files. The journal was put "
                 "aside as \"" +
                 std::string(kDamagedJournalName) + "\".");
        return UntoldNotes();
    }
    // Reopened for appending after the good records; a torn tail is cut off first.
    m_fd = fileops::OpenForChange(this, m_path, O_RDWR | O_NOFOLLOW);
    m_headerSize = static_cast<long long>(kHeaderSize);
    m_size = static_cast<long long>(parsed.end);
    if (bytes->size() > parsed.end)
        fileops::Truncate(this, m_path, m_fd, m_size);
    try {
        Checkpoint();
    } catch (const IoError&) {
        // The records stay in the journal; the next checkpoint tries again.
    }
    return UntoldNotes();
}

struct Journal::PreviousEntry {
    char kind;
    std::string file;
    long long number;
    std::string data;
};

// The entries of a previous version's journal up to the first one cut short or damaged;
// none when its header is not whole.
std::vector<Journal::PreviousEntry> Journal::ReadPreviousEntries(const std::string& bytes,
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
std::string Journal::CheckPreviousEntries(const std::vector<PreviousEntry>& entries) const {
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
void Journal::UndoPreviousEntries(const std::vector<PreviousEntry>& entries) {
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

std::vector<std::string> Journal::RollBackPrevious(const std::string& bytes) {
    std::string action;
    const std::vector<PreviousEntry> entries = ReadPreviousEntries(bytes, action);
    const std::string wrong = CheckPreviousEntries(entries);
    if (!wrong.empty()) {
        PutAside("The journal the previous version of the program left in the data folder " +
                 m_root.string() + " is damaged: " + wrong +
                 ". Nothing of it was undone. It was put aside as \"" + kDamagedJournalName + "\".");
        return UntoldNotes();
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
    return UntoldNotes();
}

void Journal::EnsureWhole() {
    (void)Collect(false); // a flush that failed meanwhile: the files are written again first
    switch (m_state) {
    case State::NotRecovered:
        Recover();
        return;
    case State::Stopped:
        throw FolderNotWhole(m_path, "the journal could not be put aside" + m_unappliedWhy);
    case State::MustRewrite:
        break;
    case State::Open:
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

void Journal::Commit(const std::string& action, const PendingChanges& changes) {
    if (changes.empty())
        return; // a step that changed nothing is no commit, even where nothing may change
    if (ReadOnly())
        throw FolderReadOnly(m_root, m_readOnlyReason);
    if (m_state == State::Unsure)
        throw StepOutcomeUnknown(m_path, UnsureMessage());
    EnsureWhole();
    Record record;
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
    }
    const std::string bytes = EncodeRecord(record);
    OpenForAppend();
    if (m_inFlight == InFlight::Cut)
        (void)Collect(true); // the record goes after the cut, never over old records
    if (m_cutUnsure) {
        fileops::Sync(this, m_path, m_fd); // a failure: nothing saved, the cut still unsure
        m_cutUnsure = false;
    }
    const long long at = m_size;
    try {
        fileops::Write(this, m_path, m_fd, bytes, at);
        fileops::Sync(this, m_path, m_fd);
    } catch (const IoError& e) {
        // Not committed, and never to be taken for committed: the record is cut off again and
        // that is flushed. When that fails too, whether the step was saved is unknown.
        if (TakeBack(at))
            throw;
        Enter(State::Unsure);
        m_unsureStep = action;
        try { // for the next start, which tells the clerk what became of it
            const std::filesystem::path note = m_root / kUnsureName;
            fileops::Fd fd(fileops::OpenForChange(this, note, O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW));
            fileops::Write(this, note, fd.get(), std::to_string(at) + "\n" + action, 0);
            fileops::Sync(this, note, fd.get());
            fileops::Close(note, fd.Release());
            fileops::SyncFolder(this, m_root);
        } catch (const IoError&) {
        }
        throw StepOutcomeUnknown(e.file(), "The file " + e.file().string() +
                                               " could not be used: " + e.reason() + ".\n" + UnsureMessage());
    }
    m_size = at + static_cast<long long>(bytes.size()); // the commit point
    try {
        Apply({record});
    } catch (const FolderNotWhole&) {
        // The step stands; EnsureWhole writes it before anything reads the folder again.
    }
}

std::string Journal::UnsureMessage() const {
    return "The step \"" + m_unsureStep +
           "\" may have been saved: whether it was can only be told when the program starts again. Nothing "
           "more can be saved until then. Close the program and start it again; it will tell you.";
}

bool Journal::TakeBack(long long at) {
    try {
        fileops::Truncate(this, m_path, m_fd, at);
        fileops::Sync(this, m_path, m_fd);
        return true;
    } catch (const IoError&) {
        return false;
    }
}

// A file written since the last checkpoint, opened to be flushed; -1 when a later step deleted it.
int Journal::OpenWritten(const std::string& relative) const {
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

FlushWorker& Journal::Worker() {
    if (!m_worker)
        m_worker = std::make_unique<FlushWorker>(m_flusher);
    return *m_worker;
}

void Journal::SetFlusher(Flusher flusher) {
    (void)Collect(true);
    m_worker.reset();
    m_flusher = std::move(flusher);
}

void Journal::HandOverWritten() {
    if (!Durable()) { // nothing is flushed: written is all the files need
        m_written.clear();
        m_folders.clear();
        return;
    }
    std::vector<FlushWorker::Job> jobs;
    try {
        for (const std::string& relative : m_written) {
            const std::filesystem::path file = m_root / relative;
            fileops::Fd fd(OpenWritten(relative));
            if (fd.get() < 0)
                continue; // deleted by a later step
            const bool disk = fileops::BeforeFlush(this, file, false);
            jobs.emplace_back(file, fd.Release(), false, disk);
        }
        for (const std::string& relative : m_folders) {
            const std::filesystem::path folder = relative.empty() ? m_root : m_root / relative;
            const bool disk = fileops::BeforeFlush(this, folder, true);
            jobs.emplace_back(folder, fileops::OpenFolder(folder), true, disk);
        }
    } catch (const IoError&) {
        // As a failed flush: the files are written again from the journal before the cut.
        if (m_state != State::MustRewrite)
            Enter(State::MustRewrite);
        throw;
    }
    m_written.clear();
    m_folders.clear();
    if (jobs.empty())
        return;
    Worker().Hand(std::move(jobs));
    m_inFlight = InFlight::Files;
}

std::optional<IoError> Journal::Collect(bool wait) {
    if (m_inFlight == InFlight::None)
        return std::nullopt;
    const std::optional<std::optional<FlushWorker::Failure>> outcome = m_worker->Take(wait);
    if (!outcome)
        return std::nullopt; // still flushing
    const InFlight was = std::exchange(m_inFlight, InFlight::None);
    const std::optional<FlushWorker::Failure>& failure = *outcome;
    if (was == InFlight::Cut)
        m_cutUnsure = failure.has_value();
    if (!failure)
        return std::nullopt;
    // A file's flush failed: what the kernel could not write it may have dropped, and flushing
    // again proves nothing. The files are written again from the journal before anything reads
    // them, and before the journal is cut.
    if (was == InFlight::Files && m_state == State::Open)
        Enter(State::MustRewrite);
    return IoError(failure->file, fileops::ErrorText(failure->error));
}

void Journal::Cut() {
    if (m_fd < 0 || (m_size <= m_headerSize && !m_cutUnsure))
        return;
    try {
        if (m_size > m_headerSize) {
            fileops::Truncate(this, m_path, m_fd, m_headerSize);
            m_size = m_headerSize;
        }
        if (!Durable()) {
            m_cutUnsure = false;
            return;
        }
        m_cutUnsure = true; // until its flush is done
        const bool disk = fileops::BeforeFlush(this, m_path, false);
        const int opened = OpenWritten(kJournalName); // a descriptor of the flush's own (see journal.h)
        if (opened < 0)
            throw IoError(m_path, fileops::ErrorText(ENOENT));
        std::vector<FlushWorker::Job> jobs;
        jobs.emplace_back(m_path, opened, false, disk);
        Worker().Hand(std::move(jobs));
        m_inFlight = InFlight::Cut;
    } catch (const IoError&) {
        // The next record goes where the journal ends, whatever the disk made of the cut.
        struct stat st;
        if (::fstat(m_fd, &st) == 0)
            m_size = st.st_size;
        throw;
    }
}

bool Journal::CheckpointRound(bool wait) {
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
    if (!m_written.empty() || !m_folders.empty()) {
        HandOverWritten();
        if (m_inFlight != InFlight::None)
            return false; // looked at in a later round; steps may be saved meanwhile
    }
    Cut();
    return m_inFlight == InFlight::None;
}

void Journal::Checkpoint() {
    while (!CheckpointRound(true)) {
    }
}

bool Journal::CheckpointWithoutWaiting() {
    return CheckpointRound(false);
}

// ---- transactions ----

Transaction::Transaction(Journal& journal, std::string action)
    : m_journal(journal), m_action(std::move(action)) {
    m_previous = m_journal.BeginStep(this);
}

Transaction::~Transaction() {
    m_journal.EndStep(this, m_previous);
}

const PendingChanges& Transaction::ForReading(const std::filesystem::path&) {
    if (!m_whole) {
        m_journal.EnsureWhole();
        m_whole = true;
    }
    return m_pending;
}

PendingChanges& Transaction::ForChange(const std::filesystem::path& file) {
    if (m_done)
        throw IoError(file, "The action is already finished");
    if (m_blocked)
        throw WorkDeferred{};
    if (!m_refused.empty())
        throw FolderReadOnly(file, m_refused);
    ForReading(file);
    if (m_journal.ReadOnly())
        throw FolderReadOnly(file, m_journal.readOnlyReason());
    if (Relative(m_journal.root(), file).empty())
        throw IoError(file, "not a file of the data folder");
    return m_pending;
}

void Transaction::Commit() {
    if (m_done)
        return;
    m_journal.Commit(m_action, m_pending);
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

void AllOrNothing(const DataFolder& folder, const std::function<void()>& step) {
    auto* engine = dynamic_cast<Journal*>(folder.engine());
    Transaction* tx = engine != nullptr ? engine->step() : nullptr;
    if (tx != nullptr)
        tx->AllOrNothing(step);
    else
        step();
}

} // namespace platform
