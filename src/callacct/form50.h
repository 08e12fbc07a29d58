// The hidden call-capture window: owns the serial port of the call box, polls it and posts
// every call it receives.
#pragma once

#include "app/app.h"
#include "platform/serial.h"

namespace vantreth {

class Form50 final : public AppForm {
public:
    static constexpr const char* kName = "Form50";
    explicit Form50(App& app);

    platform::MSComm MSComm1;
    platform::Timer Timer1{*this, "Timer1", {.interval = 10}};

private:
    void Form_Load() override;
    void SearchPorts();
    void Timer1_Timer();
    // Rests the timer while it has nothing to do until the call box sends.
    void RestWhenIdle();

    // Polls in a row that brought no character (counted up to kCallQuietPolls).
    int m_quietPolls = 0;
};

// Closes the call box's port when it is open and unloads the call-capture window, as the
// windows that take the front desk's place do when they close; the front desk's next load
// starts call capture again.
// Posts every complete call record waiting in the buffer; the records leave it only once all
// of them are posted. A call that could not be charged is told to the clerk once.
void PostWaitingCalls(App& app);
void StopCallCapture(App& app);

} // namespace vantreth
