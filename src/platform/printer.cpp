// The printer's page model: print statements become lines at rows of pages, and EndDoc
// hands the finished document to the device.
#include "platform/printer.h"

#include "platform/files.h"
#include "platform/text.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <poll.h>
#include <set>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <utility>

extern char** environ;

namespace platform {

namespace {

constexpr std::string_view kPdfHeader = "%PDF-";
constexpr std::string_view kPdfTrailer = "%%EOF";

[[noreturn]] void SaveFailed(const std::filesystem::path& file, const std::string& reason) {
    throw PrintError("the PDF file " + file.string() + " could not be saved: " + reason);
}

[[noreturn]] void SaveFailedErrno(const std::filesystem::path& file, int error) {
    SaveFailed(file, std::strerror(error));
}

// The temporary file of one save: closed and removed unless it was renamed into place. Its
// name ends in the suffix of every interrupted save, so that the start finds it whatever the
// random part.
class TemporaryPdf {
public:
    explicit TemporaryPdf(const std::filesystem::path& file)
        : m_name(file.string() + ".XXXXXX" + std::string(kSavingSuffix)) {
        m_fd = ::mkostemps(m_name.data(), static_cast<int>(kSavingSuffix.size()), O_CLOEXEC);
        if (m_fd < 0)
            SaveFailedErrno(file, errno);
    }
    ~TemporaryPdf() {
        if (m_fd >= 0)
            ::close(m_fd);
        if (!m_renamed)
            ::unlink(m_name.c_str());
    }
    TemporaryPdf(const TemporaryPdf&) = delete;
    TemporaryPdf& operator=(const TemporaryPdf&) = delete;

    int fd() const { return m_fd; }
    const std::string& name() const { return m_name; }
    // Closes the descriptor; 0 or the error.
    int Close() {
        const int rc = ::close(m_fd);
        m_fd = -1;
        return rc == 0 ? 0 : errno;
    }
    void Renamed() { m_renamed = true; }

private:
    std::string m_name;
    int m_fd = -1;
    bool m_renamed = false;
};

// What the file holds now, read through its descriptor.
std::string ReadBack(const std::filesystem::path& file, int fd, size_t expected) {
    std::string out(expected + 1, '\0'); // one byte more shows a file that grew
    size_t got = 0;
    while (got < out.size()) {
        const ssize_t n = ::pread(fd, out.data() + got, out.size() - got, static_cast<off_t>(got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            SaveFailedErrno(file, errno);
        if (n == 0)
            break;
        got += static_cast<size_t>(n);
    }
    out.resize(got);
    return out;
}

} // namespace

bool IsCompletePdf(std::string_view bytes) {
    if (!bytes.starts_with(kPdfHeader))
        return false;
    const size_t last = bytes.find_last_not_of(" \t\r\n\f");
    if (last == std::string_view::npos)
        return false;
    bytes = bytes.substr(0, last + 1);
    return bytes.size() >= kPdfHeader.size() + kPdfTrailer.size() && bytes.ends_with(kPdfTrailer);
}

StagedPdf::StagedPdf(const std::filesystem::path& file, std::string_view bytes) : m_file(file) {
    if (!IsCompletePdf(bytes))
        SaveFailed(file, "the document was not finished");
    TemporaryPdf temp(file);
    for (std::string_view rest = bytes; !rest.empty();) {
        const ssize_t n = ::write(temp.fd(), rest.data(), rest.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            SaveFailedErrno(file, n < 0 ? errno : EIO);
        rest.remove_prefix(static_cast<size_t>(n));
    }
    // Checked on the disk, not in memory: the temporary file is still there under its
    // name, it holds exactly what was written, and so it ends with the trailer.
    struct stat st;
    if (::stat(temp.name().c_str(), &st) != 0)
        SaveFailedErrno(file, errno);
    if (!S_ISREG(st.st_mode) || static_cast<size_t>(st.st_size) != bytes.size())
        SaveFailed(file, "the file on the disk is " + std::to_string(st.st_size) + " bytes instead of " +
                             std::to_string(bytes.size()));
    if (ReadBack(file, temp.fd(), bytes.size()) != bytes)
        SaveFailed(file, "the file on the disk does not hold the whole document");
    while (::fsync(temp.fd()) != 0) {
        if (errno != EINTR)
            SaveFailedErrno(file, errno);
    }
    if (const int error = temp.Close(); error != 0)
        SaveFailedErrno(file, error);
    m_temporary = temp.name();
    temp.Renamed(); // kept: this object removes it from now on
}

StagedPdf::~StagedPdf() {
    if (!m_temporary.empty())
        ::unlink(m_temporary.c_str());
}

void StagedPdf::Publish() {
    const bool renamed = !m_temporary.empty();
    Rename();
    // The new name reaches the disk with the folder.
    if (renamed)
        FlushFolder(m_file.has_parent_path() ? m_file.parent_path() : ".");
}

void StagedPdf::Rename() {
    if (m_temporary.empty())
        return;
    if (::rename(m_temporary.c_str(), m_file.c_str()) != 0)
        SaveFailedErrno(m_file, errno);
    m_temporary.clear();
}

void FlushFolder(const std::filesystem::path& folder) {
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

void SavePdfFile(const std::filesystem::path& file, std::string_view bytes) {
    StagedPdf(file, bytes).Publish();
}

namespace {

// The default preparation: the job waits in memory.
class JobInMemory final : public PreparedPrint {
public:
    JobInMemory(PrinterDevice& device, const PrintJob& job) : m_device(device), m_job(job) {}
    void Publish() override { m_device.Submit(m_job); }
    std::string Name() const override { return m_job.Name(); }

private:
    PrinterDevice& m_device;
    PrintJob m_job;
};

} // namespace

std::unique_ptr<PreparedPrint> PrinterDevice::Prepare(const PrintJob& job) {
    return std::make_unique<JobInMemory>(*this, job);
}

std::string PrinterDevice::PublishStep(std::vector<std::unique_ptr<PreparedPrint>> step) {
    std::vector<NotPrinted> failed;
    for (const std::unique_ptr<PreparedPrint>& prepared : step) {
        try {
            prepared->Publish();
        } catch (const std::exception& e) {
            failed.push_back({prepared->Name(), e.what(), {}});
        }
    }
    return NotPrintedMessage(failed);
}

namespace {

constexpr size_t kNamedInBox = 5;    // reports named in a box; the others are counted
constexpr size_t kReasonInBox = 160; // characters of a reason shown

std::string Shortened(std::string text, size_t most) {
    if (text.size() > most)
        text = text.substr(0, most - 3) + "...";
    return text;
}

// A reason as the box shows it, in brackets: without the full stop a command ends its words
// with ("(lp: The printer or class does not exist)"), cut to what fits.
std::string InBrackets(std::string reason) {
    while (!reason.empty() && reason.back() == '.')
        reason.pop_back();
    return "(" + Shortened(std::move(reason), kReasonInBox) + ")";
}

} // namespace

std::string NotPrintedMessage(const std::vector<NotPrinted>& reports) {
    if (reports.empty())
        return std::string();
    const auto quoted = [](const NotPrinted& r) { return "\"" + Shortened(r.name, 60) + "\""; };
    if (reports.size() == 1) {
        const NotPrinted& r = reports.front();
        return "The report could not be printed: " + quoted(r) + " " + InBrackets(r.reason) +
               (r.pdf.empty() ? "." : "; its PDF is kept as " + r.pdf.string() + ".");
    }
    const bool oneReason = std::all_of(reports.begin(), reports.end(), [&](const NotPrinted& r) {
        return r.reason == reports.front().reason;
    });
    std::string out = std::to_string(reports.size()) + " reports could not be printed";
    if (oneReason)
        out += " " + InBrackets(reports.front().reason);
    out += ":";
    for (size_t i = 0; i < reports.size() && i < kNamedInBox; ++i) {
        out += "\n" + quoted(reports[i]);
        if (!oneReason)
            out += " " + InBrackets(reports[i].reason);
    }
    if (reports.size() > kNamedInBox)
        out += "\nand " + std::to_string(reports.size() - kNamedInBox) + " more.";
    const auto kept =
        std::find_if(reports.begin(), reports.end(), [](const NotPrinted& r) { return !r.pdf.empty(); });
    if (kept != reports.end()) {
        const size_t count = static_cast<size_t>(std::count_if(
            reports.begin(), reports.end(), [](const NotPrinted& r) { return !r.pdf.empty(); }));
        out += "\n" +
               (count == reports.size() ? std::string("Their PDFs are")
                                        : std::to_string(count) + " of their PDFs are") +
               " kept in the folder " + kept->pdf.parent_path().string() + ".";
    }
    return out;
}

namespace {

struct CommandResult {
    int status = 0;   // as waitpid gives it
    std::string said; // its output and errors, on one line
    bool timedOut = false;
    bool cancelled = false;
};

// Runs `args` (the first the command, looked up on PATH) with its output and errors read,
// for at most `timeoutMs` and no longer than `cancel` stays false; a command still running
// then is killed. `env` null: this program's environment. Throws PrintError when it cannot be
// started.
CommandResult RunCommand(std::vector<std::string> args, int timeoutMs, const std::atomic<bool>* cancel,
                         char** env = nullptr) {
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    const std::string& command = args.front();

    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0)
        throw PrintError("the print command cannot be started: " + std::string(std::strerror(errno)));
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, out[1], 2);
    // A group of its own, so that a command given up on is stopped with whatever it started.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    pid_t pid = -1;
    const int spawned =
        ::posix_spawnp(&pid, command.c_str(), &actions, &attributes, argv.data(), env ? env : environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    if (spawned != 0) {
        ::close(out[0]);
        throw PrintError("the print command " + command + " cannot be run: " + std::strerror(spawned));
    }

    // What the command says, until it closes its output or its time is up; looked at in short
    // slices, so that a cancel is seen at once.
    CommandResult result;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (cancel != nullptr && *cancel) {
            result.cancelled = true;
            break;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            result.timedOut = true;
            break;
        }
        pollfd watch{out[0], POLLIN, 0};
        const int ready = ::poll(&watch, 1, static_cast<int>(std::min<long long>(left.count(), 100)));
        if (ready <= 0)
            continue;
        char chunk[512];
        const ssize_t n = ::read(out[0], chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        result.said.append(chunk, static_cast<size_t>(n));
    }
    ::close(out[0]);
    // A command that closed its output may still run: it is waited for under the same
    // deadline, and as long as it is not cancelled.
    bool ended = false;
    while (!result.timedOut && !result.cancelled) {
        const pid_t got = ::waitpid(pid, &result.status, WNOHANG);
        if (got == pid || (got < 0 && errno != EINTR)) {
            ended = got == pid;
            break;
        }
        if (cancel != nullptr && *cancel)
            result.cancelled = true;
        else if (std::chrono::steady_clock::now() >= deadline)
            result.timedOut = true;
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (result.timedOut || result.cancelled)
        ::kill(-pid, SIGKILL);
    while (!ended && ::waitpid(pid, &result.status, 0) < 0 && errno == EINTR) {
    }
    std::string& said = result.said;
    while (!said.empty() && std::isspace(static_cast<unsigned char>(said.back())))
        said.pop_back();
    std::replace(said.begin(), said.end(), '\n', ' ');
    return result;
}

} // namespace

void CommandSpooler::Hand(const std::filesystem::path& pdf, const std::string& title) {
    if (m_cancelled)
        throw PrintError("the program was closed before the print command " + m_command + " took the job");
    // The title in the characters the system reads.
    CommandResult run =
        RunCommand({m_command, "-t", Cp1252ToUtf8(title), "--", pdf.string()}, m_timeoutMs, &m_cancelled);
    if (run.cancelled)
        throw PrintError("the program was closed before the print command " + m_command + " took the job");
    if (run.timedOut)
        throw PrintNoAnswer("the print command " + m_command + " did not answer within " +
                            std::to_string(m_timeoutMs / 1000) + " seconds");
    const int status = run.status;
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
        return;
    if (run.said.empty())
        run.said = WIFEXITED(status) ? "the print command " + m_command + " ended with status " +
                                           std::to_string(WEXITSTATUS(status))
                                     : "the print command " + m_command + " was stopped";
    throw PrintError(run.said);
}

bool HasDefaultPrinter(int timeoutMs, const std::string& command) {
    // Asked in the C locale, so that the answer reads the same in every language.
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e)
        if (!std::string_view(*e).starts_with("LC_ALL=") && !std::string_view(*e).starts_with("LANG="))
            env.emplace_back(*e);
    env.emplace_back("LC_ALL=C");
    env.emplace_back("LANG=C");
    std::vector<char*> envp;
    for (std::string& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    try {
        const CommandResult run = RunCommand({command, "-d"}, timeoutMs, nullptr, envp.data());
        // "system default destination: <name>"; without one, "no system default destination".
        return !run.timedOut && WIFEXITED(run.status) && WEXITSTATUS(run.status) == 0 &&
               run.said.starts_with("system default destination:");
    } catch (const PrintError&) {
        return false;
    }
}

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
        fileops::SyncFolder(folder.owner(), folder.path());
        fileops::Remove(nullptr, folder.path() / kDoneFile);
    } catch (const IoError&) {
    }
}

std::string PrintJob::Text() const {
    std::string out;
    bool first = true;
    auto add = [&](const std::string& line) {
        if (!first)
            out += '\n';
        out += line;
        first = false;
    };
    for (size_t p = 0; p < pages.size(); ++p) {
        if (p > 0)
            add("\f");
        for (const PrintedLine& line : pages[p].lines)
            add(line.text);
    }
    return out;
}

std::string PrintJob::Heading() const {
    for (const PrintedPage& page : pages) {
        for (const PrintedLine& line : page.lines) {
            std::string heading;
            bool gap = false;
            for (const char c : line.text) {
                if (c == ' ' || c == '\t') {
                    gap = !heading.empty();
                    continue;
                }
                if (gap)
                    heading += ' ';
                heading += c;
                gap = false;
            }
            if (!heading.empty())
                return heading.substr(0, 60);
        }
    }
    return std::string();
}

std::vector<PrintJob> CapturePrinter::TakeJobs() {
    std::vector<PrintJob> taken;
    taken.swap(m_jobs);
    return taken;
}

PrintItems& PrintItems::Tab(int column) {
    const size_t target = static_cast<size_t>(std::max(column, 1) - 1);
    std::string& line = m_lines.back();
    if (line.size() > target)
        m_lines.emplace_back(target, ' ');
    else
        line.append(target - line.size(), ' ');
    return *this;
}

PrintItems& PrintItems::Text(std::string_view s) {
    m_lines.back().append(s);
    return *this;
}

PrintItems& PrintItems::Value(float v) {
    return Text(StoredStr(v) + " ");
}
PrintItems& PrintItems::Value(const Decimal& v) {
    return Text(AmountStr(v) + " ");
}
PrintItems& PrintItems::Value(double v) {
    return Text(Str(v) + " ");
}
PrintItems& PrintItems::Value(int v) {
    return Text(Str(v) + " ");
}

void Printer::EnsureOpen() {
    if (m_open)
        return;
    m_job = PrintJob{};
    m_job.pages.emplace_back();
    m_row = 0;
    m_open = true;
}

void Printer::AddLine(std::string text) {
    EnsureOpen();
    if (m_row >= kLinesPerPage) {
        m_job.pages.emplace_back();
        m_row = 0;
    }
    std::vector<PrintedLine>& lines = m_job.pages.back().lines;
    while (lines.size() < static_cast<size_t>(m_row))
        lines.push_back(PrintedLine{std::string(), false, m_fontSize});
    PrintedLine line{std::move(text), m_bold, m_fontSize};
    if (static_cast<size_t>(m_row) < lines.size())
        lines[m_row] = std::move(line);
    else
        lines.push_back(std::move(line));
    ++m_row;
}

void Printer::CurrentY(int twips) {
    EnsureOpen();
    m_row = std::max(twips, 0) / kTwipsPerLine;
    // A position below the page leaves the next line to start a new page.
    std::vector<PrintedLine>& lines = m_job.pages.back().lines;
    const size_t padTo = static_cast<size_t>(std::min(m_row, kLinesPerPage));
    while (lines.size() < padTo)
        lines.push_back(PrintedLine{std::string(), false, m_fontSize});
}

void Printer::Print(const PrintItems& items) {
    for (const std::string& line : items.lines())
        AddLine(line);
}

void Printer::Print(std::string_view text) {
    AddLine(std::string(text));
}

void Printer::Print() {
    AddLine(std::string());
}

void Printer::NewPage() {
    EnsureOpen();
    m_job.pages.emplace_back();
    m_row = 0;
}

void Printer::EndDoc() {
    if (!m_open)
        return;
    // Closed before submitting: a document the device refuses is dropped, and the next
    // Print starts a fresh one.
    m_open = false;
    PrintJob job = std::move(m_job);
    m_job = PrintJob{};
    m_row = 0;
    if (m_inStep && m_inStep()) {
        // A report is a change of its step: a folder that takes no change (one open only to be
        // looked at) refuses it as it refuses every change, before the device stores anything.
        MayChange(m_folder);
        const size_t before = m_held.size();
        m_held.push_back(m_device->Prepare(job));
        WhenUndone(m_folder, [this, before] {
            if (m_held.size() > before)
                m_held.resize(before);
        });
    } else {
        m_device->Submit(job);
    }
}

std::string Printer::Release() {
    std::vector<std::unique_ptr<PreparedPrint>> held;
    held.swap(m_held);
    if (held.empty())
        return std::string();
    std::vector<std::string> names;
    for (const std::unique_ptr<PreparedPrint>& prepared : held)
        names.push_back(prepared->Name());
    try {
        return m_device->PublishStep(std::move(held));
    } catch (const std::exception& e) {
        // After the commit point: the step stays saved, and its reports were not printed.
        std::vector<NotPrinted> failed;
        for (std::string& name : names)
            failed.push_back({std::move(name), e.what(), {}});
        return NotPrintedMessage(failed);
    }
}

} // namespace platform
