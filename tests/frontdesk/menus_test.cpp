// The Main Menu, Administration, the first-run guide and the about window: which windows
// each button opens or closes, the front desk's state after it, the guide's intro flag
// bytes, and the two printouts of the Main Menu.
#include "support/app_fixture.h"
#include "support/builders.h"

#include "app/open_with_shell.h"
#include "callacct/form71.h"
#include "frontdesk/form1.h"
#include "frontdesk/form12.h"
#include "frontdesk/form17.h"
#include "frontdesk/form67.h"
#include "frontdesk/form74.h"
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

using platform::CommandButton;
using platform::WindowState;
using testing::AppFixture;
using testing::Room;

class MenuFixture : public AppFixture {
protected:
    // The front desk as the clerk finds it after the guide was switched off.
    void StartAtFrontDesk() {
        records::WriteIntroFlag(app().data(), 1.0f);
        StartProgram();
        ASSERT_TRUE(IsLoaded("Form1"));
        ASSERT_FALSE(IsLoaded("Form67"));
    }
    void OpenMainMenu() {
        StartAtFrontDesk();
        Form<Form1>().Command3.UserClick();
        ASSERT_TRUE(IsLoaded("Form12"));
    }
    // Counts every load of a window from now on.
    void CountLoads() {
        app().on_loaded = [this](platform::Form& form) { m_loads[form.Name()]++; };
    }
    int Loads(const std::string& name) { return m_loads[name]; }

private:
    std::map<std::string, int> m_loads;
};

using MainMenuTest = MenuFixture;

TEST_F(MainMenuTest, EachButtonOpensItsWindowAndClosesTheMenuOrLeavesItOpen) {
    struct Case {
        CommandButton Form12::*button;
        std::string caption;
        std::string opens;
        bool menuStays;
    };
    const Case cases[] = {
        {&Form12::Command1, "Night Audit ", "Form13", false},
        {&Form12::Command10, "Enter Cash From Vending", "Form72", true},
        {&Form12::Command11, "Enter Cash From Other", "Form73", true},
        {&Form12::Command12, "Enter Petty Cash Out", "Form75", true},
        {&Form12::Command2, "Administration", "Form17", false},
        {&Form12::Command4, "Direct Bill Options", "Form21", false},
        {&Form12::Command9, "Reports Menu", "Form47", false},
    };
    for (const Case& c : cases) {
        Restart();
        OpenMainMenu();
        CommandButton& button = Form<Form12>().*c.button;
        EXPECT_EQ(button.Caption(), c.caption) << button.Name();
        button.UserClick();
        EXPECT_TRUE(IsLoaded(c.opens)) << button.Name() << " should open " << c.opens;
        EXPECT_EQ(IsLoaded("Form12"), c.menuStays) << button.Name();
        EXPECT_TRUE(IsLoaded("Form1")) << button.Name();
        EXPECT_EQ(Form<Form1>().windowState(), WindowState::Maximized) << button.Name();
    }
}

TEST_F(MainMenuTest, FindCheckedOutGuestMinimisesTheFrontDeskFirst) {
    OpenMainMenu();
    Form<Form12>().Command3.UserClick();
    EXPECT_FALSE(IsLoaded("Form12"));
    EXPECT_TRUE(IsLoaded("Form52"));
    EXPECT_TRUE(IsLoaded("Form1"));
    EXPECT_EQ(Form<Form1>().windowState(), WindowState::Minimized);
}

TEST_F(MainMenuTest, DoNotRentUnloadsTheFrontDeskAndOpensTheList) {
    OpenMainMenu();
    Form<Form12>().Command8.UserClick();
    EXPECT_FALSE(IsLoaded("Form12"));
    EXPECT_FALSE(IsLoaded("Form1"));
    EXPECT_TRUE(IsLoaded("Form46"));
}

TEST_F(MainMenuTest, ExitAndCloseOnlyCloseTheMenu) {
    for (CommandButton Form12::*button : {&Form12::Command6, &Form12::Command13}) {
        Restart();
        OpenMainMenu();
        CountLoads();
        (Form<Form12>().*button).UserClick();
        EXPECT_FALSE(IsLoaded("Form12")) << (Form<Form12>().*button).Name();
        EXPECT_EQ(app().LoadedForms().size(), 2u) << "only the front desk and the call-capture window left";
        EXPECT_EQ(Loads("Form1"), 0) << "the front desk is not reloaded";
    }
}

TEST_F(MainMenuTest, HousekeepingReportPrintsOccupiedRoomsByTimeOfDayAndClosesTheMenu) {
    records::AppendRoom(
        app().data(),
        Room({.room = "101", .type = "NQ1", .clean = "N", .service = "O", .comment = "late check out"}));
    records::AppendRoom(app().data(), Room({.room = "12", .type = "DD1"}));
    records::GuestRecord guest;
    guest.LastName = platform::Fixed("SMITH", 15);
    guest.FirstName = platform::Fixed("JOHN", 15);
    guest.Room = "101";
    guest.DepartureDate = platform::Fixed("12/6/26", 10);
    records::AddGuest(app().data(), records::kGuestFile, guest);

    struct Case {
        int hour;
        std::string mark;
    };
    for (const Case& c : {Case{9, "        X  "}, Case{15, "  OCCUPIED "}}) {
        Restart();
        SetNow(12, 6, 2026, c.hour, 30, 0);
        OpenMainMenu();
        printer().Clear();
        Form<Form12>().Command5.UserClick();
        EXPECT_FALSE(IsLoaded("Form12"));
        const std::vector<platform::PrintJob> jobs = printer().TakeJobs();
        ASSERT_EQ(jobs.size(), 1u) << "hour " << c.hour;
        const std::vector<platform::PrintedLine>& lines = jobs[0].pages.at(0).lines;
        ASSERT_EQ(lines.size(), 10u) << jobs[0].Text();
        EXPECT_EQ(lines[0].text, std::string(21, ' ') + "Test Motel Housekeeping Report");
        EXPECT_EQ(lines[3].text, "Date: 12/6/26    Occupied and Dirty Rooms: 2    Stayovers: 0");
        EXPECT_EQ(lines[8].text, "101   NQ1    " + c.mark + " late check out" + std::string(36, ' '))
            << "hour " << c.hour;
        EXPECT_EQ(lines[9].text, "12    DD1    EMPTY/CLEAN " + std::string(50, ' '));
    }
}

TEST_F(MainMenuTest, OutOfOrderListPrintsWithoutALeadingBlankLine) {
    records::AppendRoom(app().data(),
                        Room({.room = "101", .type = "NQ1", .service = "X", .comment = "NO HEAT"}));
    SetNow(12, 6, 2026, 10, 0, 0);
    OpenMainMenu();
    printer().Clear();
    Form<Form12>().Command7.UserClick();
    EXPECT_FALSE(IsLoaded("Form12"));
    const std::vector<platform::PrintJob> jobs = printer().TakeJobs();
    ASSERT_EQ(jobs.size(), 1u);
    const std::vector<platform::PrintedLine>& lines = jobs[0].pages.at(0).lines;
    ASSERT_EQ(lines.size(), 7u) << jobs[0].Text();
    EXPECT_EQ(lines[0].text, "                     Out Of Order Room List for 12/6/26");
    EXPECT_EQ(lines[5].text, "101   NQ1    NO HEAT");
}

using AdministrationTest = MenuFixture;

TEST_F(AdministrationTest, OpensFromTheMainMenuWhichCloses) {
    OpenMainMenu();
    Form<Form12>().Command2.UserClick();
    EXPECT_TRUE(IsLoaded("Form17"));
    EXPECT_EQ(Form<Form17>().Caption(), "Administration");
    EXPECT_FALSE(IsLoaded("Form12"));
}

TEST_F(AdministrationTest, EachButtonOpensItsWindowAndClosesTheMenuOrLeavesItOpen) {
    struct Case {
        CommandButton Form17::*button;
        std::string caption;
        std::string opens; // "" for the exit
        bool menuStays;
    };
    const Case cases[] = {
        {&Form17::Command1, "Edit Room Properties", "Form18", false},
        {&Form17::Command2, "Change Tax Code", "Form19", true},
        {&Form17::Command4, "Emergency Room Check Out", "Form55", false},
        {&Form17::Command5, "Set The Day of The Week", "Form56", false},
        {&Form17::Command6, "Set Rates Days / Weekends", "Form59", false},
        {&Form17::Command7, "Change Rates on Room Type", "Form24", false},
        {&Form17::Command8, "Set Optional Rates", "Form69", true},
        {&Form17::Command9, "Repair Day Totals", "Form58", false},
        {&Form17::Command3, "Exit", "", false},
    };
    for (const Case& c : cases) {
        Restart();
        OpenMainMenu();
        Form<Form12>().Command2.UserClick();
        CommandButton& button = Form<Form17>().*c.button;
        EXPECT_EQ(button.Caption(), c.caption) << button.Name();
        const size_t before = app().LoadedForms().size();
        if (c.opens == "Form55")
            dialogs().Answer(platform::vbOK); // its opening caution
        button.UserClick();
        if (!c.opens.empty()) {
            EXPECT_TRUE(IsLoaded(c.opens)) << button.Name() << " should open " << c.opens;
        } else {
            EXPECT_EQ(app().LoadedForms().size(), before - 1) << "Exit opens nothing";
        }
        EXPECT_EQ(IsLoaded("Form17"), c.menuStays) << button.Name();
        EXPECT_TRUE(IsLoaded("Form1")) << button.Name();
        EXPECT_FALSE(IsLoaded("Form12")) << button.Name();
    }
}

class GreetingsTest : public MenuFixture {
protected:
    Form67& guide() { return Form<Form67>(); }
    // The Single 1.0 and 0 as stored: little-endian IEEE 754.
    const std::string kOne = std::string("\x00\x00\x80\x3f", 4);
    const std::string kZero = std::string(4, '\0');
};

TEST_F(GreetingsTest, CheckingWritesOneInTheFirstFourBytesAndTheGuideStaysAway) {
    StartProgram();
    guide().Check1.UserClick();
    EXPECT_EQ(ReadBytes("intro"), kOne) << "one Single, nothing past it";
    EXPECT_TRUE(IsLoaded("Form67")) << "checking the box does not close the guide";

    Restart();
    StartProgram();
    EXPECT_TRUE(IsLoaded("Form1"));
    EXPECT_FALSE(IsLoaded("Form67"));
}

TEST_F(GreetingsTest, CheckingThenUncheckingLeavesZeroAndTheGuideOpensAgain) {
    StartProgram();
    guide().Check1.UserClick();
    guide().Check1.UserClick();
    EXPECT_EQ(guide().Check1.Value(), 0);
    EXPECT_EQ(ReadBytes("intro"), kZero);

    Restart();
    StartProgram();
    EXPECT_TRUE(IsLoaded("Form67"));
}

TEST_F(GreetingsTest, WritesOnlyTheSingleAndKeepsTheRestOfTheRecord) {
    WriteBytes("intro", kZero + "EFGHIJ");
    StartProgram();
    ASSERT_TRUE(IsLoaded("Form67"));
    guide().Check1.UserClick();
    EXPECT_EQ(ReadBytes("intro"), kOne + "EFGHIJ");
}

TEST_F(GreetingsTest, AValueOtherThanCheckedOrClearedWritesNothing) {
    StartProgram();
    guide().Check1.UserSetValue(2);
    EXPECT_EQ(ReadBytes("intro"), "") << "the front desk's read leaves the file empty";
}

TEST_F(GreetingsTest, EachGuideButtonOpensItsWindowOnceAndTheGuideStays) {
    struct Case {
        CommandButton Form67::*button;
        std::string opens;
    };
    const Case cases[] = {
        {&Form67::Command1, "Form19"}, {&Form67::Command2, "Form18"}, {&Form67::Command4, "Form59"},
        {&Form67::Command5, "Form56"}, {&Form67::Command6, "Form5"},
    };
    for (const Case& c : cases) {
        Restart();
        StartProgram();
        ASSERT_TRUE(IsLoaded("Form67"));
        CountLoads();
        CommandButton& button = guide().*c.button;
        EXPECT_EQ(button.Caption(), "click here");
        button.UserClick();
        button.UserClick();
        EXPECT_TRUE(IsLoaded(c.opens)) << button.Name() << " should open " << c.opens;
        EXPECT_EQ(Loads(c.opens), 1) << button.Name() << " pressed twice";
        EXPECT_TRUE(IsLoaded("Form67")) << button.Name();
        EXPECT_TRUE(IsLoaded("Form1")) << button.Name();
    }
}

TEST_F(GreetingsTest, ExitClosesOnlyTheGuide) {
    StartProgram();
    guide().Command3.UserClick();
    EXPECT_FALSE(IsLoaded("Form67"));
    EXPECT_TRUE(IsLoaded("Form1"));
    EXPECT_EQ(ReadBytes("intro"), "") << "leaving without the box checked keeps the guide for next time";
}

using AboutTest = MenuFixture;

TEST_F(AboutTest, ShowsTheMotelAndSupportAddressAndHasOneCloseButton) {
    StartAtFrontDesk();
    Form<Form1>().Command20.UserClick();
    ASSERT_TRUE(IsLoaded("Form74"));
    Form74& about = Form<Form74>();
    EXPECT_EQ(about.Caption(), "About The Author");
    EXPECT_NE(about.Label2.Caption().find("Test Motel"), std::string::npos) << about.Label2.Caption();
    EXPECT_NE(about.Label3.Caption().find(app().settings().supportMail), std::string::npos);
    std::vector<std::string> buttons;
    for (platform::Control* control : about.Controls())
        if (auto* button = dynamic_cast<CommandButton*>(control))
            buttons.push_back(button->Name() + " " + button->Caption());
    EXPECT_EQ(buttons, std::vector<std::string>{"Command1 Close"});
    EXPECT_TRUE(shell().opened().empty());

    about.Command1.UserClick();
    EXPECT_FALSE(IsLoaded("Form74"));
    EXPECT_TRUE(IsLoaded("Form1"));
}

// A desktop whose open operation fails.
class FailingShell final : public platform::Shell {
public:
    void Open(const std::string& target) override {
        ++calls;
        throw std::runtime_error("no program for " + target);
    }
    int calls = 0;
};

TEST(OpenWithShellTest, AFailingOpenIsIgnored) {
    testing::TempFolder data;
    platform::FakeClock clock;
    platform::ScriptedDialogs dialogs;
    platform::CapturePrinter printer;
    FailingShell shell;
    platform::Services services;
    services.clock = &clock;
    services.dialogs = &dialogs;
    services.printer = &printer;
    services.shell = &shell;
    services.dataRoot = data.path();
    records::MotelSettings settings;
    settings.callBoxDevice = "none";
    App app(services, settings);

    app.Dispatch([&] { app.Load("Form71"); });
    app.Dispatch([&] { OpenWithShell(app, "mailto:someone@example.com"); });
    app.Get<Form71>().Label46.UserClick();
    EXPECT_EQ(shell.calls, 2);
    EXPECT_TRUE(dialogs.shown().empty()) << "no message box for a failed open";
    EXPECT_TRUE(app.IsLoaded("Form71"));
}

} // namespace
} // namespace vantreth
