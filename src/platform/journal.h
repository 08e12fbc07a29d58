// All-or-nothing steps over the data folder: a write-ahead journal.
//
// Every event the dispatcher runs is one transaction. While it runs, its changes are held in
// memory (PendingChanges, in the file layer) and every read sees them, so the step sees its
// own changes and nothing ever reads half a step. A failed step is dropped from memory: the
// files were never touched. A savepoint (AllOrNothing) is a copy of the held changes, put
// back when what runs inside it fails.
//
// At commit the step's new bytes are appended to the file `journal` in the data folder as one
// record with a checksum, and the journal is flushed once: that is the commit point. Then the
// data files are written, without a flush. A checkpoint at a quiet moment flushes the files
// written since the last one and their folders, then cuts the journal back to its header.
// At start-up (and before a step, when writing a committed record into the files failed) the
// committed records are written into the files again, which gives the same files however
// often it is done; a record cut short by a crash was never committed and is dropped.
//
// The journal belongs to one data folder: its header holds the folder's own id (the file
// `folder-id`, written once). A journal that is not this folder's, or is damaged other than
// at its tail, is never applied as it stands: what can be read of it is reported, and it is
// put aside as "journal.damaged" for the owner to look at.
#pragma once

#include "platform/files.h"

#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace platform {

// Thrown by a change attempted by a timer while a message box is up inside an action:
// that work waits for a later tick rather than becoming part of the action.
struct WorkDeferred {};

// The journal's file name in the data folder, the folder's id file and the name a journal
// is put aside under.
inline constexpr const char* kJournalName = "journal";
inline constexpr const char* kFolderIdName = "folder-id";
inline constexpr const char* kDamagedJournalName = "journal.damaged";

// Thrown by every read and change while committed steps could not be written into the files:
// the folder is not whole, so nothing may read it.
class FolderNotWhole : public IoError {
public:
    FolderNotWhole(const std::filesystem::path& file, const std::string& reason) : IoError(file, reason) {}
};

// Thrown by every change in a folder opened without its lock.
class FolderReadOnly : public IoError {
public:
    FolderReadOnly(const std::filesystem::path& file, const std::string& reason) : IoError(file, reason) {}
};

// One data folder's journal. One copy of the program uses it, holding the folder's lock.
class Journal {
public:
    explicit Journal(std::filesystem::path root);
    ~Journal();
    Journal(const Journal&) = delete;
    Journal& operator=(const Journal&) = delete;

    const std::filesystem::path& root() const { return m_root; }

    // Without the folder's lock: nothing is ever written into the folder, its journal is left
    // alone, and every commit is refused with `reason`.
    void SetReadOnly(std::string reason);
    bool ReadOnly() const { return !m_readOnlyReason.empty(); }
    const std::string& readOnlyReason() const { return m_readOnlyReason; }

    // At start-up: writes the committed steps into the files and checkpoints. Returns what the
    // clerk must be told (a damaged or foreign journal, put aside); throws FolderNotWhole when
    // the files could not all be written (every file that could not, named).
    std::vector<std::string> Recover();

    // Before anything reads the folder: when a committed step is not yet in the files, writes
    // it there. Throws FolderNotWhole while that cannot be done.
    void EnsureWhole();
    // The step that a journal of the program's previous version held and Recover undid (that
    // version kept the old bytes of what a step changed); empty when there was none.
    const std::string& undoneStep() const { return m_undoneStep; }

    // Appends the step's record and flushes it (the commit point), then writes the files.
    // Throws IoError, with nothing saved, when the record could not be made durable. A failure
    // to write the files after the commit point is not thrown: the step stands, and the next
    // EnsureWhole writes it.
    void Commit(const std::string& action, const PendingChanges& changes);

    // Flushes every file written since the last checkpoint and their folders, then cuts the
    // journal back. Throws IoError when a flush fails (the journal then stays as it is).
    void Checkpoint();
    // False while a committed step is not wholly in the files.
    bool Whole() const { return !m_unapplied; }
    bool NeedsCheckpoint() const { return !m_written.empty() || m_size > m_headerSize; }
    // The journal's length; a checkpoint is due before it grows past kCheckpointBytes.
    long long size() const { return m_size; }
    static constexpr long long kCheckpointBytes = 1 << 20;

    // Called once after each commit point: the step stands from here on.
    std::function<void()> on_committed;

    // One committed step as the journal holds it.
    struct Record;

private:
    void OpenForAppend();
    std::string FolderId(bool create);
    // Writes the records into the files; throws FolderNotWhole naming every file that failed.
    void Apply(const std::vector<Record>& records);
    void PutAside();
    // Undoes the step a journal of the previous version holds and removes the journal. Throws
    // FolderNotWhole, keeping the journal, when a file could not be put back; a journal that
    // names a file outside the folder or a length the file never had is put aside unapplied.
    // Returns what the clerk must be told of such a journal.
    std::vector<std::string> RollBackPrevious(const std::string& bytes);

    std::filesystem::path m_root;
    std::filesystem::path m_path;
    std::string m_readOnlyReason;
    int m_fd = -1;
    long long m_size = 0;
    long long m_headerSize = 0;
    bool m_recovered = false;        // Recover has run
    bool m_unapplied = false;        // a committed record is not (wholly) in the files
    bool m_stuck = false;            // a failed step's record could not be taken out
    std::string m_unappliedWhy;      // why not, for the clerk
    bool m_previousPending = false;  // a journal of the previous version is still to be undone
    std::string m_undoneStep;        // see undoneStep
    std::set<std::string> m_written; // files (relative) written since the last checkpoint
    std::set<std::string> m_folders; // folders (relative) whose entries changed since then
};

class Transaction final : public FileTransaction {
public:
    // `action` says in words what the clerk was doing.
    Transaction(Journal& journal, std::string action);
    ~Transaction() override;
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    // The transaction that changes go into (nullptr outside every event).
    static Transaction* Current();

    // Makes the step's changes durable (see Journal::Commit). Throws IoError when it could
    // not: nothing of the step was saved, and the transaction is rolled back.
    void Commit();
    // Drops every change of the step (the files were never touched) and puts back the copies
    // in memory that follow them (see WhenUndone).
    void Rollback();
    bool Changed() const { return !m_pending.empty(); }
    const std::string& action() const { return m_action; }

    // Runs `step` as a part of this transaction that happens whole or not at all: when it
    // throws, every change made inside it is dropped before the exception goes on, and the
    // rest of the transaction stands; so do the copies in memory (see WhenUndone). A crash
    // inside it is a crash: nothing is put back.
    void AllOrNothing(const std::function<void()>& step);

    // While blocked, a change throws WorkDeferred.
    void BlockChanges(bool blocked) { m_blocked = blocked; }
    // For a step that only shows what is stored: every change throws FolderReadOnly(why).
    void RefuseChanges(std::string why) { m_refused = std::move(why); }

    const PendingChanges& ForReading(const std::filesystem::path& file) override;
    PendingChanges& ForChange(const std::filesystem::path& file) override;
    void OnUndo(std::function<void()> undo) override { m_undo.push_back(std::move(undo)); }

private:
    // Runs the undo steps kept after the first `keep`, newest first, and drops them.
    void Undo(size_t keep);

    Journal& m_journal;
    std::string m_action;
    PendingChanges m_pending;
    std::vector<std::function<void()>> m_undo; // see OnUndo
    bool m_done = false;
    bool m_blocked = false;
    std::string m_refused; // see RefuseChanges
    bool m_whole = false;  // the folder was checked whole for this step
    Transaction* m_previous = nullptr;
    FileTransaction* m_previousFiles = nullptr;
};

// Transaction::AllOrNothing on the current transaction; outside every event, just the step.
void AllOrNothing(const std::function<void()>& step);

} // namespace platform
