// One window of the program on screen: a top-level widget with one child widget per
// control of a platform::Form, brought in line with the form after every event, and
// turning the clerk's clicks and keys into the form's User* actions.
#pragma once

#include "platform/form.h"

#include <QFont>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QWidget>

#include <functional>
#include <map>
#include <string>
#include <vector>

class QKeyEvent;

namespace vantreth::gui {

class QtFrontEnd;

// Where a window whose frame would lie at `frame` goes so that the frame lies on `screen`:
// moved as little as it takes; a frame larger than the screen keeps its top left corner on it.
QPoint MovedOntoScreen(const QRect& frame, const QRect& screen);

class QtWindow final : public QWidget {
public:
    QtWindow(platform::Form& form, QtFrontEnd& frontEnd);

    platform::Form& form() const { return m_form; }
    // Captions, texts, lists, states and tool tips from the model, then the window's
    // title, place and state, shown as the model has it. Only what changed in the model
    // since the last Sync is redrawn; a window whose form did not change is left alone.
    void Sync();
    // The next Sync redraws every control, changed or not: the clerk acted in the window,
    // and Qt may show something the model did not take.
    void MarkStale() { m_stale = true; }
    // Gives the keyboard focus to the widget of the form's active control.
    void FocusActiveControl();
    // Hides the window; the next Sync shows it again in the model's window state.
    void HideWindow();
    // Ties the window to the window it belongs to (null: to none), so that it stays above
    // it. The window system learns of the tie when a window is shown: a window on screen
    // whose owner changes is hidden, and the next Sync shows it again.
    void SetOwner(QtWindow* owner);
    QtWindow* owner() const { return m_owner; }
    // The clerk minimised the window (the model's state says Minimized because of that).
    bool MinimisedByClerk() const { return m_minimisedByClerk; }
    // The control that the widget (or an inner part of it) shows, or null.
    platform::Control* ControlOf(const QWidget* widget) const;
    // The widget that shows the control, or null (timers have none).
    QWidget* WidgetOf(const platform::Control* control) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Item {
        platform::Control* control = nullptr;
        QWidget* widget = nullptr;
        std::vector<std::string> items; // the list lines the widget holds
        unsigned long version = 0;      // the control's Version() last shown
        int selStart = -1;              // a text box's caret and selection last shown
        int selLength = -1;
    };

    // The widget of a control (and of its frame first), made once and watched.
    QWidget* Create(platform::Control& control);
    QFont FontOf(const platform::Control& control) const;
    // A new widget of the control's kind with its signals tied to the control; null for a timer.
    QWidget* NewWidget(platform::Control& control, QWidget* parent, const QFont& font, size_t index);
    QWidget* NewLabel(const platform::Control& control, QWidget* parent, const QFont& font);
    QWidget* NewTextBox(const platform::Control& control, QWidget* parent, size_t index);
    QWidget* NewComboBox(platform::Control& control, QWidget* parent, size_t index);
    QWidget* NewListBox(platform::Control& control, QWidget* parent);

    void SyncItem(Item& item);
    void SyncTextBox(Item& item);
    void SyncCheckBox(Item& item);
    void SyncComboBox(Item& item);
    void SyncListBox(Item& item);
    // A one-line text box shows the model's caret and selection.
    void ShowSelection(Item& item);
    void SyncWindow();
    // Some control of the window can take a key now (one that takes the focus is usable).
    bool TakesKeys() const;
    // Nothing of the form changed since the last Sync.
    bool UpToDate() const;
    // A key pressed in a control's widget; false leaves the key to Qt.
    bool Key(Item& item, QKeyEvent& event);
    bool KeyInTextBox(Item& item, const QKeyEvent& event, int code);
    // Up, Down, PageUp, PageDown, Home and End move the selection and click the new line.
    bool KeyInListBox(Item& item, int key, int code);
    bool Mouse(Item& item, QEvent& event);
    void Watch(QObject* object, size_t item);
    void Refresh();
    // Runs the clerk's action on the form, with this window in front, then brings every
    // window in line with the model.
    void Act(const std::function<void()>& action);
    // Moves the window to the place the model gives it, kept on the screen.
    void Place(const QPoint& where);
    // Once the window system has framed the window, moves it back onto the screen when its
    // frame is larger than the place it was given allowed for.
    void KeepFrameOnScreen();

    platform::Form& m_form;
    QtFrontEnd& m_frontEnd;
    std::vector<Item> m_items;
    std::map<const QObject*, size_t> m_watched; // widget or inner part -> item
    std::map<const platform::Control*, size_t> m_byControl;
    bool m_shown = false;
    platform::WindowState m_appliedState = platform::WindowState::Normal;
    platform::Rect m_placedAt{-1, -1, -1, -1};
    bool m_checkFrame = false; // the frame around the last place is not known yet
    unsigned long m_raisedStamp = 0;
    QPointer<QtWindow> m_owner;
    bool m_owned = false; // shown as a window that belongs to m_owner
    bool m_minimisedByClerk = false;
    bool m_stale = true;                               // redraw every control at the next Sync
    std::string m_syncedCaption;                       // the form's caption at the last Sync
    const platform::Control* m_syncedActive = nullptr; // its active control then
};

} // namespace vantreth::gui
