// Damaged sequential files read as far as they go, the damage reported once per file,
// and reading a data folder that may not be written to.
#include "platform/engine.h"
#include "platform/files.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

class SeqDamageTest : public ::testing::Test {
protected:
    // The damage the folder's engine noted since the last call.
    std::vector<std::string> TakeDamageReports() { return m_engine.damage().Take(); }
    // A file of the folder, through its engine.
    FilePath In(const char* name) { return {m_dir / name, &m_engine}; }
    // The folder may have been made read-only: it is removed with the fixture.
    void TearDown() override { fs::permissions(m_dir, fs::perms::owner_all); }
    // Any bytes, damaged ones too, through the folder's engine as every change is: as the
    // whole content, or added at the end.
    static void Write(const FilePath& file, std::string_view text, bool append = false) {
        const std::string before = append ? ReadFile(file).value_or("") : "";
        ReplaceFileContent(file, before + std::string(text));
    }
    // The names of the lines of a name and an amount, and the damage the reader noted.
    static std::vector<std::string> ReadNames(const FilePath& file,
                                              std::vector<std::string>* damage = nullptr) {
        SeqReader reader(file);
        std::vector<std::string> names;
        reader.ForEachLine(2, [&] {
            std::string name = reader.ReadText();
            reader.ReadNumber();
            names.push_back(name);
        });
        if (damage)
            *damage = reader.damage();
        return names;
    }

    vantreth::testing::TempFolder m_temp;
    const fs::path m_dir = m_temp.path();
    Engine m_engine{m_dir};
};

TEST_F(SeqDamageTest, ADamagedLineIsSkippedAndTheLinesAfterItStillRead) {
    struct Case {
        const char* what;
        std::string text;
        std::vector<std::string> names;
        std::string damagedLine; // "" for a sound file
    };
    const Case cases[] = {
        {"sound", "\"a\",1\r\n\"b\",2\r\n", {"a", "b"}, ""},
        {"cut between CR and LF", "\"a\",1\r\n\"b\",2\r", {"a", "b"}, ""},
        {"last line cut short", "\"a\",1\r\n\"b\",2\r\n\"c\",3", {"a", "b"}, "line 3:"},
        {"last line cut inside a quote", "\"a\",1\r\n\"b", {"a"}, "line 2:"},
        {"zeros after the last line", "\"a\",1\r\n\0\0\0\0"s, {"a"}, "line 2:"},
        {"unterminated quote", "\"a\",1\r\n\"b,2\r\n\"c\",3\r\n", {"a", "c"}, "line 2:"},
        {"text after a quote", "\"a\"x,1\r\n\"b\",2\r\n", {"b"}, "line 1:"},
        {"NUL inside a line", "\"a\",1\r\n\"b\0\",2\r\n\"c\",3\r\n"s, {"a", "c"}, "line 2:"},
        {"too few items", "\"a\",1\r\n\"b\"\r\n\"c\",3\r\n", {"a", "c"}, "line 2:"},
        {"too many items", "\"a\",1,9\r\n\"b\",2\r\n", {"b"}, "line 1:"},
        {"an item of the wrong kind", "\"a\",1\r\n\"b\",#2026-12-06#\r\n\"c\",3\r\n", {"a", "c"}, "line 2:"},
        {"a torn line closed by the next append", "\"a\",1\r\n\"b\r\n\"c\",3\r\n", {"a", "c"}, "line 2:"},
    };
    for (const Case& c : cases) {
        const FilePath file = In("ledger");
        Write(file, c.text);
        std::vector<std::string> damage;
        EXPECT_EQ(ReadNames(file, &damage), c.names) << c.what;
        if (c.damagedLine.empty()) {
            EXPECT_TRUE(damage.empty()) << c.what;
        } else {
            ASSERT_EQ(damage.size(), 1u) << c.what;
            EXPECT_EQ(damage[0].rfind(c.damagedLine, 0), 0u) << c.what << ": " << damage[0];
        }
    }
}

TEST_F(SeqDamageTest, EachDamagedFileIsReportedOnceUntilItChanges) {
    const FilePath torn = In("torn"), bad = In("bad"), sound = In("sound");
    Write(torn, "\"a\",1\r\n\"b\",2");
    Write(bad, "\"a\r\n\"b\",2\r\n");
    Write(sound, "\"a\",1\r\n");
    for (int keystroke = 0; keystroke < 3; ++keystroke)
        for (const FilePath& file : {torn, bad, sound})
            ReadNames(file);
    const std::vector<std::string> reports = TakeDamageReports();
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_NE(reports[0].find(torn.string()), std::string::npos) << reports[0];
    EXPECT_NE(reports[1].find(bad.string()), std::string::npos) << reports[1];

    ReadNames(torn);
    EXPECT_TRUE(TakeDamageReports().empty()) << "already reported";

    Write(torn, "\r\n\"c\",3\r\n\"d", true); // written to again, still damaged
    ReadNames(torn);
    EXPECT_EQ(TakeDamageReports().size(), 1u);
}

TEST_F(SeqDamageTest, ReadingAReadOnlyFolderNeedsNoWriteAndCreatesNothing) {
    Write(In("rooms"), "abcdefgh");
    Write(In("tax"), "0.08\r\n");
    const auto countFiles = [&] {
        size_t files = 0;
        for (const fs::directory_entry& entry : fs::directory_iterator(m_dir))
            files += entry.is_regular_file() ? 1 : 0;
        return files;
    };
    const size_t before = countFiles(); // the two, and the engine's own
    const vantreth::testing::Unwritable roomsFile(m_dir / "rooms"), taxFile(m_dir / "tax"), folder(m_dir);
    if (!folder.refused())
        GTEST_SKIP() << "nothing here refuses root a write";

    const RandomFile rooms(In("rooms"), 4);
    EXPECT_EQ(rooms.RecordCount(), 2);
    EXPECT_EQ(rooms.Get(2), "efgh");
    const RandomFile intro(In("intro"), 10);
    EXPECT_EQ(intro.Lof(), 0);
    EXPECT_EQ(intro.Get(1, 4), std::string(4, '\0'));
    SeqReader tax(In("tax"));
    EXPECT_EQ(tax.ReadNumber(), 0.08);
    EXPECT_THROW(SeqReader(In("dayofweek")), IoError);

    EXPECT_EQ(countFiles(), before) << "reading made a file";
}

} // namespace
} // namespace platform
