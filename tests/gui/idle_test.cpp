// While the clerk does nothing the program sleeps: its clock wakes up only for a timer that
// is due, a timer resting until its port has characters wakes when they come, and a window
// redraws only what changed in its form.
#include "gui_fixture.h"

#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

namespace vantreth::testing {
namespace {

using IdleTest = GuiProgramFixture;

TEST_F(IdleTest, TheClockIsSetOnlyWhileATimerIsDue) {
    int ticks = 0;
    Window("A").on_tick = [&ticks] { ++ticks; };
    program().Start("A");
    EXPECT_FALSE(frontEnd().ClockSet()) << "no timer runs";
    Window("A").Timer1.SetInterval(10);
    Window("A").Timer1.SetEnabled(true);
    EXPECT_TRUE(frontEnd().ClockSet());
    ASSERT_TRUE(RunUntil([&ticks] { return ticks >= 3; }, 2000)) << ticks << " tick(s)";
    Window("A").Timer1.SetEnabled(false);
    EXPECT_FALSE(frontEnd().ClockSet());
    const int stopped = ticks;
    RunUntil([] { return false; }, 100);
    EXPECT_EQ(ticks, stopped);
}

TEST_F(IdleTest, ARestingTimerWakesWhenItsPortHasCharactersAndRestsAgain) {
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    const int port = open(ptsname(master), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(port, 0);
    termios raw{};
    ASSERT_EQ(tcgetattr(port, &raw), 0);
    cfmakeraw(&raw);
    ASSERT_EQ(tcsetattr(port, TCSANOW, &raw), 0);

    std::string received;
    int ticks = 0;
    platform::Timer& timer = Window("A").Timer1;
    Window("A").on_tick = [&] {
        ++ticks;
        char chunk[64];
        for (ssize_t n; (n = read(port, chunk, sizeof chunk)) > 0;)
            received.append(chunk, static_cast<size_t>(n));
        timer.Rest([port] { return port; });
    };
    program().Start("A");
    timer.SetInterval(10);
    timer.SetEnabled(true);
    timer.Rest([port] { return port; });
    EXPECT_FALSE(frontEnd().ClockSet()) << "resting, it is not due";
    RunUntil([] { return false; }, 150);
    EXPECT_EQ(ticks, 0);

    ASSERT_EQ(write(master, "call", 4), 4);
    EXPECT_TRUE(RunUntil([&received] { return received == "call"; }, 2000)) << received;
    EXPECT_TRUE(timer.Resting());
    EXPECT_FALSE(frontEnd().ClockSet());
    const int afterCall = ticks;
    RunUntil([] { return false; }, 150);
    EXPECT_EQ(ticks, afterCall) << "nothing more came";

    ASSERT_EQ(write(master, "more", 4), 4);
    EXPECT_TRUE(RunUntil([&received] { return received == "callmore"; }, 2000)) << received;
    program().Dispatch([this] { program().Unload(Window("A")); });
    close(port);
    close(master);
}

TEST_F(IdleTest, AWindowRedrawsOnlyWhatChangedInItsFormUnlessTheClerkActedInIt) {
    program().Start("A");
    QPushButton* open = ButtonOf(Shown("A"), "Open");
    ASSERT_NE(open, nullptr);
    ASSERT_EQ(open->text(), QStringLiteral("Open"));

    // Qt showing something the model never said stands for a redraw that did not happen.
    open->setText(QStringLiteral("stale"));
    program().Dispatch([] {});
    EXPECT_EQ(open->text(), QStringLiteral("stale")) << "nothing changed: nothing redrawn";
    program().Dispatch([this] { Window("A").Open.SetCaption("Again"); });
    EXPECT_EQ(open->text(), QStringLiteral("Again"));

    open->setText(QStringLiteral("stale"));
    program().Dispatch([this] { Window("A").SetCaption("Renamed"); });
    EXPECT_EQ(Shown("A")->windowTitle(), QStringLiteral("Renamed"));
    EXPECT_EQ(open->text(), QStringLiteral("stale")) << "only the window's title changed";
    ClickOpen("A");
    EXPECT_EQ(open->text(), QStringLiteral("Again")) << "the clerk acted in the window: all of it redrawn";
}

} // namespace
} // namespace vantreth::testing
