// All-or-nothing actions over the data folder.
//
// Every event the dispatcher runs is one transaction. Before the first change to a part of
// a file, what that part held goes into the rollback journal (the file `journal` in the data
// folder) and the journal is flushed to disk; only then is the file changed. When the event
// ends, the changed files are flushed and the journal is removed: that is the commit point.
// A failed event puts every file back from the journal; a journal found at start-up belongs
// to an event that never finished (the program was killed, the power went) and is rolled
// back the same way before any window loads.
//
// What the journal keeps of a file, at the first change to it in a transaction, is its
// length then (or that it did not exist); at a change inside that length, the old bytes of
// that part; before a whole-file replace or a delete, the whole old content. Rolling back
// applies the entries newest first, so each part ends as it was before the transaction.
//
// Every change the program makes to a file goes through the few calls below, so a test can
// make any one of them fail ("disk full"), write only part of it, or stop the program dead
// there (a crash), the way a real machine can.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// ---- faults, for tests ----

// Thrown at a simulated crash: the program stops dead, leaving every file as it is. Not a
// std::exception, so that nothing in the program can catch it by accident.
struct SimulatedCrash {};

// Thrown by a change attempted by a timer while a message box is up inside an action:
// that work waits for a later tick rather than becoming part of the action.
struct WorkDeferred {};

class FileFaults {
public:
    enum class Kind { None, Fail, Partial, Crash, TornCrash };
    struct Fault {
        Kind kind = Kind::None;
        int error = 0; // Fail and Partial: the system error given (ENOSPC when 0)
    };
    virtual ~FileFaults() = default;
    // Called before every change to a file: a write of `bytes` bytes, a flush, a create,
    // a rename, a truncate or a delete.
    virtual Fault BeforeChange(const std::filesystem::path& file, size_t bytes) = 0;
};

// Installs the fault source (nullptr: none). Tests only.
void SetFileFaults(FileFaults* faults);

// Flushing to disk can be switched off where durability does not matter (the scenario
// runner's throw-away folders); it is on unless switched off.
void SetDurableWrites(bool on);

// ---- the calls that change files ----

namespace fileops {

// Opens a file for changing; O_CREAT among `flags` creates it (owner-only).
int OpenForChange(const std::filesystem::path& file, int flags);
// Creates `<file>.XXXXXX` (six random characters), owner-only, for a new content of `file`.
int CreateTemporary(const std::filesystem::path& file, std::filesystem::path& temporary);
// Writes all of `data` at `offset`, or at the end when offset < 0 (O_APPEND).
void Write(const std::filesystem::path& file, int fd, std::string_view data, long long offset);
void Sync(const std::filesystem::path& file, int fd);
void SyncFolder(const std::filesystem::path& folder);
// Flushes the whole file system that holds `folder`; false where that cannot be done.
bool SyncFileSystem(const std::filesystem::path& folder);
void Truncate(const std::filesystem::path& file, int fd, long long length);
void Rename(const std::filesystem::path& from, const std::filesystem::path& to);
// A missing file is not an error.
void Remove(const std::filesystem::path& file);
// Closes the descriptor; a write error that shows only here is thrown.
void Close(const std::filesystem::path& file, int fd);
// The whole content; nullopt when the file does not exist.
std::optional<std::string> ReadWhole(const std::filesystem::path& file);

} // namespace fileops

// ---- transactions ----

class Transaction {
public:
    // `root` is the data folder; `action` says in words what the clerk was doing.
    Transaction(std::filesystem::path root, std::string action);
    // A transaction neither committed nor rolled back is left as a crash leaves it.
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    // The transaction that changes go into (nullptr outside every event).
    static Transaction* Current();

    // Flushes what changed and removes the journal. Throws IoError when a flush fails (the
    // caller then rolls back).
    void Commit();
    // Puts every changed file back. Throws IoError when that fails; the journal is then
    // kept, for the next start (or the next action) to finish the job.
    void Rollback();
    bool Changed() const { return m_journalExists; }
    const std::string& action() const { return m_action; }

    // Runs `step` as a part of this transaction that happens whole or not at all: when it
    // throws, what it changed is put back before the exception goes on, and the rest of
    // the transaction stands.
    void AllOrNothing(const std::function<void()>& step);

    // While blocked, a change throws WorkDeferred.
    void BlockChanges(bool blocked) { m_blocked = blocked; }

    // Called by the file layer before it changes a file.
    void BeforeWrite(const std::filesystem::path& file, long long offset, size_t length);
    void BeforeAppend(const std::filesystem::path& file);
    void BeforeReplace(const std::filesystem::path& file); // also before a delete

private:
    struct Touched;
    Touched& Touch(const std::filesystem::path& file);
    void OpenJournal();
    void AddEntry(char kind, const std::filesystem::path& file, long long number, std::string_view data);
    void CloseJournal(bool remove);

    std::filesystem::path m_root;
    std::string m_action;
    std::filesystem::path m_journalPath;
    int m_journalFd = -1;
    bool m_journalExists = false;
    long long m_journalSize = 0;
    bool m_done = false;
    bool m_blocked = false;
    std::vector<std::unique_ptr<Touched>> m_touched;
    size_t m_entries = 0;
    long long m_headerSize = 0;
    Transaction* m_previous = nullptr;
};

// Transaction::AllOrNothing on the current transaction; outside every event, just the step.
void AllOrNothing(const std::function<void()>& step);

// The journal's file name in the data folder.
inline constexpr const char* kJournalName = "journal";

// Rolls back a journal left by an action that never finished. Returns the action's words
// when something was undone, nullopt when there was no journal (or an empty one). Throws
// IoError when the files cannot be put back; the journal is then kept.
std::optional<std::string> RecoverJournal(const std::filesystem::path& root);

} // namespace platform
