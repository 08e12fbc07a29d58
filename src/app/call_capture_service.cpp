#include "app/call_capture_service.h"
#include "platform/engine.h"

#include "calls/call_capture.h"
#include "platform/files.h"

#include <algorithm>
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

void TakeBackWaitingCalls(App& app) {
    CallNumbers& numbers = app.gCallNumbers;
    if (numbers.first != 0)
        return;
    long posted = 0;
    std::vector<ReceivedCall> kept;
    try {
        posted = LastCallPosted(app.data());
        if (!app.engine().ReadOnly()) // else the calls kept are the other copy's to post
            kept = ReadReceivedCalls(app.data());
    } catch (const platform::IoError&) {
        return; // the folder cannot be read now: tried again at the next posting
    }
    // The calls after the last one posted, in their order; one kept twice (a write that was
    // taken again) comes once.
    std::string waiting;
    long last = posted;
    long first = 0;
    for (const ReceivedCall& call : kept) {
        if (call.number <= last)
            continue;
        if (first == 0)
            first = call.number;
        waiting += call.text;
        last = call.number;
    }
    app.gCallBuffer = waiting + app.gCallBuffer;
    numbers.first = first != 0 ? first : posted + 1;
    numbers.kept = last;
    numbers.told = last;
}

namespace {

// Keeps the whole records of the buffer not yet kept; those the disk does not take are tried
// again at the next posting, and told to the clerk if the program ends first.
void KeepWaitingCalls(App& app) {
    CallNumbers& numbers = app.gCallNumbers;
    if (app.engine().ReadOnly())
        return; // the folder is another copy's
    const long whole = static_cast<long>(app.gCallBuffer.size() / records::CallRecord::kLength);
    const long last = numbers.first + whole - 1;
    if (last > numbers.kept) {
        std::vector<ReceivedCall> calls;
        for (long n = std::max(numbers.kept + 1, numbers.first); n <= last; ++n)
            calls.push_back({n, app.gCallBuffer.substr(static_cast<size_t>(n - numbers.first) *
                                                           records::CallRecord::kLength,
                                                       records::CallRecord::kLength)});
        try {
            KeepReceivedCalls(app.data(), calls);
            numbers.kept = last;
        } catch (const platform::IoError&) {
        }
        return;
    }
    // Nothing waits and every call kept is saved as posted: the file is cleared.
    if (whole == 0 && numbers.kept > numbers.cleared) {
        try {
            const platform::FilePath posted = app.data().File(kCallsPostedFile);
            if (!platform::ChangedByStep(posted) && LastCallPosted(app.data()) >= numbers.kept) {
                ClearReceivedCalls(app.data());
                numbers.cleared = numbers.kept;
            }
        } catch (const platform::IoError&) {
        }
    }
}

} // namespace

void TellCallsNotKept(App& app) {
    CallNumbers& numbers = app.gCallNumbers;
    if (numbers.first == 0)
        return;
    const long whole = static_cast<long>(app.gCallBuffer.size() / records::CallRecord::kLength);
    std::vector<records::CallRecord> lost;
    for (long n = std::max({numbers.kept, numbers.told, numbers.first - 1}) + 1; n < numbers.first + whole;
         ++n)
        lost.push_back(
            {app.gCallBuffer.substr(static_cast<size_t>(n - numbers.first) * records::CallRecord::kLength,
                                    records::CallRecord::kLength)});
    if (lost.empty())
        return;
    numbers.told = numbers.first + whole - 1;
    app.MsgBox(NotKeptCallsMessage(lost), platform::vbOKOnly | platform::vbExclamation, "Call Accounting");
}

void PostWaitingCalls(App& app) {
    TakeBackWaitingCalls(app);
    if (app.gCallNumbers.first == 0)
        app.gCallNumbers.first = LastCallPosted(app.data()) + 1; // throws what the folder's reads throw
    KeepWaitingCalls(app);
    std::string waiting = app.gCallBuffer;
    long posted = 0;
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
        ++posted;
    }
    if (posted > 0) {
        platform::DescribeStep(app.data(), "Posting of calls " + std::to_string(app.gCallNumbers.first) +
                                               " to " + std::to_string(app.gCallNumbers.first + posted - 1) +
                                               " from the call box");
        // The calls leave the buffer with the step that posts them, which notes the last one
        // posted: when it is undone (a failure later in it, or at its commit), they go back in
        // front of whatever arrived since, to be posted again.
        NoteCallsPosted(app.data(), app.gCallNumbers.first + posted - 1);
        const std::string taken = app.gCallBuffer.substr(0, app.gCallBuffer.size() - waiting.size());
        app.gCallBuffer = waiting;
        app.gCallNumbers.first += posted;
        platform::WhenUndone(app.data(), [&app, taken, posted] {
            app.gCallBuffer = taken + app.gCallBuffer;
            app.gCallNumbers.first -= posted;
        });
    }
    // Told once, after the calls have left the buffer, so a tick under the box cannot repeat it.
    if (!garbled.empty())
        app.MsgBox(ControlCharactersMessage(garbled), platform::vbOKOnly, "Call Accounting");
    if (!refused.empty())
        app.MsgBox(RefusedCallsMessage(refused), platform::vbOKOnly, "Call Accounting");
}

} // namespace vantreth
