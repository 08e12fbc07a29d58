// Windows: design reset on load, focus, and the routing of the clerk's keys.
#include "form.h"

namespace platform {

Form::Form(Program& program, std::string name, std::string caption, Rect at)
    : m_program(program), m_loop(EventLoopOf(program)), m_name(std::move(name)), m_designCaption(caption),
      m_caption(std::move(caption)), m_designAt(at), m_at(at) {}

Control* Form::Find(std::string_view name) const {
    for (Control* c : m_controls)
        if (c->Name() == name)
            return c;
    return nullptr;
}

void Form::ResetForLoad() {
    m_caption = m_designCaption;
    m_at = m_designAt;
    m_visible = false;
    m_state = WindowState::Normal;
    m_active = nullptr;
    for (Control* c : m_controls)
        c->Reset();
}

unsigned long Form::ShownVersion() const {
    unsigned long version = m_captionVersion;
    for (const Control* c : m_controls)
        version += c->Version(); // each only grows, so the sum changes with any of them
    return version;
}

void Form::FocusFirst() {
    if (m_active && m_active->Usable())
        return;
    m_active = nullptr;
    for (Control* c : m_controls) {
        if (c->TakesFocus() && c->Usable()) {
            m_active = c;
            return;
        }
    }
}

void Form::UserKey(int key) {
    if (!m_loaded)
        return;
    m_loop.DispatchIn(*this, [this, key] { RouteKey(m_active, key); });
}

void Form::UserKeyOn(Control& control, int key) {
    if (!m_loaded || !control.Usable())
        return;
    m_loop.DispatchIn(*this, [this, &control, key] {
        control.SetFocusByMouse();
        RouteKey(&control, key);
    });
}

void Form::UserTab(bool backwards) {
    if (!m_loaded)
        return;
    m_loop.DispatchIn(*this, [this, backwards] {
        const auto n = static_cast<long>(m_controls.size());
        long at = -1;
        for (long i = 0; i < n; ++i)
            if (m_controls[static_cast<size_t>(i)] == m_active)
                at = i;
        for (long step = 1; step <= n; ++step) {
            const long i = ((at < 0 && backwards ? n : at) + (backwards ? -step : step) % n + n) % n;
            Control* c = m_controls[static_cast<size_t>(i)];
            if (c->TakesFocus() && c->Usable()) {
                c->SetFocus();
                return;
            }
        }
    });
}

void Form::RouteKey(Control* target, int key) {
    int k = key;
    if (m_keyPreview || target == nullptr) {
        Form_KeyPress(k);
        if (k == vbKeyEscape && target == nullptr && m_loaded)
            PressEscButton();
        if (k == 0 || target == nullptr || !m_loaded)
            return;
    }
    // A text or combo box: its handler first; Esc then presses the cancel button, and any
    // other key the handler left goes into the box.
    const auto typeInto = [&](auto& box) {
        if (box.on_key_press)
            box.on_key_press(k);
        if (k == vbKeyEscape && m_loaded && PressEscButton())
            return;
        if (k != 0)
            box.TypeIntoBox(k);
    };
    switch (target->Kind()) {
    case ControlKind::TextBox:
        typeInto(static_cast<TextBox&>(*target));
        break;
    case ControlKind::ComboBox:
        typeInto(static_cast<ComboBox&>(*target));
        break;
    case ControlKind::ListBox: {
        auto& list = static_cast<ListBox&>(*target);
        if (list.on_key_press)
            list.on_key_press(k);
        if (k == vbKeyEscape && m_loaded)
            PressEscButton();
        break;
    }
    case ControlKind::CommandButton: {
        auto& button = static_cast<CommandButton&>(*target);
        if ((k == vbKeyReturn || k == vbKeySpace) && button.Usable() && button.on_click)
            button.on_click();
        if (k == vbKeyEscape)
            PressEscButton();
        break;
    }
    case ControlKind::CheckBox: {
        auto& box = static_cast<CheckBox&>(*target);
        if (k == vbKeySpace && box.Usable()) {
            box.SetValue(box.Value() == 1 ? 0 : 1);
            if (box.on_click)
                box.on_click();
        }
        if (k == vbKeyEscape)
            PressEscButton();
        break;
    }
    default:
        if (k == vbKeyEscape)
            PressEscButton();
        break;
    }
}

bool Form::PressEscButton() {
    if (!m_escPressesButton)
        return false;
    constexpr std::string_view kEsc = "/ Esc";
    for (Control* control : m_controls) {
        if (control->Kind() != ControlKind::CommandButton || !control->Usable())
            continue;
        auto& button = static_cast<CommandButton&>(*control);
        const std::string caption = button.ValueText();
        if (caption.size() < kEsc.size() ||
            caption.compare(caption.size() - kEsc.size(), kEsc.size(), kEsc) != 0)
            continue;
        if (button.on_click)
            button.on_click();
        return true;
    }
    return m_escPartOf != nullptr && m_escPartOf->m_loaded && m_escPartOf->PressEscButton();
}

void Form::ZOrder() {
    static unsigned long stamp = 0;
    m_zorder = ++stamp;
}

void Form::UserClick() {
    if (!m_loaded)
        return;
    m_loop.DispatchIn(*this, [this] { Form_Click(); });
}

void Form::UserClose() {
    if (!m_loaded)
        return;
    m_loop.DispatchIn(*this, [this] { Form_QueryClose(); });
}

void Form::Form_QueryClose() {
    m_loop.Unload(*this);
}

MsgBoxResult Form::MsgBox(const std::string& prompt, int style, const std::string& title) {
    return m_loop.MsgBox(prompt, style, title);
}

std::string Form::InputBox(const std::string& prompt, const std::string& title) {
    return m_loop.InputBox(prompt, title);
}

} // namespace platform
