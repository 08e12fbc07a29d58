// The night audit's room detail and day reports: each page line by line, the
// empty-section lines, and the day flags that gate and are reset by the pages.
#include "printing/night_audit_detail.h"

#include "night_audit_fixture.h"
#include "platform/text.h"
#include "records/filenames.h"
#include "records/move_log.h"
#include "records/reservation_made.h"
#include "records/settings_files.h"
#include "records/stay_ledger.h"

#include <gtest/gtest.h>

namespace printing {
namespace {

using platform::Fixed;
using testing::Dashes;
using testing::Pad;
using Lines = std::vector<std::string>;

constexpr const char* kToday = "12/6/26";

Lines Concat(Lines a, const Lines& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class NightAuditDetailTest : public testing::NightAuditTest {
protected:
    bool FlagFileExists(std::string_view name) { return platform::FileExists(data.File(name)); }
};

TEST_F(NightAuditDetailTest, RoomDetailListsEveryPostingAndPushesALongDescriptionsAmountDown) {
    records::DayDetailLine rent{"101", "C", kToday, "E", "ROOM RENT", 49.99f, "JD"};
    records::DayDetailLine phone{"7  ", "A", kToday, "G", "PHONE CHARGE LONG DISTANC", 3, "MK"};
    records::AppendDayDetailLine(data, kToday, rent);
    records::AppendDayDetailLine(data, kToday, phone);

    PrintRoomDetailPage(data, printer, kToday);

    EXPECT_EQ(
        TakeOneDocument(),
        (Lines{"", "            Individual Room Detail Transaction Report For 12/6/26", "", "", Dashes(79),
               "ROOM  SHIFT CLERK  DATE     CODE  DES.                AMOUNT", Dashes(79),
               Pad("101   C     JD     12/6/26", 29) + Pad("E", 5) + Pad("ROOM RENT", 19) + " 49.99",
               Dashes(79), Pad("7     A     MK     12/6/26", 29) + Pad("G", 5) + "PHONE CHARGE LONG DISTANC",
               std::string(53, ' ') + " 3", Dashes(79)}));
}

TEST_F(NightAuditDetailTest, EmptyPagesPrintTheirFixedLines) {
    PrintNightAuditDetailReport(data, printer, kToday);

    const auto docs = TakeDocuments();
    ASSERT_EQ(docs.size(), 4u);
    EXPECT_EQ(Lines(docs[0].begin() + 7, docs[0].end()),
              (Lines{"", "", "", "                            No detail report today"}));
    EXPECT_EQ(docs[1], (Lines{"", "               Guest Moved From Room to Room Report for 12/6/26", "", "",
                              Dashes(75), "SHIFT  CLERK  OLD ROOM    NEW ROOM    TIME", Dashes(75), "", "",
                              "                             No Rooms Moved"}));
    EXPECT_EQ(docs[2], (Lines{"", "                          Possible Sleepers for 12/6/26", "", "",
                              Dashes(75), "", "", "", "                             No Sleepers Today"}));
    EXPECT_EQ(docs[3], (Lines{"", "                         Reservations made on 12/6/26", "", "",
                              "ROOM   LAST  FIRST                      ARRIVING          DEPARTING",
                              Dashes(73), "", "", "                            No Reservations Today"}));
    // Only the move flag is written when nothing announced a list.
    EXPECT_EQ(records::ReadMovedYes(data), 0.0f);
    EXPECT_FALSE(FlagFileExists(records::kSleepersTodayFile));
    EXPECT_FALSE(FlagFileExists(records::kReservationsTodayYesFile));
}

TEST_F(NightAuditDetailTest, MovesPrintWhenFlaggedAndTheFlagIsAlwaysCleared) {
    records::AppendMoveLogLine(data, kToday, {"A", "JD", "101", "7", {14, 5, 9}});
    const Lines head{"",         "               Guest Moved From Room to Room Report for 12/6/26",
                     "",         "",
                     Dashes(75), "SHIFT  CLERK  OLD ROOM    NEW ROOM    TIME",
                     Dashes(75)};

    records::WriteMovedYes(data, 1);
    PrintRoomMovesPage(data, printer, kToday);
    EXPECT_EQ(TakeOneDocument(), Concat(head, {"A      JD     101         7           2:05:09 PM"}));
    EXPECT_EQ(records::ReadMovedYes(data), 0.0f);

    // With the flag cleared the day file is not read.
    PrintRoomMovesPage(data, printer, kToday);
    EXPECT_EQ(TakeOneDocument(), Concat(head, {"", "", "                             No Rooms Moved"}));
}

TEST_F(NightAuditDetailTest, SleepersPrintWhenFlaggedThenTheFlagIsCleared) {
    records::GuestRecord guest;
    guest.Room = "101";
    guest.LastName = Fixed("SMITH", 15);
    guest.FirstName = Fixed("JOHN", 15);
    records::AppendSleeperLine(data, kToday, guest);
    records::WriteSleepersToday(data, 1);

    PrintSleepersPage(data, printer, kToday);

    EXPECT_EQ(TakeOneDocument(), (Lines{"", "                          Possible Sleepers for 12/6/26", "", "",
                                        Dashes(75), "", std::string(29, ' ') + "101  SMITH, JOHN"}));
    EXPECT_EQ(records::ReadSleepersToday(data), 0.0);
}

TEST_F(NightAuditDetailTest, FlaggedSleepersWithAnEmptyListPrintNoSleepersAndStillClearTheFlag) {
    platform::WriteLines(records::DayFilePath(data, records::DayFile::Sleepers, kToday), {});
    records::WriteSleepersToday(data, 1);

    PrintSleepersPage(data, printer, kToday);

    EXPECT_EQ(TakeOneDocument().back(), "                             No Sleepers Today");
    EXPECT_EQ(records::ReadSleepersToday(data), 0.0);
}

TEST_F(NightAuditDetailTest, ReservationsMadePrintWhenFlaggedThenTheFlagIsCleared) {
    records::AppendReservationMadeLine(data, kToday, {"101", "SMITH", "JOHN", "1/5/27", "1/8/27"});
    const Lines head{"",
                     "                         Reservations made on 12/6/26",
                     "",
                     "",
                     "ROOM   LAST  FIRST                      ARRIVING          DEPARTING",
                     Dashes(73)};

    records::WriteNumberFile(data, records::kReservationsTodayYesFile, 1);
    PrintReservationsMadePage(data, printer, kToday);
    EXPECT_EQ(TakeOneDocument(),
              Concat(head, {Pad("101", 7) + Pad("SMITH, JOHN", 33) + Pad("1/5/27", 18) + "1/8/27"}));
    EXPECT_EQ(records::ReadNumberFile(data, records::kReservationsTodayYesFile), 0.0);

    PrintReservationsMadePage(data, printer, kToday);
    EXPECT_EQ(TakeOneDocument(), Concat(head, {"", "", "                            No Reservations Today"}));
}

TEST(ReservationMadeLineTest, ItemsAreFiveQuotedTexts) {
    const records::ReservationMadeLine line{"101", "SMITH", "JOHN", "1/5/04", "1/8/04"};
    EXPECT_EQ(line.ToSeqLine().str(), R"("101","SMITH","JOHN","1/5/04","1/8/04")");
}

} // namespace
} // namespace printing
