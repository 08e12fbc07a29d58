// "Unsold Rooms" and "Out of Order Rooms": the list entries and their marks, the exits,
// and the out-of-order printout from the window.
#include "support/app_fixture.h"
#include "support/builders.h"

#include "frontdesk/form1.h"
#include "frontdesk/form11.h"
#include "frontdesk/form28.h"
#include "platform/text.h"
#include "records/filenames.h"
#include "records/guest_record.h"
#include "records/room_record.h"
#include "records/settings_files.h"

#include <map>
#include <string>
#include <vector>

namespace vantreth {
namespace {

using platform::Fixed;
using testing::AppFixture;
using testing::Room;

records::GuestRecord Reservation(const std::string& last, const std::string& first, const std::string& room,
                                 const std::string& arrival) {
    return testing::Guest(room, last, first, {.ArrivalDate = arrival});
}

TEST(UnsoldRoomEntriesTest, ListsRoomsNeitherOccupiedNorOutOfOrderWithTheirCleanFlag) {
    const std::vector<records::RoomRecord> rooms = {
        Room({.room = "101", .type = "NQ1"}),
        Room({.room = "102", .type = "NQ1", .service = "O"}),
        Room({.room = "103", .type = "NDD1", .clean = "N"}),
        Room({.room = "104", .type = "Q11", .service = "X"}),
        Room({.room = "12", .type = "SNQ3"}),
        Room({.room = "106", .type = "PQ1", .clean = "N", .service = "O"}),
        Room({.room = "107", .type = "NK1", .service = " "}),
    };
    const std::vector<std::string> expected = {
        "101  NQ1   Y",
        "103  NDD1  N",
        "12   SNQ3  Y",
        "107  NK1   Y",
    };
    EXPECT_EQ(UnsoldRoomEntries(rooms, {}, "12/6/26"), expected);
}

TEST(UnsoldRoomEntriesTest, MarksRoomsReservedForAGuestArrivingToday) {
    struct Case {
        records::GuestRecord reservation;
        bool marked;
        std::string why;
    };
    const Case cases[] = {
        {Reservation("SMITH", "JOHN", "12", "12/6/26"), true, "arriving today"},
        {Reservation("SMITH", "JOHN", "12 ", "12/6/26   "), true, "fields as stored"},
        {Reservation("SMITH", "JOHN", "12", "12/7/26"), false, "arriving tomorrow"},
        {Reservation("SMITH", "JOHN", "120", "12/6/26"), false, "another room"},
        {Reservation("", "", "12", "12/6/26"), false, "free slot"},
        {Reservation("SMITH", "", "12", "12/6/26"), false, "no first name"},
        {Reservation("", "JOHN", "12", "12/6/26"), false, "no last name"},
    };
    const std::vector<records::RoomRecord> rooms = {Room({.room = "12", .type = "DD1", .clean = "N"})};
    for (const Case& c : cases) {
        const std::vector<std::string> entries = UnsoldRoomEntries(rooms, {c.reservation}, "12/6/26");
        ASSERT_EQ(entries.size(), 1u) << c.why;
        EXPECT_EQ(entries[0], c.marked ? "12   DD1   N-R" : "12   DD1   N") << c.why;
    }
}

TEST(UnsoldRoomEntriesTest, AnyMatchingReservationAmongManyMarksTheRoom) {
    const std::vector<records::RoomRecord> rooms = {Room({.room = "101", .type = "NQ1"}),
                                                    Room({.room = "102", .type = "NQ1"})};
    const std::vector<records::GuestRecord> reservations = {
        Reservation("JONES", "MARY", "101", "12/9/26"),
        Reservation("SMITH", "JOHN", "102", "12/6/26"),
        Reservation("BROWN", "ANN", "101", "12/6/26"),
    };
    const std::vector<std::string> expected = {"101  NQ1   Y-R", "102  NQ1   Y-R"};
    EXPECT_EQ(UnsoldRoomEntries(rooms, reservations, "12/6/26"), expected);
}

TEST(OutOfOrderEntryTest, JoinsTheFieldsAsStored) {
    EXPECT_EQ(OutOfOrderEntry(Room({.room = "12", .type = "DD1", .service = "X", .comment = "NO HEAT"})),
              "12   DD1   " + Fixed("NO HEAT", 80));
}

class UnsoldRoomsTest : public AppFixture {
protected:
    UnsoldRoomsTest() {
        SetNow(12, 6, 2026, 10, 0, 0);
        records::WriteIntroFlag(app().data(), 1.0f);
        records::AppendRoom(app().data(), Room({.room = "101", .type = "NQ1"}));
        records::AppendRoom(app().data(), Room({.room = "12", .type = "DD1", .clean = "N"}));
        records::AppendRoom(app().data(), Room({.room = "103", .type = "NDD1", .service = "O"}));
        records::AppendRoom(
            app().data(),
            Room({.room = "104", .type = "SQ1", .clean = "N", .service = "X", .comment = "carpet wet"}));
        records::AppendRoom(app().data(),
                            Room({.room = "105", .type = "Q11", .service = "X", .comment = "  NO HEAT"}));
        records::AddGuest(app().data(), records::kReservationsFile,
                          Reservation("SMITH", "JOHN", "12", "12/6/26"));
    }
    void OpenFromFrontDesk() {
        StartProgram();
        Form<Form1>().Command8.UserClick();
        ASSERT_TRUE(IsLoaded("Form11"));
    }
    void CountLoads() {
        app().on_loaded = [this](platform::Form& form) { m_loads[form.Name()]++; };
    }
    int Loads(const std::string& name) { return m_loads[name]; }

private:
    std::map<std::string, int> m_loads;
};

TEST_F(UnsoldRoomsTest, ListsTheUnsoldRoomsWithTheFocusOnExit) {
    OpenFromFrontDesk();
    Form11& unsold = Form<Form11>();
    EXPECT_EQ(unsold.Caption(), "Unsold Rooms");
    EXPECT_TRUE(IsLoaded("Form1"));
    const std::vector<std::string> expected = {"101  NQ1   Y", "12   DD1   N-R"};
    EXPECT_EQ(unsold.List1.Items(), expected);
    EXPECT_TRUE(unsold.Command1.HasFocus());
}

TEST_F(UnsoldRoomsTest, EscapeAndTheFirstExitLeaveTheStandingFrontDeskAlone) {
    for (bool escape : {true, false}) {
        Restart();
        OpenFromFrontDesk();
        CountLoads();
        if (escape)
            Form<Form11>().UserKey(platform::vbKeyEscape);
        else
            Form<Form11>().Command1.UserClick();
        EXPECT_FALSE(IsLoaded("Form11")) << (escape ? "Esc" : "Command1");
        EXPECT_TRUE(IsLoaded("Form1"));
        EXPECT_EQ(Loads("Form1"), 0) << "a loaded front desk is not loaded again";
    }
}

TEST_F(UnsoldRoomsTest, TheFirstExitBringsBackAFrontDeskThatIsGone) {
    app().Dispatch([&] { app().Load(Form<Form11>()); });
    ASSERT_FALSE(IsLoaded("Form1"));
    Form<Form11>().Command1.UserClick();
    EXPECT_FALSE(IsLoaded("Form11"));
    EXPECT_TRUE(IsLoaded("Form1"));
}

TEST_F(UnsoldRoomsTest, TheSecondExitOnlyClosesTheList) {
    app().Dispatch([&] { app().Load(Form<Form11>()); });
    Form<Form11>().Command2.UserClick();
    EXPECT_FALSE(IsLoaded("Form11"));
    EXPECT_FALSE(IsLoaded("Form1"));
}

TEST_F(UnsoldRoomsTest, OutOfOrderRoomsOpenOnTopWithTheirComments) {
    OpenFromFrontDesk();
    Form<Form11>().Command3.UserClick();
    ASSERT_TRUE(IsLoaded("Form28"));
    EXPECT_TRUE(IsLoaded("Form11"));
    Form28& outOfOrder = Form<Form28>();
    EXPECT_EQ(outOfOrder.Caption(), "Out of Order Rooms");
    const std::vector<std::string> expected = {"104  SQ1   " + Fixed("carpet wet", 80),
                                               "105  Q11   " + Fixed("  NO HEAT", 80)};
    EXPECT_EQ(outOfOrder.List1.Items(), expected);
    EXPECT_TRUE(outOfOrder.Command1.HasFocus());

    outOfOrder.UserKey(platform::vbKeyEscape);
    EXPECT_TRUE(IsLoaded("Form28")) << "the window has no key handler, so Esc does not close it";
    outOfOrder.Command1.UserClick();
    EXPECT_FALSE(IsLoaded("Form28"));
    EXPECT_TRUE(IsLoaded("Form11"));
}

TEST_F(UnsoldRoomsTest, PrintingFromTheWindowPutsABlankLineFirstAndClosesIt) {
    OpenFromFrontDesk();
    Form<Form11>().Command3.UserClick();
    printer().Clear();
    Form<Form28>().Command2.UserClick();
    EXPECT_FALSE(IsLoaded("Form28"));
    EXPECT_TRUE(IsLoaded("Form11"));

    const std::vector<platform::PrintJob> jobs = printer().TakeJobs();
    ASSERT_EQ(jobs.size(), 1u);
    const std::string rule(77, '-');
    const std::vector<std::string> expected = {
        "",
        "                     Out Of Order Room List for 12/6/26",
        "",
        "",
        "ROOM  TYPE   COMMENT",
        rule,
        "104   SQ1    carpet wet",
        rule,
        "105   Q11    NO HEAT",
        rule,
    };
    std::vector<std::string> lines;
    for (const platform::PrintedLine& line : jobs[0].pages.at(0).lines)
        lines.push_back(line.text);
    EXPECT_EQ(lines, expected);
}

} // namespace
} // namespace vantreth
