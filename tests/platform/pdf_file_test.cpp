// A report's PDF file: complete or not, saved whole or not at all, and what an unsaved one
// leaves for the start to clear.
#include "platform/folder_lock.h"
#include "platform/pdf_file.h"
#include "platform/printer.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <sys/resource.h>
#include <vector>

namespace platform {
namespace {

TEST(PdfCheckTest, IsCompletePdfWantsHeaderAndTrailer) {
    using namespace std::string_literals;
    struct Case {
        std::string bytes;
        bool complete;
    };
    const Case cases[] = {
        {"%PDF-1.4\n1 0 obj\nendobj\n%%EOF", true},
        {"%PDF-1.4\n%%EOF\n", true},
        {"%PDF-1.4\n%%EOF\r\n  \t\n", true},
        {"%PDF-1.4\n1 0 obj\nendobj\n", false}, // cut short before the trailer
        {"%PDF-1.4\n%%EO", false},              // cut inside it
        {"%PDF-1.4\n%%EOF\n1 0 obj", false},    // something after it
        {"%PDF-1.4\n%%EOF\0\0\0\0"s, false},    // a zero-filled tail
        {"1 0 obj\n%%EOF", false},              // no header
        {"%PDF-%%EOF", true},
        {"", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsCompletePdf(c.bytes), c.complete) << "\"" << c.bytes << "\"";
}

class PdfFileTest : public ::testing::Test {
protected:
    vantreth::testing::TempFolder m_temp;
    const std::filesystem::path m_dir = m_temp.path();
};

// Lets a test write no more than `bytes` bytes to any file, as a full disk would.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        m_oldSignal = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldSignal);
    }

private:
    rlimit m_old{};
    void (*m_oldSignal)(int) = nullptr;
};

TEST_F(PdfFileTest, SavedWholeOrNotAtAll) {
    const std::string document = "%PDF-1.4\n" + std::string(5000, 'x') + "\n%%EOF\n";
    struct Case {
        const char* what;
        std::string bytes;
        std::function<void(const std::filesystem::path&)> before; // may be empty
        rlim_t sizeLimit;                                         // 0 = none
        bool saved;
    };
    const Case cases[] = {
        {"a whole document", document, nullptr, 0, true},
        {"an unfinished document", document.substr(0, 3000), nullptr, 0, false},
        {"a disk that fills up", document, nullptr, 4096, false},
        {"a folder that is gone", document,
         [](const std::filesystem::path& file) { std::filesystem::remove_all(file.parent_path()); }, 0,
         false},
        {"a folder in the way", document,
         [](const std::filesystem::path& file) { std::filesystem::create_directories(file / "x"); }, 0,
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::filesystem::path folder = m_dir / "print";
        std::filesystem::create_directories(folder);
        const std::filesystem::path file = folder / "report-1.pdf";
        if (c.before)
            c.before(file);
        const bool folderInTheWay = std::filesystem::is_directory(file);
        bool threw = false;
        {
            std::unique_ptr<FileSizeLimit> limit;
            if (c.sizeLimit != 0)
                limit = std::make_unique<FileSizeLimit>(c.sizeLimit);
            try {
                SavePdfFile(file, c.bytes);
            } catch (const PrintError& e) {
                threw = true;
                EXPECT_NE(std::string(e.what()).find(file.string()), std::string::npos) << e.what();
            }
        }
        EXPECT_EQ(threw, !c.saved);
        if (c.saved) {
            std::ifstream in(file, std::ios::binary);
            EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()),
                      c.bytes);
        } else {
            EXPECT_EQ(std::filesystem::is_regular_file(file), false);
            EXPECT_EQ(std::filesystem::is_directory(file), folderInTheWay);
        }
        // No temporary file is left behind either way.
        if (std::filesystem::exists(folder)) {
            for (const auto& entry : std::filesystem::directory_iterator(folder))
                EXPECT_EQ(entry.path(), file) << "left behind";
        }
        std::filesystem::remove_all(folder);
    }
}

// A PDF whose step was never saved (the program was killed first) is a temporary the start
// clears, whatever its random part: one of only one kind of character too.
TEST_F(PdfFileTest, AnUnsavedPdfIsClearedByTheStart) {
    const std::filesystem::path folder = m_dir / "print";
    std::filesystem::create_directories(folder);
    const std::string file = "report-20261207-200000-1.pdf";
    StagedPdf staged(folder / file, "%PDF-1.4\n%%EOF\n");
    std::vector<std::filesystem::path> left;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        ASSERT_EQ(name.rfind(file + ".", 0), 0u) << name;
        // The same name with a random part of lower-case letters only.
        const std::filesystem::path plain = folder / (file + ".aaaaaa" + name.substr(file.size() + 7));
        std::filesystem::copy_file(entry.path(), plain);
        left = {entry.path(), plain};
    }
    std::vector<std::filesystem::path> removed = RemoveInterruptedSaves(m_dir, {"print"});
    std::sort(removed.begin(), removed.end());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(removed, left);
}
} // namespace
} // namespace platform
