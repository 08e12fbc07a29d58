// Modal message boxes and input boxes. The windows call MsgBox and InputBox; the real
// program answers through Qt dialogs, tests and the scenario runner through queued answers.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace platform {

// Buttons and icon of a message box, combined with "|".
enum MsgBoxStyle : int {
    vbOKOnly = 0,
    vbOKCancel = 1,
    vbYesNo = 4,
    vbCritical = 16,
    vbQuestion = 32,
    vbExclamation = 48,
    vbInformation = 64,
};

enum MsgBoxResult : int { vbOK = 1, vbCancel = 2, vbYes = 6, vbNo = 7 };

class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual MsgBoxResult MsgBox(const std::string& prompt, int style, const std::string& title) = 0;
    // Cancel and an empty answer both give "".
    virtual std::string InputBox(const std::string& prompt, const std::string& title) = 0;
};

// A box came up that the script did not expect, or got an answer it cannot take.
class UnexpectedDialog : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Answers boxes from a queue, in order, and records every box shown.
class ScriptedDialogs final : public Dialogs {
public:
    struct Shown {
        bool input = false; // an input box rather than a message box
        std::string prompt;
        std::string title;
        int style = 0;
        std::string answer; // "OK", "Yes", "No", "Cancel" or the text typed
    };

    // Queue the answer to the next message box: vbOK, vbYes, vbNo or vbCancel.
    void Answer(MsgBoxResult result);
    // Queue the text typed into the next input box.
    void Input(const std::string& text);

    MsgBoxResult MsgBox(const std::string& prompt, int style, const std::string& title) override;
    std::string InputBox(const std::string& prompt, const std::string& title) override;

    // Boxes with this title are answered so, without taking from the queue (a test that
    // makes a step fail anywhere cannot know when the failure box comes).
    void AnswerAlways(const std::string& title, MsgBoxResult result) { m_always[title] = result; }
    void ClearAnswers() { m_answers.clear(); }

    const std::vector<Shown>& shown() const { return m_shown; }
    void ClearShown() { m_shown.clear(); }
    size_t pending() const { return m_answers.size(); }
    // Called with each box as it is shown (the scenario runner's transcript).
    std::function<void(const Shown&)> on_shown;

private:
    struct Queued {
        bool input = false;
        MsgBoxResult result = vbOK;
        std::string text;
    };
    std::deque<Queued> m_answers;
    std::map<std::string, MsgBoxResult> m_always;
    std::vector<Shown> m_shown;
};

} // namespace platform
