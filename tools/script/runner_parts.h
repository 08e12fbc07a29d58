// What the scenario runner's families of commands share: the reader of one script line and
// the small text helpers of the transcript.
#pragma once

#include "script/script_runner.h"

#include <string>
#include <string_view>
#include <vector>

namespace vantreth::script {

namespace detail {

bool IsBlank(char c);
std::string TrimBlanks(std::string_view s);
std::string Lower(std::string_view s);
std::string Quoted(const std::string& s);
std::string Bool(bool b);
std::string Plural(size_t n, const char* word);
std::string StateName(platform::WindowState state);
std::string KindName(platform::ControlKind kind);
// The text on one line of the transcript: line breaks shown as "\n".
std::string OneLine(const std::string& text);
std::string BoxText(const platform::ScriptedDialogs::Shown& box);
std::string JoinItems(const std::vector<std::string>& items);
// The items of a list or combo box; nullptr for other controls.
const std::vector<std::string>* ItemsOf(const platform::Control& c);
int IndexOf(const std::vector<std::string>& items, const std::string& item);
bool ParseInt(const std::string& text, long& value);

// The shared variables a script can read, by name.
struct GlobalEntry {
    const char* name;
    std::string (*get)(const Module1&);
};
const std::vector<GlobalEntry>& Globals();

bool IsTextByte(unsigned char c);
std::vector<std::string> SplitLines(const std::string& content);
std::string HexBytes(std::string_view bytes);

} // namespace detail

// One script line being read: words, then the rest of the line as a text.
class ScriptRunner::Line {
public:
    explicit Line(std::string text) : m_text(std::move(text)) {}

    // The next word; the one blank after it is taken too.
    std::string Word() {
        while (m_pos < m_text.size() && detail::IsBlank(m_text[m_pos]))
            ++m_pos;
        const size_t start = m_pos;
        while (m_pos < m_text.size() && !detail::IsBlank(m_text[m_pos]))
            ++m_pos;
        std::string word = m_text.substr(start, m_pos - start);
        if (m_pos < m_text.size())
            ++m_pos;
        return word;
    }
    std::string NeedWord(const char* what) {
        std::string word = Word();
        if (word.empty())
            Fail(std::string("missing ") + what);
        return word;
    }
    // The rest of the line as a text (quotes removed).
    std::string Rest() {
        std::string rest = Unquote(m_text.substr(std::min(m_pos, m_text.size())));
        m_pos = m_text.size();
        return rest;
    }
    std::string Raw() const { return m_text.substr(std::min(m_pos, m_text.size())); }
    void End() {
        const std::string extra = detail::TrimBlanks(Raw());
        if (!extra.empty())
            Fail("unexpected " + detail::Quoted(extra) + " at the end of the line");
    }

private:
    std::string m_text;
    size_t m_pos = 0;
};

} // namespace vantreth::script
