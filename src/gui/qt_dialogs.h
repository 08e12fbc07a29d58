// Message boxes and input boxes as Qt dialogs.
#pragma once

#include "platform/dialogs.h"

#include <string>
#include <vector>

namespace vantreth::gui {

class QtDialogs final : public platform::Dialogs {
  public:
    platform::MsgBoxResult MsgBox(const std::string &prompt, int style, const std::string &title) override;
    std::string InputBox(const std::string &prompt, const std::string &title) override;

    // For the self-test: no dialog comes up; each box is printed and kept, a message box
    // is answered with its first button and an input box with nothing.
    void SetUnattended(bool on) { m_unattended = on; }
    // "title: prompt" of every box answered unattended.
    const std::vector<std::string> &unattendedBoxes() const { return m_boxes; }

  private:
    void Note(const std::string &title, const std::string &prompt);

    bool m_unattended = false;
    std::vector<std::string> m_boxes;
};

} // namespace vantreth::gui
