// The printer's page model: print statements become lines at rows of pages, and EndDoc
// hands the finished document to the device.
#include "platform/printer.h"

#include "platform/text.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
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

// The temporary file of one save: closed and removed unless it was renamed into place.
class TemporaryPdf {
public:
    explicit TemporaryPdf(const std::filesystem::path& file) : m_name(file.string() + ".XXXXXX") {
        m_fd = ::mkostemp(m_name.data(), O_CLOEXEC);
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
    if (m_temporary.empty())
        return;
    if (::rename(m_temporary.c_str(), m_file.c_str()) != 0)
        SaveFailedErrno(m_file, errno);
    m_temporary.clear();
    // The new name reaches the disk with the folder. The document itself is complete by
    // now, so a folder that cannot be flushed is not reported.
    const std::filesystem::path folder = m_file.has_parent_path() ? m_file.parent_path() : ".";
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

private:
    PrinterDevice& m_device;
    PrintJob m_job;
};

} // namespace

std::unique_ptr<PreparedPrint> PrinterDevice::Prepare(const PrintJob& job) {
    return std::make_unique<JobInMemory>(*this, job);
}

void CommandSpooler::Hand(const std::filesystem::path& pdf, const std::string& title) {
    const std::string file = pdf.string();
    std::vector<std::string> args{m_command, "-t", title, "--", file};
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0)
        throw PrintError(std::string("the print command cannot be started: ") + std::strerror(errno));
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, out[1], 2);
    pid_t pid = -1;
    const int spawned = ::posix_spawnp(&pid, m_command.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    if (spawned != 0) {
        ::close(out[0]);
        throw PrintError("the print command " + m_command + " cannot be run: " + std::strerror(spawned));
    }

    // What the command says, until it closes its output or its time is up.
    std::string said;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(m_timeoutMs);
    bool timedOut = false;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            timedOut = true;
            break;
        }
        pollfd watch{out[0], POLLIN, 0};
        const int ready = ::poll(&watch, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            continue;
        char chunk[512];
        const ssize_t n = ::read(out[0], chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        said.append(chunk, static_cast<size_t>(n));
    }
    ::close(out[0]);
    if (timedOut)
        ::kill(pid, SIGKILL);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    while (!said.empty() && std::isspace(static_cast<unsigned char>(said.back())))
        said.pop_back();
    std::replace(said.begin(), said.end(), '\n', ' ');
    if (timedOut)
        throw PrintError("the print command " + m_command + " did not answer within " +
                         std::to_string(m_timeoutMs / 1000) + " seconds");
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
        return;
    if (said.empty())
        said = WIFEXITED(status) ? "the print command " + m_command + " ended with status " +
                                       std::to_string(WEXITSTATUS(status))
                                 : "the print command " + m_command + " was stopped";
    throw PrintError(said);
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
    return Text(Str(v) + " ");
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
    if (m_inStep && m_inStep())
        m_held.push_back(m_device->Prepare(job));
    else
        m_device->Submit(job);
}

std::string Printer::Release() {
    std::vector<std::unique_ptr<PreparedPrint>> held;
    held.swap(m_held);
    std::string failed;
    for (const std::unique_ptr<PreparedPrint>& prepared : held) {
        try {
            prepared->Publish();
        } catch (const std::exception& e) {
            failed += (failed.empty() ? "" : "\n") + std::string(e.what());
        }
    }
    return failed;
}

} // namespace platform
