// Tests of the data folder, record files, record images and sequential files, each on
// a fresh temporary folder.
#include "platform/engine.h"
#include "platform/files.h"
#include "support/file_faults.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <optional>
#include <sstream>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

namespace fs = std::filesystem;

// A file of no open folder: read and changed on the disk as it stands.
FilePath Out(fs::path file) {
    return FilePath::Outside(std::move(file));
}

class FilesTest : public ::testing::Test {
protected:
    std::string Content(const fs::path& file) const {
        std::ifstream in(file, std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }
    void SetContent(const fs::path& file, std::string_view text) const {
        std::ofstream(file, std::ios::binary) << text;
    }
    static unsigned Mode(const fs::path& p) {
        struct stat st;
        return ::stat(p.c_str(), &st) == 0 ? st.st_mode & 0777 : 0;
    }

    vantreth::testing::TempFolder m_temp;
    const fs::path m_dir = m_temp.path();
};

// ---- data folder ----

TEST(DataFolderTest, SafeNameCannotMakeAPath) {
    struct Case {
        const char* name;
        const char* expected;
    };
    const Case cases[] = {
        {"12626", "12626"},     {"101 SMITH   ", "101 SMITH"},
        {"a/b", "a_b"},         {"..\\x", ".._x"},
        {"../etc", ".._etc"},   {"", "_"},
        {"   ", "_"},           {".", "_"},
        {"..", "__"},           {"tab\there", "tab_here"},
        {"del\x7F", "del_"},    {"  lead", "  lead"},
        {"caf\xE9", "caf\xE9"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DataFolder::SafeName(c.name), c.expected) << "\"" << c.name << "\"";
}

TEST(DataFolderTest, FileNamesStayInsideTheFolder) {
    DataFolder folder("/data", nullptr);
    EXPECT_EQ(folder.File("rooms"), fs::path("/data/rooms"));
    EXPECT_EQ(folder.File("sleepers", "12626"), fs::path("/data/sleepers/12626"));
    EXPECT_EQ(folder.File(".."), fs::path("/data/__"));
    EXPECT_EQ(folder.File("history", "../../etc/passwd"), fs::path("/data/history/.._.._etc_passwd"));
    EXPECT_EQ(folder.File("../x", "y "), fs::path("/data/.._x/y"));
}

TEST(DataFolderTest, DefaultRootFollowsTheEnvironment) {
    auto keep = [](const char* name) {
        const char* v = std::getenv(name);
        return v ? std::optional<std::string>(v) : std::nullopt;
    };
    auto data = keep("VANTRETH_DATA"), xdg = keep("XDG_DATA_HOME"), home = keep("HOME");

    ::setenv("VANTRETH_DATA", "/srv/motel", 1);
    ::setenv("XDG_DATA_HOME", "/xdg", 1);
    ::setenv("HOME", "/home/clerk", 1);
    EXPECT_EQ(DataFolder::DefaultRoot(), fs::path("/srv/motel"));
    ::setenv("VANTRETH_DATA", "", 1);
    EXPECT_EQ(DataFolder::DefaultRoot(), fs::path("/xdg/vantreth"));
    ::unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(DataFolder::DefaultRoot(), fs::path("/home/clerk/.local/share/vantreth"));

    auto restore = [](const char* name, const std::optional<std::string>& v) {
        v ? ::setenv(name, v->c_str(), 1) : ::unsetenv(name);
    };
    restore("VANTRETH_DATA", data);
    restore("XDG_DATA_HOME", xdg);
    restore("HOME", home);
}

TEST_F(FilesTest, EnsureLayoutCreatesOwnerOnlyFolders) {
    const std::vector<std::string> subfolders = {"sleepers", "history", "reservationstoday"};
    DataFolder folder(m_dir / "new" / "vantreth", nullptr);
    folder.EnsureLayout(subfolders);
    EXPECT_EQ(Mode(folder.root()), 0700u);
    for (const std::string& sub : subfolders) {
        EXPECT_TRUE(fs::is_directory(folder.root() / sub)) << sub;
        EXPECT_EQ(Mode(folder.root() / sub), 0700u) << sub;
    }
    EXPECT_TRUE(fs::is_directory(folder.root() / "sleepers"));
    EXPECT_TRUE(fs::is_directory(folder.root() / "reservationstoday"));
    // A second call finds everything in place.
    EXPECT_NO_THROW(folder.EnsureLayout(subfolders));
}

// A folder made before (by hand, or copied in) with a wider mode is made owner-only by a start
// that may write it; one that stays wider is told, with why, and a start that only looks
// changes no mode.
TEST_F(FilesTest, KeepOwnerOnlyNarrowsWhatItMayAndTellsTheRest) {
    struct Case {
        const char* name;
        unsigned rootMode;
        unsigned subMode;
        bool mayChange;
        bool otherOwner;
        unsigned rootAfter;
        unsigned subAfter;
        const char* told; // part of the message; "" for none
    };
    const Case cases[] = {
        {"made 0755 before", 0755, 0755, true, false, 0700, 0700, ""},
        {"only a sub-folder wider", 0700, 0770, true, false, 0700, 0700, ""},
        {"owner-only already", 0700, 0700, true, false, 0700, 0700, ""},
        {"a start that only looks", 0755, 0755, false, false, 0755, 0755,
         "(mode 0755: the folder is open only to be looked at) and 2 folder(s) more"},
        {"looks only, only a sub-folder wider", 0700, 0750, false, false, 0700, 0750,
         "history (mode 0750: the folder is open only to be looked at) and 1 folder(s) more"},
        {"another user's folder", 0755, 0700, true, true, 0755, 0700,
         "(mode 0755: it belongs to another user)."},
    };
    const std::vector<std::string> subfolders = {"history", "print", "not-made"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DataFolder folder(m_dir / c.name, nullptr);
        folder.EnsureLayout({"history", "print"});
        ASSERT_EQ(::chmod(folder.root().c_str(), c.rootMode), 0);
        for (const char* sub : {"history", "print"})
            ASSERT_EQ(::chmod((folder.root() / sub).c_str(), c.subMode), 0);
        if (c.otherOwner && ::chown(folder.root().c_str(), 4242, 4242) != 0)
            GTEST_SKIP() << "the folder cannot be given to another user here";
        const std::string told = folder.KeepOwnerOnly(subfolders, c.mayChange);
        EXPECT_EQ(Mode(folder.root()), c.rootAfter);
        EXPECT_EQ(Mode(folder.root() / "history"), c.subAfter);
        EXPECT_EQ(Mode(folder.root() / "print"), c.subAfter);
        EXPECT_FALSE(fs::exists(folder.root() / "not-made"));
        if (*c.told == '\0') {
            EXPECT_EQ(told, "");
        } else {
            EXPECT_NE(told.find(c.told), std::string::npos) << told;
            EXPECT_NE(told.find("chmod -R go-rwx " + folder.root().string()), std::string::npos) << told;
        }
    }
}

TEST_F(FilesTest, EnsureLayoutReportsAFileInTheWay) {
    SetContent(m_dir / "history", "x");
    DataFolder folder(m_dir, nullptr);
    try {
        folder.EnsureLayout({"sleepers", "history"});
        FAIL() << "no error";
    } catch (const IoError& e) {
        EXPECT_EQ(e.file(), m_dir / "history");
        EXPECT_EQ(e.reason(), "Not a directory");
    }
}

TEST_F(FilesTest, IoErrorNamesFileAndReason) {
    IoError e(m_dir / "rooms", "Disk full");
    EXPECT_EQ(std::string(e.what()), (m_dir / "rooms").string() + ": Disk full");
    EXPECT_EQ(e.reason(), "Disk full");
}

TEST_F(FilesTest, DeleteFileRemovesAndToleratesMissing) {
    SetContent(m_dir / "x", "1");
    EXPECT_TRUE(FileExists(Out(m_dir / "x")));
    DeleteFile(Out(m_dir / "x"));
    EXPECT_FALSE(FileExists(Out(m_dir / "x")));
    EXPECT_NO_THROW(DeleteFile(Out(m_dir / "x")));
    EXPECT_FALSE(FileExists(Out(m_dir))); // a folder is not a file
    fs::create_directory(m_dir / "sub");
    EXPECT_THROW(DeleteFile(Out(m_dir / "sub")), IoError);
}

TEST_F(FilesTest, ReplaceFileContentLeavesNoTemporaryBehind) {
    ReplaceFileContent(Out(m_dir / "f"), "first");
    ReplaceFileContent(Out(m_dir / "f"), "second");
    EXPECT_EQ(Content(m_dir / "f"), "second");
    EXPECT_EQ(Mode(m_dir / "f"), 0600u);
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 1);
    EXPECT_THROW(ReplaceFileContent(Out(m_dir / "none" / "f"), "x"), IoError);
}

// ---- random-access files ----

TEST_F(FilesTest, RandomFileReadsAMissingFileAsEmptyAndOnlyPutMakesIt) {
    RandomFile file(Out(m_dir / "rooms"), 10);
    EXPECT_EQ(file.Lof(), 0);
    EXPECT_EQ(file.RecordCount(), 0);
    EXPECT_EQ(file.Get(1), std::string(10, '\0'));
    EXPECT_FALSE(FileExists(Out(m_dir / "rooms")));
    file.Put(1, "x");
    EXPECT_EQ(Mode(m_dir / "rooms"), 0600u);
    EXPECT_EQ(file.Lof(), 1);
}

TEST_F(FilesTest, RandomFileInMissingFolderThrowsOnReading) {
    RandomFile file(Out(m_dir / "nofolder" / "rooms"), 10);
    for (auto read : {+[](const RandomFile& f) { f.Lof(); }, +[](const RandomFile& f) { f.Get(1); }}) {
        try {
            read(file);
            ADD_FAILURE() << "no error";
        } catch (const IoError& e) {
            EXPECT_EQ(e.reason(), "No such file or directory");
            EXPECT_EQ(e.file(), m_dir / "nofolder" / "rooms");
        }
    }
    EXPECT_FALSE(fs::exists(m_dir / "nofolder"));
}

TEST_F(FilesTest, PutAndGetAreByteExact) {
    RandomFile file(Out(m_dir / "guests"), 8);
    std::string record("AB\0\xFF\r\n z", 8);
    file.Put(1, record);
    file.Put(2, "12345678");
    EXPECT_EQ(file.Get(1), record);
    EXPECT_EQ(file.Get(2), "12345678");
    EXPECT_EQ(file.Get(2, 3), "123");
    EXPECT_EQ(Content(m_dir / "guests"), record + "12345678");
    EXPECT_EQ(file.RecordCount(), 2);
}

TEST_F(FilesTest, PutBeyondTheEndGrowsTheFileWithZeros) {
    RandomFile file(Out(m_dir / "rooms"), 4);
    file.Put(3, "abcd");
    EXPECT_EQ(file.Lof(), 12);
    EXPECT_EQ(file.RecordCount(), 3);
    EXPECT_EQ(file.Get(1), std::string(4, '\0'));
    EXPECT_EQ(file.Get(3), "abcd");
    EXPECT_EQ(Content(m_dir / "rooms"), std::string(8, '\0') + "abcd");
}

TEST_F(FilesTest, PutWritesOnlyTheGivenBytes) {
    RandomFile file(Out(m_dir / "rooms"), 6);
    file.Put(1, "aaaaaa");
    file.Put(2, "bbbbbb");
    file.Put(1, "XY");
    EXPECT_EQ(Content(m_dir / "rooms"), "XYaaaabbbbbb");
    file.Put(2, "12345678"); // longer than a record: runs on past its end
    EXPECT_EQ(Content(m_dir / "rooms"), "XYaaaa12345678");
}

TEST_F(FilesTest, GetPastTheEndReadsZeros) {
    RandomFile file(Out(m_dir / "rooms"), 4);
    file.Put(1, "abcd");
    file.Put(2, "ef");
    EXPECT_EQ(file.Get(2), std::string("ef\0\0", 4));
    EXPECT_EQ(file.Get(7), std::string(4, '\0'));
    EXPECT_EQ(file.Get(1, 10), std::string("abcdef\0\0\0\0", 10));
    EXPECT_EQ(file.Lof(), 6);
    EXPECT_EQ(file.RecordCount(), 1); // a part record does not count
}

TEST_F(FilesTest, RecordNumberBelowOneThrows) {
    RandomFile file(Out(m_dir / "rooms"), 4);
    EXPECT_THROW(file.Get(0), IoError);
    EXPECT_THROW(file.Put(-1, "x"), IoError);
    EXPECT_EQ(file.Lof(), 0);
}

TEST_F(FilesTest, RandomFileKeepsExistingContent) {
    SetContent(m_dir / "rooms", "0123456789");
    RandomFile file(Out(m_dir / "rooms"), 5);
    EXPECT_EQ(file.RecordCount(), 2);
    EXPECT_EQ(file.Get(2), "56789");
}

// An open file read whole: from where the descriptor stands, or from an offset without moving
// it (a file just written, read back), over more than one read's worth of bytes.
TEST_F(FilesTest, ReadAllReadsFromThePositionOrFromAnOffset) {
    std::string bytes(150000, '\0');
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>('a' + i % 26);
    SetContent(m_dir / "report.pdf", bytes);
    struct Case {
        long long from; // -1: from the descriptor's position
        std::string read;
    };
    const Case cases[] = {{0, bytes}, {70000, bytes.substr(70000)}, {150000, ""}, {-1, bytes.substr(10)}};
    const fileops::Fd fd(::open((m_dir / "report.pdf").c_str(), O_RDONLY | O_CLOEXEC));
    ASSERT_GE(fd.get(), 0);
    ASSERT_EQ(::lseek(fd.get(), 10, SEEK_SET), 10);
    for (const Case& c : cases)
        EXPECT_TRUE(fileops::ReadAll(m_dir / "report.pdf", fd.get(), c.from) == c.read) << c.from;
}

// ---- record images ----

TEST(RecordBufferTest, TextFieldsAreCutOrBlankPadded) {
    RecordBuffer record(12);
    record.SetText(0, 5, "ab");
    record.SetText(5, 3, "abcdef");
    EXPECT_EQ(record.bytes(), "ab   abc    ");
    EXPECT_EQ(record.Text(0, 5), "ab   ");
    EXPECT_EQ(record.Text(5, 3), "abc");

    RecordBuffer raw(std::string("a\0c", 3));
    EXPECT_EQ(raw.Text(0, 3), std::string("a\0c", 3));
}

TEST(RecordBufferTest, SinglesAreFourLittleEndianBytes) {
    RecordBuffer record(8);
    record.SetSingle(2, 1.0f);
    EXPECT_EQ(record.bytes(), std::string("  \x00\x00\x80\x3F  ", 8));
    record.SetSingle(2, -2.5f);
    EXPECT_EQ(record.Single(2), -2.5f);
    RecordBuffer stored(std::string("\xCD\xCC\x8C\x3F", 4)); // 1.1
    EXPECT_EQ(stored.Single(0), 1.1f);
}

TEST(RecordBufferTest, FieldsPastTheEndAreRefused) {
    RecordBuffer record(6);
    EXPECT_THROW(record.Text(4, 3), std::out_of_range);
    EXPECT_THROW(record.SetText(6, 1, "x"), std::out_of_range);
    EXPECT_THROW(record.Single(3), std::out_of_range);
    EXPECT_THROW(record.SetSingle(5, 1.0f), std::out_of_range);
    EXPECT_EQ(record.bytes(), "      ");
}

// ---- sequential files ----

TEST(SeqLineTest, ItemsAreWrittenInFileForm) {
    SeqLine line;
    line.Text("101")
        .Text("SMITH   ")
        .Number(12.5f)
        .Number(-3)
        .Number(0.08f)
        .Number(0.1)
        .DateLit({2026, 12, 6})
        .TimeLit({15, 45, 12});
    EXPECT_EQ(line.str(), "\"101\",\"SMITH   \",12.5,-3,0.08,0.1,#2026-12-06#,#15:45:12#");
    EXPECT_EQ(SeqLine().Text("say \"hi\"\r\nnow").str(), "\"say 'hi'  now\"");
    EXPECT_EQ(SeqLine().Text("").Text("").str(), "\"\",\"\"");
    EXPECT_EQ(SeqLine().DateLit({2007, 1, 5}).TimeLit({0, 0, 5}).str(), "#2007-01-05#,#00:00:05#");
}

TEST(SeqParseTest, ItemsAreReadBackByKind) {
    auto items = ParseSeqText("\"a, b\",12.5, -3 ,#2026-12-06#,#15:45:12#,word\r\n\"x\"\n7\r");
    ASSERT_EQ(items.size(), 8u);
    EXPECT_EQ(items[0].kind, SeqItem::Kind::Text);
    EXPECT_EQ(items[0].text, "a, b");
    EXPECT_EQ(items[1].kind, SeqItem::Kind::Number);
    EXPECT_EQ(items[1].number, 12.5);
    EXPECT_EQ(items[2].kind, SeqItem::Kind::Number);
    EXPECT_EQ(items[2].number, -3);
    EXPECT_EQ(items[2].text, "-3");
    EXPECT_EQ(items[3].kind, SeqItem::Kind::Date);
    EXPECT_EQ(items[3].date, (Date{2026, 12, 6}));
    EXPECT_EQ(items[4].kind, SeqItem::Kind::Time);
    EXPECT_EQ(items[4].time, (TimeOfDay{15, 45, 12}));
    EXPECT_EQ(items[5].kind, SeqItem::Kind::Text);
    EXPECT_EQ(items[5].text, "word");
    EXPECT_EQ(items[6].text, "x");
    EXPECT_EQ(items[7].number, 7);
}

TEST(SeqParseTest, EmptyLinesAndFieldsReadAsEmptyText) {
    auto items = ParseSeqText("1\r\n\r\n2,,3\r\n");
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items[1].kind, SeqItem::Kind::Text);
    EXPECT_EQ(items[1].text, "");
    EXPECT_EQ(items[3].kind, SeqItem::Kind::Text);
    EXPECT_EQ(items[3].text, "");
    EXPECT_EQ(items[4].number, 3);
    EXPECT_TRUE(ParseSeqText("").empty());
}

TEST(SeqParseTest, OddItemsStayText) {
    auto items = ParseSeqText("#2026-02-30#,#junk#,12abc,1e5\r\n");
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0].kind, SeqItem::Kind::Text);
    EXPECT_EQ(items[0].text, "#2026-02-30#");
    EXPECT_EQ(items[1].kind, SeqItem::Kind::Text);
    EXPECT_EQ(items[2].kind, SeqItem::Kind::Text);
    EXPECT_EQ(items[3].kind, SeqItem::Kind::Number);
    EXPECT_EQ(items[3].number, 100000);
}

TEST_F(FilesTest, SequentialLinesRoundTrip) {
    const FilePath file = Out(m_dir / "detail");
    AppendLine(file, SeqLine().Text("101").Text("JONES, \"BOB\"\r\n").Number(55.55f * 3).Number(0.1f));
    AppendLine(file, SeqLine().DateLit({2026, 12, 6}).TimeLit({0, 0, 5}).Number(42).Number(1.0 / 3));
    EXPECT_EQ(Mode(file.path()), 0600u);

    SeqReader in(file);
    EXPECT_EQ(in.ReadText(), "101");
    EXPECT_EQ(in.ReadText(), "JONES, 'BOB'  ");
    EXPECT_EQ(static_cast<float>(in.ReadNumber()), 55.55f * 3);
    EXPECT_EQ(static_cast<float>(in.ReadNumber()), 0.1f);
    EXPECT_EQ(in.ReadText(), "12/6/26");
    EXPECT_EQ(in.ReadText(), "12:00:05 AM");
    EXPECT_EQ(in.ReadNumber(), 42);
    EXPECT_EQ(in.ReadNumber(), 0.333333333333333); // written with 15 significant digits
    EXPECT_TRUE(in.Eof());
    try {
        in.ReadText();
        FAIL() << "no error";
    } catch (const IoError& e) {
        EXPECT_EQ(e.reason(), "Input past end of file");
    }
}

TEST_F(FilesTest, ReaderConvertsBetweenTextAndNumbers) {
    const FilePath file = Out(m_dir / "totals");
    SetContent(file.path(), "\" 12.50 \",0.08,.25,#2026-12-06#\r\n");
    SeqReader in(file);
    EXPECT_EQ(in.ReadNumber(), 12.5);       // a text read as a number is its Val
    EXPECT_EQ(in.ReadText(), "0.08");       // a number read as text is the text written
    EXPECT_EQ(in.ReadNumber(), 0.25);       // a number without the leading 0
    EXPECT_THROW(in.ReadNumber(), IoError); // a date is no number
}

TEST_F(FilesTest, AppendAddsAndWriteLinesReplaces) {
    const FilePath file = Out(m_dir / "notes");
    AppendLines(file, {SeqLine().Text("a"), SeqLine().Text("b")});
    AppendLine(file, SeqLine().Number(1));
    EXPECT_EQ(Content(file.path()), "\"a\"\r\n\"b\"\r\n1\r\n");
    WriteLines(file, {SeqLine().Text("c")});
    EXPECT_EQ(Content(file.path()), "\"c\"\r\n");
    WriteLines(file, {});
    EXPECT_EQ(Content(file.path()), "");
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 1);
}

TEST_F(FilesTest, SequentialFileErrorsAreReported) {
    try {
        SeqReader in(Out(m_dir / "missing"));
        FAIL() << "no error";
    } catch (const IoError& e) {
        EXPECT_EQ(e.reason(), "File not found");
        EXPECT_EQ(e.file(), m_dir / "missing");
    }
    EXPECT_THROW(AppendLine(Out(m_dir / "no" / "file"), SeqLine().Number(1)), IoError);
    EXPECT_THROW(WriteLines(Out(m_dir / "no" / "file"), {SeqLine().Number(1)}), IoError);
    EXPECT_FALSE(fs::exists(m_dir / "no"));
}

// A change to a file of an open folder made while no step runs is a step of its own through the
// folder's engine: journaled and flushed as every step is, so that it outlives a power cut that
// comes before the files themselves were flushed. A file of no open folder is changed on the
// disk at once, and no engine hears of it.
// A step that read a name first and then changes it is refused at the change, before it is
// saved, where the name cannot take the change: a link (to a file, or to nothing), a folder, a
// name in a folder that is not there. What the step read is no licence to write.
TEST(StepChangeTest, ANameThatCannotTakeTheChangeIsRefusedBeforeTheStepIsSaved) {
    const std::pair<const char*, std::function<void(const fs::path& root)>> cases[] = {
        {"a link to a file",
         [](const fs::path& root) {
             std::ofstream(root / "target") << "not the program's";
             fs::create_symlink(root / "target", root / "name");
         }},
        {"a link to nothing",
         [](const fs::path& root) { fs::create_symlink(root / "nowhere", root / "name"); }},
        {"a folder", [](const fs::path& root) { fs::create_directory(root / "name"); }},
    };
    for (const auto& [what, make] : cases) {
        vantreth::testing::TempFolder temp;
        make(temp.path());
        Engine engine(temp.path());
        engine.Recover();
        Transaction step(engine, "saving");
        const FilePath name(temp.path() / "name", &engine);
        try {
            (void)FileSize(name);
        } catch (const IoError&) {
            // a folder does not read as a file
        }
        EXPECT_THROW(ReplaceFileContent(name, "data"), IoError) << what;
        EXPECT_THROW(ReplaceFileContent(FilePath(temp.path() / "gone" / "name", &engine), "data"), IoError)
            << what << ": in a folder that is not there";
        step.Commit();
        EXPECT_TRUE(fs::is_symlink(temp.path() / "name") || fs::is_directory(temp.path() / "name")) << what;
    }
}

TEST(ChangeOutsideAStepTest, IsJournaledByTheFoldersEngine) {
    struct Case {
        const char* what;
        std::function<void(const FilePath&)> change;
        std::optional<std::string> after; // nullopt: the file is gone
    };
    const Case cases[] = {
        {"a record", [](const FilePath& f) { RandomFile(f, 4).Put(2, "abcd"); },
         "old\rabcd"}, // record 2 over the old content
        {"lines",
         [](const FilePath& f) {
             AppendLines(f, {SeqLine().Text("a"), SeqLine().Number(1)});
         },
         "old\r\n\"a\"\r\n1\r\n"},
        {"the whole content", [](const FilePath& f) { ReplaceFileContent(f, "whole"); }, "whole"},
        {"a delete", [](const FilePath& f) { DeleteFile(f); }, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        vantreth::testing::TempFolder folder;
        const fs::path root = folder.path();
        vantreth::testing::CountingFaults faults;
        faults.TrackFlushes(true);
        Engine engine(root, &faults);
        engine.Recover();
        const FilePath file(root / "file", &engine);
        {
            Transaction step(engine, "the file as it was");
            ReplaceFileContent(file, "old\r\n");
            step.Commit();
        }
        engine.Checkpoint(); // the file as it was is on the disk for sure
        const long long journalBefore = engine.size();

        c.change(file);
        EXPECT_EQ(engine.step(), nullptr);
        EXPECT_GT(engine.size(), journalBefore) << "not journaled";
        EXPECT_EQ(ReadFile(file), c.after) << "not in the file at once";

        faults.LoseUnflushed(); // the power goes before the file is flushed
        Engine next(root);
        next.Recover();
        EXPECT_EQ(ReadFile(FilePath(root / "file", &next)), c.after) << "lost with the power";
    }

    vantreth::testing::TempFolder folder;
    Engine engine(folder.path());
    engine.Recover();
    const long long journalBefore = engine.size();
    const FilePath outside = FilePath::Outside(folder.path() / "plain");
    ReplaceFileContent(outside, "as it stands");
    RandomFile(outside, 4).Put(5, "tail");
    AppendLine(outside, SeqLine().Text("x"));
    EXPECT_EQ(fileops::ReadWhole(outside.path()),
              "as it stands" + std::string(4, '\0') + "tail\r\n\"x\"\r\n");
    DeleteFile(outside);
    EXPECT_FALSE(fs::exists(outside.path()));
    EXPECT_EQ(engine.size(), journalBefore) << "a file of no open folder went through an engine";
}

// A change outside a step that the engine does not take (a folder only looked at, a journal
// that cannot be written) is thrown, and nothing of it reaches the file.
TEST(ChangeOutsideAStepTest, RefusedByTheEngineChangesNothing) {
    struct JournalFull final : FileFaults {
        Fault BeforeChange(const fs::path& file, size_t) override {
            return file.filename() == kJournalName ? Fault{Kind::Fail, ENOSPC} : Fault{};
        }
    };
    for (const bool readOnly : {true, false}) {
        SCOPED_TRACE(readOnly ? "a folder only looked at" : "the journal full");
        vantreth::testing::TempFolder folder;
        JournalFull full;
        Engine engine(folder.path());
        if (readOnly) {
            engine.SetReadOnly("another copy of the program has the folder");
        } else {
            engine.Recover();
            engine.SetFaults(&full);
        }
        const FilePath file(folder.path() / "file", &engine);
        EXPECT_THROW(ReplaceFileContent(file, "whole"), IoError);
        EXPECT_THROW(RandomFile(file, 4).Put(1, "abcd"), IoError);
        EXPECT_THROW(AppendLine(file, SeqLine().Text("a")), IoError);
        EXPECT_FALSE(fs::exists(file.path()));
        engine.SetFaults(nullptr);
    }
}

} // namespace
} // namespace platform

namespace platform {
namespace {

// A name already in its normal form is taken as it is; any other is made normal, as
// lexically_normal makes it.
TEST(PathTest, NormalPathIsTheLexicallyNormalForm) {
    const char* const paths[] = {"/srv/motel/rooms",
                                 "/srv/motel/sleepers/12626",
                                 "rooms",
                                 "/",
                                 "",
                                 ".",
                                 "..",
                                 "/srv//motel/rooms",
                                 "/srv/motel/./rooms",
                                 "/srv/motel/../motel/rooms",
                                 "/srv/motel/",
                                 "a/./b/",
                                 "a/..",
                                 "../rooms",
                                 "/srv/motel/.hidden",
                                 "/srv/motel/rooms.",
                                 "/srv/motel/..rooms",
                                 "//srv/motel"};
    for (const char* text : paths) {
        const std::filesystem::path path(text);
        EXPECT_EQ(NormalPath(path).native(), path.lexically_normal().native()) << text;
    }
}

// A file of the folder is named as the folder's path and the name joined by "/" would name it,
// whatever the folder's path looks like.
TEST(PathTest, AFolderNamesItsFilesAsJoiningThePathsWould) {
    for (const char* root : {"/srv/motel", "/srv/motel/", "", "motel", "/"})
        for (const auto& [sub, name] :
             {std::pair<const char*, const char*>{"", "rooms"}, {"sleepers", "12626"}}) {
            const DataFolder folder(root, nullptr);
            const std::filesystem::path expected =
                *sub == '\0' ? std::filesystem::path(root) / name : std::filesystem::path(root) / sub / name;
            EXPECT_EQ((*sub == '\0' ? folder.File(name) : folder.File(sub, name)).path().native(),
                      expected.native())
                << root << " " << sub << " " << name;
        }
}

} // namespace
} // namespace platform
