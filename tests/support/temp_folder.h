// Temporary folders for tests: made fresh under the system's temporary folder and removed,
// with everything in them, when the object goes.
#pragma once

#include "platform/engine.h"
#include "platform/files.h"
#include "records/filenames.h"

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <linux/fs.h>
#include <stdexcept>
#include <string>
#include <sys/ioctl.h>
#include <system_error>
#include <unistd.h>

namespace vantreth::testing {

class TempFolder {
public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "vantreth-test-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("cannot make a temporary folder");
        m_path = pattern;
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

// Makes a file or folder refuse writing for as long as the object lives, also to root where
// the file system can mark it unchangeable. Declare it after the folder it lies in.
class Unwritable {
public:
    explicit Unwritable(std::filesystem::path path) : m_path(std::move(path)) {
        std::filesystem::permissions(m_path, kWrite, std::filesystem::perm_options::remove);
        m_marked = ::geteuid() == 0 && Mark(true);
    }
    ~Unwritable() {
        if (m_marked)
            Mark(false);
        std::error_code ignored;
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::add, ignored);
    }
    Unwritable(const Unwritable&) = delete;
    Unwritable& operator=(const Unwritable&) = delete;

    // False where nothing could make it refuse (root on a file system without the mark).
    bool refused() const { return ::access(m_path.c_str(), W_OK) != 0; }

private:
    static constexpr auto kWrite = std::filesystem::perms::owner_write | std::filesystem::perms::group_write |
                                   std::filesystem::perms::others_write;
    bool Mark(bool on) const {
        const int fd = ::open(m_path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            return false;
        int flags = 0;
        bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        if (done) {
            flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
            done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
        ::close(fd);
        return done;
    }
    std::filesystem::path m_path;
    bool m_marked = false;
};

// A temporary data folder with the program's sub-folders already made. Its files are named
// with an engine of its own that runs no step unless a test begins one: they are read on the
// disk, each change made outside a step is a step of its own through it, and the damage found
// in them is kept by it (engine().damage()).
class TempDataFolder {
public:
    TempDataFolder() { m_folder.EnsureLayout(records::DataSubFolders()); }

    const std::filesystem::path& path() const { return m_temp.path(); }
    const platform::DataFolder& folder() const { return m_folder; }
    platform::Engine& engine() { return m_engine; }

private:
    TempFolder m_temp;
    platform::Engine m_engine{m_temp.path()};
    platform::DataFolder m_folder{m_temp.path(), &m_engine};
};

} // namespace vantreth::testing
