// The text helpers the scenario runner's families of commands share.
#include "script/runner_parts.h"

#include "platform/text.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>

namespace vantreth::script::detail {

using platform::Control;
using platform::ControlKind;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string TrimBlanks(std::string_view s) {
    size_t b = 0;
    size_t e = s.size();
    while (b < e && IsBlank(s[b]))
        ++b;
    while (e > b && IsBlank(s[e - 1]))
        --e;
    return std::string(s.substr(b, e - b));
}

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::string Quoted(const std::string& s) {
    return "\"" + s + "\"";
}

std::string Bool(bool b) {
    return b ? "True" : "False";
}

std::string Plural(size_t n, const char* word) {
    return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
}

std::string StateName(platform::WindowState state) {
    switch (state) {
    case platform::WindowState::Minimized:
        return "Minimized";
    case platform::WindowState::Maximized:
        return "Maximized";
    case platform::WindowState::Normal:
        break;
    }
    return "Normal";
}

std::string KindName(ControlKind kind) {
    switch (kind) {
    case ControlKind::Label:
        return "label";
    case ControlKind::TextBox:
        return "text box";
    case ControlKind::CommandButton:
        return "button";
    case ControlKind::ComboBox:
        return "combo box";
    case ControlKind::ListBox:
        return "list box";
    case ControlKind::CheckBox:
        return "check box";
    case ControlKind::Frame:
        return "frame";
    case ControlKind::Timer:
        return "timer";
    }
    return "control";
}

// A box's prompt on one transcript line.
std::string OneLine(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        if (text[i] == '\r' || text[i] == '\n')
            out += "\\n";
        else
            out += text[i];
    }
    return out;
}

std::string BoxText(const platform::ScriptedDialogs::Shown& box) {
    return box.title + ": " + OneLine(box.prompt);
}

std::string JoinItems(const std::vector<std::string>& items) {
    std::string out;
    for (size_t i = 0; i < items.size(); ++i)
        out += (i ? " | " : "") + items[i];
    return out;
}

const std::vector<std::string>* ItemsOf(const Control& c) {
    if (c.Kind() == ControlKind::ComboBox)
        return &static_cast<const platform::ComboBox&>(c).Items();
    if (c.Kind() == ControlKind::ListBox)
        return &static_cast<const platform::ListBox&>(c).Items();
    return nullptr;
}

int IndexOf(const std::vector<std::string>& items, const std::string& item) {
    auto it = std::find(items.begin(), items.end(), item);
    return it == items.end() ? -1 : static_cast<int>(it - items.begin());
}

bool ParseInt(const std::string& text, long& value) {
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end && !text.empty();
}

const std::vector<GlobalEntry>& Globals() {
    static const std::vector<GlobalEntry> kGlobals = {
        {"gShift", [](const Module1& m) { return m.gShift; }},
        {"gClerk", [](const Module1& m) { return m.gClerk; }},
        {"gTaxRate", [](const Module1& m) { return platform::CStr(m.gTaxRate); }},
        {"gSleepersDone", [](const Module1& m) { return platform::CStr(m.gSleepersDone); }},
        {"gSelectedRoom", [](const Module1& m) { return m.gSelectedRoom; }},
        {"gEditOldLast", [](const Module1& m) { return m.gEditOldLast; }},
        {"gEditOldFirst", [](const Module1& m) { return m.gEditOldFirst; }},
        {"gHistoryFromButton", [](const Module1& m) { return platform::CStr(m.gHistoryFromButton); }},
        {"gHistoryForReservation", [](const Module1& m) { return platform::CStr(m.gHistoryForReservation); }},
        {"gTenPercentTaken", [](const Module1& m) { return platform::CStr(m.gTenPercentTaken); }},
        {"gDuplicatePromptOpen", [](const Module1& m) { return platform::CStr(m.gDuplicatePromptOpen); }},
        {"gAttentionOpen", [](const Module1& m) { return platform::CStr(m.gAttentionOpen); }},
        {"gCallBuffer", [](const Module1& m) { return m.gCallBuffer; }},
    };
    return kGlobals;
}

bool IsTextByte(unsigned char c) {
    return (c >= 0x20 && c < 0x7F) || c == '\r' || c == '\n' || c == '\t';
}

std::vector<std::string> SplitLines(const std::string& content) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < content.size()) {
        size_t end = content.find('\n', start);
        if (end == std::string::npos)
            end = content.size();
        std::string line = content.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

std::string HexBytes(std::string_view bytes) {
    std::string out;
    char buf[4];
    for (size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(buf, sizeof buf, "%02X", static_cast<unsigned char>(bytes[i]));
        if (i)
            out += ' ';
        out += buf;
    }
    return out;
}

} // namespace vantreth::script::detail
