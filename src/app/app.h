// The Vantreth program object: the platform's program with every window registered
// and the variables that the windows share while the program runs (lost at exit).
#pragma once

// The engine (the vantreth_engine library: commits, postings, the audit...) works without
// the windows; every window header includes this one.
#ifdef VANTRETH_ENGINE
#error "a window header is included by the engine, which must not know the windows"
#endif

#include "calls/call_capture.h"
#include "platform/program.h"
#include "platform/serial.h"
#include "records/motel_settings.h"

#include <optional>
#include <string>
#include <string_view>

namespace vantreth::stay {
struct CheckInSession;
}

namespace vantreth {

// The shared variables of the windows.
struct Module1 {
    std::string gShift;        // current shift letter, as stored
    std::string gClerk;        // current clerk's initials, as stored (two characters)
    double gTaxRate = 0;       // total tax rate as a fraction, as last read from "tax"
    float gSleepersDone = 0;   // 1 once today's list of guests due out was made
    std::string gSelectedRoom; // room handed from the folio window to Edit Guest
    std::string gEditOldLast;  // the guest's names as Edit Guest loaded them
    std::string gEditOldFirst;
    float gHistoryFromButton = 0;
    float gHistoryForReservation = 0;
    float gTenPercentTaken = 0;
    float gDuplicatePromptOpen = 0;
    float gAttentionOpen = 0;       // 1 while the "ATTENTION" notice is up
    std::string gResDateKey;        // reservation chosen in a list for Edit Reservation: arrival date
    std::string gResRoomKey;        // ... and its room
    std::string gCurResArrival;     // reservation open in Edit Reservation: arrival date as loaded
    std::string gCurResRoom;        // ... and its room as stored (three characters)
    std::string gPresetArrivalDate; // arrival date handed from the availability report
    std::string gCallBuffer;        // characters received from the call box, not yet posted
    CallNumbers gCallNumbers;       // where gCallBuffer's whole records stand among the kept calls
    std::string gMonthBefore;       // month number text of the business date when Change Date opened
    std::string gMonthAfter;        // month number text of the date its last "Change Now" set
};

class App : public platform::Program, public Module1 {
public:
    // Registers every window of the system (registry/windows.cpp, which stands above them all).
    App(platform::Services services, records::MotelSettings settings);

    // The data folder's file of that name.
    platform::FilePath File(std::string_view name) const { return data().File(name); }

    // The installation settings the program was started with.
    const records::MotelSettings& settings() const { return m_settings; }
    // Where the call box is looked for (MotelSettings::callBoxDevice).
    platform::SerialDeviceMap serialDevices() const {
        return platform::DefaultSerialDevices(m_settings.callBoxDevice);
    }
    // The call box's port, read by call capture (app/call_capture_service.h).
    platform::MSComm& callPort() { return m_callPort; }

protected:
    // The shared variables that copy what the files hold follow a step that is dropped.
    void StepBegun() override;

private:
    records::MotelSettings m_settings;
    // The half of the day in which the date was last read inside an event.
    std::optional<bool> m_lookedInMorning;
    platform::MSComm m_callPort;
};

// Base of every window of the system: a form that knows the program it belongs to.
class AppForm : public platform::Form {
public:
    AppForm(App& app, std::string name, std::string caption, platform::Rect at)
        : platform::Form(app, std::move(name), std::move(caption), at), m_app(app) {}

protected:
    App& app() const { return m_app; }
    // After the box's own checks: an amount with parts of a cent, or beyond what a record
    // keeps to the cent, is refused (records::TypedAmountRefusal) and the focus goes back to
    // the box; the caller then writes nothing. An empty box is left to the caller, and so is
    // one still showing a stored amount as loaded (the window does not ask then: that amount
    // is written back as it was). True when refused.
    bool RefusedCents(platform::TextBox& box);
    // A box loaded with a stored value, shown as `loadedText`, that still shows it is that
    // value left as it was: the window saves the stored value as it was, before any check of
    // typed text and judged by none (a stored rate below zero, which older files can hold, is
    // no rate typed).
    template <class Box> static bool LeftAsLoaded(const Box& box, std::string_view loadedText) {
        return box.Text() == loadedText;
    }
    // A check-in made now by the shift and clerk on duty, at the tax rate in use; its ledger
    // lines carry `postingShift`, the shift file's letter.
    stay::CheckInSession CheckInSessionNow(const std::string& postingShift) const;

private:
    App& m_app;
};

} // namespace vantreth
