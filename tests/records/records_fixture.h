// A fresh temporary data folder per test, and raw byte access to its files, for the
// record format tests.
#pragma once

#include "platform/files.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>

namespace records::testing {

// Bytes from a list of byte values: Bytes({0x00, 0x00, 0x36, 0x42}).
inline std::string Bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values)
        out += static_cast<char>(v);
    return out;
}

// Readable form of bytes for failure messages: printable characters as they are,
// everything else as <hh>.
inline std::string Show(const std::string& bytes) {
    static const char* kHex = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            out += '<';
            out += kHex[c >> 4];
            out += kHex[c & 15];
            out += '>';
        }
    }
    return out;
}

class RecordsTest : public ::testing::Test {
protected:
    const platform::DataFolder& folder() const { return m_data.folder(); }
    // A file of the folder by its name relative to it ("history/history").
    platform::FilePath At(const std::filesystem::path& relative) const {
        return folder().FileAt(folder().root() / relative);
    }

    // What the disk holds, once the steps saved are written into the files.
    static std::string ReadRaw(const platform::FilePath& file) {
        if (file.engine() != nullptr)
            platform::WriteCommitted(*file.engine());
        std::ifstream in(file.path(), std::ios::binary);
        EXPECT_TRUE(in.good()) << "cannot read " << file;
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    // Any bytes, damaged ones too, as the file's whole content: through the file's engine, as
    // every change is.
    static void WriteRaw(const platform::FilePath& file, const std::string& bytes) {
        platform::ReplaceFileContent(file, bytes);
    }

    // The folder's engine, which runs no step unless a test begins one.
    platform::Engine& engine() { return m_data.engine(); }
    // The damage the folder's engine noted since the last call.
    std::vector<std::string> TakeDamageReports() { return m_data.engine().damage().Take(); }

private:
    vantreth::testing::TempDataFolder m_data;
};

} // namespace records::testing
