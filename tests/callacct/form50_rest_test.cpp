// The call-capture timer rests while its ticks have nothing to do: no records wait to be
// posted and no partial record waits for its rest or for its second of silence. Resting, it
// waits on the port's descriptor; whatever it does, it still ticks as before.
#include "callacct/call_maker.h"
#include "callacct/form50.h"
#include "calls/call_capture.h"
#include "support/app_fixture.h"
#include "support/pseudo_terminal.h"

#include <functional>

namespace vantreth {
namespace {

using testing::Call;
using testing::Guest;

class Form50RestTest : public testing::AppFixture {
protected:
    Form50RestTest() {
        SetNow(12, 6, 2026, 21, 15, 0);
        // A guest in the room, so that a call is charged and its posting can fail.
        records::WriteGuest(app().data(), records::kGuestFile, 1, Guest("101", "SMITH", "JOHN"));
    }
    void LoadCapture() {
        app().Dispatch([&] { app().Load(Form<Form50>()); });
    }
    void Tick() { Form<Form50>().Timer1.Fire(); }
    bool Resting() { return Form<Form50>().Timer1.Resting(); }
};

TEST_F(Form50RestTest, TheTimerRestsOnlyWhileItsTicksHaveNothingToDo) {
    const std::string call = Call(" 101", "  1.25").text;
    struct Step {
        const char* what;
        std::function<void()> act;
        bool resting;
    };
    const Step steps[] = {
        {"loaded with an empty buffer", [] {}, true},
        {"a partial record came",
         [&] {
             app().gCallBuffer = call.substr(0, 30);
             Tick();
         },
         false},
        {"silence, not yet a second of it",
         [&] {
             for (int poll = 1; poll < kCallQuietPolls - 1; ++poll)
                 Tick();
         },
         false},
        {"a second of silence: the next characters drop the part", [&] { Tick(); }, true},
        {"a record that cannot be posted waits",
         [&] {
             std::filesystem::remove_all(DataFile("detail"));
             app().gCallBuffer = call;
             dialogs().Answer(platform::vbOK);
             Tick();
         },
         false},
        {"posted at a later tick",
         [&] {
             std::filesystem::create_directory(DataFile("detail"));
             Tick();
         },
         true},
    };
    LoadCapture();
    for (const Step& step : steps) {
        step.act();
        EXPECT_EQ(Resting(), step.resting) << step.what;
    }
    EXPECT_EQ(app().gCallBuffer, "");
    EXPECT_EQ(Form<Form50>().Timer1.RestDescriptor(), -1) << "no port: nothing to wait on";

    // Resting changes nothing of what a tick does: a partial record is still taken in.
    app().gCallBuffer = call.substr(0, 57);
    Tick();
    app().gCallBuffer += call.substr(57);
    Tick();
    EXPECT_EQ(ReadBytes("phonelog/12626").size(), 2 * (call.size() + 4));
}

TEST_F(Form50RestTest, ARestingTimerWaitsOnTheOpenPort) {
    testing::PseudoTerminal pty;
    ASSERT_TRUE(pty.Opened());
    const std::string device = pty.device();
    Form<Form50>().MSComm1.SetDevices([device](int port) { return port == 1 ? device : std::string(); });
    LoadCapture();
    ASSERT_TRUE(Form<Form50>().MSComm1.PortOpen());
    EXPECT_TRUE(Resting());
    EXPECT_EQ(Form<Form50>().Timer1.RestDescriptor(), Form<Form50>().MSComm1.ReadDescriptor());
    EXPECT_GE(Form<Form50>().Timer1.RestDescriptor(), 0);
    StopCallCapture(app());
    EXPECT_EQ(Form<Form50>().Timer1.RestDescriptor(), -1) << "the port closed";
}

} // namespace
} // namespace vantreth
