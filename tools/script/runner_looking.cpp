// The scenario runner's commands that look without acting: show, file, printout.
#include "script/runner_parts.h"

#include "platform/text.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace vantreth::script {

namespace fs = std::filesystem;
using namespace detail;
using platform::Control;
using platform::Form;

// ---------------------------------------------------------------------------
// Looking

void ScriptRunner::DoShow(Line& line) {
    const std::string what = line.Word();
    line.End();
    auto header = [](const Form& form) {
        std::string text = form.Name() + " " + Quoted(form.Caption());
        if (!form.Loaded())
            return text + " not loaded";
        text += form.Visible() ? " visible" : " not visible";
        text += " " + StateName(form.windowState());
        if (form.ActiveControl())
            text += " active=" + form.ActiveControl()->Name();
        return text;
    };
    if (what.empty()) {
        const std::vector<Form*> loaded = Program().LoadedForms();
        if (loaded.empty())
            Note("(no window is loaded)");
        for (const Form* form : loaded)
            Note(header(*form));
        return;
    }
    if (what == "globals") {
        for (const GlobalEntry& g : Globals())
            Note(std::string(g.name) + " = " + Quoted(g.get(Program())));
        return;
    }
    const Form& form = AnyForm(what);
    Note(header(form));
    if (!form.Loaded())
        return;
    for (const Control* c : form.Controls())
        Note("  " + c->Describe());
}

std::string ScriptRunner::DataPath(const std::string& name, fs::path& path) {
    const fs::path relative(name);
    if (name.empty())
        return "missing the file name";
    if (relative.is_absolute())
        return "a file name inside the data folder, not " + name;
    for (const fs::path& part : relative)
        if (part == "..")
            return "a file name inside the data folder, not " + name;
    // Looked at between the clerk's steps: after the quiet moment that writes the steps saved.
    Program().engine().WriteCommitted();
    path = Program().data().root() / relative;
    return std::string();
}

std::string ScriptRunner::ReadData(const std::string& name) {
    fs::path path;
    const std::string bad = DataPath(name, path);
    if (!bad.empty())
        Fail(bad);
    std::error_code ec;
    if (!fs::is_regular_file(path, ec))
        Fail("there is no data file " + name);
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    if (!in)
        Fail("cannot read the data file " + name);
    return content.str();
}

void ScriptRunner::DoFile(Line& line) {
    const std::string name = line.Rest();
    fs::path path;
    const std::string bad = DataPath(name, path);
    if (!bad.empty())
        Fail(bad);
    std::error_code ec;
    if (!fs::is_regular_file(path, ec))
        return Note("(there is no file " + name + ")");
    const std::string content = ReadData(name);
    Note(name + ": " + Plural(content.size(), "byte"));
    for (const std::string& text : DumpLines(content))
        Note(text);
}

void ScriptRunner::DoPrintout() {
    m_printoutLines.clear();
    m_printoutJobs = static_cast<int>(m_jobs.size() - m_printoutFrom);
    if (m_printoutJobs == 0)
        Note("(nothing was printed)");
    for (size_t j = m_printoutFrom; j < m_jobs.size(); ++j) {
        Note("--- print job " + std::to_string(j + 1) + " ---");
        const platform::PrintJob& job = m_jobs[j];
        for (size_t p = 0; p < job.pages.size(); ++p) {
            std::vector<std::string> texts;
            if (p > 0)
                texts.push_back("<new page>");
            for (const platform::PrintedLine& printed : job.pages[p].lines)
                texts.push_back(printed.text);
            for (std::string& text : texts) {
                m_printoutLines.push_back(std::move(text));
                char number[32];
                std::snprintf(number, sizeof number, "%4zu| ", m_printoutLines.size());
                Note(number + m_printoutLines.back());
            }
        }
    }
    m_printoutFrom = m_jobs.size();
}

} // namespace vantreth::script
