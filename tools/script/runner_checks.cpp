// The scenario runner's checks: expect, and the values it compares.
#include "script/runner_parts.h"

#include "platform/text.h"

#include <cctype>

namespace vantreth::script {

namespace fs = std::filesystem;
using namespace detail;
using platform::Control;
using platform::ControlKind;
using platform::Form;

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
    if (kind == "exists")
        return Bool(DataFileExists(parts.Rest()));
    if (kind == "file")
        return JoinedLines(ReadData(parts.Rest()));
    if (kind == "printout")
        return PrintoutValue(parts);

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
    return FormProperty(AnyForm(target.substr(0, first)), property);
}

bool ScriptRunner::DataFileExists(const std::string& name) {
    fs::path path;
    const std::string bad = DataPath(name, path);
    if (!bad.empty())
        Fail(bad);
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

// "printout jobs", or "printout line N" of the last printout.
std::string ScriptRunner::PrintoutValue(Line& parts) {
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

std::string ScriptRunner::FormProperty(const Form& form, const std::string& property) {
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
