#include "form50.h"

namespace vantreth {

Form50::Form50(App& app) : AppForm(app, kName, "Call Capture", {0, 0, 200, 100}), MSComm1(app.serialDevices()) {
    Timer1.on_timer = [this] { Timer1_Timer(); };
}

// The port search: the first of ports 1 to 100 that opens stays open. Silent whatever
// happens; with no call box the window simply takes no calls.
void Form50::Form_Load() {
    if (MSComm1.PortOpen()) MSComm1.SetPortOpen(false);
    for (int port = 1; port <= 100; ++port) {
        MSComm1.CommPort = port;
        MSComm1.Settings = "300,n,8,1";
        try {
            MSComm1.SetPortOpen(true);
            return;
        } catch (const platform::SerialError&) {
            // an invalid port number: try the next one
        }
    }
}

// Gathers what the call box sends; the records are posted by call accounting.
void Form50::Timer1_Timer() {
    if (MSComm1.InBufferCount() > 0) app().gCallBuffer += MSComm1.Input();
}

} // namespace vantreth
