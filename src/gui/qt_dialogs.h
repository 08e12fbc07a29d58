// Message boxes and input boxes as Qt dialogs. A box belongs to the window in front (or to
// the box already up), so that it stays above it. The forms' timers go on ticking while it
// is up: the front end's clock, set for the next timer due, runs in the box's event loop as
// it does at the desk, so a box costs no wake-ups of its own.
#pragma once

#include "platform/dialogs.h"

#include <functional>
#include <string>
#include <vector>

class QDialog;
class QWidget;

namespace vantreth::gui {

class QtDialogs final : public platform::Dialogs {
public:
    platform::MsgBoxResult MsgBox(const std::string& prompt, int style, const std::string& title) override;
    std::string InputBox(const std::string& prompt, const std::string& title) override;

    // The window a box that comes up belongs to when no other box is up (null: none).
    void SetFrontWindow(std::function<QWidget*()> front) { m_front = std::move(front); }
    // The box the clerk must answer now, or null.
    QWidget* OpenBox() const { return m_open.empty() ? nullptr : m_open.back(); }

    // For the self-test: no dialog comes up; each box is printed and kept, a message box
    // is answered with its first button and an input box with nothing.
    void SetUnattended(bool on) { m_unattended = on; }
    // "title: prompt" of every box answered unattended.
    const std::vector<std::string>& unattendedBoxes() const { return m_boxes; }

private:
    void Note(const std::string& title, const std::string& prompt);
    QWidget* Owner() const;
    // Shows the box until the clerk answers it.
    void Exec(QDialog& box);

    bool m_unattended = false;
    std::vector<std::string> m_boxes;
    std::function<QWidget*()> m_front;
    std::vector<QWidget*> m_open; // the boxes up, the latest last
};

} // namespace vantreth::gui
