// The housekeeping report: status words and their rule order, the room line's columns,
// the two counts, and the whole printed document read from the data files.
#include "printing/housekeeping_report.h"

#include "platform/printer.h"
#include "platform/text.h"
#include "records/filenames.h"

#include "support/builders.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace printing {
namespace {

using platform::Fixed;
using vantreth::testing::Room;

records::GuestRecord Guest(const std::string& last, const std::string& first, const std::string& room,
                           const std::string& departure) {
    return vantreth::testing::Guest(room, last, first,
                                    {.ArrivalDate = "12/5/26", .DepartureDate = departure});
}

const std::string kToday = "12/6/26";

TEST(HousekeepingStatusTest, RulesApplyInOrderAndLaterOnesWin) {
    struct Case {
        std::string clean, service, departure;
        bool afternoon;
        std::string word;
    };
    const Case cases[] = {
        {"Y", "A", "", false, "EMPTY/CLEAN"},
        {" ", "A", "", false, "EMPTY/CLEAN"}, // a blank flag is not "N"
        {"N", "A", "", false, "   DIRTY   "},
        {"N", "A", "", true, "   DIRTY   "},            // the afternoon rule is for occupied rooms only
        {"Y", "O", "12/6/26", false, "        X  "},    // due out today: mark under C/O
        {"N", "O", "12/6/26", false, "        X  "},    // occupied wins over dirty
        {"Y", "O", "12/6/26   ", false, "        X  "}, // the stored field's padding is ignored
        {"Y", "O", "12/7/26", false, " X         "},    // staying over: mark under S/O
        {"N", "O", "12/9/26", false, " X         "},
        {"Y", "O", "", false, " X         "},       // no guest record: taken as staying over
        {"Y", "O", "12/6/26", true, "  OCCUPIED "}, // afternoon replaces either mark
        {"Y", "O", "12/7/26", true, "  OCCUPIED "},
        {"Y", "X", "", false, "out of ordr"},
        {"Y", "X", "", true, "out of ordr"},
        {"N", "X", "", false, "OOO / DIRTY"},
        {"N", "X", "12/6/26", true, "OOO / DIRTY"},
    };
    for (const Case& c : cases) {
        const records::RoomRecord room =
            Room({.room = "101", .type = "NQ1", .clean = c.clean, .service = c.service});
        const std::string word = HousekeepingStatus(room, c.departure, kToday, c.afternoon);
        EXPECT_EQ(word, c.word) << "Clean \"" << c.clean << "\" Service \"" << c.service << "\" departure \""
                                << c.departure << "\" afternoon " << c.afternoon;
        EXPECT_EQ(word.size(), 11u) << "status word \"" << word << "\"";
    }
}

TEST(HousekeepingStatusTest, AfternoonIsATimeTextWithAP) {
    EXPECT_TRUE(IsAfternoon("3:45:12 PM"));
    EXPECT_TRUE(IsAfternoon("12:00:00 PM"));
    EXPECT_FALSE(IsAfternoon("11:59:59 AM"));
    EXPECT_FALSE(IsAfternoon("1:00:00 AM"));
}

TEST(HousekeepingRoomLineTest, PlacesTypeStatusAndCommentAtTheirColumns) {
    struct Case {
        records::RoomRecord room;
        std::string departure;
        std::string line;
    };
    const std::string blanks50(50, ' ');
    const Case cases[] = {
        {Room({.room = "101", .type = "NQ1", .comment = "NEEDS TOWELS"}), "",
         "101   NQ1    EMPTY/CLEAN NEEDS TOWELS" + std::string(38, ' ')},
        // A two-character room number is followed by its blanks up to column 7.
        {Room({.room = "12", .type = "SNQ3", .clean = "N", .service = "O"}), "12/6/26",
         "12    SNQ3" + std::string(11, ' ') + "X" + std::string(3, ' ') + blanks50},
        {Room({.room = "7", .type = "DD1", .clean = "N", .service = "X", .comment = "BROKEN TV"}), "",
         "7     DD1    OOO / DIRTY BROKEN TV" + std::string(41, ' ')},
    };
    for (const Case& c : cases) {
        const platform::PrintItems items = HousekeepingRoomLine(c.room, c.departure, kToday, false);
        ASSERT_EQ(items.lines().size(), 1u) << "room \"" << c.room.Room << "\"";
        const std::string& line = items.lines()[0];
        EXPECT_EQ(line, c.line) << "room \"" << c.room.Room << "\"";
        EXPECT_EQ(line.substr(6, 5), platform::Fixed(c.room.RoomType, 5)) << "type at column 7";
        EXPECT_EQ(line.size(), 75u) << "comment filled to 50 characters from column 26";
    }
}

TEST(HousekeepingRoomLineTest, CommentLongerThanTheFillIsPrintedInFull) {
    const std::string comment(72, 'C');
    const platform::PrintItems items =
        HousekeepingRoomLine(Room({.room = "101", .type = "NQ1", .comment = comment}), "", kToday, true);
    ASSERT_EQ(items.lines().size(), 1u);
    EXPECT_EQ(items.lines()[0].substr(25), comment);
}

TEST(HousekeepingCountsTest, DirtyAndOccupiedAddOneEachAndStayoversNeedALastName) {
    const std::vector<records::RoomRecord> rooms = {
        Room({.room = "101", .type = "NQ1", .clean = "N", .service = "O"}), // dirty and occupied: 2
        Room({.room = "102", .type = "NQ1", .service = "O"}),               // 1
        Room({.room = "103", .type = "NQ1", .clean = "N"}),                 // 1
        Room({.room = "104", .type = "NQ1", .clean = "N", .service = "X"}), // dirty out of order: 1
        Room({.room = "105", .type = "NQ1"}),                               // 0
        Room({.room = "106", .type = "NQ1", .service = "X"}),               // 0
    };
    const std::vector<records::GuestRecord> guests = {
        Guest("SMITH", "JOHN", "101", "12/6/26"), // due out today
        Guest("JONES", "MARY", "102", "12/8/26"), // staying over
        Guest("", "", "", "12/9/26"),             // free slot
        Guest("", "ANN", "103", "12/9/26"),       // no last name: not counted
        Guest("BROWN", "", "104", ""),            // a last name is enough
    };
    const HousekeepingCounts counts = CountHousekeeping(rooms, guests, kToday);
    EXPECT_EQ(counts.dirtyOrOccupied, 5);
    EXPECT_EQ(counts.stayovers, 2);
}

TEST(HousekeepingGuestTest, TheFirstInHouseGuestOfTheRoomGivesTheDepartureDate) {
    std::vector<records::GuestRecord> guests = {
        Guest("", "", "   ", "12/1/26"), // a free slot never belongs to a room
        Guest("SMITH", "JOHN", "120", "12/7/26"),
        Guest("JONES", "MARY", "12", "12/6/26"),
        Guest("LATE", "ENTRY", "12", "12/9/26"),
    };
    EXPECT_EQ(platform::RTrim(DepartureDateOf(guests, "12 ")), "12/6/26");
    EXPECT_EQ(platform::RTrim(DepartureDateOf(guests, "12")), "12/6/26");
    EXPECT_EQ(platform::RTrim(DepartureDateOf(guests, "120")), "12/7/26");
    EXPECT_EQ(DepartureDateOf(guests, "   "), "");
    EXPECT_EQ(DepartureDateOf(guests, "999"), "");
}

class HousekeepingReportTest : public ::testing::Test {
protected:
    std::vector<std::string> PrintedLines(bool afternoon) {
        printer.EndDoc();
        PrintHousekeepingReport(printer, data.folder(), "Test Motel", kToday, afternoon);
        std::vector<platform::PrintJob> jobs = device.TakeJobs();
        EXPECT_EQ(jobs.size(), 1u);
        std::vector<std::string> lines;
        if (jobs.empty())
            return lines;
        for (const platform::PrintedPage& page : jobs[0].pages)
            for (const platform::PrintedLine& line : page.lines) {
                EXPECT_EQ(line.fontSize, 10) << line.text;
                lines.push_back(line.text);
            }
        return lines;
    }

    vantreth::testing::TempDataFolder data;
    platform::CapturePrinter device;
    platform::Printer printer{device};
};

TEST_F(HousekeepingReportTest, PrintsHeadingCountsAndOneLinePerRoomInFileOrder) {
    const platform::DataFolder folder = data.folder();
    records::AppendRoom(folder, Room({.room = "101", .type = "NQ1"}));
    records::AppendRoom(
        folder, Room({.room = "12", .type = "DD1", .clean = "N", .service = "O", .comment = "EXTRA BED"}));
    records::AppendRoom(folder, Room({.room = "103", .type = "SQ1", .service = "O"}));
    records::AppendRoom(folder, Room({.room = "104", .type = "Q11", .service = "O"}));
    records::AppendRoom(
        folder, Room({.room = "105", .type = "NDD1", .clean = "N", .service = "X", .comment = "LEAK"}));
    records::AddGuest(folder, records::kGuestFile, Guest("SMITH", "JOHN", "12", "12/6/26"));
    records::AddGuest(folder, records::kGuestFile, Guest("JONES", "MARY", "103", "12/8/26"));

    const std::string fill50(50, ' ');
    const std::vector<std::string> expected = {
        std::string(21, ' ') + "Test Motel Housekeeping Report",
        "",
        "",
        "Date: 12/6/26    Occupied and Dirty Rooms: 5    Stayovers: 1",
        "",
        "",
        "ROOM  TYPE    S/O   C/O    COMMENTS",
        std::string(75, '-'),
        "101   NQ1    EMPTY/CLEAN " + fill50,
        "12    DD1            X   EXTRA BED" + std::string(41, ' '),
        "103   SQ1     X          " + fill50,
        "104   Q11     X          " + fill50, // occupied without a guest record
        "105   NDD1   OOO / DIRTY LEAK" + std::string(46, ' '),
    };
    const std::vector<std::string> lines = PrintedLines(false);
    ASSERT_EQ(lines.size(), expected.size());
    for (size_t i = 0; i < lines.size(); ++i)
        EXPECT_EQ(lines[i], expected[i]) << "line " << i + 1;

    const std::vector<std::string> later = PrintedLines(true);
    ASSERT_EQ(later.size(), expected.size());
    EXPECT_EQ(later[9], "12    DD1      OCCUPIED  EXTRA BED" + std::string(41, ' '));
    EXPECT_EQ(later[10].substr(13, 11), "  OCCUPIED ");
    EXPECT_EQ(later[12], expected[12]);
}

TEST_F(HousekeepingReportTest, EmptyRoomsFilePrintsHeadingOnlyWithTheGuestCount) {
    records::AddGuest(data.folder(), records::kGuestFile, Guest("SMITH", "JOHN", "101", "12/9/26"));
    const std::vector<std::string> lines = PrintedLines(false);
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[3], "Date: 12/6/26    Occupied and Dirty Rooms: 0    Stayovers: 1");
    EXPECT_EQ(lines[7], std::string(75, '-'));
}

TEST_F(HousekeepingReportTest, EndsADocumentLeftOpenBeforeItsOwn) {
    printer.Print("left over");
    PrintHousekeepingReport(printer, data.folder(), "Test Motel", kToday, false);
    const std::vector<platform::PrintJob> jobs = device.TakeJobs();
    ASSERT_EQ(jobs.size(), 2u);
    EXPECT_EQ(jobs[0].Text(), "left over");
    EXPECT_EQ(jobs[1].pages.at(0).lines.at(0).text, HousekeepingTitle("Test Motel"));
    EXPECT_FALSE(printer.DocumentOpen());
}

} // namespace
} // namespace printing
