// The scenario runner's commands for the program and its data folder: data, clock.
#include "script/runner_parts.h"

#include "platform/text.h"

namespace vantreth::script {

namespace fs = std::filesystem;
using namespace detail;
using platform::Form;

// ---------------------------------------------------------------------------
// The program and its data folder

App& ScriptRunner::Program() {
    if (!m_app)
        MakeProgram();
    return *m_app;
}

void ScriptRunner::MakeProgram() {
    if (m_folders.empty())
        NewFolder();
    m_app = m_services.MakeApp(m_folders.back());
    m_app->engine().SetDurable(m_durable);
    m_app->on_loaded = [this](Form& form) { Say("  load " + form.Name()); };
    m_app->on_unloaded = [this](Form& form) { Say("  unload " + form.Name()); };
    m_app->on_event_done = [this] { CollectOutput(); };
    m_app->on_ended = [this] { Say("  the program ended"); };
    if (m_options.on_program_made)
        m_options.on_program_made(*m_app);
}

fs::path ScriptRunner::NewFolder() {
    std::string pattern = (fs::temp_directory_path() / "vantreth-script-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        Fail("cannot make a temporary data folder");
    m_folders.emplace_back(pattern);
    return m_folders.back();
}

void ScriptRunner::DropFolders(bool keepCurrent) {
    const size_t keep = keepCurrent && !m_folders.empty() ? 1 : 0;
    while (m_folders.size() > keep) {
        std::error_code ignored;
        fs::remove_all(m_folders.front(), ignored);
        m_folders.erase(m_folders.begin());
    }
}

void ScriptRunner::DoData(Line& line) {
    const std::string how = Lower(line.NeedWord("data new or data copy DIR"));
    if (how == "new") {
        line.End();
        m_app.reset();
        NewFolder();
        DropFolders(true);
        MakeProgram();
        return;
    }
    if (how != "copy")
        Fail("data new or data copy DIR");
    fs::path from = line.Rest();
    if (from.empty())
        Fail("data copy needs the folder to copy");
    if (from.is_relative())
        from = m_options.baseDir / from;
    std::error_code ec;
    if (!fs::is_directory(from, ec))
        Fail("no folder " + from.string());
    m_app.reset();
    const fs::path to = NewFolder();
    DropFolders(true);
    fs::copy(from, to, fs::copy_options::recursive | fs::copy_options::overwrite_existing, ec);
    if (ec)
        Fail("cannot copy " + from.string() + ": " + ec.message());
    MakeProgram();
}

void ScriptRunner::DoClock(Line& line) {
    std::string first = line.NeedWord("date or time");
    platform::DateTime now = m_services.clock.Now();
    std::string timeText;
    if (first.find('/') != std::string::npos) {
        const auto date = platform::ParseDate(first, now.date.year);
        if (!date)
            Fail("not a date: " + Quoted(first));
        now.date = *date;
        timeText = line.Rest();
    } else {
        timeText = first + " " + line.Rest();
    }
    if (!TrimBlanks(timeText).empty()) {
        const auto time = platform::ParseTime(timeText);
        if (!time)
            Fail("not a time: " + Quoted(TrimBlanks(timeText)));
        now.time = *time;
    }
    m_services.clock.Set(now);
}

void ScriptRunner::CollectOutput() {
    for (platform::PrintJob& job : m_services.printer.TakeJobs()) {
        m_jobs.push_back(std::move(job));
        Say("  printed job " + std::to_string(m_jobs.size()) + " (" +
            Plural(m_jobs.back().pages.size(), "page") + ")");
    }
    const auto& opened = m_services.shell.opened();
    for (; m_shellSeen < opened.size(); ++m_shellSeen)
        Say("  opened " + opened[m_shellSeen]);
}

} // namespace vantreth::script
