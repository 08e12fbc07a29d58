// What the night audit report tests share: a fresh data folder and a capturing printer.
#pragma once

#include "platform/files.h"
#include "platform/printer.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace printing::testing {

class NightAuditTest : public ::testing::Test {
protected:
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
    vantreth::testing::TempDataFolder m_data;

protected:
    const platform::DataFolder& data = m_data.folder();
    platform::CapturePrinter device;
    platform::Printer printer{device};
};

inline std::string Dashes(int n) {
    return std::string(static_cast<size_t>(n), '-');
}

// The text blank-padded to `width` characters: the next item then starts at column width + 1.
inline std::string Pad(const std::string& s, size_t width) {
    return s + std::string(width - s.size(), ' ');
}

} // namespace printing::testing
