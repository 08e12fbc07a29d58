// Change Shift: the commit on the second initial, the commit by button, and every way out
// bringing the front desk back.
#include "support/app_fixture.h"

#include "frontdesk/form1.h"
#include "frontdesk/form5.h"
#include "records/settings_files.h"
#include "records/shift_record.h"

#include <cerrno>

namespace vantreth {
namespace {

class ShiftTest : public testing::AppFixture {
protected:
    void SetUp() override {
        records::WriteIntroFlag(app().data(), 1.0f);
        StartProgram();
    }
    Form5& shift() { return Form<Form5>(); }
    Form1& desk() { return Form<Form1>(); }
    records::ShiftRecord Stored() { return records::ReadShift(app().data()); }
};

TEST_F(ShiftTest, ShiftButtonShowsTheInitialsBox) {
    desk().Command10.UserClick();
    EXPECT_FALSE(shift().Text1.Visible());
    shift().Command4.UserClick();
    EXPECT_TRUE(shift().Text1.Visible());
    EXPECT_EQ(shift().Label4.Caption(), "B");
    EXPECT_TRUE(shift().Text1.HasFocus());
}

TEST_F(ShiftTest, SecondInitialCommitsInCapitalsAndRearmsTheListOnShiftB) {
    app().gSleepersDone = 1.0f;
    desk().List1.SetVisible(true);
    desk().Label36.SetVisible(true);
    desk().Command10.UserClick();
    shift().Command4.UserClick();
    shift().Text1.UserTypeText("jd");
    EXPECT_FALSE(shift().Loaded());
    EXPECT_EQ(ReadBytes("shift"), "BJD");
    EXPECT_EQ(desk().Label25.Caption(), "B");
    EXPECT_EQ(desk().Label26.Caption(), "JD");
    EXPECT_EQ(app().gShift, "B");
    EXPECT_EQ(app().gClerk, "JD");
    EXPECT_EQ(app().gSleepersDone, 0.0f);
    EXPECT_FALSE(desk().List1.Visible());
    EXPECT_FALSE(desk().Label36.Visible());
}

TEST_F(ShiftTest, ControlKeysNeverBecomeInitials) {
    desk().Command10.UserClick();
    shift().Command3.UserClick();
    shift().Text1.UserType('a');
    shift().Text1.UserType(platform::vbKeyReturn);
    EXPECT_TRUE(shift().Loaded()) << "Enter does not commit";
    shift().Text1.UserType(platform::vbKeyBack);
    EXPECT_EQ(shift().Text1.Text(), "") << "Backspace edits the box";
    shift().Text1.UserTypeText("bc");
    EXPECT_EQ(ReadBytes("shift"), "ABC");
}

TEST_F(ShiftTest, ChangeNowKeepsTheInitialsAsTypedAndLeavesTheListAlone) {
    app().gSleepersDone = 1.0f;
    desk().Command10.UserClick();
    shift().Command3.UserClick();
    shift().Text1.UserType('k');
    shift().Command1.UserClick();
    EXPECT_EQ(ReadBytes("shift"), "Ak ");
    EXPECT_EQ(app().gClerk, "k ");
    EXPECT_EQ(app().gSleepersDone, 1.0f);
    EXPECT_FALSE(shift().Loaded());
}

TEST_F(ShiftTest, ChangeNowWithoutShiftOrInitialsWarnsAndWritesNothing) {
    desk().Command10.UserClick();
    dialogs().Answer(platform::vbOK);
    shift().Command1.UserClick();
    EXPECT_EQ(LastBox().title, "WARNING");
    EXPECT_EQ(
        LastBox().prompt,
        "You did not select a shift and/or initials. Please fix or click 'Cancel' to exit this module.");
    EXPECT_TRUE(shift().Loaded());
    EXPECT_EQ(ReadBytes("shift"), "");
}

TEST_F(ShiftTest, EveryWayOutOfTheShortcutWindowBringsTheFrontDeskBack) {
    struct Way {
        const char* name;
        std::function<void(Form5&)> leave;
    };
    const Way ways[] = {
        {"Esc", [](Form5& f) { f.UserKey(platform::vbKeyEscape); }},
        {"close box", [](Form5& f) { f.UserClose(); }},
        {"Cancel / Esc", [](Form5& f) { f.Command2.UserClick(); }},
        {"Change Now",
         [](Form5& f) {
             f.Command3.UserClick();
             f.Text1.UserType('z');
             f.Command1.UserClick();
         }},
    };
    for (const Way& way : ways) {
        desk().UserKey('s');
        ASSERT_FALSE(desk().Loaded()) << way.name;
        way.leave(shift());
        EXPECT_FALSE(shift().Loaded()) << way.name;
        EXPECT_TRUE(desk().Loaded()) << way.name;
        EXPECT_FALSE(app().Ended()) << way.name;
    }
}

TEST_F(ShiftTest, EscapeWritesNothing) {
    desk().Command10.UserClick();
    shift().Command3.UserClick();
    shift().Text1.UserType('a');
    shift().UserKey(platform::vbKeyEscape);
    EXPECT_EQ(ReadBytes("shift"), "");
}

// A shift change whose record cannot be written (the disk full at its commit point) leaves
// the shift as stored: on the front desk and in the program's copies of it.
TEST_F(ShiftTest, AShiftChangeThatCannotBeSavedLeavesTheShiftAsStored) {
    struct JournalFull final : platform::FileFaults {
        Fault BeforeChange(const std::filesystem::path& file, size_t) override {
            return file.filename() == platform::kJournalName ? Fault{Kind::Fail, ENOSPC} : Fault{};
        }
    };
    app().gSleepersDone = 1.0f;
    const records::ShiftRecord before = Stored();
    desk().Command10.UserClick();
    shift().Command4.UserClick();
    JournalFull full;
    app().engine().SetFaults(&full);
    dialogs().Answer(platform::vbOK);
    shift().Text1.UserTypeText("jd");
    app().engine().SetFaults(nullptr);
    EXPECT_EQ(LastBox().title, "File Error");
    EXPECT_EQ(Stored().Shift, before.Shift);
    EXPECT_EQ(app().gShift, before.Shift);
    EXPECT_EQ(app().gClerk, before.Clerk);
    EXPECT_EQ(app().gSleepersDone, 1.0f);
    EXPECT_EQ(desk().Label25.Caption(), before.Shift);
    EXPECT_EQ(desk().Label26.Caption(), before.Clerk);
}

} // namespace
} // namespace vantreth
