// The names of the data files: per-day, per-shift, ledger and year files.
#include "records/date_digits.h"
#include "records/filenames.h"
#include "records_fixture.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace records {
namespace {

using testing::RecordsTest;

TEST(DateDigitsTest, RemovesEverySlash) {
    struct Case {
        const char* text;
        const char* digits;
    };
    const Case cases[] = {
        {"12/6/26", "12626"}, {"1/1/04", "1104"},         {"12/31/2026", "12312026"}, {"", ""},
        {"12626", "12626"},   {"12/6/26   ", "12626   "},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DateDigits(c.text), c.digits) << "date text \"" << c.text << "\"";
}

TEST(DateDigitsTest, JanuaryEleventhAndNovemberFirstShareTheirDigits) {
    EXPECT_EQ(DateDigits("1/11/26"), "11126");
    EXPECT_EQ(DateDigits("11/1/26"), "11126");
}

using FileNamesTest = RecordsTest;

TEST_F(FileNamesTest, DayFilesLieInTheirSubFolderNamedByTheDatesDigits) {
    struct Case {
        DayFile file;
        const char* relative;
    };
    const Case cases[] = {
        {DayFile::Sleepers, "sleepers/12626"},
        {DayFile::Detail, "detail/12626"},
        {DayFile::Totals, "totals/totals12626"},
        {DayFile::RoomsRented, "roomsrented/12626"},
        {DayFile::DbDaily, "dbdaily/12626"},
        {DayFile::DbPayments, "dbpayments/12626"},
        {DayFile::PettyCash, "directbill/12626"},
        {DayFile::Dates, "dates/12626"},
        {DayFile::Move, "move/12626"},
        {DayFile::Notes, "notes/12626"},
        {DayFile::ReservationsToday, "reservationstoday/12626"},
        {DayFile::PhoneLog, "phonelog/12626"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DayFilePath(folder(), c.file, "12/6/26"), folder().root() / c.relative)
            << "expected " << c.relative;
    }
}

TEST_F(FileNamesTest, DayFileNameDropsTheDateFieldsPadding) {
    EXPECT_EQ(DayFilePath(folder(), DayFile::Totals, "12/6/26   "), folder().root() / "totals/totals12626");
}

TEST_F(FileNamesTest, ShiftFilesPutTheShiftLetterBeforeTheDigits) {
    EXPECT_EQ(ShiftFilePath(folder(), ShiftFile::ShiftCash, "A", "12/6/26"),
              folder().root() / "shiftcash/A12626");
    EXPECT_EQ(ShiftFilePath(folder(), ShiftFile::ShiftRentals, "C", "1/2/27"),
              folder().root() / "shiftrentals/C1227");
}

TEST_F(FileNamesTest, FixedNamesInSubFolders) {
    EXPECT_EQ(HistoryFile(folder()), folder().root() / "history/history");
    EXPECT_EQ(DbMemberFile(folder()), folder().root() / "directbill/dbmember");
    EXPECT_EQ(DbNumberFile(folder()), folder().root() / "directbill/dbnumber");
}

// A new data folder is given every sub-folder a file of the program lies in.
TEST_F(FileNamesTest, EveryFileLiesInTheDataFolderOrOneOfItsSubFolders) {
    const std::vector<std::string>& subfolders = DataSubFolders();
    std::vector<platform::FilePath> files = {
        HistoryFile(folder()),
        DbMemberFile(folder()),
        DbNumberFile(folder()),
        PostedNotesFile(folder(), "12/6/26"),
        StayLedgerFile(folder(), "101", "SMITH", "JOHN", "12/6/26"),
        CancelYearFile(folder(), "12/6/26"),
        folder().File(kRoomsFile),
        folder().File(kSettingsFile),
        folder().File(kPrintFolder, "report.pdf"),
    };
    for (DayFile file : {DayFile::Sleepers, DayFile::Detail, DayFile::Totals, DayFile::RoomsRented,
                         DayFile::DbDaily, DayFile::DbPayments, DayFile::PettyCash, DayFile::Dates,
                         DayFile::Move, DayFile::Notes, DayFile::ReservationsToday, DayFile::PhoneLog})
        files.push_back(DayFilePath(folder(), file, "12/6/26"));
    for (ShiftFile file : {ShiftFile::ShiftCash, ShiftFile::ShiftRentals})
        files.push_back(ShiftFilePath(folder(), file, "A", "12/6/26"));
    for (const platform::FilePath& file : files) {
        const std::filesystem::path parent = file.parent_path();
        if (parent == folder().root())
            continue;
        EXPECT_EQ(parent.parent_path(), folder().root()) << file;
        EXPECT_NE(std::find(subfolders.begin(), subfolders.end(), parent.filename().string()),
                  subfolders.end())
            << file << " lies in a folder a new data folder is not given";
    }
    std::vector<std::string> sorted = subfolders;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end()) << "a sub-folder listed twice";
    EXPECT_EQ(sorted.size(), 18u);
}

TEST_F(FileNamesTest, CancelYearFileIsTheLastTwoCharactersOfTheDate) {
    EXPECT_EQ(CancelYearFile(folder(), "3/5/04"), folder().root() / "04");
    EXPECT_EQ(CancelYearFile(folder(), "12/6/26   "), folder().root() / "26");
}

TEST_F(FileNamesTest, StayLedgerFileJoinsRoomNamesAndArrivalDigits) {
    struct Case {
        const char* room;
        const char* last;
        const char* first;
        const char* arrival;
        const char* name;
    };
    const Case cases[] = {
        {"101", "SMITH          ", "JOHN           ", "12/6/26   ", "dailycharge101SMITHJOHN12626"},
        {"12 ", "SMITH          ", "JOHN           ", "12/6/26   ", "dailycharge12 SMITHJOHN12626"},
        {"12", "SMITH", "JOHN", "12/6/26", "dailycharge12 SMITHJOHN12626"},
        {"7  ", "VAN DYKE       ", "MARY ANN       ", "1/11/26   ", "dailycharge7  VAN DYKEMARY ANN11126"},
        {"101", "O\"NEIL         ", "JO", "12/6/26", "dailycharge101O'NEILJO12626"}, // as history keeps it
    };
    for (const Case& c : cases) {
        EXPECT_EQ(StayLedgerFile(folder(), c.room, c.last, c.first, c.arrival),
                  folder().root() / "dailycharge" / c.name)
            << "room \"" << c.room << "\" last \"" << c.last << "\"";
    }
}

// One rule for every typed name that is stored: what a quoted item of the history file
// cannot hold is changed the same way in the record and in the ledger's file name.
// A file holding one record reaches no further than that record, whichever day or shift
// names it; every other file has no such bound.
TEST(OneRecordFileTest, AOneRecordFileReachesItsRecordLength) {
    struct Case {
        const char* file;
        long long length; // 0: no bound
    };
    const Case cases[] = {
        {"folio", 5},
        {"shift", 3},
        {"weekday", 15},
        {"oprates", 50},
        {"datestatus", 10},
        {"movedyes", 10},
        {"roomsrented/12626", 10},
        {"totals/totals12626", 80},
        {"shiftcash/A12626", 75},
        {"rooms", 0},
        {"guest", 0},
        {"folio2", 0},
        {"roomsrented/a/b", 0},
        {"history/history", 0},
        {"shiftrentals/A12626", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(OneRecordFileLength(c.file).value_or(0), c.length) << c.file;
}

TEST(StoredNameTest, QuotesBecomeApostrophesAndControlCharactersBlanks) {
    const struct {
        const char* typed;
        const char* stored;
        const char* name6;
    } cases[] = {
        {"O\"Neil", "O'Neil", "O'NEIL"},
        {"ann\tmarie", "ann marie", "ANN MA"},
        {"line\r\nbreak", "line  break", "LINE  "},
        {"O'BRIEN", "O'BRIEN", "O'BRIE"},
        {"VAN DYKE", "VAN DYKE", "VAN DY"},
        {"", "", "      "},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StoredText(c.typed), c.stored) << c.typed;
        EXPECT_EQ(StoredName(c.typed, 6), c.name6) << c.typed;
    }
}

} // namespace
} // namespace records
