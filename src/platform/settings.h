// The installation settings: the motel's name and letterhead, the support mail address
// and the call box's serial device. Kept as "key = value" lines in the file "settings"
// of the data folder; a missing file or key takes the default below, and a missing
// file is written out with the defaults so the owner can edit it.
#pragma once

#include <filesystem>
#include <string>

namespace platform {

struct Settings {
    std::string motelName = "Vantreth Motel";
    std::string street = "100 Main Street";
    std::string town = "Springfield, IL 62701";
    std::string phone = "(555) 555-0100";
    std::string supportMail = "support@example.com";
    // "" = scan /dev/ttyS0 onwards; "none" = no call box; else the device path.
    std::string callBoxDevice = "";
    // Send each document to the default printer as well as saving its PDF.
    bool printToPrinter = true;

    static Settings Load(const std::filesystem::path& file);
    void Save(const std::filesystem::path& file) const;
};

} // namespace platform
