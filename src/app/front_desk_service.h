// The way back to the front desk, a service of the program: the windows that take the front
// desk's place load it again when they close, and those that change what it shows tell it
// through FrontDesk, without knowing the window itself.
#pragma once

#include "app/app.h"

#include <string>

namespace vantreth {

// The front desk, as registered with the program.
inline constexpr const char* kFrontDeskWindow = "Form1";

// What the other windows tell the front desk while it stays up.
class FrontDesk {
public:
    // The shift letter and the clerk's initials, as stored.
    virtual void ShowShiftAndClerk(const std::string& shift, const std::string& clerk) = 0;
    // The day name for day numbers 1 (Monday) to 7.
    virtual void ShowDayName(double day) = 0;
    // The count of reservations due in today.
    virtual void ShowArrivalCount(int count) = 0;

protected:
    ~FrontDesk() = default;
};

// The front desk window (created on first use, not loaded).
platform::Form& FrontDeskWindow(App& app);
// What it shows.
FrontDesk& TheFrontDesk(App& app);
// Loads the front desk; nothing when it is up already.
void ReturnToFrontDesk(App& app);
// Unloads the front desk and loads it again, so that it reads the files afresh.
void RebuildFrontDesk(App& app);

} // namespace vantreth
