// The installation settings: the motel's name and letterhead, the support mail address
// and the call box's serial device. Kept as "key = value" lines in the file "settings"
// of the data folder; a missing file or key takes the default below, and a missing
// file is written out with the defaults so the owner can edit it. A value is taken
// without the blanks around it, or exactly as written between double quotes.
#pragma once

#include "platform/files.h"
#include <array>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace records {

// The letterhead's lines as built from the name, street, town and telephones: the name and
// the street after 31 blanks, the town after 28, then the telephone line.
inline constexpr int kLetterheadLines = 4;
inline constexpr int kLetterheadNameIndent = 31;
inline constexpr int kLetterheadTownIndent = 28;

struct MotelSettings {
    std::string motelName = "Vantreth Motel";
    std::string street = "100 Main Street";
    std::string town = "Springfield, IL. 62701";
    std::string phone = "(555) 555-0100";
    // Left off the telephone line when empty.
    std::string tollFree = "";
    std::string fax = "";
    // letterhead_line1 to letterhead_line4: a line the owner has set is printed exactly as
    // set, leading blanks and all; an unset line is built from the settings above.
    std::array<std::optional<std::string>, kLetterheadLines> letterheadLines;
    std::string supportMail = "support@example.com";
    // "" = scan /dev/ttyS0 onwards; "none" = no call box; else the device path.
    std::string callBoxDevice = "";
    // Send each document to the default printer as well as saving its PDF. A new settings
    // file says yes only when the computer has a default printer (see Load).
    bool printToPrinter = true;

    // The four lines at the head of the billing notices and the printed folios.
    std::array<std::string, kLetterheadLines> Letterhead() const;
    // The telephone line as built: "  Phone: ", then "    Toll Free: " and "    Fax:" with
    // their numbers when they are set.
    std::string TelephoneLine() const;

    // The settings in `file`; a missing file is written with the defaults, print_to_printer
    // as `hasDefaultPrinter` answers (when given). When the file could not be read, or not be
    // written at the first start, the defaults are given and `problem` (when given) says so
    // for the clerk. `mayWrite` false (a folder only looked at): a missing file is not written.
    static MotelSettings Load(const platform::FilePath& file, std::string* problem = nullptr,
                              const std::function<bool()>& hasDefaultPrinter = nullptr, bool mayWrite = true);
    void Save(const platform::FilePath& file) const;
};

} // namespace records
