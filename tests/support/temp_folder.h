// Temporary folders for tests: made fresh under the system's temporary folder and removed,
// with everything in them, when the object goes.
#pragma once

#include "platform/files.h"
#include "platform/journal.h"
#include "records/filenames.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>

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

// A temporary data folder with the program's sub-folders already made. Its files are named
// with an engine of its own that runs no step: they are read and changed on the disk, and the
// damage found in them is kept by it (engine().damage()).
class TempDataFolder {
public:
    TempDataFolder() { m_folder.EnsureLayout(records::DataSubFolders()); }

    const std::filesystem::path& path() const { return m_temp.path(); }
    const platform::DataFolder& folder() const { return m_folder; }
    platform::Journal& engine() { return m_engine; }

private:
    TempFolder m_temp;
    platform::Journal m_engine{m_temp.path()};
    platform::DataFolder m_folder{m_temp.path(), &m_engine};
};

} // namespace vantreth::testing
