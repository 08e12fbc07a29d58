// A window. Its controls are members of the derived class and register themselves here in
// declaration order, which is also the tab order. The program loads and unloads windows;
// a window object lives as long as the program, so a handler may unload its own window and
// go on running.
#pragma once

#include "controls.h"
#include "dialogs.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class Form;
class Program;

// What a window and its controls need of the program that runs them: their events run, the
// window unloaded, the boxes, and word that a timer changed. The program provides it.
class EventLoop {
public:
    virtual void Dispatch(const std::function<void()>& handler, std::string_view action = {},
                          const void* repeatKey = nullptr) = 0;
    virtual void Unload(Form& form) = 0;
    virtual MsgBoxResult MsgBox(const std::string& prompt, int style, const std::string& title) = 0;
    virtual std::string InputBox(const std::string& prompt, const std::string& title) = 0;
    virtual void TimersChanged() = 0;
    // An event of the clerk's (or of a timer's) in `window`: the same as Dispatch, and the
    // window is the one the step was working in.
    virtual void DispatchIn(Form& window, const std::function<void()>& handler, std::string_view action = {},
                            const void* repeatKey = nullptr) {
        (void)window;
        Dispatch(handler, action, repeatKey);
    }

protected:
    ~EventLoop() = default;
};

// The event loop of a program (defined with the program, above the windows).
EventLoop& EventLoopOf(Program& program);

enum class WindowState { Normal = 0, Minimized = 1, Maximized = 2 };

class Form : public ControlHost {
public:
    Form(Program& program, std::string name, std::string caption, Rect at);
    virtual ~Form() = default;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const std::string& Name() const { return m_name; }
    const std::string& Caption() const override { return m_caption; }
    void SetCaption(std::string caption) {
        if (caption != m_caption)
            ++m_captionVersion;
        m_caption = std::move(caption);
    }
    const Rect& At() const { return m_at; }
    void Move(int x, int y) {
        m_at.x = x;
        m_at.y = y;
    }

    bool Loaded() const override { return m_loaded; }
    bool Visible() const { return m_visible; }
    void Show() { m_visible = true; }
    void Hide() { m_visible = false; }
    // Brings the window in front of the other windows.
    void ZOrder();
    // Grows each time the window is brought to the front.
    unsigned long ZOrderStamp() const { return m_zorder; }
    WindowState windowState() const { return m_state; }
    void SetWindowState(WindowState state) { m_state = state; }
    // The window sees every key before its controls.
    bool KeyPreview() const { return m_keyPreview; }

    const std::vector<Control*>& Controls() const { return m_controls; }
    // Grows with every change of what the window shows: its caption or any control's state.
    unsigned long ShownVersion() const;
    Control* Find(std::string_view name) const;
    Control* ActiveControl() const override { return m_active; }
    Program& program() const { return m_program; }
    EventLoop& loop() const { return m_loop; }

    // The clerk presses a key while this window is active: the window's key handler first
    // when it has key preview, then the focused control. A key the handlers leave alone is
    // typed into the box that had the focus when the key was pressed.
    void UserKey(int key);
    // The clerk clicks into a control and presses a key there.
    void UserKeyOn(Control& control, int key) override;
    // The clerk presses Tab (Shift+Tab: backwards): the focus goes to the next control in tab
    // order that can take it, round the window, as the keyboard moves it (see SetFocus).
    void UserTab(bool backwards = false);
    // The clerk clicks the window's close box.
    void UserClose();
    // The clerk clicks the window itself, outside its controls.
    void UserClick();

    // The clerk's way on depends on the window and it holds nothing unsaved (the front desk
    // that the other windows go back to; the night audit under way, whose load then shows
    // its steps as the saved steps left them): a failed step that closed it opens it again.
    virtual bool ComesBackAfterAFailedStep() const { return false; }
    // At the start of every step of the clerk, for every window made, loaded or not: a window
    // that must come back after a failed step notes here what it would come back to.
    virtual void StepBegins() {}

    // Modal boxes, through the program.
    MsgBoxResult MsgBox(const std::string& prompt, int style = vbOKOnly, const std::string& title = "");
    std::string InputBox(const std::string& prompt, const std::string& title = "");

protected:
    virtual void Form_Load() {}
    virtual void Form_Unload() {}
    // Runs for every key when the window has key preview; set KeyAscii to 0 to consume it.
    virtual void Form_KeyPress(int& KeyAscii) { (void)KeyAscii; }
    virtual void Form_Click() {}
    // The close box; unloads the window unless a window decides otherwise.
    virtual void Form_QueryClose();
    void SetKeyPreview(bool on) { m_keyPreview = on; }
    // Esc presses the window's button captioned "... / Esc" unless a handler took the key;
    // a window whose Esc is to close nothing says so here.
    void SetEscPressesNothing() { m_escPressesButton = false; }
    // A window that is a part of another (a chart the other opens over itself, where the
    // focus starts) hands Esc to the "... / Esc" button of that window when it has none.
    void SetEscPartOf(Form& whole) { m_escPartOf = &whole; }

private:
    friend class Program;
    friend class Control;
    // What the controls ask of their window.
    Form& Window() override { return *this; }
    void Register(Control* control) override { m_controls.push_back(control); }
    void SetActiveControl(Control* control) override { m_active = control; }
    void DispatchFor(const std::function<void()>& handler, const std::string& action,
                     const void* repeatKey) override {
        m_loop.DispatchIn(*this, handler, action, repeatKey);
    }
    void TimersChanged() override { m_loop.TimersChanged(); }
    void ResetForLoad();
    void FocusFirst();
    void RouteKey(Control* target, int key);
    // Presses the usable button captioned "... / Esc"; false when there is none.
    bool PressEscButton();

    Program& m_program;
    EventLoop& m_loop;
    std::string m_name;
    std::string m_designCaption;
    std::string m_caption;
    Rect m_designAt;
    Rect m_at;
    bool m_loaded = false;
    bool m_visible = false;
    bool m_keyPreview = false;
    Form* m_escPartOf = nullptr;
    bool m_escPressesButton = true;
    WindowState m_state = WindowState::Normal;
    unsigned long m_zorder = 0;
    unsigned long m_captionVersion = 0;
    std::vector<Control*> m_controls;
    Control* m_active = nullptr;
};

} // namespace platform
