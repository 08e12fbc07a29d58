// Stand-ins for the system's commands in tests: shell scripts in a test's folder.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>

namespace vantreth::testing {

// A stand-in for a system command: a shell script in `folder`.
inline std::string Script(const std::filesystem::path& folder, const std::string& name,
                          const std::string& body) {
    const std::filesystem::path file = folder / name;
    std::ofstream(file) << "#!/bin/sh\n" << body << "\n";
    std::filesystem::permissions(file, std::filesystem::perms::owner_all);
    return file.string();
}

} // namespace vantreth::testing
