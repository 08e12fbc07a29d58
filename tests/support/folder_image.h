// A folder's files and their bytes, for checking that a step changed exactly what it should
// (or nothing at all).
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

namespace vantreth::testing {

// Every regular file under the folder, by its path relative to it, with its bytes; the
// program's own files (its journal, the folder's id and lock, the calls it keeps until they
// are posted) are no data and left out.
using FolderImage = std::map<std::string, std::string>;

enum class EmptyFiles {
    Kept,
    // Left out of the image: reading a record file that is not there creates it empty, as
    // every reader of the program does, and such a file is no change.
    LeftOut,
};

inline FolderImage ImageOf(const std::filesystem::path& root, EmptyFiles empty = EmptyFiles::Kept) {
    FolderImage image;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file() || (empty == EmptyFiles::LeftOut && entry.file_size() == 0))
            continue;
        const std::string name = entry.path().lexically_relative(root).string();
        if (name == "journal" || name == "folder-id" || name == "lock" || name == "journal.unsure" ||
            name == "journal.untold" || name == "calls-received")
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        image[entry.path().lexically_relative(root).string()] =
            std::string(std::istreambuf_iterator<char>(in), {});
    }
    return image;
}

// The names that differ between two images, for a failure message: " -name" only in a,
// " ~name" in both with other bytes, " +name" only in b.
inline std::string Differences(const FolderImage& a, const FolderImage& b) {
    std::string out;
    for (const auto& [name, bytes] : a) {
        auto other = b.find(name);
        if (other == b.end())
            out += " -" + name;
        else if (other->second != bytes)
            out += " ~" + name;
    }
    for (const auto& [name, bytes] : b)
        if (a.find(name) == a.end())
            out += " +" + name;
    return out;
}

} // namespace vantreth::testing
