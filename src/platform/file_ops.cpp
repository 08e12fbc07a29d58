// The calls that change files on the disk, each asking the test's fault source first.
#include "platform/files.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace platform {

namespace {

// The fault source of the engine; nullptr for none.
FileFaults* FaultsOf(const Engine* engine) {
    return engine != nullptr ? platform::FaultsOf(*engine) : nullptr;
}

// Whether a flush reaches the disk: not where the engine writes without flushing, nor where
// its fault source keeps the flushes itself.
bool Flushes(const Engine* engine) {
    const FileFaults* faults = FaultsOf(engine);
    return faults == nullptr || !faults->KeepsFlushes();
}

FileFaults::Fault Ask(const Engine* engine, FileFaults::Op op, const std::filesystem::path& file,
                      size_t bytes, const std::filesystem::path* from = nullptr) {
    FileFaults* faults = FaultsOf(engine);
    if (faults == nullptr)
        return {};
    FileFaults::Fault fault = faults->Before({op, file, bytes, from});
    if (fault.error == 0)
        fault.error = ENOSPC;
    return fault;
}

// A change whose bytes are not written here (none, or held for the commit): a partial fault
// is a plain failure, a torn crash a crash.
void Check(const Engine* engine, FileFaults::Op op, const std::filesystem::path& file,
           const std::filesystem::path* from = nullptr, size_t bytes = 0) {
    FileFaults::Fault fault = Ask(engine, op, file, bytes, from);
    switch (fault.kind) {
    case FileFaults::Kind::None:
        return;
    case FileFaults::Kind::Fail:
    case FileFaults::Kind::Partial:
        throw IoError(file, fileops::ErrorText(fault.error));
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
            throw IoError(file, fileops::ErrorText(n < 0 ? errno : EIO));
        data.remove_prefix(static_cast<size_t>(n));
        if (offset >= 0)
            offset += n;
    }
}

} // namespace

namespace fileops {

std::string ErrorText(int error) {
    return std::strerror(error);
}

void Stage(const Engine* engine, const std::filesystem::path& file, size_t bytes) {
    Check(engine, FileFaults::Op::Stage, file, nullptr, bytes);
}

int OpenForChange(const Engine* engine, const std::filesystem::path& file, int flags) {
    if ((flags & O_CREAT) != 0)
        Check(engine, FileFaults::Op::Create, file);
    int fd;
    do
        fd = ::open(file.c_str(), flags | O_CLOEXEC, 0600);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
        throw IoError(file, fileops::ErrorText(errno));
    return fd;
}

int OpenAt(const Engine* engine, int folder, const std::string& name, const std::filesystem::path& file,
           int flags) {
    if ((flags & O_CREAT) != 0)
        Check(engine, FileFaults::Op::Create, file);
    int fd;
    do
        fd = ::openat(folder, name.c_str(), flags | O_CLOEXEC | O_NOFOLLOW, 0600);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
        throw IoError(file, fileops::ErrorText(errno));
    return fd;
}

void Write(const Engine* engine, const std::filesystem::path& file, int fd, std::string_view data,
           long long offset) {
    FileFaults::Fault fault = Ask(engine, FileFaults::Op::Write, file, data.size());
    switch (fault.kind) {
    case FileFaults::Kind::None:
        break;
    case FileFaults::Kind::Fail:
        throw IoError(file, fileops::ErrorText(fault.error));
    case FileFaults::Kind::Crash:
        throw SimulatedCrash{};
    case FileFaults::Kind::Partial:
        WriteRaw(file, fd, data.substr(0, data.size() / 2), offset);
        throw IoError(file, fileops::ErrorText(fault.error));
    case FileFaults::Kind::TornCrash:
        WriteRaw(file, fd, data.substr(0, data.size() / 2), offset);
        throw SimulatedCrash{};
    }
    WriteRaw(file, fd, data, offset);
}

bool BeforeFlush(const Engine* engine, const std::filesystem::path& file, bool folder) {
    if (engine != nullptr && !Durable(*engine))
        return false;
    Check(engine, folder ? FileFaults::Op::FlushFolder : FileFaults::Op::Flush, file);
    return Flushes(engine);
}

void AfterFlush(const Engine* engine, const std::filesystem::path& file, bool folder) {
    if (FileFaults* faults = FaultsOf(engine); faults != nullptr && Durable(*engine))
        faults->Flushed(file, folder);
}

int OpenFolder(const std::filesystem::path& folder) {
    int fd;
    do
        fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
        throw IoError(folder, fileops::ErrorText(errno));
    return fd;
}

void Sync(const Engine* engine, const std::filesystem::path& file, int fd) {
    if (engine != nullptr && !Durable(*engine))
        return;
    if (!BeforeFlush(engine, file, false))
        return AfterFlush(engine, file, false);
    // The data and what is needed to read it back (the length); not the times.
    int rc;
    do
        rc = ::fdatasync(fd);
    while (rc != 0 && errno == EINTR);
    if (rc != 0)
        throw IoError(file, fileops::ErrorText(errno));
    AfterFlush(engine, file, false);
}

void SyncFolder(const Engine* engine, const std::filesystem::path& folder) {
    if (engine != nullptr && !Durable(*engine))
        return;
    if (!BeforeFlush(engine, folder, true))
        return AfterFlush(engine, folder, true);
    const int fd = OpenFolder(folder);
    int rc;
    do
        rc = ::fsync(fd);
    while (rc != 0 && errno == EINTR);
    const int error = errno;
    ::close(fd);
    // Some file systems cannot flush a folder at all (EINVAL): their entries reach the disk
    // with the files.
    if (rc != 0 && error != EINVAL)
        throw IoError(folder, fileops::ErrorText(error));
    AfterFlush(engine, folder, true);
}

void Truncate(const Engine* engine, const std::filesystem::path& file, int fd, long long length) {
    Check(engine, FileFaults::Op::Truncate, file);
    if (::ftruncate(fd, static_cast<off_t>(length)) != 0)
        throw IoError(file, fileops::ErrorText(errno));
}

void Rename(const Engine* engine, const std::filesystem::path& from, const std::filesystem::path& to) {
    Check(engine, FileFaults::Op::Rename, to, &from);
    if (::rename(from.c_str(), to.c_str()) != 0)
        throw IoError(to, fileops::ErrorText(errno));
}

void Remove(const Engine* engine, const std::filesystem::path& file) {
    Check(engine, FileFaults::Op::Remove, file);
    if (::unlink(file.c_str()) != 0 && errno != ENOENT)
        throw IoError(file, fileops::ErrorText(errno));
}

void RemoveAt(const Engine* engine, int folder, const std::string& name, const std::filesystem::path& file) {
    Check(engine, FileFaults::Op::Remove, file);
    if (::unlinkat(folder, name.c_str(), 0) != 0 && errno != ENOENT)
        throw IoError(file, fileops::ErrorText(errno));
}

void Close(const std::filesystem::path& file, int fd) {
    if (::close(fd) != 0 && errno != EINTR)
        throw IoError(file, fileops::ErrorText(errno));
}

std::optional<std::string> ReadWhole(const std::filesystem::path& file, int flags) {
    int opened;
    do
        opened = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | flags);
    while (opened < 0 && errno == EINTR);
    if (opened < 0) {
        if (errno == ENOENT)
            return std::nullopt;
        throw IoError(file, fileops::ErrorText(errno));
    }
    Fd fd(opened);
    return ReadAll(file, fd.get());
}

std::string ReadAll(const std::filesystem::path& file, int fd, long long from) {
    std::string out;
    char buf[65536];
    for (;;) {
        const ssize_t n = from < 0 ? ::read(fd, buf, sizeof buf)
                                   : ::pread(fd, buf, sizeof buf,
                                             static_cast<off_t>(from) + static_cast<off_t>(out.size()));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw IoError(file, fileops::ErrorText(errno));
        if (n == 0)
            return out;
        out.append(buf, static_cast<size_t>(n));
    }
}

std::string ReadAt(const std::filesystem::path& file, int fd, long long offset, size_t length) {
    std::string out(length, '\0');
    size_t got = 0;
    while (got < length) {
        const ssize_t n =
            ::pread(fd, out.data() + got, length - got, static_cast<off_t>(offset) + static_cast<off_t>(got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw IoError(file, fileops::ErrorText(errno));
        if (n == 0)
            break;
        got += static_cast<size_t>(n);
    }
    out.resize(got);
    return out;
}

void Fd::Reset(int fd) {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = fd;
}

int Fd::Release() {
    return std::exchange(m_fd, -1);
}

int Fd::Close() {
    return ::close(std::exchange(m_fd, -1));
}

} // namespace fileops

} // namespace platform
