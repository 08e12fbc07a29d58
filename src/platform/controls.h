// The controls a window is built from, as plain objects with synchronous events.
// Writing a value from code runs the control's Change handler at once, and only when the
// value really changes; code never raises Click. The clerk's own actions (a click, a key,
// a pick from a list) enter through the User* functions, which run as one event of the
// program, so the key-preview, focus and enabled rules are kept in one place.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace platform {

class Control;
class Form;

// What a control needs of the window it sits in; the window provides it.
class ControlHost {
public:
    virtual Form& Window() = 0;
    virtual void Register(Control* control) = 0;
    virtual bool Loaded() const = 0;
    virtual const std::string& Caption() const = 0;
    virtual Control* ActiveControl() const = 0;
    virtual void SetActiveControl(Control* control) = 0;
    virtual void UserKeyOn(Control& control, int key) = 0;
    // Runs the control's event through the program; `repeatKey` as for a timer's.
    virtual void DispatchFor(const std::function<void()>& handler, const std::string& action,
                             const void* repeatKey) = 0;
    virtual void TimersChanged() = 0;

protected:
    ~ControlHost() = default;
};

class Frame;

// Character codes the windows test for.
constexpr int vbKeyBack = 8;
constexpr int vbKeyReturn = 13;
constexpr int vbKeyEscape = 27;
constexpr int vbKeySpace = 32;

struct Rect {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
};

enum class Align { Left, Right, Center };

// A control as the designer left it; every load of its window starts from this.
struct Design {
    std::string caption;    // Caption, or the Text of a text box or combo box
    Rect at;                // position inside the window (or inside its frame), in pixels
    Frame* frame = nullptr; // the frame it sits in
    bool enabled = true;
    bool visible = true;
    int maxLength = 0;      // text box: most characters the clerk can type; 0 = no limit
    bool multiLine = false; // text box
    bool sorted = false;    // list and combo box
    bool fixedFont = false; // list or combo box whose lines are columns: the reports' fixed-pitch font
    bool listOnly = false;  // combo box whose text can only be picked, not typed
    int interval = 0;       // timer, milliseconds
    std::string toolTip;
    int fontSize = 0; // 0 = the window's font
    bool bold = false;
    Align align = Align::Left;
};

enum class ControlKind { Label, TextBox, CommandButton, ComboBox, ListBox, CheckBox, Frame, Timer };

class Control {
public:
    Control(ControlHost& host, std::string name, ControlKind kind, Design design);
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const std::string& Name() const { return m_name; }
    ControlKind Kind() const { return m_kind; }
    Form& Parent() const { return m_form; }
    const Design& design() const { return m_design; }
    Frame* frame() const { return m_design.frame; }

    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool enabled);
    bool Visible() const { return m_visible; }
    void SetVisible(bool visible);
    const std::string& ToolTipText() const { return m_toolTip; }
    void SetToolTipText(std::string text);
    // Enabled and visible, and so is every frame around it.
    bool Usable() const;
    // Whether the control can hold the focus at all.
    virtual bool TakesFocus() const { return false; }
    // Moves the focus here, as the keyboard does (Tab, the Enter walk) and as code does; does
    // nothing when the control is disabled or hidden. A text box that the program has just
    // filled selects its text when the focus comes in this way (see TextBox).
    void SetFocus();
    // The clerk clicks into the control: the focus comes, the caret goes where the mouse put it.
    void SetFocusByMouse();
    bool HasFocus() const;

    // Back to the design state (every load of the window).
    virtual void Reset();
    // One line describing the control's state, for transcripts.
    virtual std::string Describe() const;
    // The text a script compares against: caption, text, or value.
    virtual std::string ValueText() const { return std::string(); }

    // Grows with every change of what the control shows (its state, text, list, selection
    // or value), so that a screen redraws only the controls that changed since it last looked.
    unsigned long Version() const { return m_version; }

protected:
    // The focus came in by the keyboard or from code, from another control.
    virtual void FocusEnteredByKey() {}
    // Runs an event of the clerk through the program's dispatcher.
    void UserEvent(const std::function<void()>& handler);
    // Every change of what the control shows goes through here.
    void Changed() { ++m_version; }

protected:
    ControlHost& Host() const { return m_host; }

private:
    Form& m_form;
    ControlHost& m_host;
    std::string m_name;
    ControlKind m_kind;
    Design m_design;
    bool m_enabled = true;
    bool m_visible = true;
    std::string m_toolTip;
    unsigned long m_version = 0;
};

class Label final : public Control {
public:
    Label(ControlHost& form, std::string name, Design design);
    const std::string& Caption() const { return m_caption; }
    void SetCaption(std::string caption);
    void Reset() override;
    std::string Describe() const override;
    std::string ValueText() const override { return m_caption; }

    void UserClick();
    void UserDblClick();

    std::function<void()> on_click;
    std::function<void()> on_dbl_click;

private:
    std::string m_caption;
};

class TextBox final : public Control {
public:
    TextBox(ControlHost& form, std::string name, Design design);
    const std::string& Text() const { return m_text; }
    // Runs on_change when the text differs from what the box holds.
    void SetText(std::string text);
    int MaxLength() const { return design().maxLength; }
    bool TakesFocus() const override { return true; }
    void Reset() override;
    std::string Describe() const override;
    std::string ValueText() const override { return m_text; }

    // The clerk clicks into the box: the focus comes, a selection ends.
    void UserClick();
    // One key typed into the box (see Form::UserKey for the order of handlers).
    void UserType(int key);
    // Types every character of the text, one key at a time.
    void UserTypeText(const std::string& text);

    // What a key that no handler consumed does to the text: a printable character replaces
    // the selection or goes in at the caret (up to MaxLength); Backspace removes the
    // selection or the character before the caret.
    void TypeIntoBox(int key);

    // The caret and the selection, in characters from 0. A write from code puts the caret
    // at the end; the clerk's mouse and arrow keys move it (set by the screen, no event).
    // A text that code wrote (a default, such as an amount offered for a code) or that the
    // box has from its design (a "1" of nights), and that the clerk has not typed into, is
    // selected whole when the focus comes in by the keyboard or from
    // code, so that what the clerk types replaces it; a click leaves the caret where it was put.
    int SelStart() const { return m_selStart; }
    int SelLength() const { return m_selLength; }
    void SetSelection(int start, int length = 0);
    bool FilledByProgram() const { return m_filledByProgram; }

    std::function<void()> on_change;
    std::function<void()> on_click;
    std::function<void(int& KeyAscii)> on_key_press;

protected:
    void FocusEnteredByKey() override;

private:
    void Write(std::string text, bool byClerk);
    std::string m_text;
    int m_selStart = 0;
    int m_selLength = 0;
    bool m_filledByProgram = false;
    bool m_designDefault = false; // the text is still the one the box has from its design
};

class CommandButton final : public Control {
public:
    CommandButton(ControlHost& form, std::string name, Design design);
    const std::string& Caption() const { return m_caption; }
    void SetCaption(std::string caption);
    bool TakesFocus() const override { return true; }
    void Reset() override;
    std::string Describe() const override;
    std::string ValueText() const override { return m_caption; }

    // A click of the clerk: nothing when the button is disabled or hidden.
    void UserClick();

    std::function<void()> on_click;

private:
    std::string m_caption;
};

class CheckBox final : public Control {
public:
    CheckBox(ControlHost& form, std::string name, Design design);
    const std::string& Caption() const { return m_caption; }
    int Value() const { return m_value; }
    // A write from code never raises Click.
    void SetValue(int value);
    bool TakesFocus() const override { return true; }
    void Reset() override;
    std::string Describe() const override;
    std::string ValueText() const override { return std::to_string(m_value); }

    // The clerk clicks the box: the value flips, then Click runs.
    void UserClick();
    // The clerk sets the box to a value; Click runs when it changes.
    void UserSetValue(int value);

    std::function<void()> on_click;

private:
    std::string m_caption;
    int m_value = 0;
};

// The list part shared by list boxes and combo boxes.
class ListItems {
public:
    explicit ListItems(bool sorted) : m_sorted(sorted) {}
    // Adds at the end, or in case-insensitive order when sorted; returns its index.
    int Add(std::string item);
    void Remove(int index);
    void Clear() { m_items.clear(); }
    int Count() const { return static_cast<int>(m_items.size()); }
    const std::string& At(int index) const { return m_items.at(static_cast<size_t>(index)); }
    int Find(const std::string& item) const;
    const std::vector<std::string>& all() const { return m_items; }

private:
    bool m_sorted;
    std::vector<std::string> m_items;
};

class ComboBox final : public Control {
public:
    ComboBox(ControlHost& form, std::string name, Design design);
    void AddItem(std::string item);
    void RemoveItem(int index);
    void Clear();
    int ListCount() const { return m_items.Count(); }
    const std::string& List(int index) const { return m_items.At(index); }
    const std::vector<std::string>& Items() const { return m_items.all(); }
    int ListIndex() const { return m_index; }
    // Selects an item from code: the text follows (Change runs), Click does not.
    void SetListIndex(int index);
    const std::string& Text() const { return m_text; }
    void SetText(std::string text);
    bool TakesFocus() const override { return true; }
    void Reset() override;
    std::string Describe() const override;
    std::string ValueText() const override { return m_text; }

    // The clerk opens the list.
    void UserDropDown();
    // The clerk picks an item: it becomes the text, then Click runs. False when no item has that text.
    bool UserPick(const std::string& item);
    void UserPickIndex(int index);
    void UserType(int key);
    void UserTypeText(const std::string& text);
    void TypeIntoBox(int key);

    std::function<void()> on_click;
    std::function<void()> on_change;
    std::function<void()> on_drop_down;
    std::function<void(int& KeyAscii)> on_key_press;

protected:
    // The text the box has from its design ("Year"), met by the keyboard, is typed over.
    void FocusEnteredByKey() override;

private:
    ListItems m_items;
    std::string m_text;
    int m_index = -1;
    bool m_typeOver = false; // the next key typed replaces the text
};

class ListBox final : public Control {
public:
    ListBox(ControlHost& form, std::string name, Design design);
    void AddItem(std::string item);
    void RemoveItem(int index);
    void Clear();
    int ListCount() const { return m_items.Count(); }
    const std::string& List(int index) const { return m_items.At(index); }
    const std::vector<std::string>& Items() const { return m_items.all(); }
    int ListIndex() const { return m_index; }
    // Selects from code; Click does not run.
    void SetListIndex(int index);
    // The selected line, "" when none is selected.
    std::string Text() const;
    bool TakesFocus() const override { return true; }
    void Reset() override;
    std::string Describe() const override;
    std::string ValueText() const override { return Text(); }

    void UserClick(int index);
    bool UserPick(const std::string& item);
    void UserDblClick(int index);
    void UserKey(int key);

    std::function<void()> on_click;
    std::function<void()> on_dbl_click;
    std::function<void(int& KeyAscii)> on_key_press;

private:
    ListItems m_items;
    int m_index = -1;
};

class Frame final : public Control {
public:
    Frame(ControlHost& form, std::string name, Design design);
    const std::string& Caption() const { return m_caption; }
    void SetCaption(std::string caption);
    void Reset() override;
    std::string Describe() const override;
    std::string ValueText() const override { return m_caption; }

    void UserClick();
    void UserDblClick();

    std::function<void()> on_click;
    std::function<void()> on_dbl_click;

private:
    std::string m_caption;
};

// The Enter walk through a window's boxes: Enter moves the focus to `next` and is not
// typed. Any other key is left alone. True when the key was Enter.
bool EnterMovesFocus(int& KeyAscii, Control& next);

class Timer final : public Control {
public:
    Timer(ControlHost& form, std::string name, Design design);
    int Interval() const { return m_interval; }
    void SetInterval(int ms);
    // Enabled() says whether the timer runs; it ticks only while its window is loaded.
    void Reset() override;
    std::string Describe() const override;
    std::string ValueText() const override { return std::to_string(m_interval); }

    // One tick, as an event of its own.
    void Fire();
    // Time passes: ticks once when a whole interval has gone by. Used by the program.
    void Advance(int ms);
    // Milliseconds of time still to pass before the timer ticks; -1 when it does not tick
    // (disabled, no interval, its window not loaded).
    int MsUntilTick() const;

    // A timer whose ticks have nothing to do until characters arrive may rest: it goes on
    // ticking as time passes, but the screen's clock need not wake up for it, only when
    // `readable` (a descriptor, -1 for none) has something to read. Waking it, or a load of
    // its window, ends the rest.
    void Rest(std::function<int()> readable);
    void Wake();
    bool Resting() const { return m_resting; }
    // The descriptor a resting timer waits on; -1 when none.
    int RestDescriptor() const { return m_resting && m_readable ? m_readable() : -1; }

    std::function<void()> on_timer;

private:
    // Tells the program that when the timer next ticks may have changed.
    void Rescheduled();
    int m_interval = 0;
    int m_elapsed = 0;
    bool m_resting = false;
    std::function<int()> m_readable;
};

} // namespace platform
