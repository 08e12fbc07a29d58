// The data folder, random-access record files and comma-separated sequential files.
// Plain POSIX calls underneath, so that every failure carries the system's reason.
#include "platform/files.h"

#include "platform/text.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <iterator>
#include <mutex>
#include <set>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace platform {

static_assert(std::endian::native == std::endian::little, "record files hold little-endian Singles");

namespace {

using fileops::Fd;

std::string JoinLines(const std::vector<SeqLine>& lines) {
    std::string out;
    for (const SeqLine& line : lines)
        out += line.str() + "\r\n";
    return out;
}

void MakeFolder(const std::filesystem::path& folder) {
    if (::mkdir(folder.c_str(), 0700) == 0) {
        ::chmod(folder.c_str(), 0700);
        return;
    }
    int error = errno;
    struct stat st;
    if (error == EEXIST && ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
        return;
    throw IoError(folder, fileops::ErrorText(error == EEXIST ? ENOTDIR : error));
}

// stat() of `path`, through what the running step found when there is one (`seen`).
DiskSeen::Entry StatOf(const std::filesystem::path& path, DiskSeen* seen) {
    if (seen != nullptr)
        return seen->Stat(path);
    DiskSeen::Entry e;
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) {
        e.error = errno;
    } else {
        e.folder = S_ISDIR(st.st_mode);
        e.regular = S_ISREG(st.st_mode);
        e.size = static_cast<long long>(st.st_size);
        e.changedAt = st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec;
    }
    return e;
}

std::filesystem::path FolderOf(const std::filesystem::path& file) {
    return file.has_parent_path() ? file.parent_path() : ".";
}

// A missing file reads as an empty one, but only in a folder that is there: a missing
// folder (the data folder gone, a sub-folder never made) is an error.
void MissingFileOrThrow(const std::filesystem::path& file, DiskSeen* seen = nullptr) {
    const DiskSeen::Entry folder = StatOf(FolderOf(file), seen);
    if (folder.error != 0)
        throw IoError(file, fileops::ErrorText(folder.error));
    if (!folder.folder)
        throw IoError(file, fileops::ErrorText(ENOTDIR));
}

// At most `length` bytes from `offset` of the file on the disk; a missing file reads as
// empty (in a folder that is there).
std::string DiskRead(const std::filesystem::path& file, long long offset, size_t length,
                     DiskSeen* seen = nullptr) {
    if (seen != nullptr) {
        const DiskSeen::Entry& e = seen->Stat(file);
        if (e.error == ENOENT) {
            MissingFileOrThrow(file, seen);
            return {};
        }
        if (e.error == 0 && e.regular && offset >= e.size)
            return {};
        if (e.error == 0 && e.regular && e.size <= DiskSeen::kKeptWhole) {
            const long long size = e.size;
            const std::string& whole =
                seen->Whole(file, [&] { return DiskRead(file, 0, static_cast<size_t>(size)); });
            if (offset >= static_cast<long long>(whole.size()))
                return {};
            return whole.substr(static_cast<size_t>(offset), length);
        }
    }
    int opened;
    do
        opened = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    while (opened < 0 && errno == EINTR);
    if (opened < 0 && errno == ENOENT) {
        MissingFileOrThrow(file, seen);
        return {};
    }
    if (opened < 0)
        throw IoError(file, fileops::ErrorText(errno));
    Fd fd(opened);
    return fileops::ReadAt(file, fd.get(), offset, length);
}

// The length on the disk; -1 for a missing file.
long long DiskSize(const std::filesystem::path& file, DiskSeen* seen = nullptr) {
    const DiskSeen::Entry e = StatOf(file, seen);
    if (e.error != 0) {
        if (e.error != ENOENT)
            throw IoError(file, fileops::ErrorText(e.error));
        return -1;
    }
    if (e.folder)
        throw IoError(file, fileops::ErrorText(EISDIR));
    return e.size;
}

// The step running over the folder `file` lies in; nullptr outside every step.
Transaction* StepOf(const FilePath& file) {
    return file.engine() != nullptr ? RunningStep(*file.engine()) : nullptr;
}

// The running step's changes for a read; nullptr outside a step.
const PendingChanges* Reading(const FilePath& file) {
    Transaction* step = StepOf(file);
    if (step != nullptr)
        return &ForReading(*step, file.path());
    if (file.engine() != nullptr)
        WriteCommitted(*file.engine()); // the files hold every step committed before they are read
    return nullptr;
}

// A change to a file of an open folder is a change of the step running over the folder. With
// no step running, it is made as a step of its own through the folder's engine (journaled and
// committed as every step is, never straight to the disk): runs `change` so, inside that step,
// and returns true. False inside a step and for a file of no open folder, which is changed on
// the disk as it stands.
bool AsStepOfItsOwn(const FilePath& file, const std::function<void()>& change) {
    Engine* engine = file.engine();
    if (engine == nullptr || RunningStep(*engine) != nullptr)
        return false;
    RunAsStep(*engine, "Changing the file " + file.filename().string(), change);
    return true;
}

} // namespace

std::ostream& operator<<(std::ostream& out, const FilePath& file) {
    return out << file.path();
}

void WhenUndone(const FilePath& file, std::function<void()> undo) {
    if (Transaction* step = StepOf(file))
        OnUndo(*step, std::move(undo));
}

void WhenUndone(const DataFolder& folder, std::function<void()> undo) {
    WhenUndone(FilePath(folder.root(), folder.engine()), std::move(undo));
}

bool ChangedByStep(const FilePath& file) {
    const PendingChanges* pending = Reading(file);
    return pending != nullptr && pending->Find(file.path()) != nullptr;
}

// ---- the changes of a running step ----

bool IsNormalPath(const std::filesystem::path& path) {
    const std::string& text = path.native();
    bool normal = !text.empty() && text.back() != '/';
    // Each part between slashes is neither empty (but for the root's) nor "." nor "..".
    for (size_t from = 0; normal && from < text.size();) {
        const size_t end = std::min(text.find('/', from), text.size());
        const std::string_view part(text.data() + from, end - from);
        normal = !(part == "." || part == ".." || (part.empty() && from != 0));
        from = end + 1;
    }
    return normal;
}

// `relative` in `folder`, joined as text as `folder / relative` joins them.
static std::string Joined(const std::filesystem::path& folder, const std::string& relative) {
    const std::string& text = folder.native();
    return text.empty() || text.ends_with('/') ? text + relative : text + "/" + relative;
}

std::filesystem::path NormalPath(const std::filesystem::path& path) {
    return IsNormalPath(path) ? path : path.lexically_normal();
}

const PendingChanges::File* PendingChanges::Find(const std::filesystem::path& file) const {
    auto found = IsNormalPath(file) ? m_files.find(file) : m_files.find(file.lexically_normal());
    return found == m_files.end() ? nullptr : &found->second;
}

const DiskSeen::Entry& DiskSeen::Stat(const std::filesystem::path& path) {
    auto found = m_seen.find(path.native());
    if (found == m_seen.end())
        found = m_seen.emplace(path.native(), StatOf(path, nullptr)).first;
    return found->second;
}

const std::string& DiskSeen::Whole(const std::filesystem::path& file,
                                   const std::function<std::string()>& read) {
    auto found = m_whole.find(file.native());
    if (found == m_whole.end())
        found = m_whole.emplace(file.native(), read()).first;
    return found->second;
}

int DiskSeen::FolderWritable(const std::filesystem::path& folder) {
    auto found = m_writable.find(folder.native());
    if (found == m_writable.end())
        found =
            m_writable.emplace(folder.native(), ::access(folder.c_str(), W_OK | X_OK) == 0 ? 0 : errno).first;
    return found->second;
}

PendingChanges::File& PendingChanges::Entry(const std::filesystem::path& file) {
    std::optional<std::filesystem::path> made; // the normal form, when the name is not in it
    if (!IsNormalPath(file))
        made = file.lexically_normal();
    const std::filesystem::path& key = made ? *made : file;
    auto found = m_files.find(key);
    if (found != m_files.end())
        return found->second;
    // Checked now, while the step can still fail: once the step is committed its changes
    // must go into the files.
    File entry;
    struct stat st;
    if (::lstat(key.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode))
            throw IoError(file, fileops::ErrorText(EISDIR));
        if (!S_ISREG(st.st_mode)) // a link or a device is never written through
            throw IoError(file, fileops::ErrorText(ELOOP));
        if (::access(key.c_str(), W_OK) != 0)
            throw IoError(file, fileops::ErrorText(errno));
        entry.diskSize = static_cast<long long>(st.st_size);
        entry.exists = true;
        entry.size = entry.diskSize;
    } else if (errno == ENOENT) {
        MissingFileOrThrow(key, m_seen.get());
        if (const int error = seen().FolderWritable(FolderOf(key)))
            throw IoError(file, fileops::ErrorText(error));
    } else {
        throw IoError(file, fileops::ErrorText(errno));
    }
    return m_files.emplace(key, std::move(entry)).first->second;
}

void PendingChanges::Write(const FilePath& file, long long offset, std::string_view bytes) {
    fileops::Stage(file.engine(), file.path(), bytes.size());
    File& f = Entry(file.path());
    f.exists = true;
    if (bytes.empty())
        return;
    long long start = offset;
    long long end = offset + static_cast<long long>(bytes.size());
    std::string merged(bytes);
    // Parts that overlap or touch the new one become one with it.
    auto it = f.parts.upper_bound(start);
    if (it != f.parts.begin()) {
        auto before = std::prev(it);
        if (before->first + static_cast<long long>(before->second.size()) >= start)
            it = before;
    }
    while (it != f.parts.end() && it->first <= end) {
        const long long partStart = it->first;
        const long long partEnd = partStart + static_cast<long long>(it->second.size());
        if (partEnd > end)
            merged += it->second.substr(static_cast<size_t>(end - partStart));
        if (partStart < start) {
            merged.insert(0, it->second, 0, static_cast<size_t>(start - partStart));
            start = partStart;
        }
        end = std::max(end, partEnd);
        it = f.parts.erase(it);
    }
    f.parts.emplace(start, std::move(merged));
    f.size = std::max(f.size, end);
}

void PendingChanges::Replace(const FilePath& file, std::string_view content) {
    fileops::Stage(file.engine(), file.path(), content.size());
    File& f = Entry(file.path());
    f.fromDisk = false;
    f.exists = true;
    f.parts.clear();
    if (!content.empty())
        f.parts.emplace(0, std::string(content));
    f.size = static_cast<long long>(content.size());
}

void PendingChanges::Delete(const FilePath& file) {
    fileops::Stage(file.engine(), file.path(), 0);
    File& f = Entry(file.path());
    f.fromDisk = false;
    f.exists = false;
    f.parts.clear();
    f.size = 0;
}

long long PendingChanges::Size(const std::filesystem::path& file) const {
    const File* f = Find(file);
    if (f == nullptr)
        return DiskSize(file, m_seen.get());
    return f->exists ? f->size : -1;
}

std::string PendingChanges::Read(const std::filesystem::path& file, long long offset, size_t length) const {
    const File* f = Find(file);
    if (f == nullptr)
        return DiskRead(file, offset, length, m_seen.get());
    if (!f->exists || offset >= f->size)
        return {};
    const size_t n =
        static_cast<size_t>(std::min<long long>(static_cast<long long>(length), f->size - offset));
    std::string out;
    if (f->fromDisk && offset < f->diskSize)
        out = DiskRead(
            file, offset,
            static_cast<size_t>(std::min<long long>(static_cast<long long>(n), f->diskSize - offset)),
            m_seen.get());
    out.resize(n, '\0');
    const long long end = offset + static_cast<long long>(n);
    auto it = f->parts.upper_bound(offset);
    if (it != f->parts.begin())
        --it;
    for (; it != f->parts.end() && it->first < end; ++it) {
        const long long from = std::max(offset, it->first);
        const long long to = std::min(end, it->first + static_cast<long long>(it->second.size()));
        if (from < to)
            out.replace(static_cast<size_t>(from - offset), static_cast<size_t>(to - from), it->second,
                        static_cast<size_t>(from - it->first), static_cast<size_t>(to - from));
    }
    return out;
}

long long FileSize(const FilePath& file) {
    const PendingChanges* pending = Reading(file);
    return pending != nullptr ? pending->Size(file.path()) : DiskSize(file.path());
}

std::string ReadFileAt(const FilePath& file, long long offset, size_t length) {
    const PendingChanges* pending = Reading(file);
    return pending != nullptr ? pending->Read(file.path(), offset, length)
                              : DiskRead(file.path(), offset, length);
}

std::optional<std::string> ReadFile(const FilePath& file) {
    const PendingChanges* pending = Reading(file);
    if (pending != nullptr) {
        if (const PendingChanges::File* f = pending->Find(file.path())) {
            if (!f->exists)
                return std::nullopt;
            return pending->Read(file.path(), 0, static_cast<size_t>(f->size));
        }
        const DiskSeen::Entry& e = pending->seen().Stat(file.path());
        if (e.error == ENOENT)
            return std::nullopt;
        if (e.error == 0 && e.regular && e.size <= DiskSeen::kKeptWhole)
            return pending->Read(file.path(), 0, static_cast<size_t>(e.size));
    }
    return fileops::ReadWhole(file.path());
}

void MayChange(const FilePath& folder) {
    if (folder.engine() == nullptr)
        return;
    if (Transaction* step = RunningStep(*folder.engine()))
        MayChange(*step, folder.path());
}

IoError::IoError(const std::filesystem::path& file, const std::string& reason)
    : std::runtime_error(file.string() + ": " + reason), m_file(file), m_reason(reason) {}

IoError::IoError(const FilePath& file, const std::string& reason) : IoError(file.path(), reason) {}

// ---- the data folder ----

std::filesystem::path DataFolder::DefaultRoot() {
    const char* data = std::getenv("VANTRETH_DATA");
    if (data != nullptr && *data != '\0')
        return data;
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg != nullptr && *xdg != '\0')
        return std::filesystem::path(xdg) / "vantreth";
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home != nullptr ? home : ".") / ".local" / "share" / "vantreth";
}

DataFolder::DataFolder(std::filesystem::path root, Engine* engine)
    : m_root(std::move(root)), m_engine(engine) {}

void DataFolder::EnsureLayout(const std::vector<std::string>& subfolders) const {
    std::error_code ec;
    if (!std::filesystem::exists(m_root, ec)) {
        if (m_root.has_parent_path()) {
            std::filesystem::create_directories(m_root.parent_path(), ec);
            if (ec)
                throw IoError(m_root.parent_path(), ec.message());
        }
    }
    MakeFolder(m_root);
    for (const std::string& sub : subfolders)
        MakeFolder(m_root / sub);
}

std::string DataFolder::KeepOwnerOnly(const std::vector<std::string>& subfolders, bool mayChange) const {
    std::vector<std::filesystem::path> folders{m_root};
    for (const std::string& sub : subfolders)
        folders.push_back(m_root / sub);
    std::string first; // the first folder that stays wider, its mode and why
    int stayWider = 0;
    for (const std::filesystem::path& folder : folders) {
        struct stat st;
        if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || (st.st_mode & 0077) == 0)
            continue;
        std::string why;
        if (!mayChange)
            why = "the folder is open only to be looked at";
        else if (st.st_uid != ::geteuid())
            why = "it belongs to another user";
        else if (::chmod(folder.c_str(), 0700) != 0)
            why = fileops::ErrorText(errno);
        if (why.empty())
            continue;
        if (stayWider++ == 0) {
            char mode[8];
            std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(st.st_mode & 07777));
            first = folder.string() + " (mode " + mode + ": " + why + ")";
        }
    }
    if (stayWider == 0)
        return std::string();
    return "The data folder " + m_root.string() +
           " can be read by other users of this computer, and could not be made readable by its owner "
           "only: " +
           first +
           (stayWider > 1 ? " and " + std::to_string(stayWider - 1) + " folder(s) more" : std::string()) +
           ".\nThe guest records hold card numbers: have the folder's owner run\n    chmod -R go-rwx " +
           m_root.string();
}

// The names are joined as text and made a path once, as `m_root / name` would join them.
FilePath DataFolder::File(std::string_view name) const {
    return {std::filesystem::path(Joined(m_root, SafeName(name))), m_engine};
}

FilePath DataFolder::File(std::string_view subfolder, std::string_view name) const {
    return {std::filesystem::path(Joined(m_root, SafeName(subfolder) + "/" + SafeName(name))), m_engine};
}

FilePath DataFolder::FileAt(const std::filesystem::path& file) const {
    const std::filesystem::path relative =
        file.lexically_normal().lexically_relative(m_root.lexically_normal());
    const bool inside = !relative.empty() && *relative.begin() != "..";
    return {file, inside ? m_engine : nullptr};
}

std::string DataFolder::SafeName(std::string_view name) {
    std::string out = RTrim(name);
    for (char& c : out) {
        auto u = static_cast<unsigned char>(c);
        if (c == '/' || c == '\\' || u < 0x20 || u == 0x7F)
            c = '_';
    }
    // "." and ".." would name this folder or the one above it.
    if (out.empty() || out == "." || out == "..")
        out = std::string(std::max<size_t>(out.size(), 1), '_');
    return out;
}

bool FileExists(const FilePath& file) {
    if (const PendingChanges* pending = Reading(file)) {
        if (const PendingChanges::File* f = pending->Find(file.path()))
            return f->exists;
        const DiskSeen::Entry& e = pending->seen().Stat(file.path());
        return e.error == 0 && e.regular;
    }
    std::error_code ec;
    return std::filesystem::is_regular_file(file.path(), ec);
}

void DeleteFile(const FilePath& file) {
    if (AsStepOfItsOwn(file, [&] { DeleteFile(file); }))
        return;
    Transaction* step = StepOf(file);
    if (!FileExists(file)) {
        std::error_code ec;
        if (step != nullptr || !std::filesystem::exists(std::filesystem::symlink_status(file.path(), ec)))
            return;
    }
    if (step != nullptr) {
        ForChange(*step, file.path()).Delete(file);
        return;
    }
    fileops::Remove(nullptr, file.path()); // a file of no open folder
}

void ReplaceFileContent(const FilePath& file, std::string_view content) {
    if (AsStepOfItsOwn(file, [&] { ReplaceFileContent(file, content); }))
        return;
    if (Transaction* step = StepOf(file)) {
        ForChange(*step, file.path()).Replace(file, content);
        return;
    }
    // A file of no open folder: the new content goes to a temporary file first, then takes the
    // old one's name in one step, so that a reader never sees half of it. A temporary left by
    // a crash is cleared away at the next start.
    const std::filesystem::path temporary = file.string() + std::string(kSavingSuffix);
    const Engine* engine = nullptr;
    Fd temp(fileops::OpenForChange(engine, temporary, O_WRONLY | O_CREAT | O_TRUNC));
    try {
        fileops::Write(engine, temporary, temp.get(), content, 0);
        fileops::Sync(engine, temporary, temp.get());
        fileops::Close(temporary, temp.Release());
        fileops::Rename(engine, temporary, file.path());
        fileops::SyncFolder(engine, file.has_parent_path() ? file.parent_path() : ".");
    } catch (const IoError&) {
        ::unlink(temporary.c_str());
        throw;
    }
}

// ---- random-access files ----

RandomFile::RandomFile(FilePath file, int recordLength) : m_file(std::move(file)), m_length(recordLength) {
    if (m_length <= 0)
        throw IoError(m_file, "Bad record length");
    // Nothing is opened here: a missing file reads as an empty one until Put makes it.
}

long RandomFile::Lof() const {
    const long long size = FileSize(m_file);
    if (size < 0) {
        const PendingChanges* pending = Reading(m_file);
        MissingFileOrThrow(m_file.path(), pending != nullptr ? &pending->seen() : nullptr);
        return 0;
    }
    return static_cast<long>(size);
}

long RandomFile::RecordCount() const {
    return Lof() / m_length;
}

std::string RandomFile::Get(long n, int bytes) const {
    if (n < 1)
        throw IoError(m_file, "Bad record number");
    const size_t want = static_cast<size_t>(bytes < 0 ? m_length : bytes);
    std::string out = ReadFileAt(m_file, static_cast<long long>(n - 1) * m_length, want);
    out.resize(want, '\0'); // the rest lies past the end and reads as zero
    return out;
}

void RandomFile::Put(long n, std::string_view bytes) const {
    if (n < 1)
        throw IoError(m_file, "Bad record number");
    if (AsStepOfItsOwn(m_file, [&] { Put(n, bytes); }))
        return;
    const long long offset = static_cast<long long>(n - 1) * m_length;
    if (Transaction* step = StepOf(m_file)) {
        ForChange(*step, m_file.path()).Write(m_file, offset, bytes);
        return;
    }
    // A file of no open folder.
    Fd fd(fileops::OpenForChange(nullptr, m_file.path(), O_WRONLY | O_CREAT));
    fileops::Write(nullptr, m_file.path(), fd.get(), bytes, offset);
    fileops::Close(m_file.path(), fd.Release());
}

// ---- record images ----

std::string RecordBuffer::Text(size_t offset, size_t width) const {
    if (offset > m_bytes.size() || width > m_bytes.size() - offset)
        throw std::out_of_range("RecordBuffer::Text past the end of the record");
    return m_bytes.substr(offset, width);
}

void RecordBuffer::SetText(size_t offset, size_t width, std::string_view value) {
    if (offset > m_bytes.size() || width > m_bytes.size() - offset)
        throw std::out_of_range("RecordBuffer::SetText past the end of the record");
    m_bytes.replace(offset, width, Fixed(value, width));
}

float RecordBuffer::Single(size_t offset) const {
    if (offset > m_bytes.size() || m_bytes.size() - offset < sizeof(float))
        throw std::out_of_range("RecordBuffer::Single past the end of the record");
    float value;
    std::memcpy(&value, m_bytes.data() + offset, sizeof value);
    return value;
}

void RecordBuffer::SetSingle(size_t offset, float value) {
    if (offset > m_bytes.size() || m_bytes.size() - offset < sizeof(float))
        throw std::out_of_range("RecordBuffer::SetSingle past the end of the record");
    std::memcpy(m_bytes.data() + offset, &value, sizeof value);
}

// ---- sequential files ----

void SeqLine::Separator() {
    if (!m_line.empty())
        m_line += ',';
}

SeqLine& SeqLine::Text(std::string_view s) {
    Separator();
    m_line += '"';
    for (char c : s)
        m_line += c == '"' ? '\'' : (c == '\r' || c == '\n') ? ' ' : c;
    m_line += '"';
    return *this;
}

SeqLine& SeqLine::Number(float value) {
    Separator();
    m_line += RoundTripText(value);
    return *this;
}

SeqLine& SeqLine::Number(double value) {
    Separator();
    // At most 15 significant digits, as a Double shows: 0.07 + 0.02 is written 0.09.
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15);
    m_line.append(buf, res.ptr);
    return *this;
}

SeqLine& SeqLine::Number(int value) {
    Separator();
    m_line += std::to_string(value);
    return *this;
}

SeqLine& SeqLine::DateLit(const Date& d) {
    Separator();
    char buf[32];
    std::snprintf(buf, sizeof buf, "#%04d-%02d-%02d#", d.year, d.month, d.day);
    m_line += buf;
    return *this;
}

SeqLine& SeqLine::TimeLit(const TimeOfDay& t) {
    Separator();
    char buf[32];
    std::snprintf(buf, sizeof buf, "#%02d:%02d:%02d#", t.hour, t.minute, t.second);
    m_line += buf;
    return *this;
}

void AppendLines(const FilePath& file, const std::vector<SeqLine>& lines) {
    // A last line left without its line end (a write cut short by an older version) is
    // closed first, so that the new lines never run on from it.
    if (AsStepOfItsOwn(file, [&] { AppendLines(file, lines); }))
        return;
    std::string text = JoinLines(lines);
    if (Transaction* step = StepOf(file)) {
        PendingChanges& pending = ForChange(*step, file.path());
        const long long size = pending.Size(file.path());
        if (size > 0 && pending.Read(file.path(), size - 1, 1) != "\n")
            text.insert(0, "\r\n");
        pending.Write(file, std::max(size, 0LL), text);
        return;
    }
    // A file of no open folder.
    Fd fd(fileops::OpenForChange(nullptr, file.path(), O_RDWR | O_APPEND | O_CREAT));
    struct stat st;
    char last = '\n';
    if (::fstat(fd.get(), &st) == 0 && st.st_size > 0 && ::pread(fd.get(), &last, 1, st.st_size - 1) == 1 &&
        last != '\n')
        text.insert(0, "\r\n");
    fileops::Write(nullptr, file.path(), fd.get(), text, -1);
    fileops::Close(file.path(), fd.Release());
}

void AppendLine(const FilePath& file, const SeqLine& line) {
    AppendLines(file, {line});
}

void WriteLines(const FilePath& file, const std::vector<SeqLine>& lines) {
    ReplaceFileContent(file, JoinLines(lines));
}

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsDigitChar(char c) {
    return c >= '0' && c <= '9';
}

// The whole text is a decimal number: sign, digits with one period, optional exponent.
bool IsNumberText(std::string_view t) {
    size_t i = 0;
    if (i < t.size() && (t[i] == '-' || t[i] == '+'))
        ++i;
    bool digit = false, point = false;
    for (; i < t.size(); ++i) {
        if (IsDigitChar(t[i]))
            digit = true;
        else if (t[i] == '.' && !point)
            point = true;
        else
            break;
    }
    if (!digit)
        return false;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E' || t[i] == 'd' || t[i] == 'D')) {
        ++i;
        if (i < t.size() && (t[i] == '-' || t[i] == '+'))
            ++i;
        if (i >= t.size())
            return false;
        for (; i < t.size(); ++i)
            if (!IsDigitChar(t[i]))
                return false;
    }
    return i == t.size();
}

// #yyyy-mm-dd# or #hh:mm:ss# without the "#" signs.
bool ParseLiteral(std::string_view body, SeqItem& item) {
    int a, b, c;
    char s1, s2;
    std::string text(body);
    int used = 0;
    if (std::sscanf(text.c_str(), "%d%c%d%c%d%n", &a, &s1, &b, &s2, &c, &used) != 5 ||
        used != static_cast<int>(text.size()))
        return false;
    if (s1 == '-' && s2 == '-') {
        Date d{a, b, c};
        if (!IsValidDate(d))
            return false;
        item.kind = SeqItem::Kind::Date;
        item.date = d;
        return true;
    }
    if (s1 == ':' && s2 == ':') {
        if (a < 0 || a > 23 || b < 0 || b > 59 || c < 0 || c > 59)
            return false;
        item.kind = SeqItem::Kind::Time;
        item.time = {a, b, c};
        return true;
    }
    return false;
}

// The items of one line (without its line end). False, with `why`, for a line that
// cannot be read: a line written by SeqLine never holds any of these faults.
bool ParseLineItems(std::string_view line, std::vector<SeqItem>& items, std::string& why, SeqQuotes quotes) {
    if (quotes == SeqQuotes::Strict && line.find('\0') != std::string_view::npos) {
        why = "unreadable bytes";
        return false;
    }
    size_t pos = 0;
    const size_t n = line.size();
    auto atFieldEnd = [&](size_t p) { return p >= n || line[p] == ','; };
    // Fields separated by commas; an empty line reads as one empty text.
    for (;;) {
        while (pos < n && IsBlank(line[pos]))
            ++pos;
        SeqItem item;
        if (pos < n && line[pos] == '"') {
            size_t close = line.find('"', pos + 1);
            if (close == std::string_view::npos) {
                why = "a text without its closing quote";
                return false;
            }
            item.text = std::string(line.substr(pos + 1, close - pos - 1));
            pos = close + 1;
            while (pos < n && IsBlank(line[pos]))
                ++pos;
            if (!atFieldEnd(pos)) {
                why = "characters after a closing quote";
                return false;
            }
        } else {
            size_t start = pos;
            while (!atFieldEnd(pos))
                ++pos;
            item.text = Trim(line.substr(start, pos - start));
            std::string_view t = item.text;
            if (t.size() >= 2 && t.front() == '#' && t.back() == '#' &&
                ParseLiteral(t.substr(1, t.size() - 2), item)) {
                item.text.clear();
            } else if (IsNumberText(t)) {
                item.kind = SeqItem::Kind::Number;
                item.number = Val(t);
            }
        }
        items.push_back(std::move(item));
        if (pos < n && line[pos] == ',') {
            ++pos;
            continue;
        }
        return true;
    }
}

// Where the line from `pos` ends. SeqQuotes::AnyCharacter: the first CR or LF outside a
// quoted text, a quoted text ending at the first quote after its opening one. When that
// quote is not followed by the end of the item (a quote left open, the next line's text
// taken for its end), the line ends at its first CR or LF, as a strict reading has it.
size_t SeqLineEnd(std::string_view text, size_t pos, SeqQuotes quotes) {
    const size_t first = text.find_first_of("\r\n", pos);
    if (quotes == SeqQuotes::Strict)
        return first;
    auto skipBlanks = [&](size_t p) {
        while (p < text.size() && IsBlank(text[p]))
            ++p;
        return p;
    };
    for (;;) {
        pos = skipBlanks(pos);
        if (pos < text.size() && text[pos] == '"') {
            const size_t close = text.find('"', pos + 1);
            if (close == std::string_view::npos)
                return first;
            pos = skipBlanks(close + 1);
            if (pos < text.size() && text[pos] != ',' && text[pos] != '\r' && text[pos] != '\n')
                return first;
        } else {
            pos = text.find_first_of(",\r\n", pos);
        }
        if (pos >= text.size())
            return std::string_view::npos;
        if (text[pos] != ',')
            return pos;
        ++pos;
    }
}

// Splits a sequential file's text into lines and parses each: onLine(number, items) for
// a readable line, onDamage(text) for one that is not. A line ends at CR LF (the form
// written), LF or CR; CRs before an LF belong to the same line end. Text after the last
// line end is a line cut short and is left out.
template <class OnLine, class OnDamage>
void SplitSeqText(std::string_view text, OnLine onLine, OnDamage onDamage,
                  SeqQuotes quotes = SeqQuotes::Strict) {
    size_t pos = 0;
    size_t number = 0;
    while (pos < text.size()) {
        ++number;
        const size_t end = SeqLineEnd(text, pos, quotes);
        if (end == std::string_view::npos) {
            onDamage("line " + std::to_string(number) + ": cut short before its line end, left out");
            return;
        }
        std::vector<SeqItem> items;
        std::string why;
        if (ParseLineItems(text.substr(pos, end - pos), items, why, quotes))
            onLine(number, std::move(items));
        else
            onDamage("line " + std::to_string(number) + ": " + why + ", skipped");
        pos = end;
        while (pos < text.size() && text[pos] == '\r')
            ++pos;
        if (pos < text.size() && text[pos] == '\n')
            ++pos;
    }
}

constexpr size_t kDamageShown = 8; // places listed in one message

// The line number a damage note begins with ("line 4: ...", "lines 4 to 6: ...").
unsigned long NoteLine(const std::string& note) {
    const size_t digit = note.find_first_of("0123456789");
    return digit == std::string::npos ? 0 : std::strtoul(note.c_str() + digit, nullptr, 10);
}

std::string DamageMessage(const std::filesystem::path& file, std::vector<std::string> damage) {
    std::stable_sort(damage.begin(), damage.end(),
                     [](const std::string& a, const std::string& b) { return NoteLine(a) < NoteLine(b); });
    std::string text = "The file " + file.string() + " is damaged. Everything else in it was read.";
    for (size_t i = 0; i < damage.size() && i < kDamageShown; ++i)
        text += "\n" + damage[i];
    if (damage.size() > kDamageShown)
        text += "\n... and " + std::to_string(damage.size() - kDamageShown) + " more";
    return text;
}

} // namespace

std::vector<SeqItem> ParseSeqText(std::string_view text) {
    std::vector<SeqItem> items;
    SplitSeqText(
        text,
        [&](size_t, std::vector<SeqItem> line) {
            for (SeqItem& item : line)
                items.push_back(std::move(item));
        },
        [](const std::string&) {});
    return items;
}

void DamageLog::Note(const std::filesystem::path& file, const std::string& version,
                     const std::vector<std::string>& damage) {
    if (damage.empty())
        return;
    if (m_reported.insert(file.lexically_normal().string() + '\n' + version).second)
        m_pending.push_back(DamageMessage(file, damage));
}

std::vector<std::string> DamageLog::Take() {
    std::vector<std::string> out;
    out.swap(m_pending);
    return out;
}

void NoteSeqFileDamage(const FilePath& file, unsigned long long size, long long changed,
                       const std::vector<std::string>& damage) {
    if (file.engine() != nullptr)
        DamageOf(*file.engine())
            .Note(file.path(), std::to_string(size) + "/" + std::to_string(changed), damage);
}

SeqReader::SeqReader(const FilePath& file, SeqQuotes quotes) : m_file(file) {
    std::string text;
    const PendingChanges* pending = Reading(file);
    if (const PendingChanges::File* changed = pending != nullptr ? pending->Find(file.path()) : nullptr) {
        if (!changed->exists)
            throw IoError(file, "File not found");
        text = pending->Read(file.path(), 0, static_cast<size_t>(changed->size));
        m_version = std::to_string(text.size()) + "/step";
    } else if (const DiskSeen::Entry* seen =
                   pending != nullptr ? &pending->seen().Stat(file.path()) : nullptr;
               seen != nullptr && seen->error == 0 && seen->regular && seen->size <= DiskSeen::kKeptWhole) {
        // A small file the step reads as it found it: asked of the disk once in the step.
        text = pending->Read(file.path(), 0, static_cast<size_t>(seen->size));
        m_version = std::to_string(text.size()) + "/" + std::to_string(seen->changedAt);
    } else {
        int fd;
        do
            fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
        while (fd < 0 && errno == EINTR);
        if (fd < 0)
            throw IoError(file, errno == ENOENT ? std::string("File not found") : fileops::ErrorText(errno));
        Fd guard(fd);
        text = fileops::ReadAll(file.path(), fd);
        struct stat st;
        const long long changedAt =
            ::fstat(fd, &st) == 0 ? st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec : 0;
        m_version = std::to_string(text.size()) + "/" + std::to_string(changedAt);
    }
    SplitSeqText(
        text,
        [&](size_t number, std::vector<SeqItem> items) {
            m_lines.push_back({number, std::move(items)});
        },
        [&](std::string what) { m_damage.push_back(std::move(what)); }, quotes);
}

SeqReader::~SeqReader() {
    if (m_damage.empty())
        return;
    try {
        if (m_file.engine() != nullptr)
            DamageOf(*m_file.engine()).Note(m_file.path(), m_version, m_damage);
    } catch (...) {
        // Out of memory: the clerk misses one message, the reading itself stands.
    }
}

bool SeqReader::Eof() const {
    // A readable line holds at least one item, so only the current line can be used up.
    size_t line = m_line;
    if (line < m_lines.size() && m_item >= m_lines[line].items.size())
        ++line;
    return line >= m_lines.size();
}

const SeqItem& SeqReader::Next() {
    if (m_byLine) {
        if (m_line >= m_lines.size() || m_item >= m_lines[m_line].items.size())
            throw IoError(m_file, "Input past end of line");
        return m_lines[m_line].items[m_item++];
    }
    if (m_line < m_lines.size() && m_item >= m_lines[m_line].items.size()) {
        ++m_line;
        m_item = 0;
    }
    if (m_line >= m_lines.size())
        throw IoError(m_file, "Input past end of file");
    return m_lines[m_line].items[m_item++];
}

bool SeqReader::NextLine() {
    if (!m_byLine) {
        m_byLine = true;
        if (m_item != 0) // a line begun item by item is left
            ++m_line;
    } else if (m_line < m_lines.size()) {
        ++m_line;
    }
    m_item = 0;
    return m_line < m_lines.size();
}

size_t SeqReader::LineSize() const {
    return m_byLine && m_line < m_lines.size() ? m_lines[m_line].items.size() : 0;
}

const SeqItem& SeqReader::LineItem(size_t i) const {
    if (i >= LineSize())
        throw IoError(m_file, "Input past end of line");
    return m_lines[m_line].items[i];
}

size_t SeqReader::LineNumber() const {
    return m_line < m_lines.size() ? m_lines[m_line].number : 0;
}

void SeqReader::SkipLine(std::string_view why) {
    NoteDamage("line " + std::to_string(LineNumber()) + ": " + std::string(why) + ", skipped");
    if (m_line < m_lines.size())
        m_item = m_lines[m_line].items.size();
}

void SeqReader::NoteDamage(std::string what) {
    m_damage.push_back(std::move(what));
}

std::string SeqReader::ReadText() {
    const SeqItem& item = Next();
    switch (item.kind) {
    case SeqItem::Kind::Date:
        return platform::DateText(item.date);
    case SeqItem::Kind::Time:
        return platform::TimeText(item.time);
    default:
        return item.text;
    }
}

double SeqReader::ReadNumber() {
    const SeqItem& item = Next();
    switch (item.kind) {
    case SeqItem::Kind::Number:
        return item.number;
    case SeqItem::Kind::Text:
        return Val(item.text);
    default:
        throw IoError(m_file, "Type mismatch");
    }
}

} // namespace platform
