// A fault source for the file layer: counts every change the program makes to a file and
// makes the N-th one fail ("disk full"), write only half, or stop the program dead there.
#pragma once

#include "platform/journal.h"
#include "support/folder_image.h"

#include <filesystem>
#include <string>
#include <vector>

namespace vantreth::testing {

class CountingFaults final : public platform::FileFaults {
public:
    // Installs itself for as long as it lives.
    CountingFaults() { platform::SetFileFaults(this); }
    ~CountingFaults() override { platform::SetFileFaults(nullptr); }
    CountingFaults(const CountingFaults&) = delete;
    CountingFaults& operator=(const CountingFaults&) = delete;

    // The `at`-th change from now (from 1) gets the fault; the others go through.
    void Arm(long at, Kind kind) {
        m_count = 0;
        m_at = at;
        m_kind = kind;
        m_writes.clear();
        m_files.clear();
    }
    void Disarm() { Arm(0, Kind::None); }
    long count() const { return m_count; }
    // Whether change n (from 1) since the last Arm wrote bytes.
    bool WasWrite(long n) const {
        return n >= 1 && n <= static_cast<long>(m_writes.size()) && m_writes[n - 1];
    }
    // The file that change n (from 1) since the last Arm was made to.
    std::filesystem::path FileOf(long n) const { return m_files.at(static_cast<size_t>(n - 1)); }

    Fault BeforeChange(const std::filesystem::path& file, size_t bytes) override {
        ++m_count;
        m_writes.push_back(bytes > 0);
        m_files.push_back(file);
        if (m_count == m_at)
            return {m_kind, 0};
        return {};
    }

private:
    long m_count = 0;
    long m_at = 0;
    Kind m_kind = Kind::None;
    std::vector<bool> m_writes;
    std::vector<std::filesystem::path> m_files;
};

} // namespace vantreth::testing
