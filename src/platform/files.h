// The data folder and the two kinds of data file the program keeps in it:
// random-access files of fixed-length records, and sequential files of
// comma-separated items. Every failure is thrown as IoError carrying the file name
// and the reason; the event dispatcher turns it into a message for the clerk.
#pragma once

#include "clock.h"

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class IoError : public std::runtime_error {
public:
    IoError(const std::filesystem::path& file, const std::string& reason);
    const std::filesystem::path& file() const { return m_file; }
    const std::string& reason() const { return m_reason; }

private:
    std::filesystem::path m_file;
    std::string m_reason;
};

// The data folder: every file name the windows use is relative to it.
class DataFolder {
public:
    // The sub-folders the program writes into; created by EnsureLayout.
    static const std::vector<std::string>& SubFolders();
    // The folder from VANTRETH_DATA when set, else $XDG_DATA_HOME/vantreth
    // (~/.local/share/vantreth).
    static std::filesystem::path DefaultRoot();

    explicit DataFolder(std::filesystem::path root);
    const std::filesystem::path& root() const { return m_root; }

    // Creates the folder and its sub-folders when missing, readable by the owner only.
    void EnsureLayout() const;

    // A file in the data folder or one of its sub-folders. `name` may come from typed
    // text: trailing blanks are dropped and "/" or "\" cannot make a path.
    // File("rooms"), File("sleepers", "12626").
    std::filesystem::path File(std::string_view name) const;
    std::filesystem::path File(std::string_view subfolder, std::string_view name) const;

    // The file-name form of a name part: trailing blanks dropped, path separators
    // and control characters replaced by "_".
    static std::string SafeName(std::string_view name);

private:
    std::filesystem::path m_root;
};

bool FileExists(const std::filesystem::path& file);
// Deletes the file; a missing file is not an error.
void DeleteFile(const std::filesystem::path& file);
// Replaces the file's whole content: written to a temporary file in the same folder
// (owner-only), then renamed over the file, so a reader never sees half of it.
void ReplaceFileContent(const std::filesystem::path& file, std::string_view content);

// A file of fixed-length records. Record n (from 1) lies at (n-1) * length. Opening a
// missing file creates it empty. Each call opens and closes the file.
class RandomFile {
public:
    RandomFile(std::filesystem::path file, int recordLength);

    long Lof() const;                // file length in bytes
    long RecordCount() const;        // Lof() / record length
    // `bytes` bytes of record n; bytes past the end of the file read as zero.
    std::string Get(long n, int bytes = -1) const;
    // Writes exactly the given bytes at the start of record n (the file grows as needed).
    void Put(long n, std::string_view bytes) const;

    const std::filesystem::path& path() const { return m_file; }
    int recordLength() const { return m_length; }

private:
    std::filesystem::path m_file;
    int m_length;
};

// A record image with fixed-width text fields and 4-byte little-endian Singles.
class RecordBuffer {
public:
    explicit RecordBuffer(size_t length) : m_bytes(length, ' ') {}
    explicit RecordBuffer(std::string bytes) : m_bytes(std::move(bytes)) {}

    std::string Text(size_t offset, size_t width) const;
    void SetText(size_t offset, size_t width, std::string_view value); // cut or blank-padded
    float Single(size_t offset) const;
    void SetSingle(size_t offset, float value);

    const std::string& bytes() const { return m_bytes; }

private:
    std::string m_bytes;
};

// One item of a sequential file.
struct SeqItem {
    enum class Kind { Text, Number, Date, Time };
    Kind kind = Kind::Text;
    std::string text;   // Text: the text; Number: decimal text as written
    double number = 0;  // Number
    Date date;          // Date
    TimeOfDay time;     // Time
};

// Builds one line of a sequential file: quoted text, bare numbers, #yyyy-mm-dd# and
// #hh:mm:ss# literals, separated by commas. A double quote inside a text becomes "'"
// and a line break a blank, so that a typed text can never break the file.
class SeqLine {
public:
    SeqLine& Text(std::string_view s);
    SeqLine& Number(float value);   // as a Single: reads back as the same Single
    SeqLine& Number(double value);
    SeqLine& Number(int value);
    SeqLine& DateLit(const Date& d);
    SeqLine& TimeLit(const TimeOfDay& t);
    // The line without its CR LF.
    const std::string& str() const { return m_line; }

private:
    void Separator();
    std::string m_line;
};

// Appends lines to a sequential file (created when missing).
void AppendLines(const std::filesystem::path& file, const std::vector<SeqLine>& lines);
void AppendLine(const std::filesystem::path& file, const SeqLine& line);
// Replaces the file's whole content (written to a temporary file, then renamed).
void WriteLines(const std::filesystem::path& file, const std::vector<SeqLine>& lines);

// Reads the items of a sequential file back in order. Throws IoError when the file
// does not exist ("File not found") or an item cannot be read.
class SeqReader {
public:
    explicit SeqReader(const std::filesystem::path& file);
    bool Eof() const { return m_next >= m_items.size(); }
    // The next item as text; a date literal gives the date text, a time literal the time text.
    std::string ReadText();
    // The next item as a number (Val of a text item).
    double ReadNumber();
    const std::vector<SeqItem>& items() const { return m_items; }

private:
    const SeqItem& Next();
    std::filesystem::path m_file;
    std::vector<SeqItem> m_items;
    size_t m_next = 0;
};

// Parses the items of a whole sequential file's text (for tests and tools).
std::vector<SeqItem> ParseSeqText(std::string_view text);

} // namespace platform
