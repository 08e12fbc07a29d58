#include "headless.h"

#include "records/filenames.h"

namespace vantreth {

std::unique_ptr<App> HeadlessServices::MakeApp(const std::filesystem::path& dataRoot) {
    platform::Services services;
    services.clock = &clock;
    services.dialogs = &dialogs;
    services.printer = &printer;
    services.shell = &shell;
    services.dataRoot = dataRoot;
    services.faults = faults;
    services.readOnlyReason = readOnlyReason;
    records::MotelSettings settings;
    settings.motelName = "Test Motel";
    settings.callBoxDevice = "none";
    platform::DataFolder(dataRoot, nullptr).EnsureLayout(records::DataSubFolders());
    return std::make_unique<App>(services, settings);
}

} // namespace vantreth
