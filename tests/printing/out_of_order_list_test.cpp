// The printed out-of-order room list: its lines and the rule under each room.
#include "printing/out_of_order_list.h"

#include "platform/text.h"

#include "support/builders.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace printing {
namespace {

using vantreth::testing::Room;

class OutOfOrderListTest : public ::testing::Test {
protected:
    std::vector<std::string> Print(bool blankLineFirst) {
        PrintOutOfOrderList(printer, folder, "12/6/26", blankLineFirst);
        std::vector<platform::PrintJob> jobs = device.TakeJobs();
        EXPECT_EQ(jobs.size(), 1u);
        std::vector<std::string> lines;
        if (!jobs.empty())
            for (const platform::PrintedLine& line : jobs[0].pages.at(0).lines)
                lines.push_back(line.text);
        return lines;
    }

    vantreth::testing::TempDataFolder m_data;
    const platform::DataFolder& folder = m_data.folder();
    platform::CapturePrinter device;
    platform::Printer printer{device};
};

TEST(OutOfOrderRoomLineTest, RoomAsStoredTypeAtSevenTrimmedCommentAtFourteen) {
    struct Case {
        records::RoomRecord room;
        std::string line;
    };
    const Case cases[] = {
        {Room({.room = "105", .type = "NDD1", .clean = "N", .service = "X", .comment = "  LEAK IN BATH"}),
         "105   NDD1   LEAK IN BATH"},
        {Room({.room = "12", .type = "DD1", .service = "X", .comment = "BROKEN TV"}),
         "12    DD1    BROKEN TV"},
        {Room({.room = "7", .type = "SNQ3", .service = "X"}), "7     SNQ3   "},
    };
    for (const Case& c : cases) {
        const platform::PrintItems items = OutOfOrderRoomLine(c.room);
        ASSERT_EQ(items.lines().size(), 1u);
        EXPECT_EQ(items.lines()[0], c.line) << "room \"" << c.room.Room << "\"";
    }
}

TEST_F(OutOfOrderListTest, ListsOnlyOutOfOrderRoomsEachFollowedByARule) {
    records::AppendRoom(folder, Room({.room = "101", .type = "NQ1", .comment = "FINE"}));
    records::AppendRoom(
        folder, Room({.room = "12", .type = "DD1", .clean = "N", .service = "X", .comment = "BROKEN TV"}));
    records::AppendRoom(
        folder, Room({.room = "103", .type = "NQ1", .clean = "N", .service = "O", .comment = "GUEST IN"}));
    records::AppendRoom(folder, Room({.room = "105", .type = "NDD1", .service = "X", .comment = "LEAK"}));
    const std::string rule(77, '-');
    const std::vector<std::string> expected = {
        "                     Out Of Order Room List for 12/6/26",
        "",
        "",
        "ROOM  TYPE   COMMENT",
        rule,
        "12    DD1    BROKEN TV",
        rule,
        "105   NDD1   LEAK",
        rule,
    };
    EXPECT_EQ(Print(false), expected);
}

} // namespace
} // namespace printing
