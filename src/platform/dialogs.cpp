// Scripted answers to message and input boxes, for tests and the scenario runner. A box
// the script did not foresee, or an answer its buttons cannot give, stops the run.
#include "platform/dialogs.h"

namespace platform {

namespace {

std::string ResultName(MsgBoxResult result) {
    switch (result) {
    case vbOK:
        return "OK";
    case vbCancel:
        return "Cancel";
    case vbYes:
        return "Yes";
    case vbNo:
        return "No";
    }
    return "result " + std::to_string(static_cast<int>(result));
}

// Whether a box with these buttons can answer `result`.
bool Fits(int style, MsgBoxResult result) {
    switch (style & 7) {
    case 0: // OK
        return result == vbOK;
    case 1: // OK, Cancel
        return result == vbOK || result == vbCancel;
    case 3: // Yes, No, Cancel
        return result == vbYes || result == vbNo || result == vbCancel;
    case 4: // Yes, No
        return result == vbYes || result == vbNo;
    case 5: // Retry, Cancel
        return result == vbCancel;
    default: // Abort/Retry/Ignore and the rest have no answer the script can give
        return false;
    }
}

std::string Describe(const char* kind, const std::string& prompt, const std::string& title) {
    return std::string(kind) + " \"" + title + "\": " + prompt;
}

} // namespace

void ScriptedDialogs::Answer(MsgBoxResult result) {
    m_answers.push_back(Queued{false, result, std::string()});
}

void ScriptedDialogs::Input(const std::string& text) {
    m_answers.push_back(Queued{true, vbOK, text});
}

MsgBoxResult ScriptedDialogs::MsgBox(const std::string& prompt, int style, const std::string& title) {
    const std::string box = Describe("message box", prompt, title);
    if (auto always = m_always.find(title); always != m_always.end()) {
        Shown shown{false, prompt, title, style, ResultName(always->second)};
        m_shown.push_back(shown);
        if (on_shown)
            on_shown(shown);
        return always->second;
    }
    if (m_answers.empty())
        throw UnexpectedDialog("unexpected " + box);
    const Queued next = m_answers.front();
    if (next.input)
        throw UnexpectedDialog("unexpected " + box + " (the next answer is the input text \"" + next.text +
                               "\")");
    if (!Fits(style, next.result))
        throw UnexpectedDialog("answer " + ResultName(next.result) + " does not fit " + box);
    m_answers.pop_front();

    Shown shown{false, prompt, title, style, ResultName(next.result)};
    m_shown.push_back(shown);
    if (on_shown)
        on_shown(shown);
    return next.result;
}

std::string ScriptedDialogs::InputBox(const std::string& prompt, const std::string& title) {
    const std::string box = Describe("input box", prompt, title);
    if (m_answers.empty())
        throw UnexpectedDialog("unexpected " + box);
    const Queued next = m_answers.front();
    if (!next.input)
        throw UnexpectedDialog("unexpected " + box + " (the next answer is " + ResultName(next.result) + ")");
    m_answers.pop_front();

    Shown shown{true, prompt, title, 0, next.text};
    m_shown.push_back(shown);
    if (on_shown)
        on_shown(shown);
    return next.text;
}

} // namespace platform
