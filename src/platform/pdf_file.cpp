// Saving a report's PDF file: a temporary file written, read back, checked and flushed,
// then renamed into place.
#include "platform/pdf_file.h"

#include "platform/files.h"
#include "platform/printer.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

// What the file holds now, read through its descriptor from its start.
std::string ReadBack(const std::filesystem::path& file, int fd) {
    try {
        return fileops::ReadAll(file, fd, 0);
    } catch (const IoError& e) {
        SaveFailed(file, e.reason());
    }
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
    if (ReadBack(file, temp.fd()) != bytes)
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

} // namespace platform
