#include "file_faults.h"

#include <fstream>
#include <sstream>

namespace vantreth::testing {

FolderImage ImageOf(const std::filesystem::path& root) {
    FolderImage image;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file()) continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        image[entry.path().lexically_relative(root).string()] = bytes.str();
    }
    return image;
}

std::string Differences(const FolderImage& a, const FolderImage& b) {
    std::string out;
    for (const auto& [name, bytes] : a) {
        auto other = b.find(name);
        if (other == b.end()) out += " -" + name;
        else if (other->second != bytes) out += " ~" + name;
    }
    for (const auto& [name, bytes] : b)
        if (a.find(name) == a.end()) out += " +" + name;
    return out;
}

} // namespace vantreth::testing
