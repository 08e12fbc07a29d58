// What a front end needs to sleep while nothing happens: when the next timer is due, which
// timers rest until their port has characters, that a change of timers is told, which
// controls changed since it last looked, and the port to wait on.
#include "platform/program.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <functional>
#include <memory>
#include <string>

namespace platform {
namespace {

class ClockForm final : public Form {
public:
    ClockForm(Program& program, std::string name)
        : Form(program, std::move(name), "Clock", {0, 0, 300, 200}) {
        Fast.on_timer = [this] { fastTicks++; };
        Slow.on_timer = [this] { slowTicks++; };
    }

    Timer Fast{*this, "Fast", {.interval = 10}};
    Timer Slow{*this, "Slow", {.interval = 1000}};
    Timer Off{*this, "Off", {.enabled = false, .interval = 50}};
    Label Label1{*this, "Label1", {.caption = "one"}};
    TextBox Text1{*this, "Text1", {.caption = "text"}};
    CommandButton Command1{*this, "Command1", {.caption = "Go"}};
    CheckBox Check1{*this, "Check1", {.caption = "Tick"}};
    ComboBox Combo1{*this, "Combo1", {}};
    ListBox List1{*this, "List1", {}};
    Frame Frame1{*this, "Frame1", {.caption = "Group"}};
    int fastTicks = 0, slowTicks = 0;

private:
    void Form_Load() override { Show(); }
};

class IdleClockTest : public ::testing::Test {
protected:
    IdleClockTest() {
        Services services;
        services.clock = &m_clock;
        services.dialogs = &m_dialogs;
        services.printer = &m_printer;
        services.shell = &m_shell;
        services.dataRoot = m_data.path();
        program = std::make_unique<Program>(services);
        program->Register("Clock", [](Program& p) { return std::make_unique<ClockForm>(p, "Clock"); });
        program->on_timers_changed = [this] { told++; };
    }
    ClockForm& form() { return static_cast<ClockForm&>(program->Get("Clock")); }

    std::unique_ptr<Program> program;
    int told = 0;

private:
    vantreth::testing::TempFolder m_data;
    FakeClock m_clock;
    ScriptedDialogs m_dialogs;
    CapturePrinter m_printer;
    RecordingShell m_shell;
};

TEST_F(IdleClockTest, TheNextTimerDueIsTheLeastTimeLeftToAnyThatWouldTick) {
    EXPECT_EQ(program->MsUntilNextTimer(), -1) << "no window loaded";
    program->AddBackgroundTask("task", 5000, [] {});
    EXPECT_EQ(program->MsUntilNextTimer(), -1) << "a background task waits for the start";
    program->Start("Clock");
    struct Step {
        const char* what;
        std::function<void(ClockForm&)> change;
        int due;
    };
    const Step steps[] = {
        {"loaded: Fast is due first", [](ClockForm&) {}, 10},
        {"time passed", [this](ClockForm&) { program->TimePassed(4); }, 6},
        {"Fast ticked", [this](ClockForm&) { program->TimePassed(6); }, 10},
        {"Fast rests", [](ClockForm& f) { f.Fast.Rest([] { return -1; }); }, 990},
        {"Fast disabled too", [](ClockForm& f) { f.Fast.SetEnabled(false); }, 990},
        {"Off started", [](ClockForm& f) { f.Off.SetEnabled(true); }, 50},
        {"Off set to 5 ms", [](ClockForm& f) { f.Off.SetInterval(5); }, 5},
        {"Off and Slow stopped: the task",
         [](ClockForm& f) {
             f.Off.SetEnabled(false);
             f.Slow.SetEnabled(false);
         },
         4990},
        {"Fast started and woken",
         [](ClockForm& f) {
             f.Fast.SetEnabled(true);
             f.Fast.Wake();
         },
         10},
    };
    for (const Step& step : steps) {
        step.change(form());
        EXPECT_EQ(program->MsUntilNextTimer(), step.due) << step.what;
    }
    program->Dispatch([this] { program->Unload(form()); });
    EXPECT_EQ(program->MsUntilNextTimer(), -1) << "the program ended: nothing ticks";
}

TEST_F(IdleClockTest, ARestingTimerStillTicksAsTimePassesAndALoadWakesIt) {
    program->Start("Clock");
    form().Fast.Rest([] { return 7; });
    EXPECT_TRUE(form().Fast.Resting());
    EXPECT_EQ(form().Fast.RestDescriptor(), 7);
    program->TimePassed(10);
    EXPECT_EQ(form().fastTicks, 1);
    form().Fast.Wake();
    EXPECT_EQ(form().Fast.RestDescriptor(), -1);
    form().Fast.Rest([] { return 7; });
    program->Dispatch([this] {
        program->Unload(form());
        program->Load(form());
    });
    EXPECT_FALSE(form().Fast.Resting());
}

TEST_F(IdleClockTest, EveryChangeOfATimerIsTold) {
    program->Start("Clock");
    struct Step {
        const char* what;
        std::function<void(ClockForm&)> change;
        bool tells;
    };
    const Step steps[] = {
        {"enabled as it was", [](ClockForm& f) { f.Fast.SetEnabled(true); }, false},
        {"disabled", [](ClockForm& f) { f.Fast.SetEnabled(false); }, true},
        {"interval", [](ClockForm& f) { f.Slow.SetInterval(500); }, true},
        {"rests", [](ClockForm& f) { f.Slow.Rest(nullptr); }, true},
        {"wakes", [](ClockForm& f) { f.Slow.Wake(); }, true},
        {"wakes again", [](ClockForm& f) { f.Slow.Wake(); }, false},
        {"a label disabled", [](ClockForm& f) { f.Label1.SetEnabled(false); }, false},
    };
    for (const Step& step : steps) {
        const int before = told;
        step.change(form());
        EXPECT_EQ(told > before, step.tells) << step.what;
    }
}

TEST_F(IdleClockTest, AControlsVersionGrowsWithEveryChangeOfWhatItShowsAndOnlyThen) {
    program->Start("Clock");
    ClockForm& f = form();
    f.Combo1.AddItem("A");
    f.List1.AddItem("X");
    struct Step {
        const char* what;
        Control& control;
        std::function<void()> change;
        bool changes;
    };
    const Step steps[] = {
        {"caption", f.Label1, [&] { f.Label1.SetCaption("two"); }, true},
        {"same caption", f.Label1, [&] { f.Label1.SetCaption("two"); }, false},
        {"hidden", f.Label1, [&] { f.Label1.SetVisible(false); }, true},
        {"hidden again", f.Label1, [&] { f.Label1.SetVisible(false); }, false},
        {"tool tip", f.Label1, [&] { f.Label1.SetToolTipText("tip"); }, true},
        {"disabled", f.Command1, [&] { f.Command1.SetEnabled(false); }, true},
        {"button caption", f.Command1, [&] { f.Command1.SetCaption("Stop"); }, true},
        {"text", f.Text1, [&] { f.Text1.SetText("new"); }, true},
        {"same text", f.Text1, [&] { f.Text1.SetText("new"); }, false},
        {"selection", f.Text1, [&] { f.Text1.SetSelection(0, 2); }, true},
        {"typed", f.Text1, [&] { f.Text1.UserType('z'); }, true},
        {"check value", f.Check1, [&] { f.Check1.SetValue(1); }, true},
        {"check clicked", f.Check1, [&] { f.Check1.UserClick(); }, true},
        {"combo item", f.Combo1, [&] { f.Combo1.AddItem("B"); }, true},
        {"combo index", f.Combo1, [&] { f.Combo1.SetListIndex(1); }, true},
        {"combo picked", f.Combo1, [&] { f.Combo1.UserPickIndex(0); }, true},
        {"combo text", f.Combo1, [&] { f.Combo1.SetText("typed"); }, true},
        {"combo item removed", f.Combo1, [&] { f.Combo1.RemoveItem(0); }, true},
        {"combo cleared", f.Combo1, [&] { f.Combo1.Clear(); }, true},
        {"list item", f.List1, [&] { f.List1.AddItem("Y"); }, true},
        {"list index", f.List1, [&] { f.List1.SetListIndex(1); }, true},
        {"list clicked", f.List1, [&] { f.List1.UserClick(0); }, true},
        {"list item removed", f.List1, [&] { f.List1.RemoveItem(0); }, true},
        {"list cleared", f.List1, [&] { f.List1.Clear(); }, true},
        {"frame caption", f.Frame1, [&] { f.Frame1.SetCaption("Other"); }, true},
        {"reloaded", f.Label1,
         [&] {
             program->Dispatch([&] {
                 program->Unload(f);
                 program->Load(f);
             });
         },
         true},
    };
    for (const Step& step : steps) {
        const unsigned long before = step.control.Version();
        step.change();
        EXPECT_EQ(step.control.Version() != before, step.changes) << step.what;
    }
}

TEST(SerialWaitTest, APortIsWaitedOnWhileOpenAndItsLineIsUp) {
    int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    MSComm port(DefaultSerialDevices(ptsname(master)));
    port.Settings = "300,n,8,1";
    EXPECT_EQ(port.ReadDescriptor(), -1) << "closed";
    port.SetPortOpen(true);
    ASSERT_TRUE(port.PortOpen());
    EXPECT_GE(port.ReadDescriptor(), 0);
    ASSERT_EQ(write(master, "abc", 3), 3);
    EXPECT_GE(port.ReadDescriptor(), 0) << "characters waiting";
    close(master);
    EXPECT_EQ(port.ReadDescriptor(), -1) << "the other end closed: ready for ever, nothing to read";
    EXPECT_TRUE(port.PortOpen());
    port.SetPortOpen(false);
    EXPECT_EQ(port.ReadDescriptor(), -1);
}

} // namespace
} // namespace platform
