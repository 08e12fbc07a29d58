#include "app/call_capture_service.h"

#include "calls/call_capture.h"
#include "platform/files.h"

#include <optional>
#include <vector>

namespace vantreth {

void StartCallCapture(App& app) {
    app.Load(kCallCaptureWindow);
}

void StopCallCapture(App& app) {
    platform::MSComm& port = app.callPort();
    if (port.PortOpen())
        port.SetPortOpen(false);
    app.Unload(kCallCaptureWindow);
}

void PostWaitingCalls(App& app) {
    std::string waiting = app.gCallBuffer;
    bool posted = false;
    std::vector<records::CallRecord> refused;
    std::vector<records::CallRecord> garbled;
    while (std::optional<records::CallRecord> call = TakeCallRecord(waiting)) {
        if (call->HasControlCharacters()) {
            garbled.push_back(*call);
            call->BlankControlCharacters();
        }
        bool notCharged = false;
        HandleCallRecord(app.data(), *call, {app.clock().DateText(), app.gShift, app.gClerk}, &notCharged);
        if (notCharged)
            refused.push_back(*call);
        posted = true;
    }
    if (posted) {
        // The calls leave the buffer with the step that posts them: when it is undone (a
        // failure later in it, or at its commit), they go back in front of whatever arrived
        // since, to be posted again.
        const std::string taken = app.gCallBuffer.substr(0, app.gCallBuffer.size() - waiting.size());
        app.gCallBuffer = waiting;
        platform::WhenUndone(app.data(), [&app, taken] { app.gCallBuffer = taken + app.gCallBuffer; });
    }
    // Told once, after the calls have left the buffer, so a tick under the box cannot repeat it.
    if (!garbled.empty())
        app.MsgBox(ControlCharactersMessage(garbled), platform::vbOKOnly, "Call Accounting");
    if (!refused.empty())
        app.MsgBox(RefusedCallsMessage(refused), platform::vbOKOnly, "Call Accounting");
}

} // namespace vantreth
