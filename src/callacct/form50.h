// The hidden call-capture window: polls the call box's port (the program's, see
// app/call_capture_service.h) on its timer and posts every call it receives.
#pragma once

#include "app/app.h"
#include "app/call_capture_service.h"
#include "platform/serial.h"

namespace vantreth {

class Form50 final : public AppForm {
public:
    static constexpr const char* kName = kCallCaptureWindow;
    explicit Form50(App& app);

    // The call box's port is the program's (App::callPort): StopCallCapture closes it.
    platform::MSComm& MSComm1;
    platform::Timer Timer1{*this, "Timer1", {.interval = 10}};

private:
    void Form_Load() override;
    void Form_Unload() override;
    void SearchPorts();
    void Timer1_Timer();
    // Rests the timer while it has nothing to do until the call box sends.
    void RestWhenIdle();

    // Polls in a row that brought no character (counted up to kCallQuietPolls).
    int m_quietPolls = 0;
};

} // namespace vantreth
