// The data folder's lock and the start-up clearing of interrupted saves; see folder_lock.h.
#include "platform/folder_lock.h"

#include "platform/files.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string_view>
#include <sys/file.h>
#include <unistd.h>
#include <utility>

namespace platform {

namespace {

int OpenLockFile(const std::filesystem::path& file, int flags) {
    int fd;
    do
        fd = ::open(file.c_str(), flags | O_CLOEXEC | O_NOFOLLOW, 0600);
    while (fd < 0 && errno == EINTR);
    return fd;
}

// The errors of a folder that cannot be written to, rather than one that is wrong.
bool FolderNotWritable(int error) {
    return error == EACCES || error == EPERM || error == EROFS || error == ENOSPC || error == EDQUOT;
}

} // namespace

FolderLock::FolderLock(std::filesystem::path file, State state, int fd, std::string reason)
    : m_file(std::move(file)), m_state(state), m_fd(fd), m_reason(std::move(reason)) {}

FolderLock FolderLock::Acquire(const std::filesystem::path& root) {
    std::filesystem::path file = root / kFileName;
    int fd = OpenLockFile(file, O_RDWR | O_CREAT);
    std::string cannotWrite; // why the folder can only be looked at, when it can
    if (fd < 0) {
        const int createError = errno;
        if (!FolderNotWritable(createError))
            throw IoError(file, std::strerror(createError));
        // A read-only descriptor can hold the lock just as well, when the file is there.
        fd = OpenLockFile(file, O_RDONLY);
        if (fd < 0)
            return FolderLock(std::move(file), State::Unlocked, -1,
                              std::string("the lock file cannot be made: ") + std::strerror(createError));
        // The folder itself may be writable and only the lock file not: the clerk is told which.
        cannotWrite =
            ::access(root.c_str(), W_OK) == 0
                ? "the lock file " + file.string() + " cannot be written: " + std::strerror(createError)
                : std::string("the folder cannot be written: ") + std::strerror(createError);
    }
    int rc;
    do
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    while (rc != 0 && errno == EINTR);
    if (rc == 0)
        return cannotWrite.empty()
                   ? FolderLock(std::move(file), State::Held, fd, std::string())
                   : FolderLock(std::move(file), State::HeldReadOnly, fd, std::move(cannotWrite));
    const int lockError = errno;
    ::close(fd);
    if (lockError == EWOULDBLOCK)
        return FolderLock(std::move(file), State::Taken, -1, std::string());
    return FolderLock(std::move(file), State::Unlocked, -1,
                      std::string("the folder cannot be locked: ") + std::strerror(lockError));
}

FolderLock::FolderLock(FolderLock&& other) noexcept
    : m_file(std::move(other.m_file)), m_state(other.m_state), m_fd(std::exchange(other.m_fd, -1)),
      m_reason(std::move(other.m_reason)) {
    other.m_state = State::Unlocked;
}

FolderLock& FolderLock::operator=(FolderLock&& other) noexcept {
    if (this != &other) {
        Release();
        m_file = std::move(other.m_file);
        m_state = std::exchange(other.m_state, State::Unlocked);
        m_fd = std::exchange(other.m_fd, -1);
        m_reason = std::move(other.m_reason);
    }
    return *this;
}

FolderLock::~FolderLock() {
    Release();
}

void FolderLock::Release() {
    // Closing the only descriptor of the open file releases the lock. The file stays: removing
    // it would let a copy starting now lock a new file while another still holds the old one.
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

// ---- interrupted saves ----

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Six letters and digits of at least two kinds, as mkostemp makes them.
bool IsTemporaryTail(std::string_view tail) {
    if (tail.size() != 6)
        return false;
    bool lower = false, upper = false, digit = false;
    for (char c : tail) {
        if (c >= 'a' && c <= 'z')
            lower = true;
        else if (c >= 'A' && c <= 'Z')
            upper = true;
        else if (IsDigit(c))
            digit = true;
        else
            return false;
    }
    return int(lower) + int(upper) + int(digit) >= 2;
}

bool EndsInDigits(std::string_view name, size_t count) {
    if (name.size() < count)
        return false;
    for (size_t i = name.size() - count; i < name.size(); ++i)
        if (!IsDigit(name[i]))
            return false;
    return true;
}

// A name the program gives a file it creates in `subfolder` ("" for the data folder itself).
bool HasCreatedShape(std::string_view subfolder, std::string_view name) {
    if (EndsInDigits(name, 1))
        return true;
    if (subfolder.empty())
        return name == "settings" || name == "clock";
    if (subfolder == "print")
        return name.starts_with("report-") && name.ends_with(".pdf");
    return false;
}

bool IsRegularFile(const std::filesystem::path& file) {
    std::error_code ec;
    return std::filesystem::symlink_status(file, ec).type() == std::filesystem::file_type::regular;
}

bool IsInterruptedSave(const std::filesystem::path& folder, std::string_view subfolder,
                       const std::string& name) {
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0 || !IsTemporaryTail(std::string_view(name).substr(dot + 1)))
        return false;
    if (EndsInDigits(name, 4))
        return false;
    const std::string target = name.substr(0, dot);
    return HasCreatedShape(subfolder, target) || IsRegularFile(folder / target);
}

void RemoveIn(const std::filesystem::path& folder, std::string_view subfolder,
              std::vector<std::filesystem::path>& removed) {
    std::error_code ec;
    std::filesystem::directory_iterator it(folder, ec);
    if (ec)
        return;
    std::vector<std::filesystem::path> doomed;
    for (; it != std::filesystem::directory_iterator(); it.increment(ec)) {
        if (ec)
            break;
        const std::filesystem::path& file = it->path();
        // The name first: asking the system about every file of a folder of years of
        // ledgers would slow the start down.
        const std::string name = file.filename().string();
        const bool saving = name.size() > kSavingSuffix.size() && name.ends_with(kSavingSuffix);
        if ((saving || IsInterruptedSave(folder, subfolder, name)) && IsRegularFile(file))
            doomed.push_back(file);
    }
    // Removed after the listing, so that the listing sees the folder whole.
    for (const std::filesystem::path& file : doomed)
        if (::unlink(file.c_str()) == 0)
            removed.push_back(file);
}

} // namespace

std::vector<std::filesystem::path> RemoveInterruptedSaves(const std::filesystem::path& root,
                                                          const std::vector<std::string>& subfolders) {
    std::vector<std::filesystem::path> removed;
    // Only the data folder itself holds the temporaries of whole-file saves, all with one
    // suffix; it holds a fixed set of files, so this does not grow with the years.
    std::error_code ec;
    std::vector<std::filesystem::path> doomed;
    std::filesystem::directory_iterator it(root, ec);
    for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() > kSavingSuffix.size() && name.ends_with(kSavingSuffix) && IsRegularFile(it->path()))
            doomed.push_back(it->path());
    }
    for (const std::filesystem::path& file : doomed)
        if (::unlink(file.c_str()) == 0)
            removed.push_back(file);
    // The print folder's PDFs are saved through temporaries of their own.
    for (const std::string& sub : subfolders)
        if (sub == "print")
            RemoveIn(root / sub, sub, removed);
    return removed;
}

} // namespace platform
