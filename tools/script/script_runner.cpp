// The scenario runner: one script line at a time against a program built on fakes (clock,
// boxes, printer, shell) and a temporary data folder; see script_runner.h for the syntax.
#include "script_runner.h"

#include "script/runner_parts.h"

#include "platform/text.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <istream>
#include <ostream>

namespace vantreth::script {

namespace fs = std::filesystem;
using namespace detail;

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
            const auto start = std::chrono::steady_clock::now();
            Line line(text);
            RunLine(line);
            m_actionMs +=
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
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

} // namespace vantreth::script
