// The printed out-of-order room list: its lines and the rule under each room.
#include "printing/out_of_order_list.h"

#include "platform/text.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace printing {
namespace {

records::RoomRecord Room(const std::string& number, const std::string& type, const std::string& clean,
                         const std::string& service, const std::string& comment = "") {
    records::RoomRecord room;
    room.Room = platform::Fixed(number, 3);
    room.RoomType = platform::Fixed(type, 5);
    room.Clean = clean;
    room.Service = service;
    room.Comment = platform::Fixed(comment, 80);
    return room;
}

class OutOfOrderListTest : public ::testing::Test {
protected:
    OutOfOrderListTest() { folder.EnsureLayout(); }
    ~OutOfOrderListTest() override {
        std::error_code ignored;
        std::filesystem::remove_all(m_root, ignored);
    }

    std::vector<std::string> Print(bool blankLineFirst) {
        PrintOutOfOrderList(printer, folder, "12/6/26", blankLineFirst);
        std::vector<platform::PrintJob> jobs = device.TakeJobs();
        EXPECT_EQ(jobs.size(), 1u);
        std::vector<std::string> lines;
        if (!jobs.empty())
            for (const platform::PrintedLine& line : jobs[0].pages.at(0).lines) lines.push_back(line.text);
        return lines;
    }

    static std::filesystem::path MakeTempRoot() {
        std::string pattern = (std::filesystem::temp_directory_path() / "vantreth-ooo-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
        return pattern;
    }

    std::filesystem::path m_root = MakeTempRoot();
    platform::DataFolder folder{m_root};
    platform::CapturePrinter device;
    platform::Printer printer{device};
};

TEST(OutOfOrderRoomLineTest, RoomAsStoredTypeAtSevenTrimmedCommentAtFourteen) {
    struct Case {
        records::RoomRecord room;
        std::string line;
    };
    const Case cases[] = {
        {Room("105", "NDD1", "N", "X", "  LEAK IN BATH"), "105   NDD1   LEAK IN BATH"},
        {Room("12", "DD1", "Y", "X", "BROKEN TV"), "12    DD1    BROKEN TV"},
        {Room("7", "SNQ3", "Y", "X"), "7     SNQ3   "},
    };
    for (const Case& c : cases) {
        const platform::PrintItems items = OutOfOrderRoomLine(c.room);
        ASSERT_EQ(items.lines().size(), 1u);
        EXPECT_EQ(items.lines()[0], c.line) << "room \"" << c.room.Room << "\"";
    }
}

TEST_F(OutOfOrderListTest, ListsOnlyOutOfOrderRoomsEachFollowedByARule) {
    records::AppendRoom(folder, Room("101", "NQ1", "Y", "A", "FINE"));
    records::AppendRoom(folder, Room("12", "DD1", "N", "X", "BROKEN TV"));
    records::AppendRoom(folder, Room("103", "NQ1", "N", "O", "GUEST IN"));
    records::AppendRoom(folder, Room("105", "NDD1", "Y", "X", "LEAK"));
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
