// Room availability: the groups of room types, which nights a reservation holds its room,
// the counts per group, the date chart, and the report's hand-over to Add Reservation.
#include "reservations_fixture.h"

#include "frontdesk/form1.h"
#include "reservations/form65.h"
#include "reservations/form66.h"
#include "reservations/room_availability.h"

namespace vantreth {
namespace {

using testing::Reservation;
using testing::ReservationsFixture;
using testing::Room;

TEST(RoomAvailabilityTest, RoomTypesFallIntoTheirGroupsAndOthersIntoNone) {
    const std::pair<std::string, std::optional<RoomGroup>> cases[] = {
        {"NK1  ", kGroupNK1},  {"K11", kGroupK11},     {"NQ1", kGroupNQ1},    {"PNQ1 ", kGroupNQ1},
        {"Q11", kGroupQ11},    {"PQ1", kGroupQ11},     {"NDD1", kGroupNDD1},  {"DD1", kGroupDD1},
        {"SNQ1", kGroupJQZ},   {"SQ1", kGroupJQZ},     {"SQ3", kGroupJQZ},    {"SNQ3", kGroupJQZ},
        {"nq1", std::nullopt}, {" NQ1", std::nullopt}, {"STE", std::nullopt}, {"", std::nullopt},
    };
    for (const auto& [type, group] : cases)
        EXPECT_EQ(RoomGroupOf(type), group) << "type '" << type << "'";
}

TEST(RoomAvailabilityTest, AReservationHoldsItsRoomFromArrivalUpToButNotOnDeparture) {
    struct Case {
        std::string arrival;
        std::string departure;
        std::string night;
        bool held;
    };
    const Case cases[] = {
        {"12/6/26", "12/9/26", "12/5/26", false},
        {"12/6/26", "12/9/26", "12/6/26", true},
        {"12/6/26", "12/9/26", "12/8/26", true},
        {"12/6/26", "12/9/26", "12/9/26", false},
        {"10/5/04", "10/8/04", "10/7/04", true},
        {" 12/6/26", "", "12/6/26", false}, // only trailing blanks are dropped
        {"12/6/26", "", "12/6/26", true},   // no departure: the arrival night only
        {"12/6/26", "", "12/7/26", false},
        // Stays across the turn of a month or a year hold every night.
        {"1/30/27", "2/3/27", "1/31/27", true},
        {"1/30/27", "2/3/27", "2/2/27", true},
        {"12/30/26", "1/2/27", "1/1/27", true},
        // The same days of another year are another stay.
        {"12/6/25", "12/9/25", "12/7/26", false},
        {"", "", "", false},
    };
    for (const Case& c : cases) {
        const records::GuestRecord slot = Reservation("SMITH", "JOHN", "101", c.arrival, c.departure);
        EXPECT_EQ(HoldsRoomOn(slot, c.night, 2026), c.held)
            << c.arrival << " to " << c.departure << " on " << c.night;
    }
}

TEST(RoomAvailabilityTest, CountsEachGroupsRoomsLessTheReservationsHoldingThemThatNight) {
    const std::vector<records::RoomRecord> rooms = {
        Room({.room = "101", .type = "NQ1"}), Room({.room = "102", .type = "NQ1"}),
        Room({.room = "103", .type = "NQ1"}), Room({.room = "104", .type = "PNQ1"}),
        Room({.room = "201", .type = "DD1"}), Room({.room = "301", .type = "SQ3"}),
        Room({.room = "302", .type = "NK1"}), Room({.room = "401", .type = "STE"}),
    };
    const std::vector<records::GuestRecord> reservations = {
        Reservation("A", "A", "104", "12/5/26", "12/8/26"), // a PNQ1 room, its second night
        Reservation("B", "B", "201", "12/6/26", "12/7/26"),
        Reservation("C", "C", "201", "12/6/26", "12/7/26"), // the same DD1 room booked twice
        Reservation("D", "D", "301", "12/6/26", "12/7/26"),
        Reservation("E", "E", "401", "12/6/26", "12/7/26"), // a room of no group
        Reservation("F", "F", "999", "12/6/26", "12/7/26"), // a room not on file
        Reservation("G", "G", "302", "12/7/26", "12/8/26"), // arrives tomorrow
    };
    RoomGroupCounts expected{};
    expected[kGroupNK1] = 1;
    expected[kGroupNQ1] = 3;
    expected[kGroupDD1] = -1;
    expected[kGroupJQZ] = 0;
    EXPECT_EQ(CountAvailableRooms(rooms, reservations, "12/6/26", 2026), expected);
}

TEST(RoomAvailabilityTest, DateChartRunsFromTodayFor372Days) {
    const std::vector<std::string> days = DateChart({2026, 12, 6});
    ASSERT_EQ(days.size(), 372u);
    EXPECT_EQ(days.front(), "12/6/26");
    EXPECT_EQ(days[26], "1/1/27");
    EXPECT_EQ(days.back(), "12/12/27");
}

using AvailabilityReportTest = ReservationsFixture;

TEST_F(AvailabilityReportTest, PickingADayShowsItsCountsAndHandsItToAddReservation) {
    PutRooms({Room({.room = "101", .type = "NQ1"}), Room({.room = "102", .type = "PNQ1"}),
              Room({.room = "201", .type = "DD1"}), Room({.room = "301", .type = "K11"})});
    PutReservations({Reservation("SMITH", "JOHN", "101", "12/7/26", "12/9/26")});
    StartAtFrontDesk();
    Form<Form1>().Command18.UserClick();
    ASSERT_TRUE(IsLoaded("Form65"));
    ASSERT_TRUE(IsLoaded("Form66"));
    Form65& report = Form<Form65>();
    Form<Form66>().List1.UserPick("12/8/26");
    Form<Form66>().List1.UserDblClick(Form<Form66>().List1.ListIndex());
    EXPECT_FALSE(IsLoaded("Form66"));
    EXPECT_EQ(report.Label1.Caption(), "12/8/26");
    const std::vector<std::string> shown = {
        report.Label17.Caption(), report.Label19.Caption(), report.Label7.Caption(), report.Label8.Caption(),
        report.Label9.Caption(),  report.Label10.Caption(), report.Label12.Caption()};
    EXPECT_EQ(shown, (std::vector<std::string>{"0", "1", "1", "0", "0", "1", "0"}));

    report.Command2.UserClick();
    EXPECT_TRUE(IsLoaded("Form66"));
    Form<Form66>().Command1.UserClick();
    EXPECT_EQ(report.Label1.Caption(), "12/8/26");

    report.Command3.UserClick();
    EXPECT_FALSE(IsLoaded("Form65"));
    EXPECT_EQ(Seen("Form26").presetArrivalDate, "12/8/26");
    EXPECT_TRUE(IsLoaded("Form1"));
}

TEST_F(AvailabilityReportTest, ReservingBeforeADayWasPickedPresetsNoDateAndClosingTakesTheChartAlong) {
    StartAtFrontDesk();
    // Esc where the focus starts, in the chart's list, is the report's "Cancel / Esc".
    Form<Form1>().Command18.UserClick();
    ASSERT_EQ(Form<Form66>().ActiveControl(), &Form<Form66>().List1);
    Form<Form66>().List1.UserKey(platform::vbKeyEscape);
    EXPECT_FALSE(IsLoaded("Form65"));
    EXPECT_FALSE(IsLoaded("Form66"));

    Form<Form1>().Command18.UserClick();
    Form<Form65>().Command3.UserClick();
    EXPECT_EQ(Seen("Form26").loads, 1);
    EXPECT_EQ(Seen("Form26").presetArrivalDate, "");
    EXPECT_FALSE(IsLoaded("Form65"));
    EXPECT_FALSE(IsLoaded("Form66"));
}

} // namespace
} // namespace vantreth
