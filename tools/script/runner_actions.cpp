// The scenario runner's commands that act as the clerk on windows and controls: click, type, key, set, pick,
// check, drop down, tick, wait, close, load.
#include "script/runner_parts.h"

#include "platform/text.h"

#include <algorithm>

namespace vantreth::script {

using namespace detail;
using platform::Control;
using platform::ControlKind;
using platform::Form;

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

} // namespace vantreth::script
