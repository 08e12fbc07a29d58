// Reads and writes the motel's installation settings file ("key = value" lines, UTF-8 text
// so the owner can edit it; the values are held in Windows-1252 like all other text).
#include "records/motel_settings.h"

#include "platform/files.h"
#include "platform/text.h"

#include <optional>
#include <sstream>

namespace records {

using platform::Cp1252ToUtf8;
using platform::IoError;
using platform::LCase;
using platform::ReplaceFileContent;
using platform::Space;
using platform::Utf8ToCp1252;

namespace {

std::string TrimLine(std::string_view s) {
    size_t start = s.find_first_not_of(" \t\r");
    if (start == std::string_view::npos)
        return "";
    size_t end = s.find_last_not_of(" \t\r");
    return std::string(s.substr(start, end - start + 1));
}

// A value as written after the "=": without the blanks around it, or, when it stands in
// double quotes, exactly the text between them (leading blanks kept, "" an empty text).
struct SettingValue {
    std::string text;
    bool quoted = false;
};

SettingValue ReadValue(std::string_view written) {
    std::string t = TrimLine(written);
    if (t.size() >= 2 && t.front() == '"' && t.back() == '"')
        return {Utf8ToCp1252(t.substr(1, t.size() - 2)), true};
    return {Utf8ToCp1252(t), false};
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// The value as written to the file so that it reads back the same.
std::string WrittenValue(const std::string& value) {
    const bool quote = !value.empty() && (IsBlank(value.front()) || IsBlank(value.back()) ||
                                          (value.size() >= 2 && value.front() == '"' && value.back() == '"'));
    return quote ? "\"" + Cp1252ToUtf8(value) + "\"" : Cp1252ToUtf8(value);
}

constexpr std::string_view kLetterheadKey = "letterhead_line";

// The letterhead line a key names, 0 to 3; -1 for any other key.
int LetterheadIndex(const std::string& key) {
    if (key.size() != kLetterheadKey.size() + 1 || key.compare(0, kLetterheadKey.size(), kLetterheadKey) != 0)
        return -1;
    const int n = key.back() - '1';
    return n >= 0 && n < kLetterheadLines ? n : -1;
}

} // namespace

std::string MotelSettings::TelephoneLine() const {
    std::string line = "  Phone: " + phone;
    if (!tollFree.empty())
        line += "    Toll Free: " + tollFree;
    if (!fax.empty())
        line += "    Fax:" + fax;
    return line;
}

std::array<std::string, kLetterheadLines> MotelSettings::Letterhead() const {
    const std::array<std::string, kLetterheadLines> built = {
        Space(kLetterheadNameIndent) + motelName, Space(kLetterheadNameIndent) + street,
        Space(kLetterheadTownIndent) + town, TelephoneLine()};
    std::array<std::string, kLetterheadLines> lines;
    for (int i = 0; i < kLetterheadLines; ++i)
        lines[i] = letterheadLines[i].value_or(built[i]);
    return lines;
}

MotelSettings MotelSettings::Load(const platform::FilePath& file, std::string* problem,
                                  const std::function<bool()>& hasDefaultPrinter, bool mayWrite) {
    MotelSettings settings;
    std::optional<std::string> text;
    try {
        text = platform::ReadFile(file);
    } catch (const IoError& e) {
        if (problem != nullptr)
            *problem = "The settings file " + file.string() + " could not be read (" + e.reason() +
                       ").\nThe program runs with its built-in settings.";
        return settings;
    }
    if (!text) {
        std::error_code ec;
        std::filesystem::path folder =
            file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
        if (mayWrite && std::filesystem::is_directory(folder, ec)) {
            // Without a printer every report would fail to print.
            if (hasDefaultPrinter)
                settings.printToPrinter = hasDefaultPrinter();
            try {
                settings.Save(file);
            } catch (const IoError& e) {
                if (problem != nullptr)
                    *problem = "The settings file " + file.string() + " could not be written (" + e.reason() +
                               ").\nThe program runs with its built-in settings; the file is written at the "
                               "next start once there is room for it.";
            }
        }
        return settings;
    }
    std::istringstream in(*text);
    std::string line;
    while (std::getline(in, line)) {
        std::string t = TrimLine(line);
        if (t.empty() || t[0] == '#')
            continue;
        size_t eq = t.find('=');
        if (eq == std::string::npos)
            continue;
        std::string key = LCase(TrimLine(t.substr(0, eq)));
        const SettingValue read = ReadValue(t.substr(eq + 1));
        const std::string& value = read.text;
        if (const int line = LetterheadIndex(key); line >= 0) {
            // An empty value leaves the line to be built; "" sets an empty line.
            if (read.quoted || !value.empty())
                settings.letterheadLines[line] = value;
            else
                settings.letterheadLines[line].reset();
        } else if (key == "motel_name")
            settings.motelName = value;
        else if (key == "street")
            settings.street = value;
        else if (key == "town")
            settings.town = value;
        else if (key == "phone")
            settings.phone = value;
        else if (key == "toll_free")
            settings.tollFree = value;
        else if (key == "fax")
            settings.fax = value;
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

void MotelSettings::Save(const platform::FilePath& file) const {
    std::ostringstream out;
    const auto& value = WrittenValue;
    out << "# Vantreth installation settings: one \"key = value\" a line; lines starting\n"
           "# with '#' are comments. A key left out takes its built-in default. A value is\n"
           "# taken without the blanks around it; put it in double quotes to keep them.\n"
           "\n"
           "# The motel's name and letterhead, as shown on the front desk and printouts.\n"
           "# toll_free and fax are left off the telephone line when empty.\n"
           "motel_name = "
        << value(motelName) << "\nstreet = " << value(street) << "\ntown = " << value(town)
        << "\nphone = " << value(phone) << "\ntoll_free = " << value(tollFree) << "\nfax = " << value(fax)
        << "\n\n# The four letterhead lines of the billing notices and the printed folios are\n"
           "# built from the settings above. To print a line exactly as you want it, set it\n"
           "# in double quotes, leading blanks included; a line not set is built. As built:\n";
    const std::array<std::string, kLetterheadLines> lines = Letterhead();
    for (int i = 0; i < kLetterheadLines; ++i) {
        const std::string key = std::string(kLetterheadKey) + char('1' + i);
        if (letterheadLines[i])
            out << key << " = \"" << Cp1252ToUtf8(*letterheadLines[i]) << "\"\n";
        else
            out << "# " << key << " = \"" << Cp1252ToUtf8(lines[i]) << "\"\n";
    }
    out << "\n# Where the clerk is told to send a problem report.\n"
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

} // namespace records
