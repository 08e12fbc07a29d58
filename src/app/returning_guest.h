// The windows that take a returning guest from the history window (check-in, Add
// Reservation): the history window reaches them by their registered names, as the program
// opens any window, and hands the guest it picked to what they take, without knowing them.
#pragma once

#include "records/history.h"

#include <string>

namespace vantreth {

// Where the history window sends a guest it picked, as registered with the program.
inline constexpr const char* kCheckInWindow = "form2";
inline constexpr const char* kAddReservationWindow = "Form26";

class TakesReturningGuest {
public:
    // The guest's names, company, street, city, state, zip and phone into the window's
    // boxes, and the clerk into its clerk box.
    virtual void ShowReturningGuest(const records::HistoryEntry& entry, const std::string& clerk) = 0;

protected:
    ~TakesReturningGuest() = default;
};

} // namespace vantreth
