// One window of the program on screen: a top-level widget with one child widget per
// control of a platform::Form, brought in line with the form after every event, and
// turning the clerk's clicks and keys into the form's User* actions.
#pragma once

#include "platform/form.h"

#include <QWidget>

#include <map>
#include <string>
#include <vector>

class QKeyEvent;

namespace vantreth::gui {

class QtFrontEnd;

class QtWindow final : public QWidget {
  public:
    QtWindow(platform::Form &form, QtFrontEnd &frontEnd);

    platform::Form &form() const { return m_form; }
    // Captions, texts, lists, states and tool tips from the model, then the window's
    // title, place and state, shown as the model has it.
    void Sync();
    // Gives the keyboard focus to the widget of the form's active control.
    void FocusActiveControl();
    // Hides the window; the next Sync shows it again in the model's window state.
    void HideWindow();
    // The control that the widget (or an inner part of it) shows, or null.
    platform::Control *ControlOf(const QWidget *widget) const;
    // The widget that shows the control, or null (timers have none).
    QWidget *WidgetOf(const platform::Control *control) const;

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;

  private:
    struct Item {
        platform::Control *control = nullptr;
        QWidget *widget = nullptr;
        std::vector<std::string> items; // the list lines the widget holds
    };

    QWidget *Create(platform::Control &control);
    void SyncItem(Item &item);
    void SyncWindow();
    bool Key(Item &item, QKeyEvent &event);
    bool Mouse(Item &item, QEvent &event);
    void Watch(QObject *object, size_t item);
    void Refresh();

    platform::Form &m_form;
    QtFrontEnd &m_frontEnd;
    std::vector<Item> m_items;
    std::map<const QObject *, size_t> m_watched; // widget or inner part -> item
    std::map<const platform::Control *, size_t> m_byControl;
    bool m_shown = false;
    platform::WindowState m_appliedState = platform::WindowState::Normal;
    platform::Rect m_placedAt{-1, -1, -1, -1};
    unsigned long m_raisedStamp = 0;
};

} // namespace vantreth::gui
