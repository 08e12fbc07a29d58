// Call capture, a service of the program: the call box's port, and the routines with which
// the windows start and stop call capture and post the calls waiting. The hidden
// call-capture window reads the port on its timer; no other window needs to know it.
#pragma once

#include "app/app.h"

namespace vantreth {

// The hidden window that reads the call box, as registered with the program.
inline constexpr const char* kCallCaptureWindow = "Form50";

// Loads the call-capture window, whose load opens the call box's port.
void StartCallCapture(App& app);
// Closes the call box's port when it is open and unloads the call-capture window, as the
// windows that take the front desk's place do when they close; the front desk's next load
// starts call capture again.
void StopCallCapture(App& app);
// Posts every complete call record waiting in the buffer; the records leave it only once all
// of them are posted, and come back into it when the step that posted them is undone, also
// at its commit. A call that could not be charged is told to the clerk once. Each whole record
// is kept in the data folder first (see CallNumbers), and the step notes the last one posted:
// what a restart finds kept and not posted is posted then, once.
void PostWaitingCalls(App& app);
// Puts the calls an earlier run kept and did not post in front of the buffer, once a run.
void TakeBackWaitingCalls(App& app);
// Tells the clerk, once, of the calls waiting that are neither posted nor kept in the folder
// (the disk took none of it): the program's end would lose them.
void TellCallsNotKept(App& app);

} // namespace vantreth
