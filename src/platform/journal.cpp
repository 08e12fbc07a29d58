// The rollback journal and the calls that change files.
//
// Journal layout: a header, then entries, each written in one piece and flushed before the
// change it guards. A header or entry carries a checksum of its own bytes; reading stops at
// the first one that is short or does not match, since the program died while writing it
// and the change it guards was never made.
//   header: "VJRNL1\n", u32 length, the action's words, u32 checksum
//   entry:  kind ('S' length, 'B' old bytes, 'C' old content), u32 length, file name
//           (relative to the data folder), i64 number (length or offset), u64 length,
//           data, u32 checksum
#include "platform/journal.h"

#include "platform/files.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

FileFaults* g_faults = nullptr;
bool g_durable = true;
Transaction* g_current = nullptr;

constexpr std::string_view kMagic = "VJRNL1\n";

std::string Reason(int error) {
    return std::strerror(error);
}

FileFaults::Fault AskFaults(const std::filesystem::path& file, size_t bytes) {
    if (g_faults == nullptr)
        return {};
    FileFaults::Fault fault = g_faults->BeforeChange(file, bytes);
    if (fault.error == 0)
        fault.error = ENOSPC;
    return fault;
}

// A change that is not a write: a partial fault is a plain failure, a torn crash a crash.
void CheckFaults(const std::filesystem::path& file) {
    FileFaults::Fault fault = AskFaults(file, 0);
    switch (fault.kind) {
    case FileFaults::Kind::None:
        return;
    case FileFaults::Kind::Fail:
    case FileFaults::Kind::Partial:
        throw IoError(file, Reason(fault.error));
    case FileFaults::Kind::Crash:
    case FileFaults::Kind::TornCrash:
        throw SimulatedCrash{};
    }
}

void WriteRaw(const std::filesystem::path& file, int fd, std::string_view data, long long offset) {
    while (!data.empty()) {
        ssize_t n = offset < 0 ? ::write(fd, data.data(), data.size())
                               : ::pwrite(fd, data.data(), data.size(), static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            throw IoError(file, Reason(n < 0 ? errno : EIO));
        data.remove_prefix(static_cast<size_t>(n));
        if (offset >= 0)
            offset += n;
    }
}

long long SizeOf(const std::filesystem::path& file) {
    struct stat st;
    if (::stat(file.c_str(), &st) != 0) {
        if (errno == ENOENT)
            return -1;
        throw IoError(file, Reason(errno));
    }
    return static_cast<long long>(st.st_size);
}

std::string ReadAt(const std::filesystem::path& file, long long offset, size_t length) {
    int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw IoError(file, Reason(errno));
    std::string out(length, '\0');
    size_t got = 0;
    while (got < length) {
        ssize_t r = ::pread(fd, out.data() + got, length - got, static_cast<off_t>(offset + got));
        if (r < 0 && errno == EINTR)
            continue;
        if (r <= 0) {
            int error = r < 0 ? errno : EIO;
            ::close(fd);
            throw IoError(file, Reason(error));
        }
        got += static_cast<size_t>(r);
    }
    ::close(fd);
    return out;
}

// ---- encoding ----

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
    bool U32(uint32_t& v) { return Unsigned(v); }
    bool U64(uint64_t& v) { return Unsigned(v); }
    size_t pos() const { return m_pos; }
    // A little-endian unsigned number of the width of `v`.
    template <class T> bool Unsigned(T& v) {
        std::string_view b;
        if (!Take(sizeof(T), b))
            return false;
        v = 0;
        for (size_t i = sizeof(T); i-- > 0;)
            v = static_cast<T>((v << 8) | static_cast<unsigned char>(b[i]));
        return true;
    }
    std::string_view Since(size_t start) const { return m_bytes.substr(start, m_pos - start); }

private:
    std::string_view m_bytes;
    size_t m_pos = 0;
};

struct Entry {
    char kind = 0;
    std::string file; // as stored: relative to the data folder, or absolute
    long long number = 0;
    std::string data;
};

std::string EncodeEntry(const Entry& e) {
    std::string out;
    out += e.kind;
    PutU32(out, static_cast<uint32_t>(e.file.size()));
    out += e.file;
    PutU64(out, static_cast<uint64_t>(e.number));
    PutU64(out, e.data.size());
    out += e.data;
    PutU32(out, Checksum(out));
    return out;
}

struct JournalContents {
    std::string action;
    std::vector<Entry> entries;
};

// Everything up to the first short or damaged piece; nullopt without a valid header.
std::optional<JournalContents> DecodeJournal(std::string_view bytes) {
    Cursor c(bytes);
    std::string_view magic, action;
    uint32_t length = 0, sum = 0;
    if (!c.Take(kMagic.size(), magic) || magic != kMagic || !c.U32(length) || !c.Take(length, action))
        return std::nullopt;
    std::string_view header = c.Since(0);
    if (!c.U32(sum) || sum != Checksum(header))
        return std::nullopt;
    JournalContents out;
    out.action = std::string(action);
    for (;;) {
        size_t start = c.pos();
        std::string_view kind, file, data;
        uint32_t fileLength = 0;
        uint64_t number = 0, dataLength = 0;
        if (!c.Take(1, kind) || !c.U32(fileLength) || !c.Take(fileLength, file) || !c.U64(number) ||
            !c.U64(dataLength) || dataLength > bytes.size() || !c.Take(static_cast<size_t>(dataLength), data))
            break;
        std::string_view body = c.Since(start);
        if (!c.U32(sum) || sum != Checksum(body))
            break;
        if (kind[0] != 'S' && kind[0] != 'B' && kind[0] != 'C')
            break;
        out.entries.push_back(
            {kind[0], std::string(file), static_cast<long long>(number), std::string(data)});
    }
    return out;
}

std::string StoredName(const std::filesystem::path& root, const std::filesystem::path& file) {
    std::filesystem::path relative = file.lexically_relative(root);
    if (!relative.empty() && *relative.begin() != "..")
        return relative.string();
    return std::filesystem::absolute(file).string();
}

std::filesystem::path FromStored(const std::filesystem::path& root, const std::string& stored) {
    std::filesystem::path p(stored);
    return p.is_absolute() ? p : root / p;
}

// Puts the files back from the entries, newest first, and flushes them.
void ApplyBackwards(const std::filesystem::path& root, const std::vector<Entry>& entries) {
    std::set<std::filesystem::path> files, folders;
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        const std::filesystem::path file = FromStored(root, it->file);
        files.insert(file);
        folders.insert(file.parent_path());
        if (it->kind == 'S') {
            long long size = SizeOf(file);
            if (it->number < 0) {
                fileops::Remove(file);
            } else if (size >= 0 && size != it->number) {
                int fd = fileops::OpenForChange(file, O_WRONLY);
                try {
                    fileops::Truncate(file, fd, it->number);
                } catch (...) {
                    ::close(fd);
                    throw;
                }
                fileops::Close(file, fd);
            }
        } else {
            const bool whole = it->kind == 'C';
            int fd = fileops::OpenForChange(file, O_WRONLY | O_CREAT | (whole ? O_TRUNC : 0));
            try {
                fileops::Write(file, fd, it->data, whole ? 0 : it->number);
            } catch (...) {
                ::close(fd);
                throw;
            }
            fileops::Close(file, fd);
        }
    }
    if (!g_durable)
        return;
    for (const auto& file : files) {
        int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue; // removed
        try {
            fileops::Sync(file, fd);
        } catch (...) {
            ::close(fd);
            throw;
        }
        ::close(fd);
    }
    for (const auto& folder : folders)
        fileops::SyncFolder(folder);
}

// Rolls back the journal at `journal` and removes it. Returns the action's words, or
// nullopt when the journal held no change.
std::optional<std::string> RollBackJournalFile(const std::filesystem::path& root,
                                               const std::filesystem::path& journal) {
    std::optional<std::string> bytes = fileops::ReadWhole(journal);
    if (!bytes)
        return std::nullopt;
    std::optional<JournalContents> contents = DecodeJournal(*bytes);
    std::optional<std::string> undone;
    if (contents && !contents->entries.empty()) {
        ApplyBackwards(root, contents->entries);
        undone = contents->action;
    }
    fileops::Remove(journal);
    fileops::SyncFolder(root);
    return undone;
}

} // namespace

void SetFileFaults(FileFaults* faults) {
    g_faults = faults;
}
void SetDurableWrites(bool on) {
    g_durable = on;
}

// ---- the calls that change files ----

namespace fileops {

int OpenForChange(const std::filesystem::path& file, int flags) {
    if ((flags & O_CREAT) != 0)
        CheckFaults(file);
    int fd;
    do
        fd = ::open(file.c_str(), flags | O_CLOEXEC, 0600);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
        throw IoError(file, Reason(errno));
    return fd;
}

int CreateTemporary(const std::filesystem::path& file, std::filesystem::path& temporary) {
    CheckFaults(file);
    std::string pattern = file.string() + ".XXXXXX";
    int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0)
        throw IoError(file, Reason(errno));
    temporary = pattern;
    return fd;
}

void Write(const std::filesystem::path& file, int fd, std::string_view data, long long offset) {
    FileFaults::Fault fault = AskFaults(file, data.size());
    switch (fault.kind) {
    case FileFaults::Kind::None:
        break;
    case FileFaults::Kind::Fail:
        throw IoError(file, Reason(fault.error));
    case FileFaults::Kind::Crash:
        throw SimulatedCrash{};
    case FileFaults::Kind::Partial:
        WriteRaw(file, fd, data.substr(0, data.size() / 2), offset);
        throw IoError(file, Reason(fault.error));
    case FileFaults::Kind::TornCrash:
        WriteRaw(file, fd, data.substr(0, data.size() / 2), offset);
        throw SimulatedCrash{};
    }
    WriteRaw(file, fd, data, offset);
}

void Sync(const std::filesystem::path& file, int fd) {
    if (!g_durable)
        return;
    CheckFaults(file);
    // The data and what is needed to read it back (the length); not the times.
    if (::fdatasync(fd) != 0 && errno != EINVAL)
        throw IoError(file, Reason(errno));
}

void SyncFolder(const std::filesystem::path& folder) {
    if (!g_durable)
        return;
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return; // a folder that cannot be opened cannot be flushed either
    ::fsync(fd);
    ::close(fd);
}

bool SyncFileSystem(const std::filesystem::path& folder) {
    if (!g_durable)
        return true;
    CheckFaults(folder);
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::syncfs(fd) == 0;
    ::close(fd);
    return synced;
}

void Truncate(const std::filesystem::path& file, int fd, long long length) {
    CheckFaults(file);
    if (::ftruncate(fd, static_cast<off_t>(length)) != 0)
        throw IoError(file, Reason(errno));
}

void Rename(const std::filesystem::path& from, const std::filesystem::path& to) {
    CheckFaults(to);
    if (::rename(from.c_str(), to.c_str()) != 0)
        throw IoError(to, Reason(errno));
}

void Remove(const std::filesystem::path& file) {
    CheckFaults(file);
    if (::unlink(file.c_str()) != 0 && errno != ENOENT)
        throw IoError(file, Reason(errno));
}

void Close(const std::filesystem::path& file, int fd) {
    if (::close(fd) != 0 && errno != EINTR)
        throw IoError(file, Reason(errno));
}

std::optional<std::string> ReadWhole(const std::filesystem::path& file) {
    int fd;
    do
        fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        if (errno == ENOENT)
            return std::nullopt;
        throw IoError(file, Reason(errno));
    }
    std::string out;
    char buf[65536];
    for (;;) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            int error = errno;
            ::close(fd);
            throw IoError(file, Reason(error));
        }
        if (n == 0)
            break;
        out.append(buf, static_cast<size_t>(n));
    }
    ::close(fd);
    return out;
}

} // namespace fileops

// ---- transactions ----

struct Transaction::Touched {
    std::filesystem::path file;
    long long originalSize = -1;                        // -1: the file did not exist
    bool wholeSaved = false;                            // nothing more of it needs saving
    std::vector<std::pair<long long, long long>> saved; // parts saved: [start, end)
};

Transaction::Transaction(std::filesystem::path root, std::string action)
    : m_root(std::move(root)), m_action(std::move(action)), m_journalPath(m_root / kJournalName),
      m_previous(g_current) {
    g_current = this;
}

Transaction::~Transaction() {
    if (m_journalFd >= 0)
        ::close(m_journalFd);
    g_current = m_previous;
}

Transaction* Transaction::Current() {
    return g_current;
}

void Transaction::OpenJournal() {
    // A journal still here belongs to an action whose undoing failed: finish that first.
    if (SizeOf(m_journalPath) >= 0)
        RollBackJournalFile(m_root, m_journalPath);
    int fd = fileops::OpenForChange(m_journalPath, O_RDWR | O_CREAT | O_TRUNC);
    std::string header(kMagic);
    PutU32(header, static_cast<uint32_t>(m_action.size()));
    header += m_action;
    PutU32(header, Checksum(header));
    try {
        fileops::Write(m_journalPath, fd, header, 0);
        fileops::Sync(m_journalPath, fd);
        fileops::SyncFolder(m_root);
    } catch (const IoError&) {
        ::close(fd);
        ::unlink(m_journalPath.c_str());
        throw;
    }
    m_journalFd = fd;
    m_journalExists = true;
    m_journalSize = static_cast<long long>(header.size());
    m_headerSize = m_journalSize;
    m_entries = 0;
}

void Transaction::AddEntry(char kind, const std::filesystem::path& file, long long number,
                           std::string_view data) {
    if (m_journalFd < 0)
        OpenJournal();
    const std::string bytes = EncodeEntry({kind, StoredName(m_root, file), number, std::string(data)});
    fileops::Write(m_journalPath, m_journalFd, bytes, m_journalSize);
    m_journalSize += static_cast<long long>(bytes.size());
    ++m_entries;
    fileops::Sync(m_journalPath, m_journalFd);
}

Transaction::Touched& Transaction::Touch(const std::filesystem::path& file) {
    if (m_done)
        throw IoError(file, "The action is already finished");
    if (m_blocked)
        throw WorkDeferred{};
    for (auto& t : m_touched)
        if (t->file == file)
            return *t;
    auto t = std::make_unique<Touched>();
    t->file = file;
    t->originalSize = SizeOf(file);
    t->wholeSaved = t->originalSize < 0; // undoing removes it
    AddEntry('S', file, t->originalSize, {});
    m_touched.push_back(std::move(t));
    return *m_touched.back();
}

void Transaction::BeforeWrite(const std::filesystem::path& file, long long offset, size_t length) {
    Touched& t = Touch(file);
    if (t.wholeSaved)
        return;
    // Only what lay inside the old length needs saving: undoing cuts the file back to it.
    const long long end = std::min(offset + static_cast<long long>(length), t.originalSize);
    if (offset >= end)
        return;
    for (const auto& [start, stop] : t.saved)
        if (start <= offset && end <= stop)
            return;
    AddEntry('B', file, offset, ReadAt(file, offset, static_cast<size_t>(end - offset)));
    t.saved.emplace_back(offset, end);
}

void Transaction::BeforeAppend(const std::filesystem::path& file) {
    Touch(file);
}

void Transaction::BeforeReplace(const std::filesystem::path& file) {
    Touched& t = Touch(file);
    if (t.wholeSaved)
        return;
    std::optional<std::string> content = fileops::ReadWhole(file);
    if (content)
        AddEntry('C', file, 0, *content);
    t.wholeSaved = true;
}

void Transaction::CloseJournal(bool remove) {
    if (m_journalFd >= 0) {
        ::close(m_journalFd);
        m_journalFd = -1;
    }
    if (remove) {
        fileops::Remove(m_journalPath);
        m_journalExists = false;
        fileops::SyncFolder(m_root);
    }
}

void Transaction::Commit() {
    if (m_done)
        return;
    if (!m_journalExists) {
        m_done = true;
        return;
    }
    // One flush of the data folder's file system covers every changed file and folder;
    // where that is not to be had, each file and folder is flushed on its own.
    if (g_durable && !fileops::SyncFileSystem(m_root)) {
        std::set<std::filesystem::path> folders;
        for (const auto& t : m_touched) {
            const long long now = SizeOf(t->file);
            if (t->originalSize < 0 || now < 0)
                folders.insert(t->file.parent_path());
            if (now < 0)
                continue;
            int fd = ::open(t->file.c_str(), O_RDONLY | O_CLOEXEC);
            if (fd < 0)
                throw IoError(t->file, Reason(errno));
            try {
                fileops::Sync(t->file, fd);
            } catch (...) {
                ::close(fd);
                throw;
            }
            ::close(fd);
        }
        for (const auto& folder : folders)
            fileops::SyncFolder(folder);
    }
    CloseJournal(true); // the commit point
    m_done = true;
}

void Transaction::Rollback() {
    if (m_done)
        return;
    m_done = true;
    if (!m_journalExists)
        return;
    CloseJournal(false);
    RollBackJournalFile(m_root, m_journalPath);
    m_journalExists = false;
}

void Transaction::AllOrNothing(const std::function<void()>& step) {
    const bool hadJournal = m_journalExists;
    const long long markSize = m_journalSize;
    const size_t markEntries = m_entries;
    std::vector<Touched> markTouched;
    for (const auto& t : m_touched)
        markTouched.push_back(*t);
    try {
        step();
    } catch (...) {
        if (!m_journalExists || m_entries == markEntries)
            throw;
        std::optional<std::string> bytes = fileops::ReadWhole(m_journalPath);
        std::optional<JournalContents> contents = bytes ? DecodeJournal(*bytes) : std::nullopt;
        if (!contents)
            throw;
        std::vector<Entry> since(contents->entries.begin() +
                                     static_cast<long>(std::min(markEntries, contents->entries.size())),
                                 contents->entries.end());
        ApplyBackwards(m_root, since);
        const long long keep = hadJournal ? markSize : m_headerSize;
        fileops::Truncate(m_journalPath, m_journalFd, keep);
        fileops::Sync(m_journalPath, m_journalFd);
        m_journalSize = keep;
        m_entries = hadJournal ? markEntries : 0;
        m_touched.clear();
        for (const Touched& t : markTouched)
            m_touched.push_back(std::make_unique<Touched>(t));
        throw;
    }
}

void AllOrNothing(const std::function<void()>& step) {
    if (Transaction* tx = Transaction::Current())
        tx->AllOrNothing(step);
    else
        step();
}

std::optional<std::string> RecoverJournal(const std::filesystem::path& root) {
    return RollBackJournalFile(root, root / kJournalName);
}

} // namespace platform
