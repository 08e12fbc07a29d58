// Controls: state, the design reset of every load, and the clerk's actions.
#include "controls.h"

#include "text.h"

#include <algorithm>
#include <cctype>
#include <utility>

namespace platform {

namespace {

std::string Quoted(const std::string& s) {
    return "\"" + s + "\"";
}

std::string Flags(const Control& c) {
    std::string out;
    if (!c.Enabled())
        out += " disabled";
    if (!c.Visible())
        out += " hidden";
    if (c.HasFocus())
        out += " focused";
    return out;
}

std::string ListText(const std::vector<std::string>& items, int index) {
    std::string out = " items=[";
    for (size_t i = 0; i < items.size(); ++i) {
        if (i)
            out += ", ";
        out += Quoted(items[i]);
    }
    out += "] index=" + std::to_string(index);
    return out;
}

bool LessNoCase(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
    });
}

// Applies an unconsumed key to a typed text.
bool ApplyKey(std::string& text, int key, int maxLength) {
    if (key == vbKeyBack) {
        if (text.empty())
            return false;
        text.pop_back();
        return true;
    }
    if (key < 32 || key > 255 || key == 127)
        return false;
    if (maxLength > 0 && static_cast<int>(text.size()) >= maxLength)
        return false;
    text.push_back(static_cast<char>(key));
    return true;
}

} // namespace

Control::Control(ControlHost& host, std::string name, ControlKind kind, Design design)
    : m_form(host.Window()), m_host(host), m_name(std::move(name)), m_kind(kind),
      m_design(std::move(design)) {
    m_host.Register(this);
    Control::Reset();
}

bool Control::Usable() const {
    if (!m_enabled || !m_visible)
        return false;
    for (const Frame* f = m_design.frame; f; f = f->frame())
        if (!f->Enabled() || !f->Visible())
            return false;
    return true;
}

void Control::SetFocus() {
    if (!TakesFocus() || !Usable() || !m_host.Loaded())
        return;
    const bool entering = m_host.ActiveControl() != this;
    m_host.SetActiveControl(this);
    if (entering)
        FocusEnteredByKey();
}

void Control::SetFocusByMouse() {
    if (!TakesFocus() || !Usable() || !m_host.Loaded())
        return;
    m_host.SetActiveControl(this);
}

bool Control::HasFocus() const {
    return m_host.ActiveControl() == this;
}

void Control::SetEnabled(bool enabled) {
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    Changed();
    if (m_kind == ControlKind::Timer)
        m_host.TimersChanged();
}

void Control::SetVisible(bool visible) {
    if (visible == m_visible)
        return;
    m_visible = visible;
    Changed();
}

void Control::SetToolTipText(std::string text) {
    if (text == m_toolTip)
        return;
    m_toolTip = std::move(text);
    Changed();
}

void Control::Reset() {
    m_enabled = m_design.enabled;
    m_visible = m_design.visible;
    m_toolTip = m_design.toolTip;
    Changed();
}

std::string Control::Describe() const {
    return m_name + Flags(*this);
}

void Control::UserEvent(const std::function<void()>& handler) {
    // The words the clerk would use: the window, then the button's caption or the control.
    std::string what = m_kind == ControlKind::CommandButton ? RTrim(ValueText())
                       : m_kind == ControlKind::CheckBox
                           ? RTrim(static_cast<const CheckBox&>(*this).Caption())
                           : std::string();
    if (what.empty())
        what = m_name;
    const std::string action = m_host.Caption() + ": " + what;
    m_host.DispatchFor(handler, action, m_kind == ControlKind::Timer ? this : nullptr);
}

// ---------------------------------------------------------------------------

Label::Label(ControlHost& form, std::string name, Design design)
    : Control(form, std::move(name), ControlKind::Label, std::move(design)) {
    Label::Reset();
}

void Label::Reset() {
    Control::Reset();
    m_caption = design().caption;
}

void Label::SetCaption(std::string caption) {
    if (caption == m_caption)
        return;
    m_caption = std::move(caption);
    Changed();
}

std::string Label::Describe() const {
    return Name() + " " + Quoted(m_caption) + Flags(*this);
}

void Label::UserClick() {
    if (Usable())
        UserEvent([this] {
            if (on_click)
                on_click();
        });
}

void Label::UserDblClick() {
    if (Usable())
        UserEvent([this] {
            if (on_dbl_click)
                on_dbl_click();
        });
}

// ---------------------------------------------------------------------------

TextBox::TextBox(ControlHost& form, std::string name, Design design)
    : Control(form, std::move(name), ControlKind::TextBox, std::move(design)) {
    TextBox::Reset();
}

void TextBox::Reset() {
    Control::Reset();
    m_text = design().caption;
    m_filledByProgram = false;
    m_designDefault = !m_text.empty();
    SetSelection(static_cast<int>(m_text.size()));
}

void TextBox::SetText(std::string text) {
    Write(std::move(text), false);
}

void TextBox::Write(std::string text, bool byClerk) {
    m_designDefault = false;
    m_filledByProgram = !byClerk && !text.empty();
    if (text == m_text) {
        SetSelection(static_cast<int>(m_text.size()));
        return;
    }
    m_text = std::move(text);
    Changed();
    SetSelection(static_cast<int>(m_text.size()));
    if (on_change)
        on_change();
}

void TextBox::FocusEnteredByKey() {
    if (m_filledByProgram || m_designDefault)
        SetSelection(0, static_cast<int>(m_text.size()));
}

void TextBox::SetSelection(int start, int length) {
    const int size = static_cast<int>(m_text.size());
    const int selStart = std::clamp(start, 0, size);
    const int selLength = std::clamp(length, 0, size - selStart);
    if (selStart == m_selStart && selLength == m_selLength)
        return;
    m_selStart = selStart;
    m_selLength = selLength;
    Changed();
}

std::string TextBox::Describe() const {
    return Name() + " " + Quoted(m_text) + Flags(*this);
}

void TextBox::UserClick() {
    if (!Usable())
        return;
    UserEvent([this] {
        SetFocusByMouse();
        // A click ends a selection; the caret goes to the end (the screen then puts it where
        // the mouse was).
        if (m_selLength > 0)
            SetSelection(static_cast<int>(m_text.size()));
        if (on_click)
            on_click();
    });
}

void TextBox::UserType(int key) {
    Host().UserKeyOn(*this, key);
}

void TextBox::UserTypeText(const std::string& text) {
    for (unsigned char c : text)
        UserType(c);
}

void TextBox::TypeIntoBox(int key) {
    std::string text = m_text;
    size_t caret = static_cast<size_t>(m_selStart);
    std::string typed;
    if (key == vbKeyReturn && design().multiLine) {
        typed = "\r\n";
    } else if (key == vbKeyBack) {
        if (m_selLength == 0) {
            if (caret == 0)
                return;
            --caret;
            text.erase(caret, 1);
        }
    } else if (key >= 32 && key <= 255 && key != 127) {
        typed.assign(1, static_cast<char>(key));
    } else {
        return;
    }
    text.erase(caret, static_cast<size_t>(m_selLength));
    if (!typed.empty() && MaxLength() > 0 && static_cast<int>(text.size() + typed.size()) > MaxLength())
        return;
    text.insert(caret, typed);
    caret += typed.size();
    Write(text, true);
    if (m_text == text)
        SetSelection(static_cast<int>(caret));
}

// ---------------------------------------------------------------------------

CommandButton::CommandButton(ControlHost& form, std::string name, Design design)
    : Control(form, std::move(name), ControlKind::CommandButton, std::move(design)) {
    CommandButton::Reset();
}

void CommandButton::Reset() {
    Control::Reset();
    m_caption = design().caption;
}

void CommandButton::SetCaption(std::string caption) {
    if (caption == m_caption)
        return;
    m_caption = std::move(caption);
    Changed();
}

std::string CommandButton::Describe() const {
    return Name() + " [" + m_caption + "]" + Flags(*this);
}

void CommandButton::UserClick() {
    if (!Usable())
        return;
    UserEvent([this] {
        SetFocus();
        if (on_click)
            on_click();
    });
}

// ---------------------------------------------------------------------------

CheckBox::CheckBox(ControlHost& form, std::string name, Design design)
    : Control(form, std::move(name), ControlKind::CheckBox, std::move(design)) {
    CheckBox::Reset();
}

void CheckBox::Reset() {
    Control::Reset();
    m_caption = design().caption;
    m_value = 0;
}

void CheckBox::SetValue(int value) {
    if (value == m_value)
        return;
    m_value = value;
    Changed();
}

std::string CheckBox::Describe() const {
    return Name() + " [" + m_caption + "] value=" + std::to_string(m_value) + Flags(*this);
}

void CheckBox::UserClick() {
    UserSetValue(m_value == 1 ? 0 : 1);
}

void CheckBox::UserSetValue(int value) {
    if (!Usable() || value == m_value)
        return;
    UserEvent([this, value] {
        SetFocus();
        SetValue(value);
        if (on_click)
            on_click();
    });
}

// ---------------------------------------------------------------------------

int ListItems::Add(std::string item) {
    if (!m_sorted) {
        m_items.push_back(std::move(item));
        return Count() - 1;
    }
    auto at = std::upper_bound(m_items.begin(), m_items.end(), item, LessNoCase);
    at = m_items.insert(at, std::move(item));
    return static_cast<int>(at - m_items.begin());
}

void ListItems::Remove(int index) {
    if (index >= 0 && index < Count())
        m_items.erase(m_items.begin() + index);
}

int ListItems::Find(const std::string& item) const {
    auto it = std::find(m_items.begin(), m_items.end(), item);
    return it == m_items.end() ? -1 : static_cast<int>(it - m_items.begin());
}

// ---------------------------------------------------------------------------

ComboBox::ComboBox(ControlHost& form, std::string name, Design design)
    : Control(form, std::move(name), ControlKind::ComboBox, design), m_items(design.sorted) {
    ComboBox::Reset();
}

void ComboBox::Reset() {
    Control::Reset();
    m_items.Clear();
    m_text = design().caption;
    m_index = -1;
    m_typeOver = false;
}

void ComboBox::FocusEnteredByKey() {
    m_typeOver = !m_text.empty() && m_text == design().caption;
}

void ComboBox::AddItem(std::string item) {
    m_items.Add(std::move(item));
    Changed();
}

void ComboBox::RemoveItem(int index) {
    m_items.Remove(index);
    Changed();
}

void ComboBox::Clear() {
    m_items.Clear();
    m_index = -1;
    Changed();
    SetText(std::string());
}

void ComboBox::SetListIndex(int index) {
    Changed();
    if (index < 0 || index >= ListCount()) {
        m_index = -1;
        return;
    }
    m_index = index;
    SetText(List(index));
}

void ComboBox::SetText(std::string text) {
    if (text == m_text)
        return;
    m_text = std::move(text);
    if (m_index >= 0 && (m_index >= ListCount() || List(m_index) != m_text))
        m_index = -1;
    Changed();
    if (on_change)
        on_change();
}

std::string ComboBox::Describe() const {
    return Name() + " " + Quoted(m_text) + ListText(Items(), m_index) + Flags(*this);
}

void ComboBox::UserDropDown() {
    if (!Usable())
        return;
    UserEvent([this] {
        SetFocus();
        if (on_drop_down)
            on_drop_down();
    });
}

bool ComboBox::UserPick(const std::string& item) {
    int index = m_items.Find(item);
    if (index < 0)
        return false;
    UserPickIndex(index);
    return true;
}

void ComboBox::UserPickIndex(int index) {
    if (!Usable() || index < 0 || index >= ListCount())
        return;
    UserEvent([this, index] {
        SetFocus();
        m_typeOver = false;
        m_index = index;
        Changed();
        std::string text = List(index);
        if (text != m_text) {
            m_text = std::move(text);
            // A pick changes the text without a Change event, as a list pick does.
        }
        if (on_click)
            on_click();
    });
}

void ComboBox::UserType(int key) {
    Host().UserKeyOn(*this, key);
}

void ComboBox::UserTypeText(const std::string& text) {
    for (unsigned char c : text)
        UserType(c);
}

void ComboBox::TypeIntoBox(int key) {
    if (design().listOnly)
        return;
    const bool over = std::exchange(m_typeOver, false);
    std::string text = over ? std::string() : m_text;
    if (!ApplyKey(text, key, 0) && !(over && key == vbKeyBack))
        return;
    m_index = -1;
    Changed();
    SetText(std::move(text));
}

// ---------------------------------------------------------------------------

ListBox::ListBox(ControlHost& form, std::string name, Design design)
    : Control(form, std::move(name), ControlKind::ListBox, design), m_items(design.sorted) {
    ListBox::Reset();
}

void ListBox::Reset() {
    Control::Reset();
    m_items.Clear();
    m_index = -1;
}

void ListBox::AddItem(std::string item) {
    m_items.Add(std::move(item));
    Changed();
}

void ListBox::RemoveItem(int index) {
    m_items.Remove(index);
    if (m_index >= ListCount())
        m_index = -1;
    Changed();
}

void ListBox::Clear() {
    m_items.Clear();
    m_index = -1;
    Changed();
}

void ListBox::SetListIndex(int index) {
    m_index = (index >= 0 && index < ListCount()) ? index : -1;
    Changed();
}

std::string ListBox::Text() const {
    return m_index >= 0 ? List(m_index) : std::string();
}

std::string ListBox::Describe() const {
    return Name() + ListText(Items(), m_index) + Flags(*this);
}

void ListBox::UserClick(int index) {
    if (!Usable() || index < 0 || index >= ListCount())
        return;
    UserEvent([this, index] {
        SetFocus();
        m_index = index;
        Changed();
        if (on_click)
            on_click();
    });
}

bool ListBox::UserPick(const std::string& item) {
    int index = m_items.Find(item);
    if (index < 0)
        return false;
    UserClick(index);
    return true;
}

void ListBox::UserDblClick(int index) {
    if (!Usable() || index < 0 || index >= ListCount())
        return;
    UserClick(index);
    UserEvent([this] {
        if (on_dbl_click)
            on_dbl_click();
    });
}

void ListBox::UserKey(int key) {
    Host().UserKeyOn(*this, key);
}

// ---------------------------------------------------------------------------

Frame::Frame(ControlHost& form, std::string name, Design design)
    : Control(form, std::move(name), ControlKind::Frame, std::move(design)) {
    Frame::Reset();
}

void Frame::Reset() {
    Control::Reset();
    m_caption = design().caption;
}

void Frame::SetCaption(std::string caption) {
    if (caption == m_caption)
        return;
    m_caption = std::move(caption);
    Changed();
}

std::string Frame::Describe() const {
    return Name() + " (" + m_caption + ")" + Flags(*this);
}

void Frame::UserClick() {
    if (Usable())
        UserEvent([this] {
            if (on_click)
                on_click();
        });
}

void Frame::UserDblClick() {
    if (Usable())
        UserEvent([this] {
            if (on_dbl_click)
                on_dbl_click();
        });
}

// ---------------------------------------------------------------------------

bool EnterMovesFocus(int& KeyAscii, Control& next) {
    if (KeyAscii != vbKeyReturn)
        return false;
    KeyAscii = 0;
    next.SetFocus();
    return true;
}

// ---------------------------------------------------------------------------

Timer::Timer(ControlHost& form, std::string name, Design design)
    : Control(form, std::move(name), ControlKind::Timer, std::move(design)) {
    Timer::Reset();
}

void Timer::Reset() {
    Control::Reset();
    m_interval = design().interval;
    m_elapsed = 0;
    m_resting = false;
    m_readable = nullptr;
}

void Timer::SetInterval(int ms) {
    m_interval = ms;
    m_elapsed = 0;
    Rescheduled();
}

std::string Timer::Describe() const {
    return Name() + " interval=" + std::to_string(m_interval) + (Enabled() ? "" : " disabled");
}

void Timer::Fire() {
    if (!Enabled() || m_interval <= 0 || !Host().Loaded())
        return;
    m_elapsed = 0;
    UserEvent([this] {
        if (on_timer)
            on_timer();
    });
}

void Timer::Advance(int ms) {
    if (!Enabled() || m_interval <= 0 || !Host().Loaded()) {
        m_elapsed = 0;
        return;
    }
    m_elapsed += ms;
    if (m_elapsed >= m_interval)
        Fire();
}

int Timer::MsUntilTick() const {
    if (!Enabled() || m_interval <= 0 || !Host().Loaded())
        return -1;
    return std::max(0, m_interval - m_elapsed);
}

void Timer::Rest(std::function<int()> readable) {
    m_resting = true;
    m_readable = std::move(readable);
    Rescheduled();
}

void Timer::Wake() {
    if (!m_resting)
        return;
    m_resting = false;
    m_readable = nullptr;
    Rescheduled();
}

void Timer::Rescheduled() {
    Host().TimersChanged();
}

} // namespace platform
