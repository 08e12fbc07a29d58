// The data folder and the two kinds of data file the program keeps in it:
// random-access files of fixed-length records, and sequential files of
// comma-separated items. Every failure is thrown as IoError carrying the file name
// and the reason; the event dispatcher turns it into a message for the clerk.
#pragma once

#include "dates.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class FilePath;

class IoError : public std::runtime_error {
public:
    IoError(const std::filesystem::path& file, const std::string& reason);
    IoError(const FilePath& file, const std::string& reason);
    const std::filesystem::path& file() const { return m_file; }
    const std::string& reason() const { return m_reason; }

private:
    std::filesystem::path m_file;
    std::string m_reason;
};

// ---- faults, for tests ----

// Thrown at a simulated crash: the program stops dead, leaving every file as it is. Not a
// std::exception, so that nothing in the program can catch it by accident.
struct SimulatedCrash {};

class FileFaults {
public:
    enum class Kind { None, Fail, Partial, Crash, TornCrash };
    struct Fault {
        Kind kind = Kind::None;
        int error = 0; // Fail and Partial: the system error given (ENOSPC when 0)
    };
    // What is about to happen. Stage is a change a running step keeps in memory until it
    // commits; every other one reaches the disk.
    enum class Op { Stage, Write, Flush, FlushFolder, Create, Rename, Truncate, Remove };
    struct Change {
        Op op;
        const std::filesystem::path& file; // for Rename: the new name
        size_t bytes;                      // Stage and Write: the bytes written
        const std::filesystem::path* from; // for Rename: the old name
    };
    virtual ~FileFaults() = default;
    // Called before every change to a file: a staged change, a write of `bytes` bytes, a
    // flush (of a file or of a folder), a create, a rename, a truncate or a delete.
    virtual Fault BeforeChange(const std::filesystem::path& file, size_t bytes) = 0;
    // The same call with what the change is; by default it asks BeforeChange.
    virtual Fault Before(const Change& change) { return BeforeChange(change.file, change.bytes); }
    // True when the fault source keeps itself what each flush made durable (and loses the
    // rest at a simulated crash): a flush that it lets through then never reaches the disk,
    // which a test of many crashes could not wait for.
    virtual bool KeepsFlushes() const { return false; }
    // Told on the window's thread once a flush it let through has finished well (at once, or on
    // the engine's thread): only then is what it covers on the disk.
    virtual void Flushed(const std::filesystem::path& file, bool folder) {
        (void)file;
        (void)folder;
    }
};

// An open data folder's storage engine, and the step running over it (engine.h). A file finds
// its folder's engine through its name (FilePath::engine): a file's reads and changes go
// through the step running over the folder the file was named in, and nowhere else.
class Engine;
class Transaction;
class PendingChanges;
class DamageLog;

// Whether `path` is in its lexically normal form (no "." or ".." parts, no doubled or trailing
// "/"), as the names the data folder makes are.
bool IsNormalPath(const std::filesystem::path& path);
// `path` in that form.
std::filesystem::path NormalPath(const std::filesystem::path& path);
// Orders paths by their text, which is quicker than part by part and as good for a key.
struct PathTextLess {
    bool operator()(const std::filesystem::path& a, const std::filesystem::path& b) const {
        return a.native() < b.native();
    }
};

// What the file layer asks of an engine and of the step running over its folder; defined with
// them (engine.cpp), so that the file layer below never includes the engine above it.
// The step running over the engine's folder; nullptr between steps.
Transaction* RunningStep(const Engine& engine);
// The steps the engine committed and holds are written into the files (before a read outside
// every step).
void WriteCommitted(Engine& engine);
// What every change to a file of the folder asks first (tests only); nullptr for none.
FileFaults* FaultsOf(const Engine& engine);
// False where flushing to the disk is switched off (a throw-away folder).
bool Durable(const Engine& engine);
// The damage found in the folder's sequential files, for the clerk.
DamageLog& DamageOf(Engine& engine);
// Runs `change` as a step of its own over the folder, committed as every step is (`action`
// says what it does): how a change to a file of the folder made while no step runs reaches
// the files. Throws IoError, with nothing changed, when it could not be saved.
void RunAsStep(Engine& engine, const std::string& action, const std::function<void()>& change);
// The changes a read of `file` must see. Throws IoError when nothing may be read now (saved
// steps could not be written into the files).
const PendingChanges& ForReading(Transaction& step, const std::filesystem::path& file);
// The changes a change to `file` goes into. Throws when the step takes no change now.
PendingChanges& ForChange(Transaction& step, const std::filesystem::path& file);
// Throws what ForChange throws when the step takes no change now (a folder open only to be
// looked at: FolderReadOnly), whatever the file; changes nothing.
void MayChange(Transaction& step, const std::filesystem::path& file);
// Keeps `undo` to be run when the changes made so far are kept but what comes after is
// dropped (the step or the savepoint it runs in fails).
void OnUndo(Transaction& step, std::function<void()> undo);

// The name of a file together with the engine of the open data folder it lies in: every read
// and change of the file goes through that engine (its running step, its faults, its flushing),
// and through nothing else. A file of a data folder is named by the folder (DataFolder::File,
// and the names made from one); a file that lies in no open folder is named explicitly
// (Outside) and is read and changed on the disk as it stands. It never turns into a plain path by
// itself: only path() gives the name, where only the name matters (messages, comparisons).
class FilePath {
public:
    // No file (an empty name).
    FilePath() : m_engine(nullptr) {}
    // A file of the folder `owner` is the engine of (nullptr: of no open folder).
    FilePath(std::filesystem::path file, Engine* engine) : m_path(std::move(file)), m_engine(engine) {}
    // A file that lies in no open folder.
    static FilePath Outside(std::filesystem::path file) { return FilePath(std::move(file), nullptr); }

    // The plain name, for what only needs the name (messages, comparisons, reading): a change
    // made through it would go behind the engine.
    const std::filesystem::path& path() const { return m_path; }
    // The engine of the folder the file lies in; nullptr for a file of no open folder.
    Engine* engine() const { return m_engine; }

    // A file in this folder, of the same engine.
    FilePath Child(const std::filesystem::path& name) const { return {m_path / name, m_engine}; }

    std::string string() const { return m_path.string(); }
    const char* c_str() const { return m_path.c_str(); }
    std::filesystem::path filename() const { return m_path.filename(); }
    std::filesystem::path parent_path() const { return m_path.parent_path(); }
    bool has_parent_path() const { return m_path.has_parent_path(); }
    std::filesystem::path lexically_normal() const { return m_path.lexically_normal(); }

    // The same name (whichever engine made it).
    friend bool operator==(const FilePath& a, const FilePath& b) { return a.m_path == b.m_path; }
    friend bool operator==(const FilePath& a, const std::filesystem::path& b) { return a.m_path == b; }
    friend std::ostream& operator<<(std::ostream& out, const FilePath& file);

private:
    std::filesystem::path m_path;
    Engine* m_engine;
};

// ---- the calls that change files on the disk ----
//
// Every change the program makes to a file goes through these, so that a test can make any
// one of them fail ("disk full"), write only part of it, or stop the program dead there (a
// crash), the way a real machine can: each change asks the fault source of the engine it is
// given (Engine::Faults), and a flush is skipped where that engine writes without flushing
// (Engine::Durable). `owner` is the engine of the open folder the file lies in; nullptr for
// a file of no open folder, which is changed as it stands.
namespace fileops {

// The system's words for an errno value ("No space left on device").
std::string ErrorText(int error);
// A staged change of a running step (kept in memory): asks the fault source only.
void Stage(const Engine* engine, const std::filesystem::path& file, size_t bytes);
// Opens a file for changing; O_CREAT among `flags` creates it (owner-only).
int OpenForChange(const Engine* engine, const std::filesystem::path& file, int flags);
// The same, relative to an open folder, never following a link.
int OpenAt(const Engine* engine, int folder, const std::string& name, const std::filesystem::path& file,
           int flags);
// Writes all of `data` at `offset`, or at the end when offset < 0 (O_APPEND).
void Write(const Engine* engine, const std::filesystem::path& file, int fd, std::string_view data,
           long long offset);
// Before a flush of `file` (a folder's entries when `folder`) made here or handed to another
// thread: asks the engine's fault source, throwing what it gives. False when the flush is not to
// reach the disk (the engine writes without flushing, or its fault source keeps the flushes).
bool BeforeFlush(const Engine* engine, const std::filesystem::path& file, bool folder);
// After a flush that BeforeFlush let through has finished well: tells the engine's fault source.
void AfterFlush(const Engine* engine, const std::filesystem::path& file, bool folder);
// A folder opened to be flushed.
int OpenFolder(const std::filesystem::path& folder);
// Flushes the file's data to the disk; a failure is thrown.
void Sync(const Engine* engine, const std::filesystem::path& file, int fd);
// Flushes a folder's entries (names created, renamed or removed) to the disk.
void SyncFolder(const Engine* engine, const std::filesystem::path& folder);
void Truncate(const Engine* engine, const std::filesystem::path& file, int fd, long long length);
void Rename(const Engine* engine, const std::filesystem::path& from, const std::filesystem::path& to);
// A missing file is not an error.
void Remove(const Engine* engine, const std::filesystem::path& file);
void RemoveAt(const Engine* engine, int folder, const std::string& name, const std::filesystem::path& file);
// Closes the descriptor; a write error that shows only here is thrown.
void Close(const std::filesystem::path& file, int fd);
// The whole content on the disk; nullopt when the file does not exist. `flags` are added to
// the opening (O_NOFOLLOW: a link is an error, ELOOP).
std::optional<std::string> ReadWhole(const std::filesystem::path& file, int flags = 0);
// The rest of an open file, read to its end; with `from` >= 0, the file from that offset
// instead, the descriptor's position left as it is (a file just written, read back whole).
std::string ReadAll(const std::filesystem::path& file, int fd, long long from = -1);
// At most `length` bytes from `offset` of an open file, fewer at its end.
std::string ReadAt(const std::filesystem::path& file, int fd, long long offset, size_t length);

// Closes the descriptor when the scope ends.
class Fd {
public:
    explicit Fd(int fd = -1) : m_fd(fd) {}
    ~Fd() { Reset(); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return m_fd; }
    // Closes the descriptor held, if any, and holds `fd`.
    void Reset(int fd = -1);
    // Hands the descriptor over: this object no longer closes it.
    int Release();
    // Closes now, reporting a failure (a write error may only show up here).
    int Close();

private:
    int m_fd;
};

} // namespace fileops

// ---- the changes of a running step ----

// What a step has changed, held in memory until it commits (see journal.h). Every read of a
// file goes through the step's changes, so the step sees its own changes and nothing ever
// reads half a step from the disk.
// What a step found on the disk, each file and folder asked once: the engine writes the files
// only between steps, so what the disk holds does not change while one runs.
class DiskSeen {
public:
    struct Entry {
        int error = 0; // of stat(); 0: found
        bool folder = false, regular = false;
        long long size = 0;
        long long changedAt = 0; // the time of the last change, in nanoseconds
    };
    // stat() of `path` (following links), asked once.
    const Entry& Stat(const std::filesystem::path& path);
    // Whether the folder `folder` takes new names (access W_OK | X_OK): 0, or the error.
    int FolderWritable(const std::filesystem::path& folder);
    // A small file's bytes, read whole once (`read` reads them); the larger are read as asked.
    static constexpr long long kKeptWhole = 64 * 1024;
    const std::string& Whole(const std::filesystem::path& file, const std::function<std::string()>& read);

private:
    std::map<std::string, Entry, std::less<>> m_seen;
    std::map<std::string, std::string, std::less<>> m_whole;
    std::map<std::string, int, std::less<>> m_writable;
};

class PendingChanges {
public:
    struct File {
        long long diskSize = -1; // the length on the disk when first changed; -1: missing
        bool fromDisk = true;    // parts not written here read from the disk (false after a
                                 // whole-file replace or a delete)
        bool exists = false;
        long long size = 0;
        std::map<long long, std::string> parts; // written parts by offset; never touching
    };

    bool empty() const { return m_files.empty(); }
    using Files = std::map<std::filesystem::path, File, PathTextLess>;
    const Files& files() const { return m_files; }
    const File* Find(const std::filesystem::path& file) const;

    // Check the file can take the change (its folder is there, it is no folder or link, it
    // can be written) and keep it. Each throws IoError, changing nothing, when it cannot.
    void Write(const FilePath& file, long long offset, std::string_view bytes);
    void Replace(const FilePath& file, std::string_view content);
    void Delete(const FilePath& file);

    // The file as the step sees it. Size: -1 for a missing file. Read: the bytes from
    // `offset` on, at most `length`, fewer at the end of the file.
    long long Size(const std::filesystem::path& file) const;
    std::string Read(const std::filesystem::path& file, long long offset, size_t length) const;

    // What the step found on the disk (shared by the savepoints' copies); Forget: the engine
    // wrote the files meanwhile (a step saved inside this one).
    DiskSeen& seen() const { return *m_seen; }
    void ForgetDisk() { m_seen = std::make_shared<DiskSeen>(); }

private:
    File& Entry(const std::filesystem::path& file);
    Files m_files;
    std::shared_ptr<DiskSeen> m_seen = std::make_shared<DiskSeen>();
};

// The damage found in a folder's sequential files and not yet shown to the clerk, and the
// files already reported (by name, size and time of the last change), so that a file read at
// every keystroke is reported once. Only the window's thread reads the files it is kept for.
class DamageLog {
public:
    // Keeps a message for `damage` found in `file` as read at `version`, unless that version
    // of the file was reported already.
    void Note(const std::filesystem::path& file, const std::string& version,
              const std::vector<std::string>& damage);
    // The messages kept since the last call, one per damaged file.
    std::vector<std::string> Take();

private:
    std::set<std::string> m_reported;
    std::vector<std::string> m_pending;
};

// For a copy in memory of what a file of a data folder holds: `undo` puts the copy back as
// it was if the step running over that folder, or the savepoint it is in, is dropped, so that
// it follows the files. Outside a step the change is made at once and `undo` is never run.
void WhenUndone(const FilePath& file, std::function<void()> undo);
class DataFolder;
// The same for a copy of what the files of `folder` hold together.
void WhenUndone(const DataFolder& folder, std::function<void()> undo);

// Throws what a change to a file of `folder` (a folder, or a file in one) would throw now in
// the running step, changing nothing: a step over a folder open only to be looked at refuses
// every change (FolderReadOnly). Nothing outside a step.
void MayChange(const FilePath& folder);

// Whether the running step changed `file` so that a read of it must go through ReadFileAt
// and FileSize rather than to the disk. Throws IoError as those reads do when nothing may be
// read now; false outside a step.
bool ChangedByStep(const FilePath& file);

// Reads of a file as the running step sees it (straight from the disk outside a step).
// FileSize: -1 for a missing file. ReadFileAt: at most `length` bytes from `offset`, fewer at
// the end. ReadFile: nullopt for a missing file.
long long FileSize(const FilePath& file);
std::string ReadFileAt(const FilePath& file, long long offset, size_t length);
std::optional<std::string> ReadFile(const FilePath& file);

// The data folder: every file name the windows use is relative to it.
class DataFolder {
public:
    // The folder from VANTRETH_DATA when set, else $XDG_DATA_HOME/vantreth
    // (~/.local/share/vantreth).
    static std::filesystem::path DefaultRoot();

    // `engine`: the engine of the open folder, through which every file named here is read
    // and changed; nullptr for a folder that is not open (its files are read and changed on
    // the disk as they stand).
    DataFolder(std::filesystem::path root, Engine* engine);
    const std::filesystem::path& root() const { return m_root; }
    Engine* engine() const { return m_engine; }

    // Creates the folder and the given sub-folders of it when missing, readable by the
    // owner only. The program names its sub-folders (records::DataSubFolders).
    void EnsureLayout(const std::vector<std::string>& subfolders) const;
    // The folder and those of the given sub-folders that are there, made readable by their
    // owner only (0700) where they are wider (made before by hand, copied in), since the guest
    // records hold card numbers. Only a folder of the program's own user is changed, and
    // nothing when `mayChange` is false (a start that only looks writes nothing). Returns what
    // the clerk is to be told when one stays wider (another user's, a read-only file system,
    // a start that only looks), empty when none does; never throws.
    std::string KeepOwnerOnly(const std::vector<std::string>& subfolders, bool mayChange) const;

    // A file in the data folder or one of its sub-folders. `name` may come from typed
    // text: trailing blanks are dropped and "/" or "\" cannot make a path.
    // File("rooms"), File("sleepers", "12626").
    FilePath File(std::string_view name) const;
    FilePath File(std::string_view subfolder, std::string_view name) const;
    // The name of `file`, given whole, with the folder's engine when it lies in the folder (or is
    // the folder), else as a file of no open folder.
    FilePath FileAt(const std::filesystem::path& file) const;

    // The file-name form of a name part: trailing blanks dropped, path separators
    // and control characters replaced by "_".
    static std::string SafeName(std::string_view name);

private:
    std::filesystem::path m_root;
    Engine* m_engine;
};

bool FileExists(const FilePath& file);
// Deletes the file; a missing file is not an error.
void DeleteFile(const FilePath& file);
// Replaces the file's whole content. Outside a step it is written to the temporary file
// "<name>.vantreth-saving" beside it (owner-only), flushed, then renamed over the file, so a
// reader never sees half of it.
void ReplaceFileContent(const FilePath& file, std::string_view content);

// The suffix of the temporary file of a whole-file save (see ReplaceFileContent).
inline constexpr std::string_view kSavingSuffix = ".vantreth-saving";

// A file of fixed-length records. Record n (from 1) lies at (n-1) * length. Each call
// opens and closes the file. Reading never creates the file nor needs write permission:
// a missing file reads as an empty one. Only Put creates it.
class RandomFile {
public:
    RandomFile(FilePath file, int recordLength);

    long Lof() const;         // file length in bytes; 0 for a missing file
    long RecordCount() const; // Lof() / record length
    // `bytes` bytes of record n; bytes past the end of the file (or of a missing file)
    // read as zero.
    std::string Get(long n, int bytes = -1) const;
    // Writes exactly the given bytes at the start of record n (the file grows as needed).
    void Put(long n, std::string_view bytes) const;

    const FilePath& path() const { return m_file; }
    int recordLength() const { return m_length; }

private:
    FilePath m_file;
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
void AppendLines(const FilePath& file, const std::vector<SeqLine>& lines);
void AppendLine(const FilePath& file, const SeqLine& line);
// Replaces the file's whole content (written to a temporary file, then renamed).
void WriteLines(const FilePath& file, const std::vector<SeqLine>& lines);

// Reads a sequential file back, item by item or line by line. Throws IoError when the
// file does not exist ("File not found") or cannot be read.
//
// A damaged file is read as far as it goes: a last line without its line end (an append
// cut short) is left out, a line that cannot be read (an unterminated quote, text after a
// closing quote, a NUL byte) is skipped, and so is a line the caller finds unusable
// (SkipLine, ForEachLine). The damage found is noted for the clerk when the reader goes
// away (see NoteSeqFileDamage).
// How a sequential file's quoted texts are read. Strict: a line ends at its first CR or LF,
// and a NUL makes the line unreadable (damage). AnyCharacter: a quoted text holds every
// character up to its closing quote, CR, LF and NUL included, as the files of earlier
// versions, which stored such characters unchanged, are read back.
enum class SeqQuotes { Strict, AnyCharacter };

class SeqReader {
public:
    explicit SeqReader(const FilePath& file, SeqQuotes quotes = SeqQuotes::Strict);
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
    FilePath m_file;
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
void NoteSeqFileDamage(const FilePath& file, unsigned long long size, long long changed,
                       const std::vector<std::string>& damage);

// The damage is kept by the engine of the file's folder (Engine::damage), one message for
// the clerk per damaged file. A file is reported once; only after it was written to again (its
// size or time of change differs) can it be reported anew. The program shows each message in a
// box of its own. Damage in a file of no open folder has no clerk to be told and is not kept.

} // namespace platform
