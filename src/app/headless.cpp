#include "headless.h"

namespace vantreth {

std::unique_ptr<App> HeadlessServices::MakeApp(const std::filesystem::path& dataRoot) {
    platform::Services services;
    services.clock = &clock;
    services.dialogs = &dialogs;
    services.printer = &printer;
    services.shell = &shell;
    services.dataRoot = dataRoot;
    services.settings.motelName = "Test Motel";
    services.settings.callBoxDevice = "none";
    platform::DataFolder(dataRoot).EnsureLayout();
    return std::make_unique<App>(services);
}

} // namespace vantreth
