// Every main step of the clerk, made to fail at each of its file changes in turn, with its
// flushes to the disk on. After a crash there that loses whatever was not flushed, and the
// recovery at the next start, the data folder is exactly as it was before the step or exactly
// as it is after it (after it, once the step's record was flushed). After a full disk there
// before that point, it is exactly as it was before, the clerk was told once, and the same
// step then succeeds (at the record itself, once the windows moved on with the step, what the
// windows then let the clerk do again, and next, saves whole or not at all); after that point
// the step stands and is in the files before anything reads them. A second failure right
// after the first (the files written again, or the step tried again) changes none of this.
// The night audit's room posting has its savepoints inside, so its faults also fall inside
// savepoints.
#include "script/flows.h"
#include "script/script_runner.h"
#include "support/file_faults.h"

#include "platform/engine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <optional>
#include <regex>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace vantreth::testing {
namespace {

using Kind = platform::FileFaults::Kind;

struct SweepCase {
    const char* name;
    const char* scenario;     // the flow that leads up to the step (tests/scenarios)
    const char* anchor;       // the step's last line in the flow (the click that does it) ...
    int occurrence;           // ... its n-th occurrence there
    int leading;              // lines before it that belong to the step (queued answers)
    const char* extra = "";   // lines run after the flow's lines before the anchor
    const char* step = "";    // when given, the step instead of the anchor's lines
    const char* callBox = ""; // characters waiting from the call box when the step starts
    const char* next = "";    // the clerk's next lines after the step, run after a failure too
};

void PrintTo(const SweepCase& c, std::ostream* out) {
    *out << c.name;
}

std::vector<std::string> ReadLines(const std::string& file) {
    std::ifstream in(file);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

class TransactionSweep : public ::testing::TestWithParam<SweepCase> {
protected:
    void SetUp() override {
        // The fault source keeps what each flush made durable, so the folders need no real
        // disk: in memory, the hundreds of runs of a step cost no disk writes.
        if (const char* old = std::getenv("TMPDIR"))
            m_oldTmpdir = old;
        if (::access("/dev/shm", W_OK | X_OK) == 0)
            ::setenv("TMPDIR", "/dev/shm", 1);
        const SweepCase& c = GetParam();
        const std::vector<std::string> lines = ReadLines(std::string(VANTRETH_SCENARIOS) + "/" + c.scenario);
        int seen = 0;
        for (size_t i = 0; i < lines.size(); ++i) {
            if (lines[i] != c.anchor || ++seen != c.occurrence)
                continue;
            const size_t first = *c.step != '\0' ? i : i - static_cast<size_t>(c.leading);
            for (size_t j = 0; j < first; ++j)
                m_setup += lines[j] + "\n";
            m_setup += c.extra;
            if (*c.step != '\0')
                m_step = c.step;
            else
                for (size_t j = first; j <= i; ++j)
                    m_step += lines[j] + "\n";
            return;
        }
        FAIL() << "no line \"" << c.anchor << "\" in " << c.scenario;
    }

    // A runner that has just walked the flow up to the step.
    std::unique_ptr<script::ScriptRunner> ReadyForStep() {
        auto runner = std::make_unique<script::ScriptRunner>(m_transcript);
        runner->SetFileFaults(m_faults);
        std::istringstream setup(m_setup);
        const script::ScriptResult result = runner->Run(setup);
        if (!result.ok)
            ADD_FAILURE() << "the flow up to the step failed: " << m_transcript.str();
        runner->app()->gCallBuffer = GetParam().callBox;
        Dialogs(*runner).AnswerAlways("File Error", platform::vbOK);
        Dialogs(*runner).AnswerAlways("Data Folder", platform::vbOK);
        Dialogs(*runner).AnswerAlways("WARNING", platform::vbOK); // the night audit's rooms not charged
        runner->app()->engine().WriteCommitted();                 // the quiet moment before the step
        return runner;
    }
    static platform::ScriptedDialogs& Dialogs(script::ScriptRunner& runner) {
        return dynamic_cast<platform::ScriptedDialogs&>(runner.app()->dialogs());
    }
    // The step, and the quiet moment after it in which the program writes it into the files.
    void RunStep(script::ScriptRunner& runner) {
        std::istringstream step(m_step);
        runner.Run(step);
        runner.app()->engine().WriteCommitted();
    }
    void RunNext(script::ScriptRunner& runner) {
        std::istringstream next(GetParam().next);
        runner.Run(next);
        runner.app()->engine().WriteCommitted();
    }
    // The clerk has a window to see and use (a hidden one does not count).
    static bool AWindowIsShown(script::ScriptRunner& runner) {
        const std::vector<platform::Form*> open = runner.app()->LoadedForms();
        return std::any_of(open.begin(), open.end(),
                           [](const platform::Form* form) { return form->Visible(); });
    }
    // What the folder holds (the runner's program is not asked: it may have crashed).
    static FolderImage Image(script::ScriptRunner& runner) {
        FolderImage image = ImageOf(runner.dataRoot());
        image.erase("print"); // reports are not data
        for (auto it = image.begin(); it != image.end();)
            it = it->first.rfind("print/", 0) == 0 ? image.erase(it) : std::next(it);
        return image;
    }

    void TearDown() override {
        if (m_oldTmpdir)
            ::setenv("TMPDIR", m_oldTmpdir->c_str(), 1);
        else
            ::unsetenv("TMPDIR");
    }

    // The next start of the program on the folder (its engine's start): the first thing it
    // tells the clerk, if anything, beside the last step found saved after an end that was not
    // clean (kept in m_lastFound).
    std::string Restart(script::ScriptRunner& runner) {
        platform::Engine journal(runner.dataRoot(), m_faults);
        if (m_engineFlusher)
            journal.SetFlusher(m_engineFlusher);
        m_lastFound.clear();
        std::string first;
        for (const std::string& told : journal.Recover()) {
            if (told.starts_with("The program did not close normally"))
                m_lastFound = told;
            else if (first.empty())
                first = told;
        }
        return first;
    }

    // The clock moves on between events, each time as far as a checkpoint between events waits
    // for: the engine's notes are told, its checkpoints go on, the windows' timers tick.
    static void Ticks(script::ScriptRunner& runner, int times) {
        for (int i = 0; i < times; ++i)
            runner.app()->TimePassed(platform::Program::kCheckpointIdleMs);
    }
    static bool Says(const platform::ScriptedDialogs::Shown& box, const char* words) {
        return box.prompt.find(words) != std::string::npos;
    }
    // A box saying that the step it is about was not saved.
    static bool SaysNotSaved(const platform::ScriptedDialogs::Shown& box) {
        return Says(box, "not finished") || Says(box, "was not saved") || Says(box, "Nothing was saved") ||
               Says(box, "could not be charged");
    }
    // The boxes shown from `first` on, each shown once: a failure that lasts is told once, not at
    // every tick. The clerk's own action (the boxes in `clerk`) is told whatever was shown before.
    static void ExpectEachToldOnce(script::ScriptRunner& runner, size_t first, const std::string& where,
                                   std::pair<size_t, size_t> clerk = {}) {
        const auto& shown = Dialogs(runner).shown();
        std::set<std::string> prompts;
        std::string told;
        for (size_t i = first; i < shown.size(); ++i)
            told += "\n[" + shown[i].title + "] " + shown[i].prompt.substr(0, 100);
        for (size_t i = first; i < shown.size(); ++i) {
            if (i >= clerk.first && i < clerk.second)
                continue;
            EXPECT_TRUE(prompts.insert(shown[i].prompt).second) << where << ": told again:" << told;
        }
        const size_t ticked = shown.size();
        Ticks(runner, 3);
        EXPECT_EQ(shown.size(), ticked)
            << where << ": told again as the clock moves on: " << shown.back().prompt;
    }
    // The change that flushes the step's record (0: none), of the first `changes` since Arm.
    // The runner left by a crash right after the commit point (`commit`), the unflushed lost.
    std::unique_ptr<script::ScriptRunner> CrashedAfterTheCommit(CountingFaults& faults, long commit) {
        auto runner = ReadyForStep();
        faults.Arm(commit + 1, Kind::Crash);
        EXPECT_THROW(RunStep(*runner), platform::SimulatedCrash);
        faults.LoseUnflushed();
        faults.Disarm();
        return runner;
    }
    static long RecordFlush(const CountingFaults& faults, long changes) {
        long commit = 0;
        for (long n = 1; n <= changes; ++n)
            if (faults.OpOf(n) == platform::FileFaults::Op::Flush &&
                faults.FileOf(n).filename() == platform::kJournalName)
                commit = n;
        return commit;
    }

    std::string m_setup, m_step;
    std::ostringstream m_transcript;
    platform::FileFaults* m_faults = nullptr; // given to every program of the test
    std::string m_lastFound;                  // see Restart
    platform::Flusher m_engineFlusher;        // the flushes on the engine's thread at Restart, if given
    std::optional<std::string> m_oldTmpdir;
};

TEST_P(TransactionSweep, EveryWritePointIsAllOrNothing) {
    CountingFaults faults;
    m_faults = &faults;
    faults.TrackFlushes(true);
    FolderImage before, after, afterNext; // afterNext: after the clerk's next lines too
    long changes = 0, commit = 0;         // commit: the flush of the step's record
    std::string words, wordsBefore;       // of the step, and of the last step saved before it
    std::vector<bool> writes, journal;    // whether change n wrote bytes; was made to the journal
    {
        auto runner = ReadyForStep();
        before = Image(*runner);
        wordsBefore = runner->app()->engine().lastStep();
        faults.Arm(0, Kind::None);
        RunStep(*runner);
        words = runner->app()->engine().lastStep();
        changes = faults.count();
        for (long n = 1; n <= changes; ++n) {
            writes.push_back(faults.WasWrite(n));
            const std::string file = faults.FileOf(n).filename().string();
            journal.push_back(file == platform::kJournalName || file == platform::kFolderIdName);
        }
        commit = RecordFlush(faults, changes);
        after = Image(*runner);
        faults.Disarm();
        RunNext(*runner);
        afterNext = Image(*runner);
        ASSERT_EQ(Dialogs(*runner).shown().end(),
                  std::find_if(Dialogs(*runner).shown().begin(), Dialogs(*runner).shown().end(),
                               [](const auto& box) { return box.title == "File Error"; }))
            << "the step fails without a fault";
        ASSERT_NE(before, after) << "the step changes nothing";
        ASSERT_GT(commit, 0) << "the step flushes no record";
    }
    const std::string reason = std::strerror(ENOSPC);
    const auto errorsSince = [&](script::ScriptRunner& runner, size_t from) {
        const auto& shown = Dialogs(runner).shown();
        return std::count_if(shown.begin() + static_cast<long>(from), shown.end(),
                             [&](const auto& box) { return box.prompt.find(reason) != std::string::npos; });
    };

    for (long n = 1; n <= changes; ++n) {
        const bool write = writes[static_cast<size_t>(n - 1)];
        const bool committed = n > commit;
        // Writing the step's record comes once the windows have moved on: a failure there
        // leaves the folder as before and the windows opened again from it, where the step's
        // lines, run again, may find their window gone.
        const bool atCommit = !committed && journal[static_cast<size_t>(n - 1)];
        for (Kind kind : {Kind::Crash, Kind::TornCrash}) {
            if (kind == Kind::TornCrash && !write)
                continue;
            auto runner = ReadyForStep();
            faults.Arm(n, kind);
            bool crashed = false;
            try {
                RunStep(*runner);
            } catch (const platform::SimulatedCrash&) {
                crashed = true;
            }
            faults.LoseUnflushed();
            faults.Disarm();
            ASSERT_TRUE(crashed) << "change " << n << " of " << changes << " was never made";
            Restart(*runner);
            const FolderImage image = Image(*runner);
            EXPECT_TRUE(committed ? image == after : image == before || image == after)
                << "crash at change " << n << " of " << changes << (kind == Kind::TornCrash ? " (torn)" : "")
                << ": differs from before by" << Differences(before, image) << " and from after by"
                << Differences(after, image);
        }
        for (Kind kind : {Kind::Fail, Kind::Partial}) {
            if (kind == Kind::Partial && !write)
                continue;
            for (const int times : {1, 2, 3}) {
                const bool twice = times > 1;
                if ((kind == Kind::Partial && twice) || (times == 3 && n != commit))
                    continue;
                auto runner = ReadyForStep();
                const size_t boxesBefore = Dialogs(*runner).shown().size();
                std::vector<long> at;
                for (long k = 0; k < times; ++k)
                    at.push_back(n + k);
                faults.ArmAt(at, kind);
                RunStep(*runner);
                const std::string where = "disk full at change " + std::to_string(n) + " of " +
                                          std::to_string(changes) + (twice ? " and the next" : "") +
                                          (times == 3 ? " two" : "");
                const auto& shown = Dialogs(*runner).shown();
                if (n == commit && times == 1) {
                    // The record's flush failed once: written again and flushed, it is saved, and
                    // the clerk is told so, not that it failed.
                    EXPECT_EQ(errorsSince(*runner, boxesBefore), 1) << where << ": told once, as saved";
                    EXPECT_TRUE(std::any_of(shown.begin() + static_cast<long>(boxesBefore), shown.end(),
                                            [](const auto& box) { return box.title == "Data Folder"; }))
                        << where;
                    EXPECT_EQ(Image(*runner), after) << where << Differences(after, Image(*runner));
                    faults.Disarm();
                    faults.LoseUnflushed();
                    Restart(*runner);
                    EXPECT_EQ(Image(*runner), after) << where << ", then a power cut";
                    continue;
                }
                if (std::any_of(shown.begin() + static_cast<long>(boxesBefore), shown.end(),
                                [](const auto& box) {
                                    return box.prompt.find("may have been saved") != std::string::npos;
                                })) {
                    // The record could be neither flushed, written again nor taken back: the clerk
                    // was told the step may have been saved, nothing more is saved, and the next
                    // start names the last step it found saved, from the journal alone.
                    EXPECT_EQ(times, 3) << where;
                    EXPECT_EQ(Image(*runner), before) << where;
                    faults.Disarm();
                    RunStep(*runner);
                    EXPECT_EQ(Image(*runner), before) << where << ": a step was saved after it";
                    faults.LoseUnflushed();
                    Restart(*runner);
                    const bool saved = Image(*runner) == after;
                    EXPECT_TRUE(saved || Image(*runner) == before)
                        << where << Differences(after, Image(*runner));
                    EXPECT_NE(m_lastFound.find("\"" + (saved ? words : wordsBefore) + "\""),
                              std::string::npos)
                        << where << ": " << m_lastFound;
                    continue;
                }
                EXPECT_NE(times, 3) << where << ": three failures at the commit point told as one";
                if (committed) {
                    // The step stands; the files are written again before anything reads them.
                    EXPECT_EQ(errorsSince(*runner, boxesBefore), 0) << where;
                    if (twice && !runner->app()->engine().Whole()) { // and writing it again fails
                        faults.ArmAt({1}, kind);
                        EXPECT_THROW(runner->app()->engine().EnsureWhole(), platform::FolderNotWhole)
                            << where;
                    }
                    faults.Disarm();
                    runner->app()->engine().EnsureWhole();
                    EXPECT_EQ(Image(*runner), after)
                        << where << ": differs by" << Differences(after, Image(*runner));
                    continue;
                }
                EXPECT_EQ(errorsSince(*runner, boxesBefore), 1) << where;
                EXPECT_TRUE(AWindowIsShown(*runner)) << where << ": no window left for the clerk";
                EXPECT_EQ(Image(*runner), before)
                    << where << ": differs by" << Differences(before, Image(*runner));
                Dialogs(*runner).ClearAnswers();
                if (n == commit && !twice) {
                    // The record whose flush failed may be on the disk all the same: taken back,
                    // it stays taken back through a power cut.
                    faults.LoseUnflushed();
                    faults.Disarm();
                    Restart(*runner);
                    EXPECT_EQ(Image(*runner), before) << where << ", then a power cut";
                    continue;
                }
                if (twice) {
                    // A step the clerk was told failed is not found saved at the next start.
                    faults.Disarm();
                    Restart(*runner);
                    EXPECT_EQ(Image(*runner), before) << where << ", then a restart";
                    continue;
                }
                if (atCommit) {
                    // Whatever the windows now let the clerk do again, and next, saves the step
                    // whole or not at all, never what the failed step only showed.
                    faults.Disarm();
                    RunStep(*runner);
                    const bool again = Image(*runner) == after;
                    RunNext(*runner);
                    const FolderImage image = Image(*runner);
                    EXPECT_TRUE(image == before || image == (again ? afterNext : after))
                        << "the step again after a " << where << ": differs from after by"
                        << Differences(again ? afterNext : after, image);
                    continue;
                }
                if (twice) { // tried again at once, and failing again
                    faults.ArmAt({1}, kind);
                    RunStep(*runner);
                    EXPECT_EQ(Image(*runner), before) << where << ", tried again";
                    Dialogs(*runner).ClearAnswers();
                }
                faults.Disarm();
                RunStep(*runner);
                EXPECT_EQ(Image(*runner), after) << "the step again after a " << where << ": differs by"
                                                 << Differences(after, Image(*runner));
            }
        }
        if (HasFailure())
            return; // one failing point tells enough
    }
}

// The checkpoint after the step (the same at a quiet moment, past 1 MiB of journal and at the
// end), stopped at each of its operations: after a crash that loses what was not flushed the
// step is in the files; after an I/O error there (one, or a second right after it) the steps
// that follow are saved too, and a power cut then loses none of them, with nothing reported
// damaged at the next start.
TEST_P(TransactionSweep, TheCheckpointAfterTheStepLosesNothing) {
    CountingFaults faults;
    m_faults = &faults;
    faults.TrackFlushes(true);
    FolderImage after, afterNext;
    long operations = 0;
    {
        auto runner = ReadyForStep();
        RunStep(*runner);
        after = Image(*runner);
        faults.Arm(0, Kind::None);
        runner->app()->engine().Checkpoint();
        operations = faults.count();
        ASSERT_GT(operations, 2) << "the checkpoint flushes nothing";
        faults.LoseUnflushed(); // the journal is cut: the files alone hold the step
        EXPECT_EQ(Restart(*runner), "");
        ASSERT_EQ(Image(*runner), after)
            << "a power cut after the checkpoint" << Differences(after, Image(*runner));
    }
    {
        auto runner = ReadyForStep();
        RunStep(*runner);
        RunNext(*runner);
        afterNext = Image(*runner);
    }
    for (long n = 1; n <= operations; ++n) {
        const std::string where =
            "checkpoint operation " + std::to_string(n) + " of " + std::to_string(operations);
        {
            auto runner = ReadyForStep();
            RunStep(*runner);
            faults.Arm(n, Kind::Crash);
            EXPECT_THROW(runner->app()->engine().Checkpoint(), platform::SimulatedCrash) << where;
            faults.LoseUnflushed();
            faults.Disarm();
            EXPECT_EQ(Restart(*runner), "") << where;
            faults.LoseUnflushed(); // and the power goes again after the start
            EXPECT_EQ(Restart(*runner), "") << where;
            EXPECT_EQ(Image(*runner), after) << "crash at " << where << Differences(after, Image(*runner));
        }
        for (const bool twice : {false, true}) {
            auto runner = ReadyForStep();
            RunStep(*runner);
            faults.ArmAt(twice ? std::vector<long>{n, n + 1} : std::vector<long>{n}, Kind::Fail);
            EXPECT_THROW(runner->app()->engine().Checkpoint(), platform::IoError) << where;
            faults.Disarm();
            // A failed flush is kept, and refuses every step, until the disk answers again: the
            // engine's next attempt.
            runner->app()->engine().Checkpoint();
            RunNext(*runner);
            runner->app()->engine().EnsureWhole(); // as the next read does
            const FolderImage image = Image(*runner);
            faults.LoseUnflushed(); // a power cut
            EXPECT_EQ(Restart(*runner), "") << where;
            EXPECT_EQ(Image(*runner), afterNext)
                << "I/O error at " << where << (twice ? " and the next" : "") << ", then a power cut"
                << Differences(afterNext, Image(*runner));
            EXPECT_EQ(image, afterNext) << "I/O error at " << where << Differences(afterNext, image);
        }
        if (HasFailure())
            return;
    }
}

// The start after a crash that left the step in the journal alone (none of its files written),
// stopped at each of its operations: after a crash or a power cut there, or an I/O error (one,
// or a second right after it) and then a power cut, the next start puts the whole step into
// the files, with nothing reported damaged.
TEST_P(TransactionSweep, TheStartAfterACrashLosesNothing) {
    CountingFaults faults;
    m_faults = &faults;
    faults.TrackFlushes(true);
    FolderImage after;
    long commit = 0; // the flush of the step's record
    {
        auto runner = ReadyForStep();
        faults.Arm(0, Kind::None);
        RunStep(*runner);
        commit = RecordFlush(faults, faults.count());
        after = Image(*runner);
        ASSERT_GT(commit, 0) << "the step flushes no record";
    }
    const auto crashed = [&] { return CrashedAfterTheCommit(faults, commit); };
    long operations = 0;
    {
        auto runner = crashed();
        faults.Arm(0, Kind::None);
        EXPECT_EQ(Restart(*runner), "");
        operations = faults.count();
        ASSERT_GT(operations, 2) << "the start writes nothing of the step";
        faults.LoseUnflushed();
        EXPECT_EQ(Restart(*runner), "");
        ASSERT_EQ(Image(*runner), after)
            << "a power cut after the start" << Differences(after, Image(*runner));
    }
    for (long n = 1; n <= operations; ++n) {
        const std::string where =
            "start operation " + std::to_string(n) + " of " + std::to_string(operations);
        {
            auto runner = crashed();
            faults.Arm(n, Kind::Crash);
            EXPECT_THROW(Restart(*runner), platform::SimulatedCrash) << where;
            faults.LoseUnflushed();
            faults.Disarm();
            EXPECT_EQ(Restart(*runner), "") << where;
            EXPECT_EQ(Image(*runner), after) << "crash at " << where << Differences(after, Image(*runner));
        }
        for (const bool twice : {false, true}) {
            auto runner = crashed();
            faults.ArmAt(twice ? std::vector<long>{n, n + 1} : std::vector<long>{n}, Kind::Fail);
            try {
                Restart(*runner);
            } catch (const platform::IoError&) {
                // told at the start; the journal keeps the step
            }
            faults.Disarm();
            faults.LoseUnflushed(); // a power cut
            EXPECT_EQ(Restart(*runner), "") << where;
            EXPECT_EQ(Image(*runner), after) << "I/O error at " << where << (twice ? " and the next" : "")
                                             << ", then a power cut" << Differences(after, Image(*runner));
        }
        if (HasFailure())
            return;
    }
}

// A disk that dies during the step: from each of its changes on every change fails (an I/O
// error, a full disk) while the clock moves on; then the power goes and the program starts
// again on a healthy disk. The folder is exactly as before the step or after it, and what the
// clerk was told holds: a step told not saved is not in the files, a step shown no failure is,
// one that may have been saved is named by its words, and the start names the step it found
// saved. The failure is told once, not at every tick. The same at the record's flush when the
// failure ends at once, the disk having kept nothing of the record.
TEST_P(TransactionSweep, ADiskThatDiesDuringTheStepIsToldTheTruth) {
    CountingFaults faults;
    m_faults = &faults;
    faults.TrackFlushes(true);
    FolderImage before, after;
    long changes = 0, commit = 0;
    std::string words, wordsBefore;
    {
        auto runner = ReadyForStep();
        before = Image(*runner);
        wordsBefore = runner->app()->engine().lastStep();
        faults.Arm(0, Kind::None);
        RunStep(*runner);
        words = runner->app()->engine().lastStep();
        changes = faults.count();
        commit = RecordFlush(faults, changes);
        after = Image(*runner);
        ASSERT_GT(commit, 0) << "the step flushes no record";
    }
    struct Failure {
        long from;
        int error;
        bool lasts;
    };
    std::vector<Failure> failures{{commit, EIO, false}};
    for (long n = 1; n <= changes; ++n)
        for (const int error : {EIO, ENOSPC})
            failures.push_back({n, error, true});
    for (const Failure& failure : failures) {
        const std::string where = std::string(std::strerror(failure.error)) +
                                  (failure.lasts ? " from change " : " at change ") +
                                  std::to_string(failure.from) + " of " + std::to_string(changes);
        auto runner = ReadyForStep();
        const auto& shown = Dialogs(*runner).shown();
        const size_t first = shown.size();
        faults.FailedFlushKeepsJournal(failure.error != EIO); // EIO: the disk lost the record's bytes
        if (failure.lasts)
            faults.ArmFrom(failure.from, Kind::Fail, failure.error);
        else
            faults.ArmAt({failure.from}, Kind::Fail);
        RunStep(*runner);
        bool notSaved = false, maybe = false;
        for (size_t i = first; i < shown.size(); ++i) {
            notSaved = notSaved || SaysNotSaved(shown[i]);
            if (Says(shown[i], "may have been saved")) {
                maybe = true;
                EXPECT_TRUE(Says(shown[i], ("\"" + words + "\"").c_str()))
                    << where << ": the step in doubt not named: " << shown[i].prompt;
            }
        }
        std::string told;
        for (size_t i = first; i < shown.size(); ++i)
            told += "\n[" + shown[i].title + "] " + shown[i].prompt;
        if (failure.lasts) { // nothing more is saved on the dead disk as the clock moves on
            Ticks(*runner, 3);
            ExpectEachToldOnce(*runner, first, where);
        }
        faults.Disarm();
        faults.FailedFlushKeepsJournal(true);
        faults.LoseUnflushed();
        Restart(*runner);
        const FolderImage image = Image(*runner);
        const bool saved = image == after;
        EXPECT_TRUE(saved || image == before)
            << where << ", then a power cut: differs from after by" << Differences(after, image);
        if (!maybe) {
            EXPECT_EQ(saved, !notSaved)
                << where << (saved ? ": told not saved, but saved" : ": shown no failure, but not saved")
                << told;
        }
        EXPECT_NE(m_lastFound.find("\"" + (saved ? words : wordsBefore) + "\""), std::string::npos)
            << where << ": the start names another step: " << m_lastFound;
        if (HasFailure())
            return;
    }
}

// A disk that dies at the checkpoint after the step: from each of its operations on (the
// flushes on the engine's thread among them) every change fails while the clock moves on and
// the clerk's next step is tried; then the disk answers again. A failed flush of the files is
// told once, not at every tick; no step is saved until the engine found the disk answering
// again (and said so); after a power cut and a start on the healthy disk the step is there,
// with the next one exactly when the clerk was not told it failed.
TEST_P(TransactionSweep, ADiskThatDiesAtTheCheckpointIsToldOnceAndLosesNothing) {
    CountingFaults faults;
    m_faults = &faults;
    faults.TrackFlushes(true);
    const bool next = *GetParam().next != '\0';
    FolderImage after, afterNext;
    long operations = 0;
    std::string words;
    std::vector<bool> filesFlush; // whether operation n flushes a data file or folder
    {
        auto runner = ReadyForStep();
        runner->app()->engine().SetFlusher(faults.EngineFlusher());
        RunStep(*runner);
        after = Image(*runner);
        words = runner->app()->engine().lastStep();
        faults.Arm(0, Kind::None);
        runner->app()->engine().Checkpoint();
        operations = faults.count();
        for (long n = 1; n <= operations; ++n)
            filesFlush.push_back(faults.OpOf(n) != platform::FileFaults::Op::Write &&
                                 faults.OpOf(n) != platform::FileFaults::Op::Truncate &&
                                 faults.FileOf(n).filename() != platform::kJournalName);
        RunNext(*runner);
        afterNext = Image(*runner);
        ASSERT_TRUE(std::count(filesFlush.begin(), filesFlush.end(), true) > 1)
            << "the checkpoint flushes no file";
    }
    for (long n = 1; n <= operations; ++n) {
        for (const int error : {EIO, ENOSPC}) {
            const std::string where = std::string(std::strerror(error)) + " from checkpoint operation " +
                                      std::to_string(n) + " of " + std::to_string(operations);
            auto runner = ReadyForStep();
            platform::Engine& journal = runner->app()->engine();
            journal.SetFlusher(faults.EngineFlusher());
            RunStep(*runner);
            const auto& shown = Dialogs(*runner).shown();
            const size_t first = shown.size();
            faults.ArmFrom(n, Kind::Fail, error);
            EXPECT_THROW(journal.Checkpoint(), platform::IoError) << where;
            Ticks(*runner, 3);
            const size_t clerk = shown.size();
            RunNext(*runner); // on the dead disk
            const std::pair<size_t, size_t> told{clerk, shown.size()};
            bool nextNotSaved = next && std::any_of(shown.begin() + static_cast<long>(first), shown.end(),
                                                    [](const auto& box) { return SaysNotSaved(box); });
            Ticks(*runner, 3);
            ExpectEachToldOnce(*runner, first, where, told);
            const auto toldFailing =
                std::count_if(shown.begin() + static_cast<long>(first), shown.end(), [](const auto& box) {
                    return Says(box, "The disk did not take the saved steps");
                });
            if (filesFlush[static_cast<size_t>(n - 1)]) {
                EXPECT_EQ(toldFailing, 1)
                    << where << ": a failed flush of the files told " << toldFailing << " times";
            }
            faults.Disarm(); // the disk answers again
            journal.EnsureWhole();
            if (journal.state() == platform::Engine::State::Failing) {
                // Until the engine has found the disk answering, no step is saved.
                if (next) {
                    const size_t from = shown.size();
                    RunNext(*runner);
                    EXPECT_TRUE(
                        std::any_of(shown.begin() + static_cast<long>(from), shown.end(),
                                    [](const auto& box) { return Says(box, "This step was not saved"); }))
                        << where << ": a step saved while the disk was failing";
                    nextNotSaved = true;
                }
                EXPECT_NO_THROW(journal.Checkpoint()) << where;
                const size_t from = shown.size();
                Ticks(*runner, 1);
                EXPECT_TRUE(std::any_of(shown.begin() + static_cast<long>(from), shown.end(),
                                        [](const auto& box) { return Says(box, "The disk answers again"); }))
                    << where << ": the clerk is not told the disk answers again";
            }
            faults.LoseUnflushed();
            EXPECT_EQ(Restart(*runner), "") << where;
            const FolderImage image = Image(*runner);
            EXPECT_EQ(image, nextNotSaved ? after : afterNext)
                << where << ", then a power cut" << Differences(nextNotSaved ? after : afterNext, image);
            EXPECT_NE(m_lastFound.find("\"" + words + "\""), std::string::npos)
                << where << ": " << m_lastFound;
            if (HasFailure())
                return;
        }
    }
}

// A disk that dies during the start after a crash that left the step in the journal alone:
// from each of the start's operations on (its flushes on the engine's thread among them) every
// change fails. The start does not end silently: it stops, or leaves the folder look-only, and
// says why. The next start on the healthy disk, after a power cut, puts the whole step into the
// files and names it as the last step found saved.
TEST_P(TransactionSweep, ADiskThatDiesDuringTheStartIsToldAndLosesNothing) {
    CountingFaults faults;
    m_faults = &faults;
    faults.TrackFlushes(true);
    m_engineFlusher = faults.EngineFlusher();
    FolderImage after;
    long commit = 0;
    std::string words;
    {
        auto runner = ReadyForStep();
        faults.Arm(0, Kind::None);
        RunStep(*runner);
        commit = RecordFlush(faults, faults.count());
        words = runner->app()->engine().lastStep();
        after = Image(*runner);
        ASSERT_GT(commit, 0) << "the step flushes no record";
    }
    const auto crashed = [&] { return CrashedAfterTheCommit(faults, commit); };
    long operations = 0;
    {
        auto runner = crashed();
        faults.Arm(0, Kind::None);
        EXPECT_EQ(Restart(*runner), "");
        operations = faults.count();
        ASSERT_GT(operations, 2) << "the start writes nothing of the step";
    }
    for (long n = 1; n <= operations; ++n) {
        for (const int error : {EIO, ENOSPC}) {
            const std::string where = std::string(std::strerror(error)) + " from start operation " +
                                      std::to_string(n) + " of " + std::to_string(operations);
            auto runner = crashed();
            faults.ArmFrom(n, Kind::Fail, error);
            bool stopped = false;
            std::string told;
            try {
                told = Restart(*runner);
            } catch (const platform::FolderNotWhole&) {
                stopped = true;
            }
            EXPECT_TRUE(stopped || told.find("open only to be looked at") != std::string::npos)
                << where << ": the start ended without a word: \"" << told << "\"";
            faults.Disarm();
            faults.LoseUnflushed();
            EXPECT_EQ(Restart(*runner), "") << where;
            EXPECT_EQ(Image(*runner), after)
                << where << ", then a power cut" << Differences(after, Image(*runner));
            EXPECT_NE(m_lastFound.find("\"" + words + "\""), std::string::npos)
                << where << ": " << m_lastFound;
            if (HasFailure())
                return;
        }
    }
}

// The checkpoint between events: its flushes handed to the engine's thread, the clerk's
// next step saved before they were looked at, then the checkpoint finished. Stopped at each
// of these operations, a crash that loses what was not flushed leaves the folder as after the
// step, or after the next too; once the next step's record was flushed, after both. With no
// crash, a power cut after the journal was cut loses neither.
TEST_P(TransactionSweep, TheCheckpointWithTheNextStepSavedMeanwhileLosesNothing) {
    CountingFaults faults;
    m_faults = &faults;
    faults.TrackFlushes(true);
    const auto run = [&](script::ScriptRunner& runner) {
        const bool cut = runner.app()->engine().CheckpointWithoutWaiting();
        RunNext(runner);
        runner.app()->engine().Checkpoint();
        return cut;
    };
    FolderImage after, afterNext;
    long operations = 0, commit = 0; // commit: the flush of the next step's record
    {
        auto runner = ReadyForStep();
        RunStep(*runner);
        after = Image(*runner);
        faults.Arm(0, Kind::None);
        ASSERT_FALSE(run(*runner)) << "the checkpoint handed nothing over";
        operations = faults.count();
        bool written = false;
        for (long n = 1; n <= operations && commit == 0; ++n) {
            const bool journal = faults.FileOf(n).filename() == platform::kJournalName;
            written = written || (journal && faults.OpOf(n) == platform::FileFaults::Op::Write);
            if (written && journal && faults.OpOf(n) == platform::FileFaults::Op::Flush)
                commit = n;
        }
        afterNext = Image(*runner);
        faults.LoseUnflushed();
        Restart(*runner);
        ASSERT_EQ(Image(*runner), afterNext)
            << "a power cut after the checkpoint" << Differences(afterNext, Image(*runner));
    }
    for (long n = 1; n <= operations; ++n) {
        const std::string where = "operation " + std::to_string(n) + " of " + std::to_string(operations);
        auto runner = ReadyForStep();
        RunStep(*runner);
        faults.Arm(n, Kind::Crash);
        EXPECT_THROW(run(*runner), platform::SimulatedCrash) << where;
        faults.LoseUnflushed();
        faults.Disarm();
        Restart(*runner);
        const FolderImage image = Image(*runner);
        EXPECT_TRUE(image == afterNext || (n <= commit && image == after))
            << "crash at " << where << ": differs from after by" << Differences(after, image)
            << " and from after the next by" << Differences(afterNext, image);
        if (HasFailure())
            return;
    }
}

INSTANTIATE_TEST_SUITE_P(
    MainSteps, TransactionSweep,
    ::testing::Values(
        SweepCase{"WalkInCheckIn", "checkin.scn", "click form2.Command2", 1, 2},
        SweepCase{"FolioPosting", "folio.scn", "click Form4.Command1", 1, 0},
        SweepCase{"CheckOut", "folio.scn", "click Form4.Command4", 2, 1},
        SweepCase{"NightAuditRoomPosting", "night_audit.scn", "click Form13.Command1", 1, 1},
        SweepCase{"ChangeDate", "night_audit.scn", "click Form16.Command1", 1, 0},
        // The audit's report steps reset the day flags; after a failure the audit goes on
        // (the two after Change Date write nothing).
        SweepCase{"AuditTotalsReport", "night_audit.scn", "click Form13.Command3", 1, 0, "", "", "",
                  "click Form13.Command7\n"},
        SweepCase{"AuditRoomDetailReport", "night_audit.scn", "click Form13.Command7", 1, 0, "", "", "",
                  "click Form13.Command4\n"},
        SweepCase{"DirectBillPayment", "direct_bill.scn", "click Form23.Command1", 1, 0},
        SweepCase{"ReservationWithDeposit", "add_reservation.scn", "click Form26.Command2", 1, 1},
        // Opening Add Reservation closes the front desk and takes the confirmation number;
        // after a failure the clerk starts again from the front desk.
        SweepCase{"OpenAddReservation", "add_reservation.scn", "click Form1.Command9", 1, 0, "",
                  "click Form1.Command9\nclick Form25.Command1\n"},
        SweepCase{"SetToClean", "folio.scn", "expect boxes = 4", 1, 0, "click Form1.Command14\n",
                  "answer Yes\nclick Form10.Command2\n"},
        SweepCase{"CheckBackIn", "edit_guest_check_back_in.scn", "pick Form40.Combo1 \"102 NDD1\"", 1, 1},
        SweepCase{"EditGuestNewName", "edit_guest_check_back_in.scn", "click Form9.Command1", 2, 0},
        SweepCase{"MoveGuest", "night_audit.scn", "tick Form1.Timer1", 1, 0,
                  "click Form1.Command13\npick Form8.Combo1 \"101  SMITH ANN\"\n"
                  "pick Form8.Combo2 \"102   NQ1  \"\n",
                  "click Form8.Command1\n"},
        SweepCase{"DirectBillCheckOut", "folio.scn", "click Form1.Command1", 1, 0, script::kDirectBillStay,
                  "answer Yes\nclick Form4.Command4\n"},
        SweepCase{"CallPosting", "folio.scn", "key Form1 F", 1, 0, "", "tick Form50.Timer1\n",
                  "abcdefghij12/06k 101lm15:42nopqrst  1.25u555-123-4567vwxyz"},
        // Opening Add Direct Bill Account takes the account's number; then the clerk saves it.
        SweepCase{"AddDirectBillAccount", "direct_bill.scn", "click Form21.Command1", 1, 3, "", "", "",
                  "type Form20.Text1 acme tools\nkey Form20.Text1 Enter\ntype Form20.Text2 smith\n"
                  "click Form20.Command1\n"}),
    [](const ::testing::TestParamInfo<SweepCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace vantreth::testing

namespace vantreth::testing {
namespace {

// Kills the process for real at the n-th change that reaches the disk.
class KillAt final : public platform::FileFaults {
public:
    explicit KillAt(long n) : m_n(n) {}
    Fault BeforeChange(const std::filesystem::path&, size_t) override { return {}; }
    Fault Before(const Change& change) override {
        if (change.op != Op::Stage && ++m_count == m_n)
            ::kill(::getpid(), SIGKILL);
        return {};
    }

private:
    long m_n;
    long m_count = 0;
};

// The program killed with SIGKILL while writing a check-in into the files, once its record
// was flushed: at the next start the check-in is finished from the journal.
TEST(RealCrash, ACheckInKilledWhileWritingItsFilesIsFinishedAtTheNextStart) {
    const std::vector<std::string> lines = ReadLines(std::string(VANTRETH_SCENARIOS) + "/checkin.scn");
    std::string setup, step;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i] != "click form2.Command2")
            continue;
        for (size_t j = 0; j + 2 < i; ++j)
            setup += lines[j] + "\n";
        step = lines[i - 2] + "\n" + lines[i - 1] + "\n" + lines[i] + "\n";
        break;
    }
    int toParent[2], toChild[2];
    ASSERT_EQ(::pipe(toParent), 0);
    ASSERT_EQ(::pipe(toChild), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::ostringstream transcript;
        script::ScriptRunner runner(transcript);
        std::istringstream setupIn(setup);
        if (!runner.Run(setupIn).ok)
            ::_exit(2);
        runner.app()->engine().WriteCommitted(); // the quiet moment before the step
        const std::string root = runner.dataRoot().string() + "\n";
        if (::write(toParent[1], root.data(), root.size()) != static_cast<ssize_t>(root.size()))
            ::_exit(3);
        char go = 0;
        if (::read(toChild[0], &go, 1) != 1)
            ::_exit(4);
        KillAt kill(3); // the record written and flushed, the first file being written
        runner.SetFileFaults(&kill);
        std::istringstream stepIn(step);
        runner.Run(stepIn);
        runner.app()->engine().WriteCommitted(); // the quiet moment after it writes the files
        ::_exit(0);                              // not reached: the step makes more than 3 changes
    }
    std::string root;
    for (char c = 0; ::read(toParent[0], &c, 1) == 1 && c != '\n';)
        root += c;
    ASSERT_FALSE(root.empty()) << "the child did not walk up to the check-in";
    const FolderImage before = ImageOf(root);
    ASSERT_EQ(::write(toChild[1], "g", 1), 1);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "status " << status;
    HeadlessServices services;
    {
        std::unique_ptr<App> app = services.MakeApp(root);
        services.dialogs.AnswerAlways("Data Folder", platform::vbOK);
        app->Start("Form1");
        // The clerk is told the check-in was found saved, by its own words, and nothing else.
        ASSERT_EQ(services.dialogs.shown().size(), 1u);
        EXPECT_NE(services.dialogs.shown().front().prompt.find(
                      "The last step found saved is \"Check-in of JOHN SMITH to room 101"),
                  std::string::npos)
            << services.dialogs.shown().front().prompt;
        const FolderImage after = ImageOf(root);
        EXPECT_NE(after.at("guest").find("SMITH"), std::string::npos) << "the check-in was not finished";
        EXPECT_EQ(after.count("dailycharge/dailycharge101SMITHJOHN12626"), 1u);
        EXPECT_NE(after, before);
    }
    std::filesystem::remove_all(root);
}

} // namespace
} // namespace vantreth::testing
