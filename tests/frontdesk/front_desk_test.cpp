// The front desk: start-up on a fresh data folder, the room board, the shortcuts, the date
// hold, the 11 o'clock list and the exit.
#include "support/app_fixture.h"
#include "support/builders.h"
#include "support/file_faults.h"

#include "callacct/form50.h"
#include "frontdesk/form1.h"
#include "frontdesk/form5.h"
#include "platform/engine.h"
#include "platform/text.h"
#include "records/filenames.h"
#include "records/guest_record.h"
#include "records/room_record.h"
#include "records/settings_files.h"
#include "records/shift_record.h"

namespace vantreth {
namespace {

using testing::AppFixture;
using testing::Room;

records::GuestRecord Guest(const std::string& room, const std::string& last, const std::string& first,
                           const std::string& departure) {
    return testing::Guest(room, last, first, {.DepartureDate = departure});
}

class FrontDeskTest : public AppFixture {
protected:
    Form1& desk() { return Form<Form1>(); }
    void AddRoom(const records::RoomRecord& room) { records::AppendRoom(app().data(), room); }
    void SkipGuide() { records::WriteIntroFlag(app().data(), 1.0f); }
    void SetShift(const std::string& shift, const std::string& clerk) {
        records::WriteShift(app().data(), {shift, clerk});
    }
};

TEST_F(FrontDeskTest, FreshStartShowsEmptyBoardAndOpensTheGuide) {
    SetNow(12, 6, 2026, 9, 0, 0);
    StartProgram();
    EXPECT_TRUE(desk().Visible());
    EXPECT_EQ(desk().windowState(), platform::WindowState::Maximized);
    EXPECT_EQ(desk().Label2.Caption(), "0");
    EXPECT_EQ(desk().Label5.Caption(), "0");
    EXPECT_EQ(desk().Label6.Caption(), "");
    for (auto* label : {&desk().Label8, &desk().Label9, &desk().Label10, &desk().Label11})
        EXPECT_EQ(label->Caption(), "0") << label->Name();
    for (auto* label : {&desk().Label12, &desk().Label41, &desk().Label42})
        EXPECT_EQ(label->Caption(), "-") << label->Name();
    EXPECT_EQ(desk().Label17.Caption(), "12/6/26");
    EXPECT_EQ(desk().Label37.Caption(), "") << "no day of the week chosen yet";
    EXPECT_EQ(desk().Label1.Caption(), "Test Motel");
    EXPECT_TRUE(IsLoaded("Form67"));
    EXPECT_TRUE(IsLoaded("Form50"));
    EXPECT_FALSE(Form<Form50>().Visible());
    for (const char* file : {"rooms", "reservations", "intro"})
        EXPECT_FALSE(Exists(file)) << file << ": reading makes no file";
}

TEST_F(FrontDeskTest, GuideStaysClosedOnceItsFlagIsSet) {
    SkipGuide();
    StartProgram();
    EXPECT_FALSE(IsLoaded("Form67"));
}

TEST_F(FrontDeskTest, BoardCountsRoomsByStatusAndType) {
    SkipGuide();
    AddRoom(Room({.room = "101", .type = "NQ1"}));
    AddRoom(Room({.room = "102", .type = "NQ1", .clean = "N"}));   // dirty: neither occupied nor available
    AddRoom(Room({.room = "103", .type = "DD1", .service = "O"})); // occupied
    AddRoom(Room({.room = "104", .type = "PQ1"}));                 // available, in no type line
    AddRoom(Room({.room = "105", .type = "SNQ3"}));                // jacuzzi group
    AddRoom(Room({.room = "106", .type = "NK1", .service = "X"})); // out of order: never counted
    AddRoom(Room({.room = "107", .type = "nq1"}));                 // another case counts in no type line
    AddRoom(Room({.room = "108", .type = "K11", .clean = " "}));   // a blank letter passes the tests
    StartProgram();
    EXPECT_EQ(desk().Label5.Caption(), "1");
    EXPECT_EQ(desk().Label6.Caption(), "5");
    EXPECT_EQ(desk().Label8.Caption(), "1");
    EXPECT_EQ(desk().Label11.Caption(), "0");
    EXPECT_EQ(desk().Label12.Caption(), "1");
    EXPECT_EQ(desk().Label41.Caption(), "-");
    EXPECT_EQ(desk().Label42.Caption(), "1");
}

TEST_F(FrontDeskTest, ShowsDayShiftClerkAndTodaysArrivals) {
    SkipGuide();
    SetNow(12, 6, 2026, 9, 0, 0);
    records::WriteDayOfWeek(app().data(), 5);
    SetShift("B", "JD");
    records::GuestRecord arriving = Guest("101", "SMITH", "JOHN", "12/8/26");
    arriving.ArrivalDate = platform::Fixed("12/6/26", 10);
    records::AddGuest(app().data(), records::kReservationsFile, arriving);
    records::GuestRecord later = arriving;
    later.ArrivalDate = platform::Fixed("12/7/26", 10);
    records::AddGuest(app().data(), records::kReservationsFile, later);
    StartProgram();
    EXPECT_EQ(desk().Label37.Caption(), "FRIDAY");
    EXPECT_EQ(desk().Label25.Caption(), "B");
    EXPECT_EQ(desk().Label26.Caption(), "JD");
    EXPECT_EQ(app().gShift, "B");
    EXPECT_EQ(app().gClerk, "JD");
    EXPECT_EQ(desk().Label2.Caption(), "1");
}

TEST_F(FrontDeskTest, ShortcutsReplaceOrCoverTheFrontDesk) {
    SkipGuide();
    StartProgram();
    desk().UserKey('x');
    EXPECT_TRUE(IsLoaded("Form11"));
    EXPECT_TRUE(desk().Loaded()) << "Unsold Rooms opens on top of the front desk";
    desk().UserKey('S');
    EXPECT_TRUE(IsLoaded("Form5"));
    EXPECT_FALSE(desk().Loaded()) << "the S key replaces the front desk";
}

TEST_F(FrontDeskTest, OtherKeysDoNothing) {
    SkipGuide();
    StartProgram();
    size_t loaded = app().LoadedForms().size();
    desk().UserKey('z');
    desk().UserKey('3');
    EXPECT_EQ(app().LoadedForms().size(), loaded);
}

TEST_F(FrontDeskTest, ButtonsThatReplaceUnloadTheFrontDesk) {
    SkipGuide();
    StartProgram();
    desk().Command14.UserClick();
    EXPECT_FALSE(desk().Loaded());
    EXPECT_TRUE(IsLoaded("Form10"));
}

TEST_F(FrontDeskTest, DateHoldSetsTheDateBackOnceAfterMidnightAndRearmsAfterNoon) {
    SkipGuide();
    SetNow(12, 7, 2026, 1, 0, 5);
    StartProgram();
    desk().Timer1.Fire();
    EXPECT_EQ(app().clock().DateText(), "12/6/26");
    EXPECT_EQ(desk().Label33.Caption(), "12/6/26");
    EXPECT_EQ(desk().Label17.Caption(), "12/6/26");
    EXPECT_EQ(records::ReadDateStatus(app().data()).RolledBack, 1.0f);

    clock().SetTime({1, 0, 10});
    desk().Timer1.Fire();
    EXPECT_EQ(app().clock().DateText(), "12/6/26") << "only once a night";

    clock().SetTime({12, 0, 5});
    desk().Timer1.Fire();
    EXPECT_EQ(records::ReadDateStatus(app().data()).RolledBack, 0.0f);
    EXPECT_EQ(app().clock().DateText(), "12/6/26");
}

TEST_F(FrontDeskTest, DateHoldIsRememberedAcrossARestart) {
    SkipGuide();
    SetNow(12, 7, 2026, 1, 0, 5);
    StartProgram();
    desk().Timer1.Fire();
    Restart();
    StartProgram();
    clock().SetTime({2, 0, 0});
    desk().Timer1.Fire();
    EXPECT_EQ(app().clock().DateText(), "12/6/26")
        << "a restart in the same night does not set it back again";
}

TEST_F(FrontDeskTest, DateHoldKeepsTheSpareBytesOfTheStatusRecord) {
    SkipGuide();
    WriteBytes("datestatus", std::string(8, '\0') + "ab");
    SetNow(12, 7, 2026, 1, 0, 5);
    StartProgram();
    desk().Timer1.Fire();
    EXPECT_EQ(ReadBytes("datestatus").substr(8), "ab");
    EXPECT_EQ(ReadBytes("datestatus").size(), 10u);
}

// The hold is one step: when its flag cannot be saved the date does not move, the clerk is
// told once, and later ticks try again quietly until it works.
TEST_F(FrontDeskTest, DateHoldThatCannotBeSavedMovesNothingAndSaysSoOnce) {
    SkipGuide();
    SetNow(12, 7, 2026, 1, 0, 5);
    StartProgram();
    testing::CountingFaults faults;
    const testing::FaultsGiven given(app().engine(), faults);
    for (int tick = 0; tick < 3; ++tick) {
        faults.Arm(1, platform::FileFaults::Kind::Fail);
        if (tick == 0)
            dialogs().Answer(platform::vbOK);
        desk().Timer1.Fire();
        EXPECT_EQ(app().clock().DateText(), "12/7/26");
        EXPECT_EQ(records::ReadDateStatus(app().data()).RolledBack, 0.0f);
    }
    EXPECT_EQ(dialogs().shown().size(), 1u);
    faults.Disarm();
    desk().Timer1.Fire();
    EXPECT_EQ(app().clock().DateText(), "12/6/26");
    EXPECT_EQ(dialogs().shown().size(), 1u);
}

// Midnight passes while the check-in window has taken the front desk's place: the date is
// held all the same, so a guest checked in at 12:30 AM lands in the day being worked.
TEST_F(FrontDeskTest, DateHoldWorksWhileAnotherWindowHasReplacedTheFrontDesk) {
    SkipGuide();
    SetNow(12, 6, 2026, 23, 59, 55);
    StartProgram();
    app().Dispatch([&] { app().Unload(desk()); });
    ASSERT_FALSE(IsLoaded("Form1"));
    SetNow(12, 7, 2026, 0, 30, 0);
    app().TimePassed(5000);
    EXPECT_EQ(app().clock().DateText(), "12/6/26");
    EXPECT_EQ(records::ReadDateStatus(app().data()).RolledBack, 1.0f);
}

class SleepersTest : public FrontDeskTest {
protected:
    void SetUp() override {
        SkipGuide();
        SetShift("A", "JD");
        SetNow(12, 6, 2026, 11, 0, 0);
        records::AddGuest(app().data(), records::kGuestFile, Guest("12", "SMITH", "JOHN", "12/6/26"));
        records::AddGuest(app().data(), records::kGuestFile, Guest("101", "JONES", "AMY", "12/7/26"));
    }
    std::string SleepersFile() { return ReadBytes("sleepers/12626"); }
};

TEST_F(SleepersTest, ListsGuestsDueOutTodayOnceInTheElevenOClockHourOfShiftA) {
    StartProgram();
    desk().Timer2.Fire();
    EXPECT_TRUE(desk().List1.Visible());
    EXPECT_TRUE(desk().Label36.Visible());
    EXPECT_EQ(desk().List1.Items(), (std::vector<std::string>{"12 "}));
    EXPECT_EQ(SleepersFile(), "\"12   SMITH, JOHN\"\r\n");
    EXPECT_EQ(records::ReadSleepersToday(app().data()), 1.0);
    EXPECT_EQ(app().gSleepersDone, 1.0f);

    desk().Timer2.Fire();
    EXPECT_EQ(desk().List1.ListCount(), 1);
}

TEST_F(SleepersTest, AlsoRunsAtElevenInTheEvening) {
    SetNow(12, 6, 2026, 23, 0, 0);
    StartProgram();
    desk().Timer2.Fire();
    EXPECT_EQ(desk().List1.ListCount(), 1);
}

TEST_F(SleepersTest, DoesNothingOutsideTheHourOrOnAnotherShift) {
    SetNow(12, 6, 2026, 10, 59, 59);
    StartProgram();
    desk().Timer2.Fire();
    EXPECT_FALSE(desk().List1.Visible());
    SetNow(12, 6, 2026, 11, 0, 0);
    app().gShift = "B";
    desk().Timer2.Fire();
    EXPECT_FALSE(desk().List1.Visible());
    EXPECT_FALSE(Exists("sleepers/12626"));
}

TEST_F(SleepersTest, ARestartInTheHourDoesNotWriteTheLinesTwice) {
    StartProgram();
    desk().Timer2.Fire();
    Restart();
    StartProgram();
    desk().Timer2.Fire();
    EXPECT_EQ(desk().List1.ListCount(), 1);
    EXPECT_EQ(SleepersFile(), "\"12   SMITH, JOHN\"\r\n");
}

TEST_F(FrontDeskTest, ExitClosesThePortAndUnloadsEverything) {
    SkipGuide();
    StartProgram();
    desk().Command5.UserClick();
    EXPECT_FALSE(IsLoaded("Form50"));
    EXPECT_TRUE(app().Ended());
}

TEST_F(FrontDeskTest, ExitAlsoClosesTheGuideAndWindowsOpenOverTheFrontDesk) {
    StartProgram();
    ASSERT_TRUE(IsLoaded("Form67"));
    desk().Command10.UserClick();
    desk().Command4.UserClick();
    desk().Command5.UserClick();
    EXPECT_TRUE(app().LoadedForms().empty());
    EXPECT_TRUE(app().Ended());
}

TEST_F(FrontDeskTest, CloseBoxRunsTheExit) {
    SkipGuide();
    StartProgram();
    desk().UserClose();
    EXPECT_TRUE(app().Ended());
    EXPECT_FALSE(IsLoaded("Form50"));
}

TEST_F(FrontDeskTest, AMissingDataFolderIsReportedNotFatal) {
    SkipGuide();
    StartProgram();
    std::filesystem::remove_all(dataRoot());
    dialogs().Answer(platform::vbOK);
    app().Dispatch([&] {
        app().Unload(desk());
        app().Load(desk());
    });
    EXPECT_EQ(LastBox().title, "File Error");
    EXPECT_FALSE(app().Ended());
}

} // namespace
} // namespace vantreth

namespace vantreth {
namespace {

// A step that fails is told in its own words: what it did, never "the last step".
TEST_F(FrontDeskTest, AFailedChangeOfShiftIsToldInItsOwnWords) {
    struct JournalFull final : platform::FileFaults {
        Fault BeforeChange(const std::filesystem::path&, size_t) override { return {}; }
        Fault Before(const Change& change) override {
            return change.op == Op::Write && change.file.filename() == platform::kJournalName
                       ? Fault{Kind::Fail, ENOSPC}
                       : Fault{};
        }
    } full;
    SkipGuide();
    StartProgram();
    desk().UserKey('S');
    ASSERT_TRUE(IsLoaded("Form5"));
    Form<Form5>().Command4.UserClick(); // shift B
    app().engine().SetFaults(&full);
    dialogs().Answer(platform::vbOK);
    Form<Form5>().Text1.UserTypeText("JD");
    app().engine().SetFaults(nullptr);
    EXPECT_EQ(LastBox().title, "File Error");
    EXPECT_NE(LastBox().prompt.find("The step \"Change of shift to shift B, clerk JD\" was not finished"),
              std::string::npos)
        << LastBox().prompt;
    EXPECT_EQ(LastBox().prompt.find("the last step"), std::string::npos);
}

} // namespace
} // namespace vantreth
