// Reads and writes the installation settings file ("key = value" lines, UTF-8 text
// so the owner can edit it; the values are held in Windows-1252 like all other text).
#include "platform/settings.h"

#include "platform/files.h"
#include "platform/text.h"

#include <fstream>
#include <sstream>

namespace platform {

namespace {

std::string TrimLine(std::string_view s) {
    size_t start = s.find_first_not_of(" \t\r");
    if (start == std::string_view::npos)
        return "";
    size_t end = s.find_last_not_of(" \t\r");
    return std::string(s.substr(start, end - start + 1));
}

} // namespace

Settings Settings::Load(const std::filesystem::path &file) {
    Settings settings;
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        std::error_code ec;
        bool missing = !std::filesystem::exists(file, ec) && !ec;
        std::filesystem::path folder =
            file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
        if (missing && std::filesystem::is_directory(folder, ec)) {
            try {
                settings.Save(file);
            } catch (const IoError &) {
                // The defaults still apply; the owner just gets no file to edit.
            }
        }
        return settings;
    }
    std::string line;
    while (std::getline(in, line)) {
        std::string t = TrimLine(line);
        if (t.empty() || t[0] == '#')
            continue;
        size_t eq = t.find('=');
        if (eq == std::string::npos)
            continue;
        std::string key = LCase(TrimLine(t.substr(0, eq)));
        std::string value = Utf8ToCp1252(TrimLine(t.substr(eq + 1)));
        if (key == "motel_name")
            settings.motelName = value;
        else if (key == "street")
            settings.street = value;
        else if (key == "town")
            settings.town = value;
        else if (key == "phone")
            settings.phone = value;
        else if (key == "support_mail")
            settings.supportMail = value;
        else if (key == "call_box_device")
            settings.callBoxDevice = value;
        else if (key == "print_to_printer") {
            std::string v = LCase(value);
            if (v == "yes" || v == "true" || v == "1")
                settings.printToPrinter = true;
            else if (v == "no" || v == "false" || v == "0")
                settings.printToPrinter = false;
        }
    }
    return settings;
}

void Settings::Save(const std::filesystem::path &file) const {
    std::ostringstream out;
    auto value = [](const std::string &v) { return Cp1252ToUtf8(v); };
    out << "# Vantreth installation settings: one \"key = value\" a line; lines starting\n"
           "# with '#' are comments. A key left out takes its built-in default.\n"
           "\n"
           "# The motel's name and letterhead, as shown on the front desk and printouts.\n"
           "motel_name = "
        << value(motelName) << "\nstreet = " << value(street) << "\ntown = " << value(town)
        << "\nphone = " << value(phone)
        << "\n\n# Where the clerk is told to send a problem report.\n"
           "support_mail = "
        << value(supportMail)
        << "\n\n# The call box's serial device: empty to look for it from /dev/ttyS0 on,\n"
           "# \"none\" when there is no call box.\n"
           "call_box_device = "
        << value(callBoxDevice)
        << "\n\n# yes: send each document to the default printer as well as saving its PDF.\n"
           "print_to_printer = "
        << (printToPrinter ? "yes" : "no") << "\n";
    ReplaceFileContent(file, out.str());
}

} // namespace platform
