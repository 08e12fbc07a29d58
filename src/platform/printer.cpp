// The printer's page model: print statements become lines at rows of pages, and EndDoc
// hands the finished document to the device.
#include "platform/printer.h"

#include "platform/text.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

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

void SavePdfFile(const std::filesystem::path& file, std::string_view bytes) {
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
    if (::rename(temp.name().c_str(), file.c_str()) != 0)
        SaveFailedErrno(file, errno);
    temp.Renamed();
    // The new name reaches the disk with the folder. The document itself is complete by
    // now, so a folder that cannot be flushed is not reported.
    const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : ".";
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
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
    m_device->Submit(job);
}

} // namespace platform
