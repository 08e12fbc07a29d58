// The program's services without a screen, for the tests and the scenario runner: a clock
// the caller sets, message boxes answered from a queue, a printer that keeps what it
// prints and a shell that remembers what it opened.
#pragma once

#include "app.h"

#include <filesystem>
#include <memory>
#include <string>

namespace vantreth {

struct HeadlessServices {
    platform::FakeClock clock;
    platform::ScriptedDialogs dialogs;
    platform::CapturePrinter printer;
    platform::RecordingShell shell;
    // What every change to a file of the program's data folder asks first.
    platform::FileFaults* faults = nullptr;
    // When set, the folder is opened only to be looked at, for this reason (as a start that
    // could not have the folder's lock).
    std::string readOnlyReason;

    // A program on the data folder (its sub-folders made), for the motel "Test Motel"
    // with no call box.
    std::unique_ptr<App> MakeApp(const std::filesystem::path& dataRoot);
};

} // namespace vantreth
