// All-or-nothing steps over the data folder: a write-ahead journal.
//
// Every event the dispatcher runs is one transaction. While it runs, its changes are held in
// memory (PendingChanges, in the file layer) and every read sees them, so the step sees its
// own changes and nothing ever reads half a step. A failed step is dropped from memory: the
// files were never touched. A savepoint (AllOrNothing) is a copy of the held changes, put
// back when what runs inside it fails.
//
// At commit the step's new bytes are appended to the file `journal` in the data folder as one
// record with a checksum and the step's sequence number and words, and the journal is flushed
// once: that is the commit point. Then the data files are written, without a flush. An engine
// whose owner gives it quiet moments (HoldUntilQuiet: the program, between events) keeps the
// step's record in memory instead, so that the clerk's wait ends at the commit point, and writes
// it into the files at the first quiet moment (WriteCommitted) or before anything reads the
// folder, whichever comes first: every read sees every step committed, and a crash before the
// write finds the record in the journal at the next start. A checkpoint
// at a quiet moment flushes the files written since the last one and their folders, then cuts
// the journal back to its header, which keeps the number and words of the last step cut (so the
// journal always names the last step saved, also when it holds no record). Those flushes run on
// the engine's own thread (FlushWorker), never on the window's: the window's thread only hands
// them over and, between events, looks at what finished. The fault source of the tests is asked
// on the window's thread when a flush is handed over, and told when it has finished.
//
// The journal is the only truth about what was saved: the engine keeps no other note of how a
// step ended. When a record's flush fails, the record is written again and flushed: if that
// holds, the step is saved and the clerk is told so; else it is cut off again and that flushed
// (not saved); when even that fails, whether it was saved is unknown (Unsure) until the next
// start. A start after a program that did not close normally (the header says so, or the
// journal holds records) tells the clerk, by its words, the last step found saved: the step in
// doubt, and a kill at the commit point, are answered either way. A record whose own write
// failed never reached the journal whole: that step was not saved, said at once.
//
// At start-up the committed records are written into the files again, which gives the same
// files however often it is done; a record cut short by a crash was never committed and is
// dropped. Writing them again writes each file's last image over what is there and only then
// cuts it to length, so a reader of the file never sees it short. A start ends either with
// every replayed file flushed and the journal cut, or with the folder look-only (ReadOnly, the
// reason told) or, when the files could not be written, Stopped: never half-way.
//
// The journal belongs to one data folder: its header holds the folder's own id (the file
// `folder-id`, written once). A journal that is not this folder's, or is damaged other than
// at a tail cut short, is never applied as it stands: the steps before the damage are written
// and flushed, then it is put aside as "journal.damaged". The put-aside journal is itself the
// message: every start reads it again and tells the clerk what it holds until the message was
// shown, then renames it to "journal.damaged.shown" (a rename: it happened or it did not).
//
// The Engine is the folder's storage engine: it holds the step running over the folder, the
// journal file, the checkpoint and recovery, the fault source of its files, whether they are
// flushed, and the damage found in them; the program owns one per data folder, and nothing of
// it is the whole process's. A file reaches it through its name: the folder's handle
// (DataFolder, built with the engine) names every file with its engine (FilePath in files.h),
// and the file layer goes through that engine's step and faults, never through a table of
// folders. Its state is one value (Engine::state()), and it moves only along these lines
// (Enter refuses any other move as a logic error):
//
//   NotRecovered --SetReadOnly--> ReadOnly
//   NotRecovered --Recover--> Open | ReadOnly (the files hold every step, but the start could
//                not flush them or cut the journal) | Stopped (the files could not be written)
//   Open         the files hold every committed step, perhaps not yet flushed (a checkpoint
//                is then due), but for the steps whose records are held to be written
//                (Behind), which are written before anything reads the folder. Commit appends
//                and flushes one record and holds it; writing the files
//                --> MustRewrite when it fails; Commit --> Unsure when the record could
//                neither be flushed, written again nor taken back. A checkpoint flushes the
//                files and their folders, then cuts the journal; a failed flush --> MustRewrite
//                with the failure kept (the kernel may have dropped what it could not write:
//                flushing again proves nothing).
//   MustRewrite  a committed step is not wholly in the files, or a flush of them failed.
//                Every read and change first writes every record of the journal into the
//                files again (EnsureWhole) --> Open, or --> Failing when a flush had failed;
//                the journal is never cut before that.
//   Failing      a flush failed (the first failure is kept and told once). The files were
//                written again, so reads go on; every commit is refused with that failure.
//                A bounded number of further attempts, spaced out, write the files again and
//                flush them on the engine's thread: one that holds --> Open (the checkpoint
//                then cuts the journal), and the clerk is told the disk answers again.
//   Unsure       a step's record could neither be flushed, written again nor taken back:
//                whether it was saved is known only at the next start, which names the last
//                step found saved. Reads go on; every commit is refused (StepOutcomeUnknown).
//   ReadOnly     opened without the folder's lock, or a start that could not finish:
//                nothing is written, every commit refused with the reason.
//   Stopped      start-up could not write the files: nothing reads or changes the folder until
//                the next start.
//   Recover in Open, MustRewrite, Failing, Unsure or Stopped starts over as a new start.
//
// Beside the state: a step is pending while a Transaction runs (BeginStep to EndStep), in
// memory; inside Commit the step is committed but its files not yet written. A checkpoint
// moves along these lines, in Open (and MustRewrite, which first rewrites the files):
//
//   idle --hand over the files written and the folders changed (at most kBatchFiles open at
//        once)--> checkpointing
//   checkpointing  the flushes are on the engine's thread. Steps read and commit as in Open;
//                  a file a step writes joins those to flush again, even when its flush was
//                  already handed over (a flush proves only what was written before it).
//     --all done, files written meanwhile--> hand those over --> checkpointing
//     --all done, none written meanwhile--> cut: the journal is truncated to its header, the
//                  header's other slot names the last step, and the flush of both is handed
//                  over --> cutting
//     --a flush failed--> MustRewrite (failure kept), seen between events or before the next
//                  read; the files are written again from the journal before any cut
//   cutting        the next commit waits for the cut's flush before writing its record (the
//                  step's own wait, like its own flush): a record written over old records
//                  whose cut the disk may not hold could, after a crash in the commit, leave
//                  old bytes after it, read as damage.
//     --flushed--> idle
//     --the slot's flush failed--> MustRewrite (failure kept), as a file's: the slot is written
//                  again before it is flushed again, within the bounded attempts of Failing
//     --the truncation's flush failed--> cut unsure: the slot is written again (and flushed,
//                  as above), and the next commit (or the exit's checkpoint) truncates again and
//                  flushes the journal on its own descriptor before writing its record (a
//                  failure there is the commit's: nothing saved); no tick truncates it again.
//                  Only the length is at stake: records the slot already names are skipped at a
//                  start, and what the cut dropped had been flushed into the files already.
//   A commit finding the journal past kJournalLimit first checkpoints, waiting: under any load
//   the journal stays bounded.
//
// The exit's checkpoint (Checkpoint), recovery and the tests wait for the flushes; the
// checkpoint between events (CheckpointWithoutWaiting) never does. A clean exit (Close) marks
// the header closed.
#pragma once

#include "platform/files.h"
#include "platform/flush_worker.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
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
// A put-aside journal whose message was shown to the clerk.
inline constexpr const char* kShownSuffix = ".shown";
// Notes the program's previous version kept beside the journal (what the clerk was still to be
// told, a step whose saving could not be confirmed): shown once, then removed. Never written.
inline constexpr const char* kUntoldName = "journal.untold";
inline constexpr const char* kUnsureName = "journal.unsure";
// The journal's header, and one slot of it (see journal.cpp): what a test's fault source can tell
// a step's record by.
inline constexpr size_t kJournalHeaderBytes = 554;
inline constexpr size_t kJournalSlotBytes = 256;
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

// Thrown by every commit while a flush of the folder's files keeps failing (Failing): `reason` says
// what failed first and what the clerk can do.
class DiskFailing : public IoError {
public:
    DiskFailing(const std::filesystem::path& file, const std::string& reason) : IoError(file, reason) {}
};

class Transaction;

// One data folder's storage engine. One copy of the program uses it, holding the folder's lock.
class Engine final {
public:
    // Any state may call the calls that only look (state, root, Whole, NeedsCheckpoint, size).
    // `faults`: what every change to a file of the folder asks first (tests only).
    explicit Engine(std::filesystem::path root, FileFaults* faults = nullptr);
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    enum class State { NotRecovered, Open, MustRewrite, Failing, Unsure, ReadOnly, Stopped };
    State state() const { return m_state; }
    // The length of the last step's record in the journal (0: none yet), for the benchmark's
    // floor: what the step's own record costs to write and flush.
    long long LastRecordBytes() const { return m_lastRecordBytes; }

    const std::filesystem::path& root() const { return m_root; }

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
    Transaction* RunningStep() const;

    // How far a file of the folder (named relative to it) can reach, by its kind: a committed
    // step writing further is refused, and a record in the journal writing further is damage.
    // kLargestFile for every file until it is set; set it before Recover.
    using Reach = std::function<long long(std::string_view relative)>;
    void SetReach(Reach reach) { m_reach = std::move(reach); }

    // The fault source of the folder's files (tests only; any state).
    void SetFaults(FileFaults* faults) { m_faults = faults; }
    FileFaults* Faults() const { return m_faults; }

    // Flushing the folder's files to the disk can be switched off where durability does not
    // matter (a throw-away folder); it is on unless switched off (any state).
    void SetDurable(bool on) { m_durable = on; }
    bool Durable() const { return m_durable; }

    // The damage found in the folder's sequential files, not yet shown to the clerk.
    DamageLog& damage() { return m_damage; }
    // A change made while no step runs: a Transaction of its own, committed (see Commit).
    void RunAsStep(const std::string& action, const std::function<void()>& change);

    // NotRecovered (ReadOnly: only reads the journal, to name the steps it holds; in any other
    // state it starts over as at start-up): writes the committed steps into the files and checkpoints.
    // Returns what the clerk must be told: the last step found saved when the program before did
    // not close normally, a damaged or foreign journal put aside (until shown). Once it was shown,
    // call Told. Throws FolderNotWhole when the files could not all be written (--> Stopped, every
    // file that could not, named); a start that wrote them but could not flush them or cut the
    // journal ends look-only (--> ReadOnly, the reason among what it returns).
    std::vector<std::string> Recover();
    // The messages Recover returned were shown to the clerk: they are not shown again (a put-aside
    // journal is renamed as shown). Nothing in ReadOnly.
    void Told();
    // A clean end: after a checkpoint that cut the journal, the header is marked closed and
    // flushed, so that the next start has nothing to tell. Nothing in any other state.
    void Close();
    // What the engine found while running that the clerk must be told (a step whose record was
    // written again and saved, a failure that lasts, the disk answering again), once each.
    std::vector<std::string> TakeNotes() { return std::exchange(m_notes, {}); }

    // Before anything reads the folder (any state): in NotRecovered recovers; in Open writes the
    // steps held (WriteCommitted); in MustRewrite writes every committed step into the files
    // again (--> Open, or Failing when a flush had failed). Throws FolderNotWhole while that cannot
    // be done, and in Stopped. Nothing in Failing, Unsure and ReadOnly.
    void EnsureWhole();
    // The step that a journal of the program's previous version held and Recover undid (that
    // version kept the old bytes of what a step changed); empty when there was none.
    const std::string& undoneStep() const { return m_undoneStep; }

    // A step that changed nothing: nothing, in any state. Otherwise Open or MustRewrite (and
    // NotRecovered, which recovers first); refused in ReadOnly (FolderReadOnly), Unsure
    // (StepOutcomeUnknown), Failing (DiskFailing) and Stopped (FolderNotWhole). Appends the step's record
    // and flushes it (the commit point), then writes the files, or holds it to write them at a quiet
    // moment (HoldUntilQuiet). A record whose flush failed is written
    // again and flushed: when that holds the step is saved (and a note says so). Throws IoError, with
    // nothing saved, when the record's write failed or the record could not be made durable and was taken
    // back; StepOutcomeUnknown (--> Unsure) when it could not be taken back either. A failure to write the
    // files after the commit point is not thrown: the step stands (--> MustRewrite), and the next EnsureWhole
    // writes it. The record is written only once the last cut is flushed: it waits for the cut's flush in
    // hand, and flushes the journal first when that failed (a failure there: IoError, nothing saved).
    void Commit(const std::string& action, const PendingChanges& changes);
    // Commit holds each step's record to be written into the files at a quiet moment (any state;
    // off unless set): for an owner that calls WriteCommitted between events.
    void HoldUntilQuiet(bool on) { m_holdUntilQuiet = on; }
    // Writes the steps committed and held into the files, without a flush: at a quiet moment, or
    // before a read. A failure is not thrown: the steps stand in the journal (--> MustRewrite), and
    // the next EnsureWhole writes them all again. Nothing when none is held, or outside Open.
    void WriteCommitted();
    // Committed steps are held, not yet written into the files.
    bool Behind() const { return !m_held.empty(); }

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
    // Nothing more can be saved until the next start, or until the disk answers again (Failing).
    bool TakesNoCommit() const {
        return m_state == State::Failing || m_state == State::Unsure || m_state == State::ReadOnly ||
               m_state == State::Stopped;
    }
    bool NeedsCheckpoint() const {
        return Behind() || !m_written.empty() || !m_folders.empty() || m_size > m_headerSize ||
               m_state == State::MustRewrite || m_inFlight != InFlight::None || m_cutUnsure;
    }
    // The words of the last step committed (or found saved at the start).
    const std::string& lastStep() const { return m_lastWords; }
    // The journal's length; a checkpoint is due before it grows past kCheckpointBytes, and a commit
    // finding it past kJournalLimit checkpoints first, waiting.
    long long size() const { return m_size; }
    static constexpr long long kCheckpointBytes = 1 << 20;
    static constexpr long long kJournalLimit = 4LL << 20;
    // The files a checkpoint holds open at once, at most.
    static constexpr size_t kBatchFiles = 256;
    // Failing: the attempts to write and flush the files again, and the time between two.
    static constexpr int kFailingAttempts = 5;
    static constexpr int kFailingRetryMs = 10000;
    // The time between two attempts while Failing (tests only; kFailingRetryMs unless set).
    void SetFailingRetryMs(int ms) { m_failingRetryMs = ms; }
    // The engine's thread cannot be started (tests only): every flush runs where it is handed over.
    void SetNoFlushThread(bool none);

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
    // The start proper (see Recover); throws what made it stop. `told`: what the clerk is to be told.
    void Start(std::vector<std::string>& told);
    std::string FailingMessage() const;
    // Renames the journal aside as a damaged journal (its bytes are the message).
    void PutAside();
    // What each put-aside journal not yet shown tells the clerk, and the names to mark shown.
    std::vector<std::string> AsideMessages(std::vector<std::filesystem::path>* names) const;
    std::vector<std::string> PreviousNotes() const;
    // A file written since the last checkpoint, opened to be flushed; -1 when a later step deleted it.
    int OpenWritten(const std::string& relative) const;
    // Hands the flushes of the files written and the folders changed to the engine's thread, at most
    // kBatchFiles at once. A failure to hand one over (the fault source's) --> MustRewrite.
    void HandOverWritten();
    // One round of a checkpoint (see CheckpointWithoutWaiting); `wait`: for what is in hand.
    bool CheckpointRound(bool wait);
    // Looks at the flushes in hand (waiting for them when `wait`): a failed flush of a file or folder
    // --> MustRewrite (failure kept), of the cut: cut unsure. Returns the failure seen, if any.
    std::optional<IoError> Collect(bool wait);
    FlushWorker& Worker();
    // Cuts the journal back to its header: first the header's other slot names the last step and
    // is flushed, then the records go and that is flushed. Hands each flush over (cutting), or,
    // `wait`, flushes here on the journal's own descriptor.
    void Cut(bool wait);
    enum class InFlight;
    void HandOverCut(InFlight what);
    // Writes the header's next slot: the last step cut and whether the program is running.
    void WriteSlot(bool running);
    // After a record's flush failed: writes it again and flushes (true: saved).
    bool WriteAgain(const std::string& bytes, long long at);
    // After a record's flush failed: cuts it off and flushes that. False when it could not.
    bool TakeBack(long long at);
    std::string UnsureMessage() const;
    // A flush failed: keeps the first failure for the clerk (told once).
    void KeepFailure(const IoError& failure);
    // Failing: one bounded attempt, on the engine's thread, to write the files again and flush them.
    void TryAgainWhileFailing(bool wait);
    // Undoes the step a journal of the previous version holds and removes the journal. Throws
    // FolderNotWhole, keeping the journal, when a file could not be put back; a journal that
    // names a file outside the folder or a length the file never had is put aside unapplied.
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
    std::string m_unsureStep;            // Unsure: the step's words
    std::string m_unappliedWhy;          // MustRewrite, Stopped: why, for the clerk
    bool m_previousPending = false;      // MustRewrite: what is to be undone is a previous version's journal
    std::string m_undoneStep;            // see undoneStep
    unsigned long long m_lastSeq = 0;    // the number of the last step committed (0: none yet)
    long long m_lastRecordBytes = 0;     // see LastRecordBytes
    std::string m_lastWords;             // and its words
    unsigned long long m_cutSeq = 0;     // the last step the header's slot names
    std::string m_cutWords;              // and its words
    unsigned long long m_generation = 0; // of the header's newest slot
    bool m_firstStart = true;            // Recover: the engine's first, not a start over
    bool m_slotRunning = false;          // the newest slot says the program runs
    bool m_slotFlushed = true;           // the newest slot is on the disk
    bool m_lengthUnsure = false;      // a record's write failed: what the disk holds past m_size is unknown
    std::optional<IoError> m_failure; // MustRewrite after a failed flush, Failing: the first failure
    int m_attempts = 0;               // Failing: the attempts made since
    int m_failingRetryMs = kFailingRetryMs;              // see SetFailingRetryMs
    bool m_noFlushThread = false;                        // see SetNoFlushThread
    std::chrono::steady_clock::time_point m_lastAttempt; // Failing: when the last was made
    std::vector<std::string> m_notes;                    // see TakeNotes
    bool m_holdUntilQuiet = false;                       // see HoldUntilQuiet
    std::vector<Record> m_held;                          // see Behind
    std::set<std::string> m_written;                     // files (relative) written since the last checkpoint
    std::set<std::string> m_folders; // folders (relative) whose entries changed since then
    // What the flushes in hand are: a checkpoint's files and folders, the cut's slot or its
    // truncation, or, Failing, the files written again.
    enum class InFlight { None, Files, Slot, Cut, Retry };
    InFlight m_inFlight = InFlight::None;
    bool m_cutUnsure =
        false;         // the cut's flush is in hand or failed: the journal's length on the disk is unsure
    Flusher m_flusher; // see SetFlusher
    std::unique_ptr<FlushWorker> m_worker; // started when first needed
};

class Transaction final {
public:
    // `action` says in words what the clerk was doing.
    Transaction(Engine& engine, std::string action);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    // Makes the step's changes durable (see Engine::Commit). Throws IoError when it could
    // not: nothing of the step was saved, and the transaction is rolled back.
    void Commit();
    // Drops every change of the step (the files were never touched) and puts back the copies
    // in memory that follow them (see WhenUndone).
    void Rollback();
    bool Changed() const { return !m_pending.empty(); }
    // The step's words: what the clerk did, as the event named it, or as the step named itself.
    const std::string& action() const { return m_action; }
    // The step names itself in the clerk's words (what it did: the room, the guest, the amount);
    // the journal keeps them with its record, and every message about the step uses them.
    void Describe(std::string words) {
        if (!words.empty())
            m_action = std::move(words);
    }

    // Runs `step` as a part of this transaction that happens whole or not at all: when it
    // throws, every change made inside it is dropped before the exception goes on, and the
    // rest of the transaction stands; so do the copies in memory (see WhenUndone). A crash
    // inside it is a crash: nothing is put back.
    void AllOrNothing(const std::function<void()>& step);

    // While blocked, a change throws WorkDeferred.
    void BlockChanges(bool blocked) { m_blocked = blocked; }
    // For a step that only shows what is stored: every change throws FolderReadOnly(why).
    void RefuseChanges(std::string why) { m_refused = std::move(why); }

    // How the file layer reads and changes the folder's files while the step runs (files.h).
    // The changes a read of `file` must see. Throws IoError when nothing may be read now
    // (saved steps could not be written into the files).
    const PendingChanges& ForReading(const std::filesystem::path& file);
    // The changes a change to `file` goes into. Throws when the step takes no change now.
    PendingChanges& ForChange(const std::filesystem::path& file);
    // Throws what ForChange throws when the step takes no change now (a folder open only to be
    // looked at: FolderReadOnly), whatever the file; changes nothing.
    void MayChange(const std::filesystem::path& file);
    // Keeps `undo` to be run when the changes made so far are kept but what comes after is
    // dropped (the step or the savepoint it runs in fails).
    void OnUndo(std::function<void()> undo) { m_undo.push_back(std::move(undo)); }

private:
    // Runs the undo steps kept after the first `keep`, newest first, and drops them.
    void Undo(size_t keep);

    Engine& m_engine;
    std::string m_action;
    PendingChanges m_pending;
    std::vector<std::function<void()>> m_undo; // see OnUndo
    bool m_done = false;
    bool m_blocked = false;
    std::string m_refused;             // see RefuseChanges
    bool m_whole = false;              // the folder was checked whole for this step
    Transaction* m_previous = nullptr; // the step this one stands in for, while it runs
};

// Transaction::Describe on the step running over the data folder `folder`; outside every step,
// nothing.
void DescribeStep(const DataFolder& folder, std::string words);

// Transaction::AllOrNothing on the step running over the data folder `folder` (through its
// engine); outside every step, just the step.
void AllOrNothing(const DataFolder& folder, const std::function<void()>& step);

} // namespace platform
