// Change Date: the new business date, shift "A" with the new clerk, the day of the week and
// the rates it calls for, the month-change files, the refusals and the ways out; and the
// whole night audit from the first step to the rebuilt front desk.
#include "support/app_fixture.h"
#include "support/builders.h"

#include "audit/form13.h"
#include "audit/form16.h"
#include "frontdesk/form1.h"
#include "platform/text.h"
#include "records/filenames.h"
#include "records/guest_record.h"
#include "records/room_record.h"
#include "records/settings_files.h"
#include "records/shift_record.h"
#include "records/stay_ledger.h"

#include <optional>

namespace vantreth {
namespace {

class ChangeDateTest : public testing::AppFixture {
protected:
    void SetUp() override {
        records::WriteIntroFlag(app().data(), 1.0f);
        records::WriteShift(app().data(), {"C", "NB"});
        records::WriteNumberFile(app().data(), records::kCashDropYesFile, 1);
        records::WriteTaxRate(app().data(), 0.1);
        records::WriteDayOfWeek(app().data(), 7);
        records::WriteRateTable(app().data(), records::kWeekdayFile, {40, 50, 60});
        records::WriteRateTable(app().data(), records::kWeekendFile, {70, 80, 90});
        SetNow(12, 6, 2026, 1, 5, 0);
        StartProgram();
    }
    Form16& change() { return Form<Form16>(); }
    Form13& audit() { return Form<Form13>(); }
    void OpenChangeDate() {
        app().Dispatch([&] {
            app().Load(audit());
            app().Load(change());
        });
    }
    void ChangeNow(const std::string& initials) {
        change().Text3.UserTypeText(initials);
        change().Command1.UserClick();
    }
    // Rooms of every kind the re-rating tells apart, each at rate 1.
    void AddRooms() {
        platform::DeleteFile(app().data().File(records::kRoomsFile));
        for (const char* type : {"NQ1", "NDD1", "SQ3", "NQ1", "XYZ"}) {
            records::AppendRoom(
                app().data(),
                testing::Room({.room = std::to_string(100 + records::RoomCount(app().data()) + 1),
                               .type = type,
                               .rate = 1,
                               .clean = " ",
                               .vacant = " ",
                               .service = " "}));
        }
        records::RoomRecord locked = records::ReadRoom(app().data(), 4);
        locked.SetRateLocked(true);
        records::WriteRoom(app().data(), 4, locked);
    }
    std::vector<float> Rates() {
        std::vector<float> rates;
        for (const records::RoomRecord& room : records::ReadAllRooms(app().data()))
            rates.push_back(room.Rate);
        return rates;
    }
};

TEST_F(ChangeDateTest, LoadKeepsTheMonthOfTheDayBeingClosedAndOffersTheNextDay) {
    OpenChangeDate();
    EXPECT_EQ(app().gMonthBefore, "12");
    EXPECT_EQ(ReadBytes("dates/12626"), "\"12\",\"\"\r\n");
    EXPECT_EQ(change().Text1.Text(), "12/7/26");
    EXPECT_EQ(change().Text2.Text(), "A");
    EXPECT_TRUE(change().Text3.HasFocus());
    EXPECT_TRUE(audit().Loaded());
}

TEST_F(ChangeDateTest, ChangeNowStartsTheNewDayOnShiftAWithTheNewClerk) {
    records::WriteDateStatus(app().data(), {1, 0}); // held back after midnight
    OpenChangeDate();
    ChangeNow("jdx");
    EXPECT_FALSE(change().Loaded());
    EXPECT_EQ(clock().DateText(), "12/7/26");
    EXPECT_EQ(ReadBytes("shift"), "AJD") << "two letters stored";
    Form1& desk = Form<Form1>();
    EXPECT_EQ(desk.Label25.Caption(), "A");
    EXPECT_EQ(desk.Label26.Caption(), "JDX") << "shown whole";
    EXPECT_EQ(app().gShift, "C") << "the front desk takes the new shift when it reloads";
    EXPECT_TRUE(audit().Command2.Enabled());
    EXPECT_EQ(app().gMonthAfter, "12");
    EXPECT_EQ(ReadBytes("dates/12626"), "\"12\",\"\"\r\n");
    EXPECT_EQ(ReadBytes("dates/12726"), "\"12\",\"12\"\r\n");
    EXPECT_EQ(records::ReadDateStatus(app().data()).RolledBack, 1.0f) << "the date hold is left as it was";
}

TEST_F(ChangeDateTest, TheNewDayNumberPicksTheRateTable) {
    struct Case {
        std::optional<int> stored; // nullopt: "dayofweek" never written
        double day;
        std::string name;
        std::vector<float> rates; // NQ1, NDD1, SQ3, locked NQ1, XYZ
    };
    const Case cases[] = {
        {4, 5, "FRIDAY", {70, 80, 90, 1, 1}},
        {6, 7, "SUNDAY", {70, 80, 90, 1, 1}},
        {7, 1, "MONDAY", {40, 50, 60, 1, 1}},
        {3, 4, "THURSDAY", {40, 50, 60, 1, 1}},
        {8, 1, "MONDAY", {40, 50, 60, 1, 1}},            // out of range: back to Monday
        {std::nullopt, 1, "MONDAY", {40, 50, 60, 1, 1}}, // 12/7/26 is a Monday
    };
    for (const Case& c : cases) {
        const std::string label =
            "stored day " + (c.stored ? std::to_string(*c.stored) : std::string("none"));
        clock().SetDate({2026, 12, 6});
        platform::DeleteFile(app().data().File(records::kDayOfWeekFile));
        if (c.stored)
            records::WriteDayOfWeek(app().data(), *c.stored);
        AddRooms();
        OpenChangeDate();
        ChangeNow("kl");
        EXPECT_EQ(records::ReadDayOfWeek(app().data()), c.day) << label;
        EXPECT_EQ(Form<Form1>().Label37.Caption(), c.name) << label;
        EXPECT_EQ(Rates(), c.rates) << label;
        EXPECT_EQ(records::ReadRoom(app().data(), 5).RoomType, "XYZ  ") << label;
    }
}

TEST_F(ChangeDateTest, ATableNeverSavedLeavesTheRatesAlone) {
    platform::DeleteFile(app().data().File(records::kWeekdayFile));
    AddRooms();
    OpenChangeDate();
    ChangeNow("kl");
    EXPECT_EQ(Rates(), (std::vector<float>{1, 1, 1, 1, 1}));
    EXPECT_EQ(records::ReadDayOfWeek(app().data()), 1.0);
    EXPECT_EQ(clock().DateText(), "12/7/26");
}

TEST_F(ChangeDateTest, MonthChangeIsRecordedAndASecondChangeSeesNoNewMonth) {
    SetNow(1, 31, 2027, 2, 0, 0);
    OpenChangeDate();
    ChangeNow("jd");
    EXPECT_EQ(app().gMonthBefore, "1");
    EXPECT_EQ(app().gMonthAfter, "2");
    EXPECT_EQ(ReadBytes("dates/13127"), "\"1\",\"\"\r\n");
    EXPECT_EQ(ReadBytes("dates/2127"), "\"1\",\"2\"\r\n");

    OpenChangeDate();
    EXPECT_EQ(app().gMonthBefore, "2");
    EXPECT_EQ(ReadBytes("dates/2127"), "\"2\",\"2\"\r\n");
    ChangeNow("jd");
    EXPECT_EQ(clock().DateText(), "2/2/27");
    EXPECT_EQ(records::ReadDayOfWeek(app().data()), 2.0) << "one day on for each change";
}

TEST_F(ChangeDateTest, MissingInitialsOrADateThatIsNotOneChangeNothing) {
    struct Case {
        std::string date, initials, prompt;
    };
    const Case cases[] = {
        {"12/7/26", "", "You did not Enter initials for the new clerk."},
        {"13/7/26", "jd", ""},
        {"2/30/27", "jd", ""},
        {"tomorrow", "jd", ""},
    };
    for (const Case& c : cases) {
        OpenChangeDate();
        change().Text1.SetText(c.date);
        change().Text3.SetText(c.initials);
        dialogs().Answer(platform::vbOK);
        change().Command1.UserClick();
        EXPECT_EQ(LastBox().title, "WARNING") << c.date;
        if (!c.prompt.empty())
            EXPECT_EQ(LastBox().prompt, c.prompt) << c.date;
        else
            EXPECT_TRUE(change().Text1.HasFocus()) << c.date;
        EXPECT_TRUE(change().Loaded()) << c.date;
        EXPECT_EQ(clock().DateText(), "12/6/26") << c.date;
        EXPECT_EQ(ReadBytes("shift"), "CNB") << c.date;
        EXPECT_EQ(records::ReadDayOfWeek(app().data()), 7.0) << c.date;
        EXPECT_FALSE(audit().Command2.Enabled()) << c.date;
        EXPECT_EQ(app().gMonthAfter, "") << c.date;
        change().Command2.UserClick();
    }
    EXPECT_FALSE(Exists("dates/12726"));
}

TEST_F(ChangeDateTest, TheShiftBoxAlwaysShowsAAndEnterGoesToChangeNow) {
    OpenChangeDate();
    change().Text2.UserTypeText("C");
    EXPECT_EQ(change().Text2.Text(), "A");
    change().Text3.UserTypeText("jd");
    change().Text3.UserType(platform::vbKeyReturn);
    EXPECT_TRUE(change().Command1.HasFocus());
    EXPECT_EQ(change().Text3.Text(), "jd");
}

TEST_F(ChangeDateTest, CancelAndEscapeKeepOnlyTheMonthLineOfTheLoad) {
    for (const char* way : {"Cancel / Esc", "Esc"}) {
        OpenChangeDate();
        change().Text3.UserTypeText("jd");
        if (std::string(way) == "Esc")
            change().UserKey(platform::vbKeyEscape);
        else
            change().Command2.UserClick();
        EXPECT_FALSE(change().Loaded()) << way;
        EXPECT_EQ(clock().DateText(), "12/6/26") << way;
        EXPECT_EQ(ReadBytes("shift"), "CNB") << way;
        EXPECT_FALSE(audit().Command2.Enabled()) << way;
        EXPECT_EQ(ReadBytes("dates/12626"), "\"12\",\"\"\r\n") << way;
        EXPECT_FALSE(Exists("dates/12726")) << way;
    }
}

// Once the date has moved, neither the date nor the night's charge can be run again from
// the same audit window: a second change would skip a day nobody audited, and a second
// charge would bill every stay-over the new day's night in advance.
TEST_F(ChangeDateTest, AfterChangeNowTheDateAndTheChargeWaitForTheNextAudit) {
    const records::GuestRecord stay = testing::Guest(
        "101", "STAYER", "SAM", {.ArrivalDate = "12/5/26", .DepartureDate = "12/9/26", .Rate = 50});
    records::AddGuest(app().data(), records::kGuestFile, stay);
    records::AppendStayLedgerLine(records::StayLedgerPath(app().data(), stay),
                                  testing::LedgerLine("101", "E", "ROOM RENT", 50));
    app().Dispatch([&] { app().Load(audit()); });
    dialogs().Answer(platform::vbYes);
    audit().Command1.UserClick();
    audit().Command3.UserClick();
    audit().Command7.UserClick();
    audit().Command4.UserClick();
    ChangeNow("mk");
    ASSERT_EQ(clock().DateText(), "12/7/26");
    const std::string ledger = ReadBytes("dailycharge/dailycharge101STAYERSAM12526");
    ASSERT_EQ(records::ReadStayLedger(records::StayLedgerPath(app().data(), stay)).size(), 2u)
        << "the closed day's night is charged";

    EXPECT_TRUE(audit().Command2.Enabled());
    for (platform::CommandButton* button : {&audit().Command4, &audit().Command1}) {
        EXPECT_FALSE(button->Enabled()) << button->Caption();
        button->UserClick();
        EXPECT_FALSE(change().Loaded()) << button->Caption();
        EXPECT_EQ(clock().DateText(), "12/7/26") << button->Caption();
        EXPECT_EQ(records::ReadDayOfWeek(app().data()), 1.0) << button->Caption();
        EXPECT_EQ(ReadBytes("dailycharge/dailycharge101STAYERSAM12526"), ledger) << button->Caption();
        EXPECT_FALSE(Exists("totals/totals12726")) << button->Caption();
    }
    ExpectNoPendingAnswers();

    // The audit window opened again starts the sequence again (here as if on shift C after
    // the new day's drop sheet).
    audit().Command6.UserClick();
    app().gShift = "C";
    records::WriteNumberFile(app().data(), records::kCashDropYesFile, 1);
    app().Dispatch([&] { app().Load(audit()); });
    EXPECT_TRUE(audit().Command1.Enabled());
    EXPECT_FALSE(audit().Command4.Enabled());
}

TEST_F(ChangeDateTest, TheWholeAuditEndsWithTheHousekeepingReportAndTheNewShift) {
    records::AppendRoom(app().data(),
                        testing::Room({.room = "101", .type = "NQ1", .clean = "N", .vacant = " "}));
    app().Dispatch([&] { app().Load(audit()); });
    dialogs().Answer(platform::vbYes);
    audit().Command1.UserClick();
    audit().Command3.UserClick();
    audit().Command7.UserClick();
    audit().Command4.UserClick();
    ChangeNow("mk");
    audit().Command2.UserClick();
    ASSERT_TRUE(audit().Command5.Enabled());
    printer().TakeJobs();

    audit().Command5.UserClick();
    const std::vector<platform::PrintJob> jobs = printer().TakeJobs();
    ASSERT_EQ(jobs.size(), 1u);
    const std::vector<platform::PrintedLine>& lines = jobs[0].pages.at(0).lines;
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines[4].text, "Date: 12/7/26    Occupied and Dirty Rooms: 1    Stayovers: 0");
    EXPECT_EQ(lines[9].text, "101   NQ1       DIRTY    " + std::string(50, ' '));
    EXPECT_FALSE(audit().Loaded());
    EXPECT_TRUE(IsLoaded("Form1"));
    EXPECT_EQ(app().gShift, "A");
    EXPECT_EQ(app().gClerk, "MK");
    EXPECT_EQ(Form<Form1>().Label17.Caption(), "12/7/26");
    EXPECT_EQ(Form<Form1>().Label37.Caption(), "MONDAY");
    ExpectNoPendingAnswers();
}

} // namespace
} // namespace vantreth
