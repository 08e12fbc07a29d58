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
    // The folder from VANTRETH_DATA when set, else $XDG_DATA_HOME/vantreth
    // (~/.local/share/vantreth).
    static std::filesystem::path DefaultRoot();

    explicit DataFolder(std::filesystem::path root);
    const std::filesystem::path& root() const { return m_root; }

    // Creates the folder and the given sub-folders of it when missing, readable by the
    // owner only. The program names its sub-folders (records::DataSubFolders).
    void EnsureLayout(const std::vector<std::string>& subfolders) const;

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

// A file of fixed-length records. Record n (from 1) lies at (n-1) * length. Each call
// opens and closes the file. Reading never creates the file nor needs write permission:
// a missing file reads as an empty one. Only Put creates it.
class RandomFile {
public:
    RandomFile(std::filesystem::path file, int recordLength);

    long Lof() const;         // file length in bytes; 0 for a missing file
    long RecordCount() const; // Lof() / record length
    // `bytes` bytes of record n; bytes past the end of the file (or of a missing file)
    // read as zero.
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
    std::string text;  // Text: the text; Number: decimal text as written
    double number = 0; // Number
    Date date;         // Date
    TimeOfDay time;    // Time
};

// Builds one line of a sequential file: quoted text, bare numbers, #yyyy-mm-dd# and
// #hh:mm:ss# literals, separated by commas. A double quote inside a text becomes "'"
// and a line break a blank, so that a typed text can never break the file.
class SeqLine {
public:
    SeqLine& Text(std::string_view s);
    SeqLine& Number(float value); // as a Single: reads back as the same Single
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

// Reads a sequential file back, item by item or line by line. Throws IoError when the
// file does not exist ("File not found") or cannot be read.
//
// A damaged file is read as far as it goes: a last line without its line end (an append
// cut short) is left out, a line that cannot be read (an unterminated quote, text after a
// closing quote, a NUL byte) is skipped, and so is a line the caller finds unusable
// (SkipLine, ForEachLine). The damage found is noted for the clerk when the reader goes
// away (see TakeDamageReports).
class SeqReader {
public:
    explicit SeqReader(const std::filesystem::path& file);
    ~SeqReader();
    SeqReader(const SeqReader&) = delete;
    SeqReader& operator=(const SeqReader&) = delete;

    // True when no item is left to read.
    bool Eof() const;
    // The next item as text; a date literal gives the date text, a time literal the time text.
    std::string ReadText();
    // The next item as a number (Val of a text item).
    double ReadNumber();

    // Line by line: moves to the next readable line, false after the last one. From the
    // first call on, ReadText and ReadNumber read only the current line's items and throw
    // IoError past its end.
    bool NextLine();
    size_t LineSize() const;                 // items of the current line
    const SeqItem& LineItem(size_t i) const; // item i (from 0) of the current line
    size_t LineNumber() const;               // the current line's number in the file, from 1
    // Notes the current line as damaged (`why` says how) and leaves it.
    void SkipLine(std::string_view why);
    // Notes damage that is not one line's, e.g. "lines 4 to 5: an entry cut short".
    void NoteDamage(std::string what);

    // Calls `read` once for each readable line of exactly `count` items (any number when
    // 0), with the reader at the line's first item. A line of another count, or one on
    // which `read` throws IoError, is skipped as damaged.
    template <class Read> void ForEachLine(size_t count, Read read);

    bool damaged() const { return !m_damage.empty(); }
    // What was found wrong, one entry per damaged place; empty for a sound file.
    const std::vector<std::string>& damage() const { return m_damage; }

private:
    struct Line {
        size_t number;
        std::vector<SeqItem> items;
    };
    const SeqItem& Next();
    std::filesystem::path m_file;
    std::string m_version; // size and time of the last change, as read
    std::vector<Line> m_lines;
    size_t m_line = 0; // index into m_lines
    size_t m_item = 0; // next item of m_lines[m_line]
    bool m_byLine = false;
    std::vector<std::string> m_damage;
};

template <class Read> void SeqReader::ForEachLine(size_t count, Read read) {
    while (NextLine()) {
        if (count != 0 && LineSize() != count) {
            SkipLine(std::to_string(LineSize()) + " items where " + std::to_string(count) + " belong");
            continue;
        }
        try {
            read();
        } catch (const IoError& e) {
            SkipLine(e.reason());
        }
    }
}

// The items of the readable lines of a sequential file's text, as SeqReader reads them:
// a last line without its line end and the lines that cannot be read are left out.
std::vector<SeqItem> ParseSeqText(std::string_view text);

// For a reader that goes through a sequential file piece by piece rather than through
// SeqReader: notes the damage it found, for the clerk, as a SeqReader does when it goes
// away. `size` is the number of bytes read and `changed` the file's time of change after
// the reading (nanoseconds), which tell one version of the file from the next.
void NoteSeqFileDamage(const std::filesystem::path& file, unsigned long long size, long long changed,
                       const std::vector<std::string>& damage);

// The damage found in sequential files since the last call, one message for the clerk per
// damaged file. A file is reported once; only after it was written to again (its size or
// time of change differs) can it be reported anew. The program shows each message in a
// box of its own.
std::vector<std::string> TakeDamageReports();

} // namespace platform
