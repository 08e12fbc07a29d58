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
// Those flushes run on the engine's own thread (FlushWorker), never on the window's: the
// window's thread only hands them over and, between events, looks at what finished. The
// fault source of the tests is asked on the window's thread when a flush is handed over,
// and its answer stands for that flush.
//
// At start-up (and before a step, when writing a committed record into the files failed) the
// committed records are written into the files again, which gives the same files however
// often it is done; a record cut short by a crash was never committed and is dropped.
//
// The journal belongs to one data folder: its header holds the folder's own id (the file
// `folder-id`, written once). A journal that is not this folder's, or is damaged other than
// at a tail cut short, is never applied as it stands: the steps before the damage are written
// and flushed, then it is put aside as "journal.damaged" and the clerk is told, at every start
// until the message was shown, which saved step may be lost.
//
// The Journal is the folder's storage engine: it holds the step running over the folder, the
// journal file, the checkpoint and recovery, the fault source of its files, whether they are
// flushed, and the damage found in them; the program owns one per data folder, and nothing of
// it is the whole process's. A file reaches it through its name: the folder's handle
// (DataFolder, built with the engine) names every file with its engine (FilePath in files.h),
// and the file layer goes through that engine's step and faults, never through a table of
// folders. Its state is one value (Journal::state()), and it moves only
// along these lines (any other move is a logic error):
//
//   NotRecovered --SetReadOnly--> ReadOnly
//   NotRecovered --Recover--> Open | MustRewrite (a file could not be written) | Stopped
//                (damaged journal whose steps could not be flushed before it was put aside)
//   Open         the files hold every committed step, perhaps not yet flushed (a checkpoint
//                is then due). Commit appends and flushes one record, then writes the files:
//                --> MustRewrite when writing them fails; --> Unsure when the record could
//                neither be flushed nor taken back. A checkpoint flushes the files and their
//                folders, then cuts the journal; a failed flush --> MustRewrite (the kernel
//                may have dropped what it could not write: flushing again proves nothing).
//   MustRewrite  a committed step is not wholly in the files, or a flush of them failed.
//                Every read and change first writes every record of the journal into the
//                files again (EnsureWhole) --> Open; the journal is never cut before that.
//   Unsure       a step's record could neither be flushed nor taken back: whether it was
//                saved is known only at the next start, which names it to the clerk. Reads
//                go on; every commit is refused (StepOutcomeUnknown). Left only by a restart.
//   ReadOnly     opened without the folder's lock: nothing is written, every commit refused.
//   Stopped      start-up could not make the folder whole and put its damaged journal
//                aside: nothing reads or changes the folder until the next start.
//   Recover in Open, MustRewrite, Unsure or Stopped starts over as a new start --> as above.
//
// Beside the state: a step is pending while a Transaction runs (BeginStep to EndStep), in
// memory; inside Commit the step is committed but its files not yet written. A checkpoint
// moves along these lines, in Open (and MustRewrite, which first rewrites the files):
//
//   idle --hand over the files written and the folders changed--> checkpointing
//   checkpointing  the flushes are on the engine's thread. Steps read and commit as in Open;
//                  a file a step writes joins those to flush again, even when its flush was
//                  already handed over (a flush proves only what was written before it).
//     --all done, files written meanwhile--> hand those over --> checkpointing
//     --all done, none written meanwhile--> cut: the journal is truncated to its header and
//                  its flush handed over --> cutting
//     --a flush failed--> MustRewrite, seen between events or before the next read; the
//                  files are written again from the journal and flushed anew before any cut
//   cutting        the next commit waits for the cut's flush before writing its record (the
//                  step's own wait, like its own flush): a record written over old records
//                  whose cut the disk may not hold could, after a crash in the commit, leave
//                  old bytes after it, read as damage. The flush runs on a descriptor of its
//                  own: the kernel reports a flush's failure once to each open description
//                  of a file, so the journal's own descriptor still sees it.
//     --flushed--> idle
//     --its flush failed--> cut unsure: the next commit flushes the journal on its own
//                  descriptor before writing its record (a failure there is the commit's:
//                  nothing saved), and so does the next checkpoint. Only the length is at
//                  stake: what the cut dropped had been flushed into the files already.
//
// The exit's checkpoint (Checkpoint), recovery and the tests wait for the flushes; the
// checkpoint between events (CheckpointWithoutWaiting) never does.
#pragma once

#include "platform/files.h"
#include "platform/flush_worker.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
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
// What the clerk must still be told at the next start (a journal put aside, a step whose
// saving could not be confirmed), kept until it was shown.
inline constexpr const char* kUntoldName = "journal.untold";
// The record whose flush could not be confirmed: its offset and the step's words.
inline constexpr const char* kUnsureName = "journal.unsure";
// No file of the folder reaches this far: a record writing further is damage.
inline constexpr long long kLargestFile = 1LL << 28;

// Thrown by every read and change while committed steps could not be written into the files:
// the folder is not whole, so nothing may read it.
class FolderNotWhole : public IoError {
public:
    FolderNotWhole(const std::filesystem::path& file, const std::string& reason) : IoError(file, reason) {}
};

// Thrown by a commit whose record could not be made durable nor taken back (Unsure), and by
// every commit after it: the step may have been saved, and only the next start can tell.
class StepOutcomeUnknown : public IoError {
public:
    StepOutcomeUnknown(const std::filesystem::path& file, const std::string& reason)
        : IoError(file, reason) {}
};

// Thrown by every change in a folder opened without its lock.
class FolderReadOnly : public IoError {
public:
    FolderReadOnly(const std::filesystem::path& file, const std::string& reason) : IoError(file, reason) {}
};

class Transaction;

// One data folder's storage engine. One copy of the program uses it, holding the folder's lock.
class Journal final : public FolderOwner {
public:
    // Any state may call the calls that only look (state, root, Whole, NeedsCheckpoint, size).
    // `faults`: what every change to a file of the folder asks first (tests only).
    explicit Journal(std::filesystem::path root, FileFaults* faults = nullptr);
    ~Journal();
    Journal(const Journal&) = delete;
    Journal& operator=(const Journal&) = delete;

    enum class State { NotRecovered, Open, MustRewrite, Unsure, ReadOnly, Stopped };
    State state() const { return m_state; }

    const std::filesystem::path& root() const override { return m_root; }

    // NotRecovered only (a logic error in any other): without the folder's lock nothing is ever
    // written into the folder, its journal is left alone, and every commit is refused with
    // `reason` (--> ReadOnly, for good).
    void SetReadOnly(std::string reason);
    bool ReadOnly() const { return m_state == State::ReadOnly; }
    const std::string& readOnlyReason() const { return m_readOnlyReason; }

    // The step running over the folder (any state): a Transaction enters itself at its start
    // and leaves at its end, giving back the one it stood in for. Reads and changes of the
    // folder's files go through it (see files.h).
    Transaction* BeginStep(Transaction* step);
    void EndStep(Transaction* step, Transaction* previous);
    Transaction* step() const { return m_step; }
    FileTransaction* RunningStep() const override;

    // How far a file of the folder (named relative to it) can reach, by its kind: a committed
    // step writing further is refused, and a record in the journal writing further is damage.
    // kLargestFile for every file until it is set; set it before Recover.
    using Reach = std::function<long long(std::string_view relative)>;
    void SetReach(Reach reach) { m_reach = std::move(reach); }

    // The fault source of the folder's files (tests only; any state).
    void SetFaults(FileFaults* faults) { m_faults = faults; }
    FileFaults* Faults() const override { return m_faults; }

    // Flushing the folder's files to the disk can be switched off where durability does not
    // matter (a throw-away folder); it is on unless switched off (any state).
    void SetDurable(bool on) { m_durable = on; }
    bool Durable() const override { return m_durable; }

    // The damage found in the folder's sequential files, not yet shown to the clerk.
    DamageLog& damage() override { return m_damage; }

    // NotRecovered (ReadOnly: only reads the journal, to name the steps it holds; in any other
    // state it starts over as at start-up): writes the committed steps into the files and checkpoints.
    // Returns what the clerk must be told (a damaged or foreign journal put aside, a step whose
    // saving could not be confirmed), also what an earlier start could not show; once it was
    // shown, call Told. Throws FolderNotWhole when the files could not all be written (every
    // file that could not, named).
    std::vector<std::string> Recover();
    // The messages Recover returned were shown to the clerk: they are not shown again. Nothing in
    // ReadOnly.
    void Told();

    // Before anything reads the folder (any state): in NotRecovered recovers; in MustRewrite
    // writes every committed step into the files again (--> Open). Throws FolderNotWhole while
    // that cannot be done, and in Stopped. Nothing in Open, Unsure and ReadOnly.
    void EnsureWhole();
    // The step that a journal of the program's previous version held and Recover undid (that
    // version kept the old bytes of what a step changed); empty when there was none.
    const std::string& undoneStep() const { return m_undoneStep; }

    // A step that changed nothing: nothing, in any state. Otherwise Open or MustRewrite (and
    // NotRecovered, which recovers first); refused in ReadOnly (FolderReadOnly), Unsure
    // (StepOutcomeUnknown) and Stopped (FolderNotWhole). Appends the step's record and flushes it (the commit
    // point), then writes the files. Throws IoError, with nothing saved, when the record could not be made
    // durable and was taken back; StepOutcomeUnknown (--> Unsure) when it could not be taken
    // back either. A failure to write the files after the commit point is not thrown: the step
    // stands (--> MustRewrite), and the next EnsureWhole writes it. The record is written only
    // once the last cut is flushed: it waits for the cut's flush in hand, and flushes the
    // journal first when that failed (a failure there: IoError, nothing saved).
    void Commit(const std::string& action, const PendingChanges& changes);

    // Open or MustRewrite (NotRecovered recovers first; nothing in the other states): flushes every file
    // written since the last checkpoint and the folders whose names changed, then cuts the journal back.
    // Waits for every flush. Throws IoError when that fails: the journal then keeps every record, its
    // length as the disk has it, and after a failed flush of a file the files are written again from it
    // first.
    void Checkpoint();
    // The same without waiting for a flush, between events, so that no key waits for it: hands the
    // flushes to the engine's thread, or looks at what it finished and goes on from there (see the
    // lines of a checkpoint at the top). True once the journal is cut and its flush is done; false while
    // the checkpoint goes on. Steps may be saved between two calls: their files are flushed before the
    // journal is cut. Throws IoError when a flush failed (--> MustRewrite for a file's).
    bool CheckpointWithoutWaiting();
    // Flushes handed over and not yet looked at.
    bool Checkpointing() const { return m_inFlight != InFlight::None; }
    // The flushes of a checkpoint run through `flusher` (empty: the real ones) on the engine's
    // thread (tests only). Waits for the flushes in hand.
    void SetFlusher(Flusher flusher);
    // False while a committed step, or one that may have been, is not wholly in the files
    // (MustRewrite, Unsure, Stopped).
    bool Whole() const {
        return m_state != State::MustRewrite && m_state != State::Unsure && m_state != State::Stopped;
    }
    bool NeedsCheckpoint() const {
        return !m_written.empty() || !m_folders.empty() || m_size > m_headerSize ||
               m_state == State::MustRewrite || m_inFlight != InFlight::None || m_cutUnsure;
    }
    // The journal's length; a checkpoint is due before it grows past kCheckpointBytes.
    long long size() const { return m_size; }
    static constexpr long long kCheckpointBytes = 1 << 20;

    // One committed step as the journal holds it.
    struct Record;

private:
    // Moves to `next`; a move the lines at the top of this header do not draw is a logic error.
    void Enter(State next);
    void OpenForAppend();
    std::string FolderId(bool create) const;
    std::vector<std::string> StepsNotShown() const;
    // Writes the records into the files; throws FolderNotWhole naming every file that failed.
    void Apply(const std::vector<Record>& records);
    // Keeps `told` for the clerk (see kUntoldName), then renames the journal aside.
    void PutAside(const std::string& told);
    // A file written since the last checkpoint, opened to be flushed; -1 when a later step deleted it.
    int OpenWritten(const std::string& relative) const;
    // Hands the flushes of the files written and the folders changed to the engine's thread.
    // A failure to hand one over (the fault source's) --> MustRewrite.
    void HandOverWritten();
    // One round of a checkpoint (see CheckpointWithoutWaiting); `wait`: for what is in hand.
    bool CheckpointRound(bool wait);
    // Looks at the flushes in hand (waiting for them when `wait`): a failed flush of a file or folder
    // --> MustRewrite, of the cut: cut unsure. Returns the failure seen, if any.
    std::optional<IoError> Collect(bool wait);
    FlushWorker& Worker();
    // Cuts the journal back to its header and hands its flush over (cutting).
    void Cut();
    // After a record's flush failed: cuts it off and flushes that. False when it could not.
    bool TakeBack(long long at);
    std::string UnsureMessage() const;
    // Keeps a message for the clerk, flushed, until Told (see kUntoldName).
    void KeepUntold(const std::string& told);
    std::vector<std::string> UntoldNotes() const;
    // Turns the note of a step whose saving was unsure (kUnsureName) into a message saying
    // whether it was found saved: whether a whole record starts where it was written.
    void ResolveUnsure(const std::vector<size_t>& starts);
    // Undoes the step a journal of the previous version holds and removes the journal. Throws
    // FolderNotWhole, keeping the journal, when a file could not be put back; a journal that
    // names a file outside the folder or a length the file never had is put aside unapplied.
    // Returns what the clerk must be told of such a journal.
    std::vector<std::string> RollBackPrevious(const std::string& bytes);
    struct PreviousEntry;
    static std::vector<PreviousEntry> ReadPreviousEntries(const std::string& bytes, std::string& action);
    std::string CheckPreviousEntries(const std::vector<PreviousEntry>& entries) const;
    void UndoPreviousEntries(const std::vector<PreviousEntry>& entries);

    std::filesystem::path m_root;
    std::filesystem::path m_path;
    State m_state = State::NotRecovered;
    Transaction* m_step = nullptr;  // the step running over the folder
    FileFaults* m_faults = nullptr; // see SetFaults
    bool m_durable = true;          // see SetDurable
    DamageLog m_damage;             // see damage
    Reach m_reach = [](std::string_view) { return kLargestFile; };
    std::string m_readOnlyReason; // ReadOnly: why
    int m_fd = -1;
    long long m_size = 0;
    long long m_headerSize = 0;
    std::string m_unsureStep;        // Unsure: the step's words
    std::string m_unappliedWhy;      // MustRewrite, Stopped: why, for the clerk
    bool m_previousPending = false;  // MustRewrite: what is to be undone is a previous version's journal
    std::string m_undoneStep;        // see undoneStep
    std::set<std::string> m_written; // files (relative) written since the last checkpoint
    std::set<std::string> m_folders; // folders (relative) whose entries changed since then
    // What the flushes in hand are: a checkpoint's files and folders, or the cut's.
    enum class InFlight { None, Files, Cut };
    InFlight m_inFlight = InFlight::None;
    bool m_cutUnsure =
        false;         // the cut's flush is in hand or failed: the journal's length on the disk is unsure
    Flusher m_flusher; // see SetFlusher
    std::unique_ptr<FlushWorker> m_worker; // started when first needed
};

class Transaction final : public FileTransaction {
public:
    // `action` says in words what the clerk was doing.
    Transaction(Journal& journal, std::string action);
    ~Transaction() override;
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

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
    std::string m_refused;             // see RefuseChanges
    bool m_whole = false;              // the folder was checked whole for this step
    Transaction* m_previous = nullptr; // the step this one stands in for, while it runs
};

// Transaction::AllOrNothing on the step running over the data folder `folder` (through its
// engine); outside every step, just the step.
void AllOrNothing(const DataFolder& folder, const std::function<void()>& step);

} // namespace platform
