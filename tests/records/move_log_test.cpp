// The day's move log, the "movedyes" flag, and carrying a stay's ledger to a new name.
#include "records/filenames.h"
#include "records/ledger_rename.h"
#include "records/move_log.h"
#include "records_fixture.h"

#include <string>
#include <vector>

namespace records {
namespace {

using testing::Bytes;
using testing::RecordsTest;
using testing::Show;

class MoveLogTest : public RecordsTest {};

TEST_F(MoveLogTest, LineHoldsShiftClerkBothRoomsAsFieldsAndTheTime) {
    AppendMoveLogLine(folder(), "12/6/26", {"A", "JD", "104", "12", {14, 5, 9}});
    EXPECT_EQ(ReadRaw(At(std::filesystem::path("move") / "12626")),
              "\"A\",\"JD\",\"104\",\"12 \",#14:05:09#\r\n");
}

TEST_F(MoveLogTest, MovesOfOneDayReadBackInTheOrderMade) {
    const std::vector<MoveLogLine> lines = {
        {"A", "JD", "104", "210", {9, 0, 1}},
        {"B", "K ", "210", "12 ", {23, 59, 59}},
    };
    for (const MoveLogLine& line : lines)
        AppendMoveLogLine(folder(), "12/6/26", line);
    AppendMoveLogLine(folder(), "12/7/26", {"C", "MM", "101", "102", {0, 0, 0}});

    EXPECT_EQ(ReadMoveLog(folder(), "12/6/26"), lines);
    EXPECT_EQ(lines[1].TimeMovedText(), "11:59:59 PM");
    EXPECT_EQ(ReadMoveLog(folder(), "12/7/26").size(), 1u);
}

TEST_F(MoveLogTest, ReadingADayWithoutMovesThrowsAndAMoveWithABadTimeIsSkipped) {
    EXPECT_THROW(ReadMoveLog(folder(), "12/6/26"), platform::IoError);
    WriteRaw(At(std::filesystem::path("move") / "12626"),
             "\"A\",\"JD\",\"104\",\"210\",\"noon\"\r\n\"A\",\"JD\",\"105\",\"211\",#12:00:00#\r\n");
    const std::vector<MoveLogLine> moves = ReadMoveLog(folder(), "12/6/26");
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0].FromRoom, "105");
}

TEST_F(MoveLogTest, MovedYesReadsZeroUntilWrittenAndPutsOnlyItsSingle) {
    EXPECT_EQ(ReadMovedYes(folder()), 0.0f);

    const auto file = folder().File(kMovedYesFile);
    WriteRaw(file, std::string(10, 'z'));
    WriteMovedYes(folder(), 1.0f);
    EXPECT_EQ(ReadRaw(file), Bytes({0x00, 0x00, 0x80, 0x3f}) + std::string(6, 'z')) << Show(ReadRaw(file));
    EXPECT_EQ(ReadMovedYes(folder()), 1.0f);

    WriteMovedYes(folder(), 0.0f);
    EXPECT_EQ(ReadMovedYes(folder()), 0.0f);
}

class LedgerCarryTest : public RecordsTest {
protected:
    platform::FilePath Ledger(const char* room) const {
        return StayLedgerFile(folder(), room, "SMITH", "JOHN", "12/6/26");
    }
};

// Whatever the file holds is carried byte for byte: quoted commas, odd spacing, a last line
// without its line end, an empty ledger.
TEST_F(LedgerCarryTest, CopiesEveryByteThenDeletesTheOldFile) {
    const std::string contents[] = {
        "\"104\",\"A\",\"12/6/26\",\"E\",\"ROOM RENT\",45.5,3.64,\"-----\",\"-----\",\"-----\"\r\n"
        "\"104\",\"B\",\"12/6/26\",\"J\",\"PET, LARGE\",10,0,\"-----\",\"-----\",\"-----\"\r\n",
        "\"104\",\"A\",\"12/6/26\",\"L\",\"CASH REC.\",  20 ,0,\"N\",\"-----\",\"-----\"",
        "",
    };
    for (const std::string& content : contents) {
        WriteRaw(Ledger("104"), content);
        EXPECT_EQ(CheckLedgerCarry(Ledger("104"), Ledger("210")), LedgerCarry::Ready) << Show(content);
        EXPECT_EQ(CarryStayLedger(Ledger("104"), Ledger("210")), LedgerCarry::Ready) << Show(content);
        EXPECT_FALSE(platform::FileExists(Ledger("104"))) << Show(content);
        EXPECT_EQ(ReadRaw(Ledger("210")), content);
        platform::DeleteFile(Ledger("210"));
    }
}

TEST_F(LedgerCarryTest, SameNameLeavesTheFileAlone) {
    WriteRaw(Ledger("12"), "\"12 \",\"A\"\r\n");
    EXPECT_EQ(
        CarryStayLedger(Ledger("12"), StayLedgerFile(folder(), "12 ", "SMITH  ", "JOHN ", "12/6/26   ")),
        LedgerCarry::SameName);
    EXPECT_EQ(ReadRaw(Ledger("12")), "\"12 \",\"A\"\r\n");
}

TEST_F(LedgerCarryTest, MissingLedgerWritesNothing) {
    EXPECT_EQ(CheckLedgerCarry(Ledger("104"), Ledger("210")), LedgerCarry::Missing);
    EXPECT_EQ(CarryStayLedger(Ledger("104"), Ledger("210")), LedgerCarry::Missing);
    EXPECT_FALSE(platform::FileExists(Ledger("210")));
}

// The new name belongs to a past stay (kept for reprinting its folio): appending would put
// this stay's charges on that folio, overwriting would lose it.
TEST_F(LedgerCarryTest, RefusesANameHeldByAnotherLedger) {
    const std::string ours =
        "\"104\",\"A\",\"12/6/26\",\"E\",\"ROOM RENT\",45.5,0,\"-----\",\"-----\",\"-----\"\r\n";
    const std::string past =
        "\"210\",\"A\",\"12/6/26\",\"E\",\"ROOM RENT\",39,0,\"-----\",\"-----\",\"-----\"\r\n";
    WriteRaw(Ledger("104"), ours);
    WriteRaw(Ledger("210"), past);
    EXPECT_EQ(CheckLedgerCarry(Ledger("104"), Ledger("210")), LedgerCarry::NameTaken);
    EXPECT_FALSE(CarryAllowed(LedgerCarry::NameTaken));
    EXPECT_EQ(CarryStayLedger(Ledger("104"), Ledger("210")), LedgerCarry::NameTaken);
    EXPECT_EQ(ReadRaw(Ledger("104")), ours);
    EXPECT_EQ(ReadRaw(Ledger("210")), past);
}

TEST_F(LedgerCarryTest, FinishesACarryThatStoppedBeforeTheDelete) {
    const std::string lines =
        "\"104\",\"A\",\"12/6/26\",\"E\",\"ROOM RENT\",45.5,0,\"-----\",\"-----\",\"-----\"\r\n";
    WriteRaw(Ledger("104"), lines);
    WriteRaw(Ledger("210"), lines);
    EXPECT_EQ(CarryStayLedger(Ledger("104"), Ledger("210")), LedgerCarry::AlreadyCarried);
    EXPECT_FALSE(platform::FileExists(Ledger("104")));
    EXPECT_EQ(ReadRaw(Ledger("210")), lines);
}

TEST_F(LedgerCarryTest, AFailedWriteKeepsTheOldLedger) {
    const std::string lines =
        "\"104\",\"A\",\"12/6/26\",\"E\",\"ROOM RENT\",45.5,0,\"-----\",\"-----\",\"-----\"\r\n";
    WriteRaw(Ledger("104"), lines);
    const platform::FilePath nowhere =
        At(std::filesystem::path("no-such-folder") / "dailycharge210SMITHJOHN12626");
    EXPECT_THROW(CarryStayLedger(Ledger("104"), nowhere), platform::IoError);
    EXPECT_EQ(ReadRaw(Ledger("104")), lines);
}

} // namespace
} // namespace records
