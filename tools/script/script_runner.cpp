// The scenario runner: one script line at a time against a program built on fakes (clock,
// boxes, printer, shell) and a temporary data folder; see script_runner.h for the syntax.
#include "script_runner.h"

#include "platform/text.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <istream>
#include <ostream>
#include <sstream>
#include <unistd.h>

namespace vantreth::script {

namespace fs = std::filesystem;
using platform::Control;
using platform::ControlKind;
using platform::Form;

namespace {

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

// The shared variables a script can read, by name.
struct GlobalEntry {
    const char* name;
    std::string (*get)(const Module1&);
};

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

} // namespace

std::string Unquote(const std::string& text) {
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
        return text.substr(1, text.size() - 2);
    return text;
}

int KeyCode(const std::string& name) {
    const std::string lower = Lower(name);
    if (lower == "enter" || lower == "return")
        return platform::vbKeyReturn;
    if (lower == "esc" || lower == "escape")
        return platform::vbKeyEscape;
    if (lower == "backspace")
        return platform::vbKeyBack;
    if (lower == "space")
        return platform::vbKeySpace;
    if (name.size() == 1)
        return static_cast<unsigned char>(name[0]);
    return -1;
}

std::string JoinedLines(const std::string& content) {
    std::string out;
    const std::vector<std::string> lines = SplitLines(content);
    for (size_t i = 0; i < lines.size(); ++i)
        out += (i ? " / " : "") + lines[i];
    return out;
}

std::vector<std::string> DumpLines(const std::string& content) {
    if (content.empty())
        return {"(empty)"};
    std::vector<std::string> out;
    if (std::all_of(content.begin(), content.end(),
                    [](char c) { return IsTextByte(static_cast<unsigned char>(c)); })) {
        for (std::string line : SplitLines(content)) {
            // A carriage return on its own would overwrite the transcript line.
            for (size_t at = line.find('\r'); at != std::string::npos; at = line.find('\r', at))
                line.replace(at, 1, "<CR>");
            out.push_back("| " + line);
        }
        if (content.back() != '\n')
            out.push_back("(no line end after the last line)");
        return out;
    }
    char buf[32];
    for (size_t offset = 0; offset < content.size(); offset += 16) {
        const std::string_view chunk = std::string_view(content).substr(offset, 16);
        std::snprintf(buf, sizeof buf, "%06zu:", offset);
        std::string line = buf;
        for (size_t i = 0; i < 16; ++i) {
            if (i < chunk.size()) {
                std::snprintf(buf, sizeof buf, " %02X", static_cast<unsigned char>(chunk[i]));
                line += buf;
            } else {
                line += "   ";
            }
        }
        line += "  |";
        for (char c : chunk) {
            const auto u = static_cast<unsigned char>(c);
            line += (u >= 0x20 && u < 0x7F) ? c : '.';
        }
        out.push_back(line + "|");
    }
    return out;
}

// One script line being read: words, then the rest of the line as a text.
class ScriptRunner::Line {
public:
    explicit Line(std::string text) : m_text(std::move(text)) {}

    // The next word; the one blank after it is taken too.
    std::string Word() {
        while (m_pos < m_text.size() && IsBlank(m_text[m_pos]))
            ++m_pos;
        const size_t start = m_pos;
        while (m_pos < m_text.size() && !IsBlank(m_text[m_pos]))
            ++m_pos;
        std::string word = m_text.substr(start, m_pos - start);
        if (m_pos < m_text.size())
            ++m_pos;
        return word;
    }
    std::string NeedWord(const char* what) {
        std::string word = Word();
        if (word.empty())
            Fail(std::string("missing ") + what);
        return word;
    }
    // The rest of the line as a text (quotes removed).
    std::string Rest() {
        std::string rest = Unquote(m_text.substr(std::min(m_pos, m_text.size())));
        m_pos = m_text.size();
        return rest;
    }
    std::string Raw() const { return m_text.substr(std::min(m_pos, m_text.size())); }
    void End() {
        const std::string extra = TrimBlanks(Raw());
        if (!extra.empty())
            Fail("unexpected " + Quoted(extra) + " at the end of the line");
    }

private:
    std::string m_text;
    size_t m_pos = 0;
};

ScriptRunner::ScriptRunner(std::ostream& transcript, ScriptOptions options)
    : m_out(transcript), m_options(std::move(options)) {
    m_services.dialogs.on_shown = [this](const platform::ScriptedDialogs::Shown& box) {
        Say(std::string("  ") + (box.input ? "input " : "box ") + BoxText(box) + " -> " + box.answer);
    };
}

ScriptRunner::~ScriptRunner() {
    m_app.reset();
    DropFolders(false);
}

const fs::path& ScriptRunner::dataRoot() const {
    static const fs::path kNone;
    return m_folders.empty() ? kNone : m_folders.back();
}

void ScriptRunner::Say(const std::string& text) {
    m_out << text << '\n' << std::flush;
}

void ScriptRunner::Note(const std::string& text) {
    Say("  " + text);
}

void ScriptRunner::Fail(const std::string& message) {
    throw Failure(message);
}

ScriptResult ScriptRunner::Run(std::istream& script) {
    ScriptResult result;
    std::string raw;
    int number = 0;
    auto failed = [&](int line, const std::string& message) {
        CollectOutput();
        result.ok = false;
        result.line = line;
        result.message = OneLine(message); // the last line of the transcript says it all
        result.actions = m_actions;
        result.checks = m_checks;
        Say("FAILED" + (line > 0 ? " line " + std::to_string(line) : std::string()) + ": " + result.message);
        return result;
    };
    while (std::getline(script, raw)) {
        ++number;
        if (!raw.empty() && raw.back() == '\r')
            raw.pop_back();
        const std::string text = TrimBlanks(raw);
        if (text.empty())
            continue;
        if (text[0] == '#') {
            Say(text);
            continue;
        }
        Say("> " + text);
        try {
            Line line(text);
            RunLine(line);
            ++m_actions;
            CollectOutput();
        } catch (const Failure& e) {
            return failed(number, e.what());
        } catch (const platform::UnexpectedDialog& e) {
            return failed(number, e.what());
        } catch (const std::exception& e) {
            return failed(number, std::string("error: ") + e.what());
        }
    }
    if (m_services.dialogs.pending() > 0)
        return failed(0, Plural(m_services.dialogs.pending(), "answer") + " queued but no box came");
    result.actions = m_actions;
    result.checks = m_checks;
    Say("PASSED: " + Plural(m_actions, "action") + ", " + Plural(m_checks, "check"));
    return result;
}

void ScriptRunner::RunLine(Line& line) {
    const std::string command = Lower(line.Word());
    if (command == "data") {
        DoData(line);
    } else if (command == "restart") {
        line.End();
        m_app.reset();
        MakeProgram();
    } else if (command == "start") {
        std::string first = line.Word();
        line.End();
        if (first.empty())
            first = "Form1";
        if (Program().Started())
            Fail("the program was started already (restart makes it anew)");
        AnyForm(first);
        Program().Start(first);
    } else if (command == "clock") {
        DoClock(line);
    } else if (command == "click") {
        DoClick(line, false);
    } else if (command == "dblclick") {
        DoClick(line, true);
    } else if (command == "type") {
        DoType(line);
    } else if (command == "key") {
        DoKey(line);
    } else if (command == "set") {
        DoSet(line);
    } else if (command == "pick") {
        DoPick(line);
    } else if (command == "check") {
        DoCheck(line);
    } else if (command == "dropdown") {
        DoDropDown(line);
    } else if (command == "answer") {
        const std::string answer = Lower(line.NeedWord("answer: Yes, No, OK or Cancel"));
        line.End();
        if (answer == "yes")
            m_services.dialogs.Answer(platform::vbYes);
        else if (answer == "no")
            m_services.dialogs.Answer(platform::vbNo);
        else if (answer == "ok")
            m_services.dialogs.Answer(platform::vbOK);
        else if (answer == "cancel")
            m_services.dialogs.Answer(platform::vbCancel);
        else
            Fail("the answer must be Yes, No, OK or Cancel");
    } else if (command == "input") {
        m_services.dialogs.Input(line.Rest());
    } else if (command == "tick") {
        DoTick(line);
    } else if (command == "wait") {
        DoWait(line);
    } else if (command == "close") {
        DoClose(line);
    } else if (command == "load") {
        DoLoad(line);
    } else if (command == "show") {
        DoShow(line);
    } else if (command == "file") {
        DoFile(line);
    } else if (command == "printout") {
        line.End();
        DoPrintout();
    } else if (command == "expect") {
        DoExpect(line);
    } else {
        Fail("unknown action " + Quoted(command));
    }
}

// ---------------------------------------------------------------------------
// The program and its data folder

App& ScriptRunner::Program() {
    if (!m_app)
        MakeProgram();
    return *m_app;
}

void ScriptRunner::MakeProgram() {
    if (m_folders.empty())
        NewFolder();
    m_app = m_services.MakeApp(m_folders.back());
    m_app->on_loaded = [this](Form& form) { Say("  load " + form.Name()); };
    m_app->on_unloaded = [this](Form& form) { Say("  unload " + form.Name()); };
    m_app->on_event_done = [this] { CollectOutput(); };
    m_app->on_ended = [this] { Say("  the program ended"); };
    if (m_options.on_program_made)
        m_options.on_program_made(*m_app);
}

fs::path ScriptRunner::NewFolder() {
    std::string pattern = (fs::temp_directory_path() / "vantreth-script-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        Fail("cannot make a temporary data folder");
    m_folders.emplace_back(pattern);
    return m_folders.back();
}

void ScriptRunner::DropFolders(bool keepCurrent) {
    const size_t keep = keepCurrent && !m_folders.empty() ? 1 : 0;
    while (m_folders.size() > keep) {
        std::error_code ignored;
        fs::remove_all(m_folders.front(), ignored);
        m_folders.erase(m_folders.begin());
    }
}

void ScriptRunner::DoData(Line& line) {
    const std::string how = Lower(line.NeedWord("data new or data copy DIR"));
    if (how == "new") {
        line.End();
        m_app.reset();
        NewFolder();
        DropFolders(true);
        MakeProgram();
        return;
    }
    if (how != "copy")
        Fail("data new or data copy DIR");
    fs::path from = line.Rest();
    if (from.empty())
        Fail("data copy needs the folder to copy");
    if (from.is_relative())
        from = m_options.baseDir / from;
    std::error_code ec;
    if (!fs::is_directory(from, ec))
        Fail("no folder " + from.string());
    m_app.reset();
    const fs::path to = NewFolder();
    DropFolders(true);
    fs::copy(from, to, fs::copy_options::recursive | fs::copy_options::overwrite_existing, ec);
    if (ec)
        Fail("cannot copy " + from.string() + ": " + ec.message());
    MakeProgram();
}

void ScriptRunner::DoClock(Line& line) {
    std::string first = line.NeedWord("date or time");
    platform::DateTime now = m_services.clock.Now();
    std::string timeText;
    if (first.find('/') != std::string::npos) {
        const auto date = platform::ParseDate(first, now.date.year);
        if (!date)
            Fail("not a date: " + Quoted(first));
        now.date = *date;
        timeText = line.Rest();
    } else {
        timeText = first + " " + line.Rest();
    }
    if (!TrimBlanks(timeText).empty()) {
        const auto time = platform::ParseTime(timeText);
        if (!time)
            Fail("not a time: " + Quoted(TrimBlanks(timeText)));
        now.time = *time;
    }
    m_services.clock.Set(now);
}

void ScriptRunner::CollectOutput() {
    for (platform::PrintJob& job : m_services.printer.TakeJobs()) {
        m_jobs.push_back(std::move(job));
        Say("  printed job " + std::to_string(m_jobs.size()) + " (" +
            Plural(m_jobs.back().pages.size(), "page") + ")");
    }
    const auto& opened = m_services.shell.opened();
    for (; m_shellSeen < opened.size(); ++m_shellSeen)
        Say("  opened " + opened[m_shellSeen]);
}

// ---------------------------------------------------------------------------
// Windows and controls

Form& ScriptRunner::AnyForm(const std::string& name) {
    App& app = Program();
    if (!app.IsRegistered(name)) {
        std::string hint;
        for (const std::string& known : app.RegisteredNames())
            if (Lower(known) == Lower(name))
                hint = " (did you mean " + known + "?)";
        Fail("there is no window " + name + hint);
    }
    return app.Get(name);
}

Form& ScriptRunner::LoadedForm(const std::string& name) {
    Form& form = AnyForm(name);
    if (!form.Loaded())
        Fail(name + " is not loaded");
    return form;
}

Control& ScriptRunner::ControlOf(const std::string& target, Form** formOut) {
    const size_t dot = target.find('.');
    if (dot == std::string::npos || target.find('.', dot + 1) != std::string::npos)
        Fail("expected Form.Control, not " + Quoted(target));
    Form& form = LoadedForm(target.substr(0, dot));
    const std::string name = target.substr(dot + 1);
    Control* control = form.Find(name);
    if (!control) {
        std::string names;
        for (const Control* c : form.Controls())
            names += (names.empty() ? "" : ", ") + c->Name();
        Fail(form.Name() + " has no control " + name + " (it has: " + names + ")");
    }
    if (formOut)
        *formOut = &form;
    return *control;
}

std::string ScriptRunner::Unreachable(const Control& control) {
    const Form& form = control.Parent();
    if (!form.Visible())
        return form.Name() + " is not visible";
    if (form.windowState() == platform::WindowState::Minimized)
        return form.Name() + " is minimised";
    if (!control.Enabled())
        return control.Name() + " is disabled";
    if (!control.Visible())
        return control.Name() + " is hidden";
    for (const platform::Frame* f = control.frame(); f; f = f->frame()) {
        if (!f->Enabled())
            return control.Name() + " is in " + f->Name() + ", which is disabled";
        if (!f->Visible())
            return control.Name() + " is in " + f->Name() + ", which is hidden";
    }
    return std::string();
}

void ScriptRunner::DoClick(Line& line, bool doubleClick) {
    Control& c = ControlOf(line.NeedWord("Form.Control"));
    const std::string item = c.Kind() == ControlKind::ListBox && doubleClick ? line.Rest() : std::string();
    line.End();
    int index = -1;
    if (c.Kind() == ControlKind::ListBox && doubleClick) {
        auto& list = static_cast<platform::ListBox&>(c);
        index = item.empty() ? list.ListIndex() : IndexOf(list.Items(), item);
        if (index < 0)
            Fail(item.empty() ? "no item of " + c.Name() + " is selected"
                              : "no item " + Quoted(item) + " in " + c.Name() +
                                    "; its items: " + JoinItems(list.Items()));
    }
    const std::string why = Unreachable(c);
    if (!why.empty())
        return Note("(nothing: " + why + ")");
    const std::string what = doubleClick ? "double-click" : "click";
    switch (c.Kind()) {
    case ControlKind::CommandButton:
        if (doubleClick)
            break;
        return static_cast<platform::CommandButton&>(c).UserClick();
    case ControlKind::Label:
        return doubleClick ? static_cast<platform::Label&>(c).UserDblClick()
                           : static_cast<platform::Label&>(c).UserClick();
    case ControlKind::Frame:
        return doubleClick ? static_cast<platform::Frame&>(c).UserDblClick()
                           : static_cast<platform::Frame&>(c).UserClick();
    case ControlKind::TextBox:
        if (doubleClick)
            break;
        return static_cast<platform::TextBox&>(c).UserClick();
    case ControlKind::CheckBox:
        if (doubleClick)
            break;
        return static_cast<platform::CheckBox&>(c).UserClick();
    case ControlKind::ListBox:
        if (!doubleClick)
            Fail("pick an item of the list box " + c.Name() + " instead");
        return static_cast<platform::ListBox&>(c).UserDblClick(index);
    case ControlKind::ComboBox:
        Fail("pick an item or drop down the combo box " + c.Name() + " instead");
    case ControlKind::Timer:
        Fail(c.Name() + " is a timer: tick it instead");
    }
    Fail("cannot " + what + " the " + KindName(c.Kind()) + " " + c.Name());
}

void ScriptRunner::DoType(Line& line) {
    Control& c = ControlOf(line.NeedWord("Form.Control"));
    const std::string text = line.Rest();
    if (text.empty())
        Fail("nothing to type");
    if (c.Kind() != ControlKind::TextBox && c.Kind() != ControlKind::ComboBox)
        Fail("cannot type into the " + KindName(c.Kind()) + " " + c.Name());
    const std::string why = Unreachable(c);
    if (!why.empty())
        return Note("(nothing: " + why + ")");
    if (c.Kind() == ControlKind::TextBox)
        static_cast<platform::TextBox&>(c).UserTypeText(text);
    else
        static_cast<platform::ComboBox&>(c).UserTypeText(text);
}

void ScriptRunner::DoKey(Line& line) {
    const std::string target = line.NeedWord("Form or Form.Control");
    const std::string name = line.Rest();
    if (const std::string lower = Lower(name); lower == "tab" || lower == "shift+tab") {
        if (target.find('.') != std::string::npos)
            Fail("Tab is pressed in a window: key " + target.substr(0, target.find('.')) + " " + name);
        Form& form = LoadedForm(target);
        return form.UserTab(lower != "tab");
    }
    const int code = KeyCode(name);
    if (code < 0)
        Fail("not a key: " + Quoted(name) +
             " (Enter, Esc, Backspace, Space, Tab, Shift+Tab or one character)");
    if (target.find('.') == std::string::npos) {
        Form& form = LoadedForm(target);
        if (!form.Visible())
            return Note("(nothing: " + form.Name() + " is not visible)");
        if (form.windowState() == platform::WindowState::Minimized)
            return Note("(nothing: " + form.Name() + " is minimised)");
        return form.UserKey(code);
    }
    Form* form = nullptr;
    Control& c = ControlOf(target, &form);
    const std::string why = Unreachable(c);
    if (!why.empty())
        return Note("(nothing: " + why + ")");
    form->UserKeyOn(c, code);
}

void ScriptRunner::DoSet(Line& line) {
    Control& c = ControlOf(line.NeedWord("Form.Control"));
    const std::string text = line.Rest();
    std::function<void()> write;
    switch (c.Kind()) {
    case ControlKind::TextBox:
        write = [&c, &text] { static_cast<platform::TextBox&>(c).SetText(text); };
        break;
    case ControlKind::ComboBox:
        write = [&c, &text] { static_cast<platform::ComboBox&>(c).SetText(text); };
        break;
    case ControlKind::Label:
        write = [&c, &text] { static_cast<platform::Label&>(c).SetCaption(text); };
        break;
    case ControlKind::CommandButton:
        write = [&c, &text] { static_cast<platform::CommandButton&>(c).SetCaption(text); };
        break;
    case ControlKind::Frame:
        write = [&c, &text] { static_cast<platform::Frame&>(c).SetCaption(text); };
        break;
    default:
        Fail("cannot set the " + KindName(c.Kind()) + " " + c.Name());
    }
    Program().Dispatch(write);
}

void ScriptRunner::DoPick(Line& line) {
    Control& c = ControlOf(line.NeedWord("Form.Control"));
    const std::string item = line.Rest();
    const std::vector<std::string>* items = ItemsOf(c);
    if (!items)
        Fail("cannot pick from the " + KindName(c.Kind()) + " " + c.Name());
    if (IndexOf(*items, item) < 0)
        Fail("no item " + Quoted(item) + " in " + c.Name() +
             "; its items: " + (items->empty() ? "(none)" : JoinItems(*items)));
    const std::string why = Unreachable(c);
    if (!why.empty())
        return Note("(nothing: " + why + ")");
    if (c.Kind() == ControlKind::ComboBox)
        static_cast<platform::ComboBox&>(c).UserPick(item);
    else
        static_cast<platform::ListBox&>(c).UserPick(item);
}

void ScriptRunner::DoCheck(Line& line) {
    Control& c = ControlOf(line.NeedWord("Form.Control"));
    const std::string value = line.NeedWord("0 or 1");
    line.End();
    if (c.Kind() != ControlKind::CheckBox)
        Fail(c.Name() + " is not a check box");
    if (value != "0" && value != "1")
        Fail("a check box is set to 0 or 1");
    auto& box = static_cast<platform::CheckBox&>(c);
    const std::string why = Unreachable(c);
    if (!why.empty())
        return Note("(nothing: " + why + ")");
    if (box.Value() == value[0] - '0')
        return Note("(nothing: " + c.Name() + " is " + value + " already)");
    box.UserSetValue(value[0] - '0');
}

void ScriptRunner::DoDropDown(Line& line) {
    Control& c = ControlOf(line.NeedWord("Form.Control"));
    line.End();
    if (c.Kind() != ControlKind::ComboBox)
        Fail(c.Name() + " is not a combo box");
    const std::string why = Unreachable(c);
    if (!why.empty())
        return Note("(nothing: " + why + ")");
    static_cast<platform::ComboBox&>(c).UserDropDown();
}

void ScriptRunner::DoTick(Line& line) {
    Control& c = ControlOf(line.NeedWord("Form.Timer"));
    line.End();
    if (c.Kind() != ControlKind::Timer)
        Fail(c.Name() + " is not a timer");
    auto& timer = static_cast<platform::Timer&>(c);
    if (!timer.Enabled())
        return Note("(nothing: " + c.Name() + " is disabled)");
    if (timer.Interval() <= 0)
        return Note("(nothing: " + c.Name() + " has no interval)");
    timer.Fire();
}

void ScriptRunner::DoWait(Line& line) {
    const std::string text = line.NeedWord("milliseconds");
    line.End();
    long ms = 0;
    if (!ParseInt(text, ms) || ms < 0)
        Fail("wait takes milliseconds, not " + Quoted(text));
    App& app = Program();
    // Small steps, so that each timer ticks as often as its interval allows.
    constexpr long kStep = 10;
    for (long left = ms; left > 0 && !app.Ended(); left -= kStep)
        app.TimePassed(static_cast<int>(std::min(left, kStep)));
}

void ScriptRunner::DoClose(Line& line) {
    Form& form = LoadedForm(line.NeedWord("Form"));
    line.End();
    if (!form.Visible())
        return Note("(nothing: " + form.Name() + " is not visible)");
    form.UserClose();
}

void ScriptRunner::DoLoad(Line& line) {
    Form& form = AnyForm(line.NeedWord("Form"));
    line.End();
    if (form.Loaded())
        return Note("(nothing: " + form.Name() + " is loaded already)");
    Program().Dispatch([this, &form] { Program().Load(form); });
}

// ---------------------------------------------------------------------------
// Looking

void ScriptRunner::DoShow(Line& line) {
    const std::string what = line.Word();
    line.End();
    auto header = [](const Form& form) {
        std::string text = form.Name() + " " + Quoted(form.Caption());
        if (!form.Loaded())
            return text + " not loaded";
        text += form.Visible() ? " visible" : " not visible";
        text += " " + StateName(form.windowState());
        if (form.ActiveControl())
            text += " active=" + form.ActiveControl()->Name();
        return text;
    };
    if (what.empty()) {
        const std::vector<Form*> loaded = Program().LoadedForms();
        if (loaded.empty())
            Note("(no window is loaded)");
        for (const Form* form : loaded)
            Note(header(*form));
        return;
    }
    if (what == "globals") {
        for (const GlobalEntry& g : Globals())
            Note(std::string(g.name) + " = " + Quoted(g.get(Program())));
        return;
    }
    const Form& form = AnyForm(what);
    Note(header(form));
    if (!form.Loaded())
        return;
    for (const Control* c : form.Controls())
        Note("  " + c->Describe());
}

std::string ScriptRunner::DataPath(const std::string& name, fs::path& path) {
    const fs::path relative(name);
    if (name.empty())
        return "missing the file name";
    if (relative.is_absolute())
        return "a file name inside the data folder, not " + name;
    for (const fs::path& part : relative)
        if (part == "..")
            return "a file name inside the data folder, not " + name;
    path = Program().data().root() / relative;
    return std::string();
}

std::string ScriptRunner::ReadData(const std::string& name) {
    fs::path path;
    const std::string bad = DataPath(name, path);
    if (!bad.empty())
        Fail(bad);
    std::error_code ec;
    if (!fs::is_regular_file(path, ec))
        Fail("there is no data file " + name);
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    if (!in)
        Fail("cannot read the data file " + name);
    return content.str();
}

void ScriptRunner::DoFile(Line& line) {
    const std::string name = line.Rest();
    fs::path path;
    const std::string bad = DataPath(name, path);
    if (!bad.empty())
        Fail(bad);
    std::error_code ec;
    if (!fs::is_regular_file(path, ec))
        return Note("(there is no file " + name + ")");
    const std::string content = ReadData(name);
    Note(name + ": " + Plural(content.size(), "byte"));
    for (const std::string& text : DumpLines(content))
        Note(text);
}

void ScriptRunner::DoPrintout() {
    m_printoutLines.clear();
    m_printoutJobs = static_cast<int>(m_jobs.size() - m_printoutFrom);
    if (m_printoutJobs == 0)
        Note("(nothing was printed)");
    for (size_t j = m_printoutFrom; j < m_jobs.size(); ++j) {
        Note("--- print job " + std::to_string(j + 1) + " ---");
        const platform::PrintJob& job = m_jobs[j];
        for (size_t p = 0; p < job.pages.size(); ++p) {
            std::vector<std::string> texts;
            if (p > 0)
                texts.push_back("<new page>");
            for (const platform::PrintedLine& printed : job.pages[p].lines)
                texts.push_back(printed.text);
            for (std::string& text : texts) {
                m_printoutLines.push_back(std::move(text));
                char number[32];
                std::snprintf(number, sizeof number, "%4zu| ", m_printoutLines.size());
                Note(number + m_printoutLines.back());
            }
        }
    }
    m_printoutFrom = m_jobs.size();
}

// ---------------------------------------------------------------------------
// Checks

void ScriptRunner::DoExpect(Line& line) {
    const std::string rest = line.Raw();
    std::string target;
    std::string value;
    const size_t eq = rest.find(" = ");
    if (eq != std::string::npos) {
        target = TrimBlanks(rest.substr(0, eq));
        value = rest.substr(eq + 3);
    } else if (rest.size() >= 2 && rest.ends_with(" =")) {
        target = TrimBlanks(rest.substr(0, rest.size() - 2));
    } else {
        Fail("expect TARGET = VALUE");
    }
    if (target.empty())
        Fail("expect TARGET = VALUE");
    std::string expected = Unquote(value);
    Line parts(target);
    const std::string kind = parts.Word();
    std::string actual;
    if (kind == "bytes" || kind == "chars") {
        const std::string name = parts.NeedWord("the file name");
        long offset = -1;
        if (!ParseInt(parts.Word(), offset) || offset < 0)
            Fail(kind + " NAME OFFSET: the offset counts from 0");
        parts.End();
        const std::string content = ReadData(name);
        const std::string_view tail =
            static_cast<size_t>(offset) < content.size() ? std::string_view(content).substr(offset) : "";
        if (kind == "bytes") {
            std::string normal;
            Line hex(expected);
            for (std::string byte = hex.Word(); !byte.empty(); byte = hex.Word()) {
                if (byte.size() != 2 || !std::isxdigit(static_cast<unsigned char>(byte[0])) ||
                    !std::isxdigit(static_cast<unsigned char>(byte[1])))
                    Fail("not a hex byte: " + Quoted(byte));
                for (char& c : byte)
                    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
                normal += (normal.empty() ? "" : " ") + byte;
            }
            expected = normal;
            const size_t count = (expected.size() + 1) / 3;
            actual = HexBytes(tail.substr(0, count));
            if (tail.size() < count)
                actual += " (end of file)";
        } else {
            actual = std::string(tail.substr(0, expected.size()));
        }
    } else {
        actual = Actual(target);
    }
    if (actual != expected)
        Fail("expected " + target + " = " + Quoted(expected) + ", got " + Quoted(actual));
    ++m_checks;
}

std::string ScriptRunner::Actual(const std::string& target) {
    Line parts(target);
    const std::string kind = parts.Word();
    if (kind == "ended") {
        parts.End();
        return Bool(Program().Ended());
    }
    if (kind == "box") {
        parts.End();
        if (m_services.dialogs.shown().empty())
            Fail("no box was shown");
        return BoxText(m_services.dialogs.shown().back());
    }
    if (kind == "boxes") {
        parts.End();
        return std::to_string(m_services.dialogs.shown().size());
    }
    if (kind == "clock") {
        parts.End();
        return m_services.clock.DateText() + " " + m_services.clock.TimeText();
    }
    if (kind == "global") {
        const std::string name = parts.NeedWord("the variable's name");
        parts.End();
        for (const GlobalEntry& g : Globals())
            if (name == g.name)
                return g.get(Program());
        Fail("no shared variable " + name);
    }
    if (kind == "exists" || kind == "file") {
        const std::string name = parts.Rest();
        if (kind == "file")
            return JoinedLines(ReadData(name));
        fs::path path;
        const std::string bad = DataPath(name, path);
        if (!bad.empty())
            Fail(bad);
        std::error_code ec;
        return Bool(fs::is_regular_file(path, ec));
    }
    if (kind == "printout") {
        const std::string what = parts.NeedWord("line N or jobs");
        if (what == "jobs") {
            parts.End();
            return std::to_string(m_printoutJobs);
        }
        long n = 0;
        if (what != "line" || !ParseInt(parts.Word(), n))
            Fail("printout line N or printout jobs");
        parts.End();
        if (n < 1 || static_cast<size_t>(n) > m_printoutLines.size())
            Fail("the last printout has " + Plural(m_printoutLines.size(), "line") + ", no line " +
                 std::to_string(n));
        return platform::RTrim(m_printoutLines[static_cast<size_t>(n - 1)]);
    }

    // Form.Property or Form.Control.Property
    parts.End();
    const size_t first = target.find('.');
    const size_t last = target.rfind('.');
    if (first == std::string::npos)
        Fail("unknown check " + Quoted(target));
    const std::string property = target.substr(last + 1);
    if (first != last) {
        Control& c = ControlOf(target.substr(0, last));
        return ControlProperty(c, property);
    }
    Form& form = AnyForm(target.substr(0, first));
    const std::string p = Lower(property);
    if (p == "loaded")
        return Bool(form.Loaded());
    if (p == "visible")
        return Bool(form.Loaded() && form.Visible());
    if (p == "caption")
        return form.Caption();
    if (p == "windowstate")
        return StateName(form.windowState());
    if (p == "activecontrol")
        return form.ActiveControl() ? form.ActiveControl()->Name() : std::string();
    Fail("a window has Loaded, Visible, Caption, WindowState and ActiveControl, not " + property);
}

std::string ScriptRunner::ControlProperty(const Control& c, const std::string& property) {
    const std::string p = Lower(property);
    const ControlKind kind = c.Kind();
    if (p == "enabled")
        return Bool(c.Enabled());
    if (p == "visible")
        return Bool(c.Visible());
    if (p == "tooltiptext")
        return c.ToolTipText();
    if (p == "text") {
        if (kind == ControlKind::TextBox)
            return static_cast<const platform::TextBox&>(c).Text();
        if (kind == ControlKind::ComboBox)
            return static_cast<const platform::ComboBox&>(c).Text();
        if (kind == ControlKind::ListBox)
            return static_cast<const platform::ListBox&>(c).Text();
    } else if (p == "caption") {
        if (kind == ControlKind::CheckBox)
            return static_cast<const platform::CheckBox&>(c).Caption();
        if (kind == ControlKind::Label || kind == ControlKind::CommandButton || kind == ControlKind::Frame)
            return c.ValueText();
    } else if (p == "value") {
        if (kind == ControlKind::CheckBox)
            return std::to_string(static_cast<const platform::CheckBox&>(c).Value());
    } else if (p == "interval") {
        if (kind == ControlKind::Timer)
            return std::to_string(static_cast<const platform::Timer&>(c).Interval());
    } else if (const std::vector<std::string>* items = ItemsOf(c)) {
        if (p == "listcount")
            return std::to_string(items->size());
        if (p == "items")
            return JoinItems(*items);
        if (p == "listindex")
            return std::to_string(kind == ControlKind::ComboBox
                                      ? static_cast<const platform::ComboBox&>(c).ListIndex()
                                      : static_cast<const platform::ListBox&>(c).ListIndex());
        if (p.starts_with("list(") && p.ends_with(")")) {
            long index = -1;
            if (!ParseInt(p.substr(5, p.size() - 6), index))
                Fail("List(i) takes a number from 0");
            if (index < 0 || static_cast<size_t>(index) >= items->size())
                Fail(c.Name() + " has " + Plural(items->size(), "item") + ", no List(" +
                     std::to_string(index) + ")");
            return (*items)[static_cast<size_t>(index)];
        }
    }
    Fail("the " + KindName(kind) + " " + c.Name() + " has no property " + property);
}

} // namespace vantreth::script
