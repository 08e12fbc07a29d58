// The print queue's thread, and its list files in the data folder.
#include "platform/print_queue.h"

#include "platform/files.h"
#include "platform/print_command.h"
#include "platform/printer.h"

#include <algorithm>
#include <chrono>
#include <exception>
#include <fcntl.h>
#include <optional>
#include <set>
#include <utility>

namespace platform {

// The list of reports not yet handed over: "+<file>\t<name>" for each report of a saved step;
// the file of each one handed over, or told as not printed, is a line of its own in kDoneFile.
namespace {

std::string OneLine(std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\t' || c == '\n' || c == '\r'; }, ' ');
    return text;
}

// The whole lines of a file: a last line cut short is left out.
std::vector<std::string> Lines(const std::optional<std::string>& text) {
    std::vector<std::string> lines;
    if (!text)
        return lines;
    for (size_t at = 0, end; (end = text->find('\n', at)) != std::string::npos; at = end + 1)
        lines.push_back(text->substr(at, end - at));
    return lines;
}

std::set<std::string> DoneFiles(const FilePath& folder) {
    std::optional<std::string> text;
    try {
        text = ReadFile(folder.Child(PrintQueue::kDoneFile));
    } catch (const IoError&) {
    }
    const std::vector<std::string> lines = Lines(text);
    return std::set<std::string>(lines.begin(), lines.end());
}

std::string FileOf(const std::string& entry) {
    const size_t tab = entry.find('\t');
    return entry.substr(1, tab == std::string::npos ? std::string::npos : tab - 1);
}

} // namespace

PrintQueue::PrintQueue(std::filesystem::path folder, PrintSpooler& spooler, ThreadStarter start)
    : m_folder(std::move(folder)), m_spooler(spooler), m_start(std::move(start)) {}

PrintQueue::~PrintQueue() {
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait_for(lock, std::chrono::milliseconds(kExitWaitMs),
                           [this] { return m_steps.empty() && !m_working; });
        m_stopping = true;
    }
    m_changed.notify_all();
    m_spooler.Cancel();
    if (m_thread.joinable())
        m_thread.join();
}

void PrintQueue::List(const FilePath& folder, const std::vector<Report>& reports) {
    if (reports.empty())
        return;
    const FilePath list = folder.Child(kListFile);
    const std::set<std::string> done = DoneFiles(folder);
    std::string text;
    for (const std::string& entry : Lines(ReadFile(list)))
        if (entry.starts_with("+") && !done.contains(FileOf(entry)))
            text += entry + "\n";
    for (const Report& report : reports)
        text += "+" + OneLine(report.pdf.filename().string()) + "\t" + OneLine(report.name) + "\n";
    ReplaceFileContent(list, text);
}

void PrintQueue::Done(const std::string& file) {
    // Not flushed: a note lost with the power tells a report that was printed, never hides
    // one that was not. Opened as every data file is, never through a link. Written from the
    // queue's thread too, so it asks no fault source of the folder's engine (that is the
    // window thread's): the file is outside every step, and no step ever reads it back.
    const std::filesystem::path done = m_folder / kDoneFile;
    try {
        fileops::Fd fd(fileops::OpenForChange(nullptr, done, O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW));
        fileops::Write(nullptr, done, fd.get(), file + "\n", -1);
        fileops::Close(done, fd.Release());
    } catch (const IoError&) {
        // Not noted: the next start tells the report as not printed.
    }
}

void PrintQueue::Add(std::vector<Report> step) {
    if (step.empty())
        return;
    {
        std::lock_guard lock(m_mutex);
        m_steps.push_back(std::move(step));
        if (!m_thread.joinable()) {
            try {
                m_thread = m_start ? m_start([this] { Work(); }) : std::thread([this] { Work(); });
            } catch (const std::exception& e) {
                // The step is saved all the same: its reports are told as not printed, their
                // PDFs kept; the next step tries again.
                std::vector<NotPrinted> failed;
                for (const Report& report : m_steps.back()) {
                    failed.push_back(
                        {report.name,
                         std::string("the program could not start handing reports to the printer: ") +
                             e.what(),
                         report.pdf});
                    m_toldFiles.push_back(OneLine(report.pdf.filename().string()));
                }
                m_steps.pop_back();
                m_told.push_back(NotPrintedMessage(failed));
            }
        }
    }
    m_changed.notify_all();
}

bool PrintQueue::Busy() const {
    std::lock_guard lock(m_mutex);
    return !m_steps.empty() || m_working || !m_told.empty();
}

std::vector<std::string> PrintQueue::TakeNotPrinted() {
    std::lock_guard lock(m_mutex);
    m_takenFiles.insert(m_takenFiles.end(), m_toldFiles.begin(), m_toldFiles.end());
    m_toldFiles.clear();
    return std::exchange(m_told, {});
}

void PrintQueue::Shown() {
    std::lock_guard lock(m_mutex);
    for (const std::string& file : m_takenFiles)
        Done(file);
    m_takenFiles.clear();
}

void PrintQueue::Work() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_stopping || !m_steps.empty(); });
        if (m_stopping)
            return; // what is left stays listed for the next start
        std::vector<Report> step = std::move(m_steps.front());
        m_steps.pop_front();
        m_working = true;
        std::vector<NotPrinted> failed;
        std::string noAnswer; // the system did not answer: the step's others are not tried
        for (const Report& report : step) {
            if (m_stopping)
                break;
            const std::string file = OneLine(report.pdf.filename().string());
            if (!noAnswer.empty()) {
                failed.push_back({report.name, noAnswer, report.pdf});
                m_toldFiles.push_back(file);
                continue;
            }
            lock.unlock();
            std::string reason;
            try {
                m_spooler.Hand(report.pdf, report.name);
            } catch (const PrintNoAnswer& e) {
                noAnswer = reason = e.what();
            } catch (const std::exception& e) {
                reason = e.what();
            }
            lock.lock();
            if (m_stopping && !reason.empty())
                break; // not handed over: left listed
            if (reason.empty()) {
                Done(file);
            } else {
                failed.push_back({report.name, reason, report.pdf});
                m_toldFiles.push_back(file);
            }
        }
        if (!failed.empty() && !m_stopping)
            m_told.push_back(NotPrintedMessage(failed));
        m_working = false;
        m_changed.notify_all();
    }
}

std::string PrintQueue::LeftBehind(const FilePath& folder) {
    const FilePath list = folder.Child(kListFile);
    std::optional<std::string> text;
    try {
        text = ReadFile(list);
    } catch (const std::exception&) {
        return std::string();
    }
    const std::set<std::string> done = DoneFiles(folder);
    std::vector<NotPrinted> left;
    for (const std::string& entry : Lines(text)) {
        if (!entry.starts_with("+") || done.contains(FileOf(entry)))
            continue;
        const std::string file = FileOf(entry);
        const size_t tab = entry.find('\t');
        const std::string name = tab == std::string::npos ? std::string() : entry.substr(tab + 1);
        const FilePath pdf = folder.Child(file);
        left.push_back({name.empty() ? file : name,
                        "the program was stopped while handing reports to the printer",
                        FileExists(pdf) ? pdf.path() : std::filesystem::path()});
    }
    return NotPrintedMessage(left);
}

void PrintQueue::LeftBehindShown(const FilePath& folder) {
    // The list goes first: a list without its notes of what was handed over would tell those
    // reports again. A change that fails leaves them to be told at the next start. The list is
    // a file of the folder's steps, cleared through its engine (a step of its own); the notes
    // are written outside every step (see Done), and go the same way, from the disk.
    try {
        DeleteFile(folder.Child(kListFile));
        fileops::SyncFolder(folder.engine(), folder.path());
        fileops::Remove(nullptr, folder.path() / kDoneFile);
    } catch (const IoError&) {
    }
}

} // namespace platform
