// Guest List: the order of the names, who is listed, the printed report, and every way
// out bringing the front desk back.
#include "support/app_fixture.h"
#include "support/builders.h"

#include "folio/form7.h"
#include "frontdesk/form1.h"
#include "platform/text.h"
#include "records/filenames.h"
#include "records/guest_record.h"
#include "records/room_record.h"
#include "records/settings_files.h"

#include <functional>
#include <string>
#include <vector>

namespace vantreth {
namespace {

using platform::Fixed;

records::GuestRecord Guest(const std::string& room, const std::string& last, const std::string& first) {
    return testing::Guest(room, last, first,
                          {.RegCard = "4711",
                           .Clerk = "JD",
                           .PayCode = "N",
                           .ArrivalDate = "12/5/26",
                           .DepartureDate = "12/7/26",
                           .Rate = 49.95f,
                           .FolioNumber = "7"});
}

class GuestListTest : public testing::AppFixture {
protected:
    GuestListTest() {
        SetNow(12, 6, 2026, 9, 0, 0);
        records::WriteIntroFlag(app().data(), 1.0f);
    }
    Form7& list() { return Form<Form7>(); }
    Form1& desk() { return Form<Form1>(); }
    void Add(const records::GuestRecord& guest) {
        records::AddGuest(app().data(), records::kGuestFile, guest);
    }
    void FreeSlot(long n) {
        records::GuestRecord guest = records::ReadGuest(app().data(), records::kGuestFile, n);
        guest.ClearStay();
        records::WriteGuest(app().data(), records::kGuestFile, n, guest);
    }
    void OpenByButton() {
        StartProgram();
        desk().Command12.UserClick();
        ASSERT_TRUE(list().Loaded());
    }
};

TEST_F(GuestListTest, ListsByLastNameThenFirstNameThenRoom) {
    Add(Guest("105", "SMITH", "MARY"));
    Add(Guest("210", "ADAMS", "JOHN"));
    Add(Guest("301", "JONES", "BOB"));
    Add(Guest("120", "JONES", "BOB"));
    Add(Guest("12", "JONES", "ANN"));
    OpenByButton();
    EXPECT_EQ(list().List1.Items(), (std::vector<std::string>{
                                        "210  ADAMS, JOHN",
                                        "12   JONES, ANN",
                                        "120  JONES, BOB",
                                        "301  JONES, BOB",
                                        "105  SMITH, MARY",
                                    }));
    EXPECT_FALSE(list().List2.Visible());
    EXPECT_TRUE(list().Command1.HasFocus());
    EXPECT_TRUE(desk().Loaded()) << "the button leaves the front desk standing";
}

// The key is one run of text, so ADAMSON AL ("ADAMSONAL") sorts before ADAMS ZED ("ADAMSZED").
TEST_F(GuestListTest, NamesAreComparedAsOneRunOfText) {
    Add(Guest("101", "ADAMS", "ZED"));
    Add(Guest("102", "ADAMSON", "AL"));
    OpenByButton();
    EXPECT_EQ(list().List1.Items(), (std::vector<std::string>{"102  ADAMSON, AL", "101  ADAMS, ZED"}));
}

TEST_F(GuestListTest, OnlyGuestsWithBothNamesAreListed) {
    Add(Guest("101", "CHECKED", "OUT"));
    Add(Guest("102", "NOFIRST", ""));
    Add(Guest("103", "", "NOLAST"));
    Add(Guest("104", "BAKER", "SUE"));
    FreeSlot(1);
    OpenByButton();
    EXPECT_EQ(list().List1.Items(), std::vector<std::string>{"104  BAKER, SUE"});
}

// Names that run together the same way in the same room give the same key; each guest
// still gets a line of its own instead of the first one twice.
TEST_F(GuestListTest, GuestsWithTheSameKeyAreEachListedOnce) {
    Add(Guest("101", "SMITHJ", "OHN"));
    Add(Guest("101", "SMITH", "JOHN"));
    OpenByButton();
    EXPECT_EQ(list().List1.Items(), (std::vector<std::string>{"101  SMITHJ, OHN", "101  SMITH, JOHN"}));
}

TEST_F(GuestListTest, EmptyGuestFileShowsAnEmptyList) {
    OpenByButton();
    EXPECT_EQ(list().List1.ListCount(), 0);
}

TEST_F(GuestListTest, PrintsTheReportInFileOrder) {
    Add(Guest("105", "SMITH", "MARY"));
    Add(Guest("210", "ADAMS", "JOHN"));
    Add(Guest("211", "NOFIRST", ""));
    OpenByButton();
    app().printer().Print("left over");
    list().Command3.UserClick();
    const std::vector<platform::PrintJob> jobs = printer().TakeJobs();
    ASSERT_EQ(jobs.size(), 2u) << "a document left open is ended first";
    const std::string rule(78, '-');
    EXPECT_EQ(jobs[1].Text(), "\n"
                              "                       Guest Listing Report for 12/6/26\n"
                              "\n"
                              "\n"
                              "ROOM LAST           CLERK  REGCARD  FOLIO  RATE    PAY  DEPART\n" +
                                  rule +
                                  "\n"
                                  "105  SMITH          JD     4711     7      49.95   N    12/7/26   \n" +
                                  rule +
                                  "\n"
                                  "210  ADAMS          JD     4711     7      49.95   N    12/7/26   \n" +
                                  rule);
    EXPECT_TRUE(list().Loaded()) << "printing leaves the list open";
}

TEST_F(GuestListTest, OtherKeysDoNothing) {
    OpenByButton();
    list().UserKey('q');
    list().UserKey('G');
    EXPECT_TRUE(list().Loaded());
    EXPECT_FALSE(IsLoaded("Form62"));
}

struct WayOut {
    const char* name;
    std::function<void(Form7&)> leave;
};

const WayOut kWaysOut[] = {
    {"Command1", [](Form7& f) { f.Command1.UserClick(); }},
    {"Command2", [](Form7& f) { f.Command2.UserClick(); }},
    {"Esc", [](Form7& f) { f.UserKey(platform::vbKeyEscape); }},
    {"close box", [](Form7& f) { f.UserClose(); }},
};

// The "G" key had unloaded the front desk: leaving rebuilds it, so a room added meanwhile shows.
TEST_F(GuestListTest, EveryWayOutAfterTheKeyRebuildsTheFrontDesk) {
    for (const WayOut& way : kWaysOut) {
        Restart();
        std::filesystem::remove(DataFile("rooms"));
        StartProgram();
        desk().UserKey('g');
        ASSERT_TRUE(list().Loaded()) << way.name;
        ASSERT_FALSE(desk().Loaded()) << way.name;
        records::AppendRoom(app().data(), testing::Room({.room = "101", .type = "NQ1"}));
        way.leave(list());
        EXPECT_FALSE(list().Loaded()) << way.name;
        EXPECT_TRUE(desk().Loaded()) << way.name;
        EXPECT_TRUE(desk().Visible()) << way.name;
        EXPECT_EQ(desk().Label6.Caption(), "1") << way.name << ": the board is read again";
    }
}

// The button left the front desk standing: leaving does not load it a second time.
TEST_F(GuestListTest, EveryWayOutAfterTheButtonLeavesTheFrontDeskAsItWas) {
    for (const WayOut& way : kWaysOut) {
        Restart();
        std::filesystem::remove(DataFile("rooms"));
        StartProgram();
        desk().Command12.UserClick();
        records::AppendRoom(app().data(), testing::Room({.room = "101", .type = "NQ1"}));
        way.leave(list());
        EXPECT_FALSE(list().Loaded()) << way.name;
        EXPECT_TRUE(desk().Loaded()) << way.name;
        EXPECT_EQ(desk().Label6.Caption(), "") << way.name << ": the front desk was not reloaded";
    }
}

TEST_F(GuestListTest, ExitFromTheFrontDeskEndsTheProgramWithTheListOpen) {
    OpenByButton();
    desk().Command5.UserClick();
    EXPECT_TRUE(app().Ended()) << "closing the list must not bring the front desk back at exit";
}

} // namespace
} // namespace vantreth
