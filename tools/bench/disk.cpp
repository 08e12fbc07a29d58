#include "bench/disk.h"

#include "platform/engine.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <linux/magic.h>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

std::atomic<long> g_fileFlushes{0};
std::atomic<long> g_folderFlushes{0};
std::atomic<long> g_fileSystemFlushes{0};

void CountFlushOf(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode))
        ++g_folderFlushes;
    else
        ++g_fileFlushes;
}

} // namespace

// The flush calls, counted. Defined in the program itself, they are the ones the program's
// file layer (linked in statically) calls; each passes the flush on to the kernel.
extern "C" {

int fsync(int fd) {
    CountFlushOf(fd);
    return static_cast<int>(::syscall(SYS_fsync, fd));
}

int fdatasync(int fd) {
    CountFlushOf(fd);
    return static_cast<int>(::syscall(SYS_fdatasync, fd));
}

int syncfs(int fd) noexcept {
    ++g_fileSystemFlushes;
    return static_cast<int>(::syscall(SYS_syncfs, fd));
}

void sync() noexcept {
    ++g_fileSystemFlushes;
    ::syscall(SYS_sync);
}

} // extern "C"

namespace vantreth::bench {

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

using platform::fileops::Fd;

void WriteAll(int fd, const char* data, size_t size, off_t offset, const std::filesystem::path& file) {
    while (size > 0) {
        const ssize_t n = offset < 0 ? ::write(fd, data, size) : ::pwrite(fd, data, size, offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            throw std::runtime_error("cannot write " + file.string() + ": " + std::strerror(errno));
        data += n;
        size -= static_cast<size_t>(n);
        if (offset >= 0)
            offset += n;
    }
}

} // namespace

FlushCount Flushes() {
    return {g_fileFlushes.load(), g_folderFlushes.load(), g_fileSystemFlushes.load()};
}

FlushCount operator-(const FlushCount& a, const FlushCount& b) {
    return {a.files - b.files, a.folders - b.folders, a.fileSystems - b.fileSystems};
}

std::string Describe(const FlushCount& count) {
    std::vector<std::string> parts;
    auto part = [&](long n, const char* one, const char* many) {
        if (n > 0)
            parts.push_back(std::to_string(n) + " " + (n == 1 ? one : many));
    };
    part(count.files, "file", "files");
    part(count.folders, "folder", "folders");
    part(count.fileSystems, "whole file system", "whole file systems");
    std::string text = std::to_string(count.total());
    for (size_t i = 0; i < parts.size(); ++i)
        text += (i == 0 ? " (" : ", ") + parts[i];
    return parts.empty() ? text : text + ")";
}

bool FlushCountingWorks(const std::filesystem::path& folder) {
    const std::filesystem::path file = folder / "bench-flush-check";
    const FlushCount before = Flushes();
    const int fd = platform::fileops::OpenForChange(nullptr, file, O_WRONLY | O_CREAT | O_TRUNC);
    platform::fileops::Write(nullptr, file, fd, "x", 0);
    platform::fileops::Sync(nullptr, file, fd);
    platform::fileops::Close(file, fd);
    std::filesystem::remove(file);
    return (Flushes() - before).files == 1;
}

namespace {

void FlushUncounted(const std::filesystem::path& path, int flags) {
    const Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | flags));
    if (fd.get() >= 0)
        ::syscall(SYS_fsync, fd.get());
}

} // namespace

void SettleFiles(const std::vector<std::filesystem::path>& files) {
    std::set<std::filesystem::path> folders;
    for (const std::filesystem::path& file : files) {
        FlushUncounted(file, 0);
        folders.insert(file.parent_path());
    }
    for (const std::filesystem::path& folder : folders)
        FlushUncounted(folder, O_DIRECTORY);
}

void SettleDisk(const std::filesystem::path& root) {
    std::error_code ec;
    for (auto it = std::filesystem::recursive_directory_iterator(root, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
        if (it->is_directory(ec))
            FlushUncounted(it->path(), O_DIRECTORY);
        else if (it->is_regular_file(ec))
            FlushUncounted(it->path(), 0);
    }
    FlushUncounted(root, O_DIRECTORY);
}

void SettleFileSystem(const std::filesystem::path& folder) {
    const Fd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() >= 0)
        ::syscall(SYS_syncfs, fd.get());
}

double ReferenceTransactionMs(const std::filesystem::path& file) {
    constexpr size_t kPage = 4096;
    constexpr int kPages = 4;
    const bool fresh = !std::filesystem::exists(file);
    const Fd fd(::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
    if (fd.get() < 0)
        throw std::runtime_error("cannot open " + file.string() + ": " + std::strerror(errno));
    std::vector<char> page(kPage);
    static unsigned char fill = 0;
    if (fresh) {
        // The file's pages exist and are on the disk before the first measured write, as a
        // database's are.
        for (int i = 0; i < kPages; ++i)
            WriteAll(fd.get(), page.data(), kPage, static_cast<off_t>(i * kPage), file);
        ::syscall(SYS_fsync, fd.get());
    }
    const auto start = Clock::now();
    for (int i = 0; i < kPages; ++i) {
        std::memset(page.data(), ++fill, kPage);
        WriteAll(fd.get(), page.data(), kPage, static_cast<off_t>(i * kPage), file);
        if (::syscall(SYS_fdatasync, fd.get()) != 0)
            throw std::runtime_error("cannot flush " + file.string() + ": " + std::strerror(errno));
    }
    return MsSince(start);
}

double FloorMs(const std::filesystem::path& file, long long bytes) {
    const Fd fd(::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
    if (fd.get() < 0)
        throw std::runtime_error("cannot open " + file.string() + ": " + std::strerror(errno));
    const std::vector<char> header(platform::kJournalHeaderBytes, 'h');
    WriteAll(fd.get(), header.data(), header.size(), 0, file);
    if (::ftruncate(fd.get(), static_cast<off_t>(header.size())) != 0 || ::syscall(SYS_fsync, fd.get()) != 0)
        throw std::runtime_error("cannot cut " + file.string() + ": " + std::strerror(errno));
    static unsigned char fill = 0;
    const std::vector<char> record(static_cast<size_t>(std::max(bytes, 1LL)), static_cast<char>(++fill));
    const auto start = Clock::now();
    WriteAll(fd.get(), record.data(), record.size(), static_cast<off_t>(header.size()), file);
    if (::syscall(SYS_fdatasync, fd.get()) != 0)
        throw std::runtime_error("cannot flush " + file.string() + ": " + std::strerror(errno));
    return MsSince(start);
}

std::filesystem::path WriteUnflushed(const std::filesystem::path& folder, int mib) {
    std::string pattern = (folder / "another-program-XXXXXX").string();
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0)
        throw std::runtime_error("cannot make a file in " + folder.string() + ": " + std::strerror(errno));
    const pid_t pid = ::fork();
    if (pid < 0) {
        ::close(fd);
        throw std::runtime_error("cannot start the other program");
    }
    if (pid == 0) {
        // The other program: plain writes, no flush, then it ends.
        std::vector<char> chunk(1 << 20);
        for (size_t i = 0; i < chunk.size(); ++i)
            chunk[i] = static_cast<char>('a' + i % 26);
        for (int i = 0; i < mib; ++i) {
            chunk[0] = static_cast<char>(i);
            size_t left = chunk.size();
            const char* at = chunk.data();
            while (left > 0) {
                const ssize_t n = ::write(fd, at, left);
                if (n < 0 && errno == EINTR)
                    continue;
                if (n <= 0)
                    ::_exit(1);
                at += n;
                left -= static_cast<size_t>(n);
            }
        }
        ::_exit(0);
    }
    ::close(fd);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::filesystem::remove(pattern);
        throw std::runtime_error("the other program could not write " + std::to_string(mib) + " MiB in " +
                                 folder.string());
    }
    return pattern;
}

std::string FileSystemOf(const std::filesystem::path& path) {
    std::error_code ec;
    const std::string target = std::filesystem::weakly_canonical(path, ec).string();
    // /proc/self/mountinfo: id parent major:minor root mount-point options [tags] - type source ...
    std::ifstream mounts("/proc/self/mountinfo");
    std::string line, best, bestType, bestSource;
    while (std::getline(mounts, line)) {
        std::istringstream in(line);
        std::string id, parent, device, root, point, word;
        in >> id >> parent >> device >> root >> point;
        while (in >> word && word != "-") {
        }
        std::string type, source;
        in >> type >> source;
        const bool inside =
            target == point || point == "/" ||
            (target.rfind(point, 0) == 0 && target.size() > point.size() && target[point.size()] == '/');
        if (inside && point.size() >= best.size()) {
            best = point;
            bestType = type;
            bestSource = source;
        }
    }
    if (best.empty())
        return "an unknown file system";
    return bestType + " " + bestSource + " mounted at " + best;
}

bool InMemory(const std::filesystem::path& path) {
    struct statfs fs {};
    if (::statfs(path.c_str(), &fs) != 0)
        return false;
    return fs.f_type == TMPFS_MAGIC || fs.f_type == RAMFS_MAGIC;
}

} // namespace vantreth::bench
