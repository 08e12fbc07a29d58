// What the night audit report tests share: a fresh data folder and a capturing printer.
#pragma once

#include "platform/files.h"
#include "platform/printer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace printing::testing {

class NightAuditTest : public ::testing::Test {
protected:
    NightAuditTest() { data.EnsureLayout(); }
    ~NightAuditTest() override {
        std::error_code ignored;
        std::filesystem::remove_all(m_root, ignored);
    }

    // The printed lines of each document printed so far, and forgets them.
    std::vector<std::vector<std::string>> TakeDocuments() {
        std::vector<std::vector<std::string>> documents;
        for (const platform::PrintJob& job : device.TakeJobs()) {
            std::vector<std::string> lines;
            for (const platform::PrintedPage& page : job.pages)
                for (const platform::PrintedLine& line : page.lines)
                    lines.push_back(line.text);
            documents.push_back(lines);
        }
        return documents;
    }
    std::vector<std::string> TakeOneDocument() {
        auto documents = TakeDocuments();
        EXPECT_EQ(documents.size(), 1u);
        return documents.empty() ? std::vector<std::string>{} : documents.front();
    }

private:
    static std::filesystem::path MakeTempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "vantreth-audit-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("cannot make a temporary folder");
        return pattern;
    }
    std::filesystem::path m_root = MakeTempFolder();

protected:
    platform::DataFolder data{m_root};
    platform::CapturePrinter device;
    platform::Printer printer{device};
};

inline std::string Dashes(int n) {
    return std::string(static_cast<size_t>(n), '-');
}

} // namespace printing::testing
