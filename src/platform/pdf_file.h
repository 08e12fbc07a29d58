// A report's PDF file, saved whole or not at all: stored under a temporary name beside it,
// read back and checked, flushed, and only then renamed into place. A failure is a
// PrintError (printer.h) naming the file and the reason.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace platform {

// True when `bytes` is a whole PDF file: it starts with the "%PDF-" header and ends with the
// "%%EOF" trailer marker, which may be followed by blanks and line ends. A file cut short
// while it was written (a full disk) has no trailer.
bool IsCompletePdf(std::string_view bytes);

// A finished PDF document stored for `file` under a temporary name beside it
// ("<name>.XXXXXX.vantreth-saving", owner-only): written, read back and checked complete and
// flushed to the disk. Publish renames it into place and flushes the folder; Rename does not
// flush it, for a caller that renames several and flushes the folder once (FlushFolder). A
// document never published is removed. Any failure throws PrintError naming the file and the
// reason: a document is saved whole or not at all.
class StagedPdf {
public:
    StagedPdf(const std::filesystem::path& file, std::string_view bytes);
    ~StagedPdf();
    StagedPdf(const StagedPdf&) = delete;
    StagedPdf& operator=(const StagedPdf&) = delete;
    void Publish();
    void Rename();
    const std::filesystem::path& file() const { return m_file; }

private:
    std::filesystem::path m_file;
    std::string m_temporary; // empty once published
};

// Stores the document and publishes it at once (see StagedPdf).
void SavePdfFile(const std::filesystem::path& file, std::string_view bytes);

// Brings the names given in the folder to the disk; a folder that cannot be flushed is not
// reported (what it names is complete already).
void FlushFolder(const std::filesystem::path& folder);

} // namespace platform
