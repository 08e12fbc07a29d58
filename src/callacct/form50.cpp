#include "form50.h"

#include "app/call_capture_service.h"
#include "calls/call_capture.h"

#include <algorithm>

namespace vantreth {

Form50::Form50(App& app) : AppForm(app, kName, "Call Capture", {0, 0, 200, 100}), MSComm1(app.callPort()) {
    Timer1.on_timer = [this] { Timer1_Timer(); };
}

// The port search: the first of ports 1 to 100 that opens stays open. Only an invalid port
// number moves on to the next; any other failure ends the search with no port open. Silent
// whatever happens; with no call box the window simply takes no calls.
void Form50::Form_Load() {
    SearchPorts();
    TakeBackWaitingCalls(app()); // the calls an earlier run left are posted at the first tick
    RestWhenIdle();
}

// Calls that neither reached the files nor could be kept are told before the program can end.
void Form50::Form_Unload() {
    TellCallsNotKept(app());
}

void Form50::SearchPorts() {
    if (MSComm1.PortOpen())
        MSComm1.SetPortOpen(false);
    for (int port = 1; port <= 100; ++port) {
        MSComm1.CommPort = port;
        MSComm1.Settings = "300,n,8,1";
        try {
            MSComm1.SetPortOpen(true);
            return;
        } catch (const platform::SerialError& error) {
            if (!error.InvalidPortNumber())
                return;
        }
    }
}

// Gathers what the call box sends and posts every complete record. The records leave the
// buffer only once they are all posted: when a posting fails (and everything of that tick is
// undone), or must wait because a box is up in the middle of another step, they are posted
// again at a later tick, and the failure is shown once.
void Form50::Timer1_Timer() {
    std::string arrived;
    if (MSComm1.InBufferCount() > 0)
        arrived = MSComm1.Input();
    GatherCallCharacters(app().gCallBuffer, arrived, m_quietPolls);
    m_quietPolls = arrived.empty() ? std::min(m_quietPolls + 1, kCallQuietPolls) : 0;
    RestWhenIdle(); // before the posting: records whose posting fails keep the timer awake
    PostWaitingCalls(app());
    RestWhenIdle();
}

// The ticks have work while records wait to be posted, and while a partial record waits for
// the rest of it or for its second of silence to pass (counted in ticks). Otherwise nothing
// happens until characters arrive, and the timer rests until the port has some to read: a
// partial record whose silence has passed is dropped by the next characters, whenever they
// come.
void Form50::RestWhenIdle() {
    const std::string& buffer = app().gCallBuffer;
    const bool idle =
        buffer.size() < records::CallRecord::kLength && (buffer.empty() || m_quietPolls >= kCallQuietPolls);
    if (idle)
        Timer1.Rest([this] { return MSComm1.ReadDescriptor(); });
    else
        Timer1.Wake();
}

} // namespace vantreth
