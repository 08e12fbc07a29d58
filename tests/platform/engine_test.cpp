// The journal read back at start-up: committed steps written into the files again, a torn
// tail dropped, and every other damage (a flipped bit, another folder's journal, a name
// outside the folder, a length a file never had) reported and put aside, never applied.
#include "platform/clock.h"
#include "platform/engine.h"
#include "platform/folder_lock.h"
#include "support/file_faults.h"
#include "support/held_flushes.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <mutex>
#include <set>
#include <stdexcept>
#include <thread>
#include <utility>
#include <vector>

namespace platform {
namespace {

std::string Bytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// True when the folder's journal holds no step: it is missing, or only its header is left.
bool NoStepInJournal(const std::filesystem::path& root) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(root / kJournalName, ec);
    return ec || size == kJournalHeaderBytes;
}
// A file of the folder `engine` holds, read and changed through it.
FilePath In(Engine& engine, const std::filesystem::path& name) {
    return {engine.root() / name, &engine};
}
// A file looked at on the disk as it stands, beside every engine.
FilePath Disk(const std::filesystem::path& file) {
    return FilePath::Outside(file);
}
void Store(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}
uint32_t Fnv(std::string_view bytes) {
    uint32_t h = 2166136261u;
    for (unsigned char c : bytes)
        h = (h ^ c) * 16777619u;
    return h;
}
// Sets the checksum that closes the record starting at `at` (after a planned change).
void Reseal(std::string& log, size_t at) {
    uint32_t length = 0;
    for (int i = 3; i >= 0; --i)
        length = (length << 8) | static_cast<unsigned char>(log[at + 4 + static_cast<size_t>(i)]);
    const size_t end = at + 12 + length;
    const uint32_t sum = Fnv(std::string_view(log).substr(at, end - at));
    for (int i = 0; i < 4; ++i)
        log[end + static_cast<size_t>(i)] = static_cast<char>((sum >> (8 * i)) & 0xFF);
}

// Two steps saved in the folder, each a file of its own, with no checkpoint after them.
void SaveTwoStepsUncheckpointed(const std::filesystem::path& root) {
    Engine journal(root);
    journal.Recover();
    for (const char* name : {"aaaaaaaaaa", "bbbbbbbbbb"}) {
        Transaction step(journal, std::string("saving ") + name);
        RandomFile(In(journal, name), 4).Put(1, "data");
        step.Commit();
    }
}

TEST(EngineTest, StartUpAppliesOnlyWholeRecordsOfThisFolder) {
    struct Case {
        const char* name;
        std::function<void(std::string& log, const std::filesystem::path& root)> damage;
        bool first, second; // which step's file comes back
        const char* told;   // in the message; "" for none
    };
    const auto second = [](const std::string& log) { return log.find("VREC", log.find("VREC") + 1); };
    const Case cases[] = {
        {"whole", [](std::string&, const auto&) {}, true, true, ""},
        {"torn tail", [](std::string& log, const auto&) { log.resize(log.size() - 5); }, true, false, ""},
        {"zeros after the end", [](std::string& log, const auto&) { log += std::string(40, '\0'); }, true,
         true, ""},
        {"bit flip in the first record",
         [&](std::string& log, const auto&) { log[log.find("VREC") + 20] ^= 1; }, false, false, "bbbbbbbbbb"},
        {"bit flip in the header", [](std::string& log, const auto&) { log[2] ^= 1; }, false, false,
         "header"},
        {"bit flip in the header's checksum", [](std::string& log, const auto&) { log[40] ^= 1; }, false,
         false, "header"},
        {"another folder's journal",
         [](std::string&, const std::filesystem::path& root) {
             Store(root / kFolderIdName, std::string(32, 'f'));
         },
         false, false, "another data folder"},
        {"a name outside the folder",
         [&](std::string& log, const auto&) {
             log.replace(log.find(std::string("\x0a\0\0\0aaaaaaaaaa", 14)) + 4, 10, "../escaped");
             Reseal(log, log.find("VREC"));
         },
         false, false, "damaged"},
        {"a length the file never had",
         [&](std::string& log, const auto&) {
             const size_t at = second(log);
             const size_t length = log.find("L\x0a", at) + 15; // after kind, name length, name
             log[length + 1] = 1;                              // 256 bytes more
             Reseal(log, at);
         },
         true, true, "never had"}, // its write stands, its length does not
        {"an offset past any file",
         [&](std::string& log, const auto&) {
             const size_t at = second(log);
             const size_t write = log.find("W\x0a", at) + 15;
             const size_t length = log.find("L\x0a", at) + 15;
             log[write + 5] = log[length + 5] = 1; // written 1 TiB on, the length to match
             Reseal(log, at);
         },
         true, false, "\"saving bbbbbbbbbb\" was saved; it may be lost"},
        {"bit flip in the last record", [&](std::string& log, const auto&) { log[second(log) + 48] ^= 1; },
         true, false, "\"saving bbbbbbbbbb\" was saved; it may be lost"},
        {"bit flip in the last record's length", // now longer than the journal: no torn tail
         [&](std::string& log, const auto&) { log[second(log) + 6] ^= 1; }, true, false,
         "\"saving bbbbbbbbbb\" was saved; it may be lost"},
        {"a write past the length its record ends the file at",
         [&](std::string& log, const auto&) {
             const size_t at = second(log);
             log[log.find("L\x0a", at) + 15] = 2; // the 4 bytes written, the file cut to 2
             Reseal(log, at);
         },
         true, false, "\"saving bbbbbbbbbb\" was saved; it may be lost"},
        {"bytes after the last change of a record",
         [&](std::string& log, const auto&) {
             const size_t at = second(log);
             log.insert(log.size() - 4, "xyz"); // the last record ends the journal
             log[at + 4] = static_cast<char>(log[at + 4] + 3);
             const uint32_t head = Fnv(std::string_view(log).substr(at, 8));
             for (size_t i = 0; i < 4; ++i)
                 log[at + 8 + i] = static_cast<char>((head >> (8 * i)) & 0xFF);
             Reseal(log, at);
         },
         true, false, "\"saving bbbbbbbbbb\" was saved; it may be lost"},
    };
    for (const Case& c : cases) {
        vantreth::testing::TempFolder folder;
        const std::filesystem::path root = folder.path() / "data"; // an escape lands in the test's own folder
        std::filesystem::create_directory(root);
        SaveTwoStepsUncheckpointed(root); // the records stay in the journal
        std::filesystem::remove(root / "aaaaaaaaaa");
        std::filesystem::remove(root / "bbbbbbbbbb");
        std::string log = Bytes(root / kJournalName);
        c.damage(log, root);
        Store(root / kJournalName, log);

        std::string told;
        try {
            Engine journal(root);
            for (const std::string& message : journal.Recover())
                told += message;
        } catch (const FolderNotWhole& e) {
            told = e.what();
        }
        EXPECT_EQ(FileExists(Disk(root / "aaaaaaaaaa")), c.first) << c.name;
        EXPECT_EQ(FileExists(Disk(root / "bbbbbbbbbb")), c.second) << c.name;
        EXPECT_FALSE(std::filesystem::exists(root.parent_path() / "escaped")) << c.name;
        if (c.second) {
            EXPECT_EQ(std::filesystem::file_size(root / "bbbbbbbbbb"), 4u) << c.name;
        }
        // The start after a program that never closed names the last step it found saved.
        if (c.first && told.find("could not be written") == std::string::npos) {
            EXPECT_NE(told.find(std::string("The last step found saved is \"saving ") +
                                (c.second ? "bbbbbbbbbb" : "aaaaaaaaaa") + "\""),
                      std::string::npos)
                << c.name << ": " << told;
        }
        if (*c.told == '\0') {
            EXPECT_EQ(told.find("put aside"), std::string::npos) << c.name << ": " << told;
        } else {
            EXPECT_NE(told.find(c.told), std::string::npos) << c.name << ": " << told;
            EXPECT_TRUE(FileExists(Disk(root / kDamagedJournalName)) || FileExists(Disk(root / kJournalName)))
                << c.name;
        }
    }
}

// The engine's state along one walk: a data file that cannot be written after the commit point
// leaves the folder to be written again before it is read; a record that can neither be
// flushed nor taken back leaves the outcome unknown and refuses every commit; a folder is made
// read-only only before it is recovered.
TEST(EngineTest, TheStateMovesOnlyAlongTheLinesItsHeaderDraws) {
    vantreth::testing::TempFolder folder;
    const std::filesystem::path root = folder.path();
    struct Refusing final : FileFaults {
        std::string file;   // the name whose changes on the disk fail
        int writesLeft = 0; // but for this many writes
        Fault BeforeChange(const std::filesystem::path&, size_t) override { return {}; }
        Fault Before(const Change& change) override {
            if (change.op == Op::Stage || change.file.filename() != file)
                return {};
            if (change.op == Op::Write && writesLeft > 0) {
                --writesLeft;
                return {};
            }
            return {Kind::Fail, EIO};
        }
    } faults;
    Engine journal(root, &faults);
    EXPECT_EQ(journal.state(), Engine::State::NotRecovered);
    journal.Recover();
    EXPECT_EQ(journal.state(), Engine::State::Open);
    EXPECT_THROW(journal.SetReadOnly("late"), std::logic_error);
    const auto save = [&](const char* name) {
        Transaction step(journal, "saving");
        RandomFile(In(journal, name), 4).Put(1, "data");
        step.Commit();
    };
    faults.file = "rooms";
    save("rooms"); // committed; the file not written
    EXPECT_EQ(journal.state(), Engine::State::MustRewrite);
    EXPECT_THROW(journal.EnsureWhole(), FolderNotWhole);
    faults.file.clear();
    journal.EnsureWhole();
    EXPECT_EQ(journal.state(), Engine::State::Open);
    EXPECT_EQ(Bytes(root / "rooms"), "data");
    faults.file = kJournalName;
    // The record's own write failed: it never reached the journal, and that is said at once.
    try {
        save("guest");
        ADD_FAILURE() << "saved on a journal that takes no write";
    } catch (const StepOutcomeUnknown&) {
        ADD_FAILURE() << "a record never written told as perhaps saved";
    } catch (const IoError&) {
    }
    EXPECT_EQ(journal.state(), Engine::State::Open);
    faults.file.clear();
    save("guest"); // what the failed write left is cut off first
    EXPECT_EQ(journal.state(), Engine::State::Open);
    faults.file = kJournalName;
    // Written, then neither flushed, written again nor taken back: nobody knows until the next start.
    faults.writesLeft = 1;
    EXPECT_THROW(save("guest"), StepOutcomeUnknown);
    EXPECT_EQ(journal.state(), Engine::State::Unsure);
    faults.file.clear();
    EXPECT_THROW(save("guest"), StepOutcomeUnknown) << "a commit after an unknown outcome";

    Engine looking(root);
    looking.SetReadOnly("no lock");
    EXPECT_EQ(looking.state(), Engine::State::ReadOnly);
}

// A file of a kind that holds one record is never written past it: a step writing further is
// refused with nothing saved, and a record in the journal writing further (of a version that
// did not know the bound) is damage, never applied.
TEST(EngineTest, NoStepWritesPastWhereAFileOfItsKindReaches) {
    vantreth::testing::TempFolder folder;
    const std::filesystem::path root = folder.path();
    const auto reach = [](std::string_view file) { return file == "counter" ? 4 : kLargestFile; };
    const auto save = [&](Engine& journal, long record) {
        Transaction step(journal, "counting");
        RandomFile(In(journal, "counter"), 4).Put(record, "1234");
        step.Commit();
    };
    {
        Engine journal(root);
        journal.SetReach(reach);
        journal.Recover();
        save(journal, 1);
        EXPECT_THROW(save(journal, 2), IoError);
        EXPECT_EQ(Bytes(root / "counter"), "1234") << "the refused step was saved";
    }
    {
        Engine unbounded(root);
        unbounded.Recover();
        save(unbounded, 3);
    } // no checkpoint: the record stays in the journal
    std::filesystem::resize_file(root / "counter", 4);
    Engine journal(root);
    journal.SetReach(reach);
    std::string told;
    for (const std::string& message : journal.Recover())
        told += message;
    EXPECT_EQ(Bytes(root / "counter"), "1234");
    EXPECT_NE(told.find("damaged"), std::string::npos) << told;
}

// A journal the previous version left (its rollback journal: the old bytes of what a step
// changed) is undone at start-up, newest entry first, and removed; a torn last entry guarded a
// change never made. One naming a file outside the folder or writing past a file's old length
// is put aside, nothing of it undone; a file that cannot be put back keeps the journal and the
// folder shut until it can.
TEST(EngineTest, AJournalOfThePreviousVersionIsUndone) {
    const auto u32 = [](uint32_t v) {
        std::string out;
        for (int i = 0; i < 4; ++i)
            out += static_cast<char>((v >> (8 * i)) & 0xFF);
        return out;
    };
    const auto u64 = [&](long long v) {
        return u32(static_cast<uint32_t>(v)) + u32(static_cast<uint32_t>(static_cast<uint64_t>(v) >> 32));
    };
    const auto entry = [&](char kind, const std::string& file, long long number, const std::string& data) {
        std::string out = kind + u32(static_cast<uint32_t>(file.size())) + file + u64(number) +
                          u64(static_cast<long long>(data.size())) + data;
        return out + u32(Fnv(out));
    };
    std::string header = "VJRNL1\n" + u32(11) + "checking in";
    header += u32(Fnv(header));
    // Two entries for the same bytes: undone newest first, the oldest one's bytes are left.
    const std::string steps = entry('S', "rooms", 4, "") + entry('B', "rooms", 0, "AA") +
                              entry('B', "rooms", 0, "QQ") + entry('S', "move/m1", -1, "") +
                              entry('C', "clock", 0, "3\n");
    struct DiskFull final : FileFaults {
        Fault BeforeChange(const std::filesystem::path& file, size_t) override {
            return file.filename() == "rooms" ? Fault{Kind::Fail, ENOSPC} : Fault{};
        }
    };
    struct Case {
        const char* name;
        std::string journal;
        bool diskFull;
        const char* rooms; // after the start
        const char* clock;
        const char* told; // in the message or the error; "" for the step undone
    };
    const Case cases[] = {
        {"a step cut short", header + steps, false, "AAAA", "3\n", ""},
        {"its last entry torn", header + steps.substr(0, steps.size() - 3), false, "AAAA", "5\n", ""},
        {"a name outside the folder", header + steps + entry('B', "../escaped", 0, "x"), false, "ZZAAxxxx",
         "5\n", "outside the data folder"},
        {"a write past the old length", header + steps + entry('B', "rooms", 3, "AA"), false, "ZZAAxxxx",
         "5\n", "past the length"},
        {"a file that cannot be put back", header + steps, true, "AAAA", "3\n", "could not be undone"},
    };
    for (const Case& c : cases) {
        vantreth::testing::TempFolder folder;
        const std::filesystem::path root = folder.path() / "data"; // an escape lands in the test's own folder
        std::filesystem::create_directories(root / "move");
        Store(root / "rooms", "ZZAAxxxx");
        Store(root / "move/m1", "made by the step");
        Store(root / "clock", "5\n");
        Store(root / kJournalName, c.journal);
        Engine journal(root);
        std::string told;
        DiskFull full;
        journal.SetFaults(c.diskFull ? &full : nullptr);
        try {
            for (const std::string& message : journal.Recover())
                told += message;
        } catch (const FolderNotWhole& e) {
            told = e.what();
            EXPECT_TRUE(std::filesystem::exists(root / kJournalName)) << c.name << ": the journal is kept";
            EXPECT_THROW(journal.EnsureWhole(), FolderNotWhole) << c.name;
        }
        journal.SetFaults(nullptr);
        if (journal.state() == Engine::State::Stopped)
            journal.Recover(); // with room again, the next start finishes the work
        journal.EnsureWhole();
        EXPECT_EQ(Bytes(root / "rooms"), c.rooms) << c.name;
        EXPECT_EQ(Bytes(root / "clock"), c.clock) << c.name;
        EXPECT_TRUE(NoStepInJournal(root)) << c.name;
        EXPECT_FALSE(std::filesystem::exists(root.parent_path() / "escaped")) << c.name;
        if (*c.told == '\0' || c.diskFull) {
            EXPECT_FALSE(std::filesystem::exists(root / "move/m1")) << c.name;
            EXPECT_EQ(journal.undoneStep(), "checking in") << c.name;
        } else {
            EXPECT_TRUE(std::filesystem::exists(root / kDamagedJournalName)) << c.name;
            EXPECT_EQ(journal.undoneStep(), "") << c.name;
        }
        if (*c.told == '\0')
            EXPECT_EQ(told, "") << c.name;
        else
            EXPECT_NE(told.find(c.told), std::string::npos) << c.name << ": " << told;
    }
}

// Without the folder's lock nothing is written: a journal found is left alone and every
// change is refused.
TEST(EngineTest, AFolderOpenedWithoutItsLockIsNeverChanged) {
    vantreth::testing::TempFolder folder;
    const std::filesystem::path root = folder.path();
    Store(root / kJournalName, "VWAL1\nanother copy's journal, in the middle of a step");
    const std::string before = Bytes(root / kJournalName);
    Engine journal(root);
    journal.SetReadOnly("the folder cannot be locked");
    EXPECT_TRUE(journal.Recover().empty());
    Transaction step(journal, "saving");
    EXPECT_THROW(RandomFile(In(journal, "rooms"), 4).Put(1, "data"), FolderReadOnly);
    EXPECT_EQ(Bytes(root / kJournalName), before);
    EXPECT_FALSE(FileExists(In(journal, "rooms")));
}

// Without the lock, a step that changes nothing goes through and every change is refused; the
// steps saved in the journal and not yet in the files are named to the clerk, never applied.
TEST(EngineTest, AFolderOpenedWithoutItsLockShowsWhatIsStoredAndNamesWhatIsNot) {
    vantreth::testing::TempFolder folder;
    const std::filesystem::path root = folder.path();
    {
        Engine journal(root);
        journal.Recover();
        Transaction step(journal, "saving rooms");
        RandomFile(In(journal, "rooms"), 4).Put(1, "data");
        step.Commit();
    }
    std::filesystem::remove(root / "rooms");
    const std::string log = Bytes(root / kJournalName);
    Engine journal(root);
    journal.SetReadOnly("the folder cannot be locked");
    const std::vector<std::string> told = journal.Recover();
    ASSERT_EQ(told.size(), 1u);
    EXPECT_NE(told[0].find("\"saving rooms\""), std::string::npos) << told[0];
    {
        Transaction looking(journal, "looking");
        EXPECT_EQ(RandomFile(In(journal, "rooms"), 4).Get(1), std::string(4, '\0'));
        EXPECT_NO_THROW(looking.Commit());
    }
    Transaction step(journal, "saving");
    EXPECT_THROW(RandomFile(In(journal, "rooms"), 4).Put(1, "data"), FolderReadOnly);
    EXPECT_EQ(Bytes(root / kJournalName), log);
    EXPECT_FALSE(FileExists(In(journal, "rooms")));
}

// The business date moved inside a step is read back through the step (by a clock made in
// it), and the clock's copy of it follows the step's end: kept at a commit, put back when
// the step or the savepoint it was moved in is dropped.
TEST(EngineTest, TheDateMovedInAStepFollowsTheStep) {
    enum class End { Commit, Rollback, FailedSavepoint, Savepoint };
    struct Case {
        const char* name;
        End end;
        long offset; // the clock's offset after the step
    };
    const Case cases[] = {{"committed", End::Commit, 5},
                          {"rolled back", End::Rollback, 0},
                          {"moved in a savepoint that failed", End::FailedSavepoint, 0},
                          {"moved in a savepoint that stood", End::Savepoint, 5}};
    for (const Case& c : cases) {
        vantreth::testing::TempFolder folder;
        Engine journal(folder.path());
        journal.Recover();
        const FilePath file = In(journal, "clock");
        BusinessClock clock(file);
        const Date moved = AddDays(clock.Today(), 5);
        {
            Transaction step(journal, "changing the date");
            const auto move = [&] {
                clock.SetDate(moved);
                EXPECT_EQ(BusinessClock(file).OffsetDays(), 5) << c.name << ": read through the step";
            };
            if (c.end == End::FailedSavepoint)
                EXPECT_THROW(step.AllOrNothing([&] {
                    move();
                    throw IoError(file, "disk full");
                }),
                             IoError);
            else if (c.end == End::Savepoint)
                step.AllOrNothing(move);
            else
                move();
            if (c.end == End::Rollback)
                step.Rollback();
            else
                step.Commit();
        }
        EXPECT_EQ(clock.OffsetDays(), c.offset) << c.name;
        EXPECT_EQ(BusinessClock(file).OffsetDays(), c.offset) << c.name << ": as stored";
    }
}

} // namespace
} // namespace platform

namespace platform {
namespace {

// A folder whose second committed step is damaged in the journal, its files not yet written.
void DamagedFolder(const std::filesystem::path& root) {
    SaveTwoStepsUncheckpointed(root);
    std::filesystem::remove(root / "aaaaaaaaaa");
    std::filesystem::remove(root / "bbbbbbbbbb");
    std::string log = Bytes(root / kJournalName);
    log[log.find("VREC", log.find("VREC") + 1) + 48] ^= 1;
    Store(root / kJournalName, log);
}

// A tail cut short by a crash is cut off at the start, before the next record is written
// where it began: the next start finds every step whole and nothing damaged.
TEST(EngineTest, ATornTailIsCutOffBeforeTheNextRecord) {
    vantreth::testing::TempFolder folder;
    const std::filesystem::path root = folder.path();
    const auto save = [&](const char* name, size_t bytes) {
        Engine journal(root);
        for (const std::string& told : journal.Recover())
            EXPECT_EQ(told.find("damaged"), std::string::npos) << told;
        Transaction step(journal, std::string("saving ") + name);
        RandomFile(In(journal, name), static_cast<int>(bytes)).Put(1, std::string(bytes, 'x'));
        step.Commit();
        std::string log = Bytes(root / kJournalName);
        log.resize(log.size() - 3); // the next record's tail, torn
        Store(root / kJournalName, log);
    };
    save("long", 400);
    save("short", 4);
    save("third", 4);
    EXPECT_FALSE(FileExists(Disk(root / kDamagedJournalName)));
}

// Start-up stopped at each change it makes to a damaged journal's folder, and the power lost:
// the step saved before the damage is on the disk before the journal is put aside, and the
// clerk is told of the damage, by the step's name, at every start until it was shown.
TEST(EngineTest, ADamagedJournalIsPutAsideOnlyAfterWhatItGaveIsFlushedAndToldUntilShown) {
    vantreth::testing::CountingFaults faults;
    faults.TrackFlushes(true);
    for (long n = 1;; ++n) {
        vantreth::testing::TempFolder folder;
        const std::filesystem::path root = folder.path();
        DamagedFolder(root);
        faults.Forget();
        faults.Arm(n, FileFaults::Kind::Crash);
        bool crashed = false;
        try {
            Engine(root, &faults).Recover();
        } catch (const SimulatedCrash&) {
            crashed = true;
        }
        faults.LoseUnflushed();
        faults.Disarm();
        std::string told;
        for (int start = 0; start < 2; ++start) { // shown at neither start: told at both
            Engine journal(root);
            told.clear();
            for (const std::string& message : journal.Recover())
                told += message;
            EXPECT_NE(told.find("\"saving bbbbbbbbbb\""), std::string::npos) << "crash at change " << n;
        }
        EXPECT_EQ(Bytes(root / "aaaaaaaaaa"), "data") << "crash at change " << n;
        EXPECT_FALSE(FileExists(Disk(root / "bbbbbbbbbb"))) << "crash at change " << n;
        Engine shown(root);
        shown.Recover();
        shown.Told();
        shown.Close();
        EXPECT_TRUE(Engine(root).Recover().empty()) << "told again after it was shown; crash at change " << n;
        if (!crashed || HasFailure())
            break;
    }
}

// The journal, the folder's id and the lock are never opened through a link planted in the
// folder: the file the link points to is left as it was, or never made.
TEST(EngineTest, LinksPlantedForTheJournalsOwnFilesAreNeverFollowed) {
    for (const bool there : {true, false})
        for (const char* name : {kJournalName, kFolderIdName, "lock"}) {
            vantreth::testing::TempFolder folder;
            const std::filesystem::path root = folder.path() / "data", outside = folder.path() / "outside";
            std::filesystem::create_directory(root);
            if (there)
                Store(outside, "not the program's");
            std::filesystem::create_symlink(outside, root / name);
            try {
                FolderLock lock = FolderLock::Acquire(root);
                Engine journal(root);
                journal.Recover();
                Transaction step(journal, "saving");
                RandomFile(In(journal, "rooms"), 4).Put(1, "data");
                step.Commit();
            } catch (const IoError&) {
                // Refusing is fine; writing through the link is not.
            }
            EXPECT_EQ(std::filesystem::exists(outside), there) << name;
            if (there) {
                EXPECT_EQ(Bytes(outside), "not the program's") << name;
            }
        }
}

} // namespace
} // namespace platform

namespace platform {
namespace {

// Inside a step, the step's own creates and deletes are what FileExists sees; dropped, the
// disk is as it was, and the copies in memory are put back newest change first.
TEST(TransactionTest, AStepSeesItsOwnChangesAndRollingBackPutsCopiesBackNewestFirst) {
    vantreth::testing::TempFolder folder;
    const std::filesystem::path root = folder.path();
    Store(root / "old", "kept");
    Engine journal(root);
    journal.Recover();
    const DataFolder data(root, &journal);
    int copy = 0; // a copy in memory of what the files hold
    {
        Transaction step(journal, "changing");
        ReplaceFileContent(In(journal, "new"), "made");
        DeleteFile(In(journal, "old"));
        EXPECT_TRUE(FileExists(In(journal, "new")));
        EXPECT_FALSE(FileExists(In(journal, "old")));
        copy = 1;
        WhenUndone(data, [&] { copy = 0; });
        AllOrNothing(data, [&] {
            copy = 2;
            WhenUndone(In(journal, "new"), [&] { copy = 1; });
        });
        copy = 3;
        WhenUndone(data, [&] { copy = 2; });
        step.Rollback();
    }
    EXPECT_EQ(copy, 0);
    EXPECT_FALSE(FileExists(In(journal, "new")));
    EXPECT_EQ(Bytes(root / "old"), "kept");
}

// What a step reads of a file it changed is what its commit writes into the file, however it
// changed it; and a step that is over takes no change.
TEST(TransactionTest, WhatAStepReadsOfItsOwnChangesIsWhatItSaves) {
    const struct {
        const char* name;
        std::function<void(const FilePath&)> change;
    } cases[] = {
        {"written into", [](const auto& file) { RandomFile(file, 4).Put(2, "BBBB"); }},
        {"deleted", [](const auto& file) { DeleteFile(file); }},
        {"deleted, then written past its start",
         [](const auto& file) {
             DeleteFile(file);
             RandomFile(file, 4).Put(2, "BBBB");
         }},
        {"replaced by less, then written past its end",
         [](const auto& file) {
             ReplaceFileContent(file, "C");
             RandomFile(file, 4).Put(3, "DDDD");
         }},
        {"written over what it wrote",
         [](const auto& file) {
             RandomFile(file, 4).Put(1, "xxxxxxxx");
             RandomFile(file, 4).Put(2, "yy");
         }},
    };
    // What a reader is shown of the file.
    const auto look = [](const FilePath& file) {
        return std::to_string(FileExists(file)) + "|" + std::to_string(FileSize(file)) + "|" +
               ReadFile(file).value_or("(none)") + "|" + ReadFileAt(file, 2, 9);
    };
    for (const auto& c : cases) {
        vantreth::testing::TempFolder folder;
        const std::filesystem::path root = folder.path();
        Store(root / "file", "aaaabbbbcccc");
        Engine journal(root);
        journal.Recover();
        std::string seen;
        {
            Transaction step(journal, "changing");
            c.change(In(journal, "file"));
            seen = look(In(journal, "file"));
            step.Commit();
            EXPECT_THROW(ReplaceFileContent(In(journal, "late"), "x"), IoError) << c.name;
        }
        EXPECT_EQ(seen, look(In(journal, "file"))) << c.name;
        EXPECT_FALSE(std::filesystem::exists(root / "late")) << c.name;
    }
}

// A file the program may not write, or a folder it may not make a file in, fails the step that
// changes it at once, before the step is saved: the folder stays whole for the next step.
TEST(TransactionTest, AFileThatCannotBeWrittenFailsTheStepBeforeItIsSaved) {
    for (const bool newFile : {false, true}) { // in a folder that cannot be written
        vantreth::testing::TempFolder folder;
        const std::filesystem::path root = folder.path(), sub = root / "sub";
        std::filesystem::create_directory(sub);
        Store(sub / "file", "kept");
        Engine journal(root);
        journal.Recover();
        const vantreth::testing::Unwritable refused(newFile ? sub : sub / "file");
        if (!refused.refused())
            GTEST_SKIP() << "nothing here refuses root a write";
        const FilePath target = In(journal, newFile ? "sub/new" : "sub/file");
        Transaction step(journal, "changing");
        EXPECT_THROW(RandomFile(target, 4).Put(1, "data"), IoError) << target;
        step.Rollback();
        EXPECT_TRUE(journal.Whole());
        EXPECT_EQ(Bytes(sub / "file"), "kept");
    }
}

} // namespace
} // namespace platform

namespace platform {
namespace {

// A checkpoint between events, with a step saved between two of its rounds of flushes: the
// journal is cut only once every file it names is flushed, so a power cut between two rounds
// loses nothing.
TEST(EngineTest, ACheckpointInSlicesCutsTheJournalOnlyOnceEveryFileIsFlushed) {
    vantreth::testing::CountingFaults faults;
    faults.TrackFlushes(true);
    vantreth::testing::TempFolder folder;
    const std::filesystem::path root = folder.path();
    Engine journal(root, &faults);
    journal.Recover();
    const auto save = [&](const char* name) {
        Transaction step(journal, std::string("saving ") + name);
        RandomFile(In(journal, name), 4).Put(1, "data");
        step.Commit();
    };
    for (const char* name : {"aaaa", "bbbb", "cccc"})
        save(name);
    EXPECT_FALSE(journal.CheckpointWithoutWaiting());
    EXPECT_TRUE(journal.NeedsCheckpoint());
    save("dddd");
    EXPECT_FALSE(journal.CheckpointWithoutWaiting());
    faults.LoseUnflushed(); // the power goes between two rounds
    Engine(root).Recover();
    for (const char* name : {"aaaa", "bbbb", "cccc", "dddd"})
        EXPECT_EQ(Bytes(root / name), "data") << name;
}

// A flush that fails on the engine's thread: the kernel may have dropped what it could not
// write, so the files are written again from the journal and flushed anew before the journal
// is cut, and a power cut after that loses nothing.
TEST(EngineTest, AFlushFailedOnTheEnginesThreadHasTheFilesWrittenAgainBeforeTheCut) {
    vantreth::testing::CountingFaults faults;
    faults.TrackFlushes(true);
    vantreth::testing::TempFolder folder;
    const std::filesystem::path root = folder.path();
    vantreth::testing::HeldFlushes flushes;
    Engine journal(root, &faults);
    journal.SetFlusher(flushes.flusher());
    journal.Recover();
    {
        Transaction step(journal, "saving");
        RandomFile(In(journal, "aaaa"), 4).Put(1, "data");
        step.Commit();
    }
    flushes.FailWith(EIO);
    EXPECT_FALSE(journal.CheckpointWithoutWaiting());
    Store(root / "aaaa", std::string(4, '\0')); // what the kernel dropped
    bool failed = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!failed && std::chrono::steady_clock::now() < deadline) {
        try {
            if (journal.CheckpointWithoutWaiting())
                break;
        } catch (const IoError&) {
            failed = true;
        }
    }
    EXPECT_TRUE(failed) << "the failure was not seen";
    EXPECT_EQ(journal.state(), Engine::State::MustRewrite);
    flushes.FailWith(0);
    journal.Checkpoint();
    EXPECT_FALSE(journal.NeedsCheckpoint());
    EXPECT_EQ(Bytes(root / "aaaa"), "data") << "cut before the file was written again";
    faults.LoseUnflushed(); // a power cut
    Engine(root).Recover();
    EXPECT_EQ(Bytes(root / "aaaa"), "data");
}

// A step's record is written only once the last cut is on the disk: after the cut's flush on
// the engine's thread finished and, when that failed, after the cut was written again (its slot
// and its length) and flushed on the journal's own descriptor.
TEST(EngineTest, AStepsRecordWaitsForTheLastCutsFlush) {
    struct Watch final : FileFaults {
        std::atomic<bool> cut{false}, cutFlushed{false};
        int flushesSinceCut = 0;                   // asked on the window's thread, the cut's own first
        std::vector<std::pair<bool, int>> records; // at each record: cut flushed, flushes since
        Fault BeforeChange(const std::filesystem::path&, size_t) override { return {}; }
        Fault Before(const Change& change) override {
            if (change.file.filename() != kJournalName)
                return {};
            if (change.op == Op::Truncate)
                cut = true;
            flushesSinceCut += cut && change.op == Op::Flush ? 1 : 0;
            if (change.op == Op::Write && cut && change.bytes != kJournalSlotBytes)
                records.emplace_back(cutFlushed.load(), flushesSinceCut);
            return {};
        }
    };
    for (const int error : {0, EIO}) {
        vantreth::testing::TempFolder folder;
        const std::filesystem::path root = folder.path();
        Watch watch;
        Engine journal(root, &watch);
        journal.SetFlusher([&watch, error](int, bool) {
            if (!watch.cut)
                return 0;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            watch.cutFlushed = true;
            return error;
        });
        journal.Recover();
        for (const char* name : {"aaaa", "bbbb"}) {
            for (int ms = 0; ms < 5000 && !watch.cut; ++ms) {
                journal.CheckpointWithoutWaiting();
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            Transaction step(journal, name);
            RandomFile(In(journal, name), 4).Put(1, "data");
            step.Commit();
        }
        ASSERT_EQ(watch.records.size(), 1u) << error;
        EXPECT_TRUE(watch.records[0].first) << error << ": written before the cut was flushed";
        EXPECT_EQ(watch.records[0].second, error != 0 ? 3 : 1) << error;
    }
}

} // namespace
} // namespace platform

namespace platform {
namespace {

// A well-formed record naming one of the journal's own files is damage: never applied.
TEST(EngineTest, ARecordNamingTheJournalsOwnFilesIsNeverApplied) {
    for (const std::string name : {kFolderIdName, "lock", kUntoldName, kDamagedJournalName}) {
        vantreth::testing::TempFolder folder;
        const std::filesystem::path root = folder.path();
        std::string decoy = name;
        decoy.front() = 'x';
        {
            Engine journal(root);
            journal.Recover();
            Transaction step(journal, "saving");
            RandomFile(In(journal, decoy), 4).Put(1, "data");
            step.Commit();
        }
        std::string log = Bytes(root / kJournalName);
        for (size_t at = log.find(decoy); at != std::string::npos; at = log.find(decoy, at))
            log.replace(at, decoy.size(), name);
        Reseal(log, log.find("VREC"));
        Store(root / kJournalName, log);
        std::string told;
        for (const std::string& message : Engine(root).Recover())
            told += message;
        EXPECT_FALSE(Bytes(root / name).starts_with("data")) << name << ": the record was applied";
        EXPECT_NE(told.find("damaged"), std::string::npos) << name << ": " << told;
    }
}

// A step holds the changes of its own folder only, whatever else is open: another folder's
// files are written as outside every step, and a second engine opened later over the same
// folder (a test looking at it) does not take the step's reads and changes from it.
TEST(TransactionTest, AStepHoldsTheChangesOfItsOwnFolderOnly) {
    vantreth::testing::TempFolder folder;
    const std::filesystem::path one = folder.path() / "one", other = folder.path() / "other";
    std::filesystem::create_directory(one);
    std::filesystem::create_directory(other);
    Engine journal(one);
    journal.Recover();
    Engine otherJournal(other);
    {
        Transaction step(journal, "changing");
        Engine lookingOn(one); // opened after the step began
        ReplaceFileContent(In(journal, "held"), "step");
        ReplaceFileContent(In(otherJournal, "written"), "now");
        EXPECT_TRUE(FileExists(In(journal, "held")));
        EXPECT_FALSE(std::filesystem::exists(one / "held")) << "written before the commit";
        EXPECT_EQ(Bytes(other / "written"), "now") << "another folder's file held by this step";
        step.Rollback();
    }
    EXPECT_FALSE(FileExists(In(journal, "held")));
}

} // namespace
} // namespace platform

namespace platform {
namespace {

// What an engine's fault source was asked about: each name with the change to it, and how
// many flushes.
struct Asked final : FileFaults {
    std::set<std::string> changes;
    int flushes = 0;
    Fault BeforeChange(const std::filesystem::path&, size_t) override { return {}; }
    Fault Before(const Change& change) override {
        static const char* const kOps[] = {"staged",  "written", "flushed",   "folder flushed",
                                           "created", "renamed", "truncated", "removed"};
        changes.insert(change.file.filename().string() + " " + kOps[static_cast<int>(change.op)]);
        flushes += change.op == Op::Flush || change.op == Op::FlushFolder ? 1 : 0;
        return {};
    }
};

// Every step waits for the flush of its own record and no other, the first one after a start
// too: a folder without a journal (new, or its damaged journal put aside) gets one at the start.
TEST(TransactionTest, TheFirstStepAfterAStartWaitsForOneFlush) {
    const std::pair<const char*, void (*)(const std::filesystem::path&)> cases[] = {
        {"a new folder", [](const std::filesystem::path&) {}},
        {"a damaged journal put aside", DamagedFolder},
    };
    for (const auto& [name, plant] : cases) {
        vantreth::testing::TempFolder folder;
        const std::filesystem::path root = folder.path();
        plant(root);
        Asked asked;
        Engine journal(root, &asked);
        journal.Recover();
        asked = Asked();
        Transaction step(journal, "saving");
        ReplaceFileContent(In(journal, "rooms"), "x");
        step.Commit();
        EXPECT_EQ(asked.flushes, 1) << name;
    }
}

// A file goes through the engine it was named with, and through no other, wherever the other
// engine's folder lies: beside the first, inside its tree, or the same folder opened twice. A
// file named outside every folder is changed on the disk at once, even while a step runs over
// the folder it lies in, and asks no engine.
TEST(TransactionTest, EveryFileGoesThroughTheEngineItWasNamedWithAndNoOther) {
    const std::pair<const char*, const char*> cases[] = {
        {"beside", "one-more"}, {"inside the first's tree", "one/inner"}, {"the same folder", "one"}};
    // A whole-file save, a record and a line, each named by `name`.
    const auto change = [](const std::function<FilePath(const std::string&)>& name,
                           const std::string& prefix) {
        ReplaceFileContent(name(prefix + "-replaced"), "x");
        RandomFile(name(prefix + "-record"), 4).Put(1, "data");
        AppendLine(name(prefix + "-appended"), SeqLine().Text("x"));
    };
    for (const auto& [where, second] : cases) {
        vantreth::testing::TempFolder folder;
        const std::filesystem::path root = folder.path() / "one", otherRoot = folder.path() / second;
        std::filesystem::create_directories(root);
        std::filesystem::create_directories(otherRoot);
        Asked askedFirst, askedOther;
        Engine first(root, &askedFirst), other(otherRoot, &askedOther);
        first.Recover();
        askedFirst = Asked();
        {
            Transaction step(first, "changing");
            change([&](const std::string& name) { return In(first, name); }, "first");
            change([&](const std::string& name) { return In(other, name); }, "other");
            change([&](const std::string& name) { return Disk(root / name); }, "none");
            EXPECT_TRUE(FileExists(In(first, "first-record"))) << where;
            EXPECT_FALSE(FileExists(Disk(root / "first-record"))) << where << ": written before the commit";
            EXPECT_EQ(Bytes(otherRoot / "other-record"), "data")
                << where << ": held by another engine's step";
            EXPECT_EQ(Bytes(root / "none-record"), "data") << where << ": a file of no engine held by a step";
            step.Rollback();
        }
        for (const char* name : {"first-replaced", "first-record", "first-appended"})
            EXPECT_FALSE(FileExists(In(first, name))) << where << ": " << name;
        EXPECT_EQ(askedFirst.changes, (std::set<std::string>{"first-replaced staged", "first-record staged",
                                                             "first-appended staged"}))
            << where;
        // No step runs over the other folder: each change is a step of its own through its
        // engine (which starts first), journaled, then written into the file.
        // A file written to its length is not cut to it again.
        std::set<std::string> expected = {
            "journal written",        "journal flushed",        "other-replaced staged",
            "other-replaced created", "other-replaced written", "other-record staged",
            "other-record created",   "other-record written",   "other-appended staged",
            "other-appended created", "other-appended written"};
        if (otherRoot != root) // its journal and id are made by its start, as its first step's own
            expected.insert({"folder-id created", "folder-id written", "folder-id flushed", "journal created",
                             otherRoot.filename().string() + " folder flushed"});
        EXPECT_EQ(askedOther.changes, expected) << where;
    }
}

// Flushing is each engine's own: one switched off flushes nothing, neither at a commit nor
// outside a step, while another engine beside it flushes as always.
TEST(TransactionTest, OnlyTheEngineSwitchedOffWritesWithoutFlushing) {
    for (const bool durable : {true, false}) {
        vantreth::testing::TempFolder folder;
        std::filesystem::create_directory(folder.path() / "a");
        std::filesystem::create_directory(folder.path() / "b");
        Asked askedSwitched, askedBeside;
        Engine switched(folder.path() / "a", &askedSwitched), beside(folder.path() / "b", &askedBeside);
        switched.SetDurable(durable);
        for (Engine* engine : {&switched, &beside}) {
            engine->Recover();
            {
                Transaction step(*engine, "saving");
                ReplaceFileContent(In(*engine, "in-step"), "x");
                step.Commit();
            }
            ReplaceFileContent(In(*engine, "outside-step"), "x");
            engine->Checkpoint();
        }
        EXPECT_EQ(askedSwitched.flushes > 0, durable);
        EXPECT_GT(askedBeside.flushes, 0) << "switched off beside the other";
        EXPECT_EQ(Bytes(folder.path() / "a" / "in-step"), "x");
    }
}

// Damage found in a file is kept by the engine the file was named with, for its program to
// tell; a file of no engine has no clerk to tell.
TEST(TransactionTest, DamageIsKeptByTheEngineOfTheFileOnly) {
    vantreth::testing::TempFolder folder;
    std::filesystem::create_directory(folder.path() / "a");
    std::filesystem::create_directory(folder.path() / "b");
    Engine a(folder.path() / "a"), b(folder.path() / "b");
    Store(folder.path() / "a" / "ledger", "\"a\",1\r\n\"b");
    const std::pair<FilePath, std::pair<size_t, size_t>> cases[] = {
        {In(a, "ledger"), {1, 0}}, {Disk(folder.path() / "a" / "ledger"), {0, 0}}};
    for (const auto& [file, told] : cases) {
        SeqReader(file).NextLine();
        const std::vector<std::string> toldByA = a.damage().Take();
        EXPECT_EQ(toldByA.size(), told.first) << file;
        EXPECT_EQ(b.damage().Take().size(), told.second) << file;
        if (!toldByA.empty()) {
            EXPECT_NE(toldByA[0].find(file.string()), std::string::npos) << toldByA[0];
        }
    }
}

// A folder's handle names a file given whole with its engine only when the file lies in the
// folder: a folder whose name merely begins with the folder's is another folder.
TEST(TransactionTest, AFileGivenWholeHasTheFoldersEngineOnlyInsideIt) {
    vantreth::testing::TempFolder folder;
    const std::filesystem::path root = folder.path() / "data";
    Engine engine(root);
    const DataFolder data(root, &engine);
    const std::pair<std::filesystem::path, bool> cases[] = {
        {root / "clock", true},
        {root / "print" / "report.pdf", true},
        {root, true},
        {root / "print" / ".." / "clock", true},
        {folder.path() / "data2", false},
        {folder.path() / "data2" / "clock", false},
        {root / ".." / "clock", false},
        {folder.path(), false},
    };
    for (const auto& [file, inside] : cases)
        EXPECT_EQ(data.FileAt(file).engine() == &engine, inside) << file;
}

// A step saved whose file could not be written after the commit point is in its file before
// anything reads the folder or saves the next step.
TEST(EngineTest, ASavedStepIsInItsFilesBeforeTheNextStepReadsOrSaves) {
    struct FirstWriteFails final : FileFaults {
        bool failed = false;
        Fault BeforeChange(const std::filesystem::path&, size_t) override { return {}; }
        Fault Before(const Change& change) override {
            if (change.op != Op::Write || change.file.filename() != "aaaaaaaaaa" || failed)
                return {};
            failed = true;
            return {Kind::Fail, EIO};
        }
    };
    for (const bool next : {false, true}) { // next: reads, or saves straight away
        vantreth::testing::TempFolder folder;
        const std::filesystem::path root = folder.path();
        FirstWriteFails faults;
        Engine journal(root, &faults);
        journal.Recover();
        {
            Transaction step(journal, "saving");
            RandomFile(In(journal, "aaaaaaaaaa"), 4).Put(1, "data");
            step.Commit();
        }
        ASSERT_TRUE(faults.failed);
        ASSERT_NE(Bytes(root / "aaaaaaaaaa"), "data");
        if (next) {
            PendingChanges changes;
            changes.Write(In(journal, "bbbbbbbbbb"), 0, "more");
            journal.Commit("saving more", changes);
        } else {
            Transaction looking(journal, "looking");
            EXPECT_EQ(RandomFile(In(journal, "aaaaaaaaaa"), 4).Get(1), "data");
        }
        EXPECT_EQ(Bytes(root / "aaaaaaaaaa"), "data") << (next ? "saving" : "reading");
        EXPECT_TRUE(journal.Whole());
    }
}

} // namespace
} // namespace platform

namespace platform {
namespace {

// A fault source that lets every change through and keeps what each was (for the tests that
// watch the order of the engine's changes).
struct Watched final : FileFaults {
    struct Seen {
        Op op;
        std::filesystem::path file;
        size_t bytes;
        long long size; // the file's length on the disk just before (-1: missing)
    };
    std::vector<Seen> seen;
    std::function<Fault(const Change&)> fault; // none when empty
    Fault BeforeChange(const std::filesystem::path&, size_t) override { return {}; }
    Fault Before(const Change& change) override {
        std::error_code ec;
        const auto size = std::filesystem::file_size(change.file, ec);
        seen.push_back({change.op, change.file, change.bytes, ec ? -1 : static_cast<long long>(size)});
        return fault ? fault(change) : Fault{};
    }
    long Count(Op op, const std::string& name) const {
        return std::count_if(seen.begin(), seen.end(), [&](const Seen& s) {
            return s.op == op && (name.empty() || s.file.filename() == name);
        });
    }
};

void Save(Engine& journal, const std::string& name, const std::string& data = "data") {
    Transaction step(journal, "saving " + name);
    RandomFile(In(journal, name), static_cast<int>(data.size())).Put(1, data);
    step.Commit();
}

std::string Joined(const std::vector<std::string>& messages) {
    std::string out;
    for (const std::string& m : messages)
        out += m + "\n";
    return out;
}

size_t Occurrences(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

// A flush of the files failing on the engine's thread: the first failure is kept and told once,
// every step after it refused and nothing of it saved while reads go on; a bounded number of
// spaced attempts write the files again on the engine's thread (never on the window's), and the
// one that holds lets steps be saved again, said once, and the journal is cut. A power cut at
// the end loses nothing saved.
TEST(EngineTest, AFlushThatKeepsFailingRefusesStepsAndIsTriedAgainAFewTimesSpacedOut) {
    constexpr int kRetryMs = 40;
    for (const int failing : {0, 2, Engine::kFailingAttempts}) { // attempts failing before the disk answers
        vantreth::testing::CountingFaults faults;
        faults.TrackFlushes(true);
        vantreth::testing::TempFolder folder;
        const std::filesystem::path root = folder.path();
        std::atomic<int> error{0};
        std::mutex mutex;
        std::vector<std::chrono::steady_clock::time_point> failed; // each flush that failed
        Engine journal(root, &faults);
        journal.SetFailingRetryMs(kRetryMs);
        journal.SetFlusher([&](int, bool) {
            const int e = error.load();
            if (e != 0) {
                std::lock_guard lock(mutex);
                failed.push_back(std::chrono::steady_clock::now());
            }
            return e;
        });
        journal.Recover();
        Save(journal, "aaaa");
        error = EIO;
        faults.Disarm(); // the changes are counted from here
        bool thrown = false;
        for (int round = 0; round < 5000 && !thrown; ++round) {
            try {
                journal.CheckpointWithoutWaiting();
            } catch (const IoError&) {
                thrown = true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        ASSERT_TRUE(thrown) << failing;
        {
            Transaction looking(journal, "looking");
            EXPECT_EQ(RandomFile(In(journal, "aaaa"), 4).Get(1), "data") << failing;
        }
        ASSERT_EQ(journal.state(), Engine::State::Failing) << failing;
        std::string notes = Joined(journal.TakeNotes());
        EXPECT_EQ(Occurrences(notes, "The disk did not take"), 1u) << failing << ": " << notes;
        EXPECT_TRUE(journal.TakeNotes().empty()) << failing << ": told twice";
        const long long size = journal.size();
        PendingChanges changes;
        changes.Write(In(journal, "bbbb"), 0, "more");
        EXPECT_THROW(journal.Commit("saving bbbb", changes), DiskFailing) << failing;
        EXPECT_FALSE(std::filesystem::exists(root / "bbbb")) << failing;
        EXPECT_EQ(journal.size(), size) << failing;

        // Until the journal is cut, or, the attempts all made, long enough for several more.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        bool cut = false;
        while (!cut && std::chrono::steady_clock::now() < deadline) {
            {
                std::lock_guard lock(mutex);
                if (failed.size() >= 1 + static_cast<size_t>(failing) && failing < Engine::kFailingAttempts)
                    error = 0; // the checkpoint's own failure, then `failing` attempts
                if (failed.size() >= 1 + static_cast<size_t>(failing) &&
                    failing == Engine::kFailingAttempts &&
                    std::chrono::steady_clock::now() - failed.back() >
                        std::chrono::milliseconds(kRetryMs * 4))
                    break;
            }
            try {
                cut = journal.CheckpointWithoutWaiting() && journal.state() == Engine::State::Open;
            } catch (const IoError&) {
            }
            notes += Joined(journal.TakeNotes());
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        {
            std::lock_guard lock(mutex);
            const int attempts = static_cast<int>(failed.size()) - 1;
            EXPECT_EQ(attempts, failing) << "attempts made";
            for (size_t i = 2; i < failed.size(); ++i)
                EXPECT_GE(failed[i] - failed[i - 1], std::chrono::milliseconds(kRetryMs / 2))
                    << failing << ": attempts not spaced out";
        }
        long rewrites = 0; // of the file on the window's thread, since the flush failed
        for (long n = 1; n <= faults.count(); ++n)
            rewrites += faults.OpOf(n) == FileFaults::Op::Write && faults.FileOf(n).filename() == "aaaa";
        EXPECT_EQ(rewrites, 1) << failing << ": the files written again on the window's thread";
        if (failing < Engine::kFailingAttempts) {
            EXPECT_TRUE(cut) << failing;
            EXPECT_EQ(journal.state(), Engine::State::Open) << failing;
            EXPECT_EQ(Occurrences(notes, "The disk answers again"), 1u) << failing << ": " << notes;
            EXPECT_EQ(journal.size(), static_cast<long long>(kJournalHeaderBytes)) << failing;
            Save(journal, "bbbb");
        } else {
            EXPECT_EQ(journal.state(), Engine::State::Failing);
            EXPECT_EQ(Occurrences(notes, "The disk answers again"), 0u) << notes;
        }
        faults.LoseUnflushed(); // a power cut
        Engine(root).Recover();
        EXPECT_EQ(Bytes(root / "aaaa"), "data") << failing;
        EXPECT_EQ(Bytes(root / "bbbb"), failing < Engine::kFailingAttempts ? "data" : "") << failing;
    }
}

} // namespace
} // namespace platform

namespace platform {
namespace {

// Fails the journal's changes by their turn from the write of a step's record on.
struct RecordFaults final : FileFaults {
    std::vector<Kind> plan; // the record's write, then each change to the journal after it
    size_t turn = 0;
    Fault BeforeChange(const std::filesystem::path&, size_t) override { return {}; }
    Fault Before(const Change& change) override {
        if (change.file.filename() != kJournalName || plan.empty())
            return {};
        if (turn == 0 && (change.op != Op::Write || change.bytes == kJournalHeaderBytes ||
                          change.bytes == kJournalSlotBytes))
            return {};
        const Kind kind = turn < plan.size() ? plan[turn] : Kind::None;
        ++turn;
        return {kind, EIO};
    }
};

// A step whose record's write or flush fails: written again and saved when that holds (said),
// not saved when the record is taken back or never written whole (and what a write left is
// cut off before the next record: nothing damaged at the next start), unsure when nothing more
// of the journal can be written; the next start then names the last step found saved.
TEST(EngineTest, AStepWhoseRecordFailsIsSavedNotSavedOrInDoubtAndTheNextStartSaysWhich) {
    using Kind = FileFaults::Kind;
    enum class Ends { Saved, NotSaved, Unsure };
    struct Case {
        const char* name;
        std::vector<Kind> plan;
        Ends ends;
        bool recordLost; // Unsure: the record never reached the disk
    };
    const Case cases[] = {
        {"flush fails once", {Kind::None, Kind::Fail}, Ends::Saved, false},
        {"write fails", {Kind::Fail}, Ends::NotSaved, false},
        {"write goes half way", {Kind::Partial}, Ends::NotSaved, false},
        {"flush and write again fail", {Kind::None, Kind::Fail, Kind::Fail}, Ends::NotSaved, false},
        {"flush, write again and take back fail",
         {Kind::None, Kind::Fail, Kind::Fail, Kind::Fail},
         Ends::Unsure,
         false},
        {"the same, the record lost", {Kind::None, Kind::Fail, Kind::Fail, Kind::Fail}, Ends::Unsure, true},
    };
    for (const Case& c : cases) {
        vantreth::testing::TempFolder folder;
        const std::filesystem::path root = folder.path();
        RecordFaults faults;
        {
            Engine journal(root, &faults);
            journal.Recover();
            Save(journal, "first");
            const long long before = journal.size();
            faults.plan = c.plan;
            std::string thrown = "nothing";
            try {
                Save(journal, "aaaa", std::string(400, 'a'));
            } catch (const StepOutcomeUnknown&) {
                thrown = "unsure";
            } catch (const IoError& e) {
                thrown = e.what();
            }
            faults.plan.clear();
            const std::string notes = Joined(journal.TakeNotes());
            switch (c.ends) {
            case Ends::Saved:
                EXPECT_EQ(thrown, "nothing") << c.name;
                EXPECT_NE(notes.find("It was written again: it is saved"), std::string::npos) << c.name;
                break;
            case Ends::NotSaved:
                EXPECT_NE(thrown.find("Input/output error"), std::string::npos) << c.name << ": " << thrown;
                EXPECT_EQ(journal.state(), Engine::State::Open) << c.name;
                break;
            case Ends::Unsure:
                EXPECT_EQ(thrown, "unsure") << c.name;
                EXPECT_EQ(journal.state(), Engine::State::Unsure) << c.name;
                PendingChanges changes;
                changes.Write(In(journal, "bbbb"), 0, "more");
                EXPECT_THROW(journal.Commit("saving bbbb", changes), StepOutcomeUnknown) << c.name;
                break;
            }
            EXPECT_EQ(FileExists(Disk(root / "aaaa")), c.ends == Ends::Saved) << c.name;
            if (c.ends != Ends::Unsure)
                Save(journal, "bbbb"); // written where the failed record began
            if (c.recordLost) {
                std::filesystem::resize_file(root / kJournalName, static_cast<uintmax_t>(before));
                std::filesystem::remove(root / "aaaa");
            }
        } // killed: no clean end
        const std::string told = Joined(Engine(root).Recover());
        EXPECT_EQ(told.find("damaged"), std::string::npos) << c.name << ": " << told;
        const std::string last = c.ends != Ends::Unsure ? "saving bbbb"
                                 : c.recordLost         ? "saving first"
                                                        : "saving aaaa";
        EXPECT_NE(told.find("The last step found saved is \"" + last + "\""), std::string::npos)
            << c.name << ": " << told;
        EXPECT_EQ(FileExists(Disk(root / "aaaa")),
                  c.ends == Ends::Saved || (c.ends == Ends::Unsure && !c.recordLost))
            << c.name;
    }
    // A start after a clean end tells nothing; after a kill, the last step saved.
    for (const bool clean : {true, false}) {
        vantreth::testing::TempFolder folder;
        {
            Engine journal(folder.path());
            journal.Recover();
            Save(journal, "aaaa");
            if (clean) {
                journal.Checkpoint();
                journal.Close();
            }
        }
        const std::string told = Joined(Engine(folder.path()).Recover());
        EXPECT_EQ(told.find("The last step found saved is \"saving aaaa\"") != std::string::npos, !clean)
            << told;
    }
}

} // namespace
} // namespace platform

namespace platform {
namespace {

// A start ends whole or changes nothing more: one that could not flush what it wrote, cut the
// journal or put a damaged one aside ends look-only, saying why; one that could not write the
// files stops. Either way no step is taken after it, and a damaged journal is never put aside
// before what it gave is flushed.
TEST(EngineTest, AStartThatCannotFinishEndsLookOnlyOrStoppedAndTakesNoStep) {
    using Op = FileFaults::Op;
    struct Case {
        const char* name;
        bool damaged;     // the second record is damaged: the journal is to be put aside
        Op op;            // the change that fails at the start
        const char* file; // of this file
        bool onThread;    // the flush fails on the engine's thread instead
        Engine::State ends;
    };
    const Case cases[] = {
        {"a file's flush", false, Op::Flush, "aaaaaaaaaa", false, Engine::State::ReadOnly},
        {"a file's flush on the engine's thread", false, Op::Flush, "", true, Engine::State::ReadOnly},
        {"the cut", false, Op::Truncate, kJournalName, false, Engine::State::ReadOnly},
        {"the flush before the put-aside", true, Op::Flush, "", true, Engine::State::ReadOnly},
        {"the put-aside", true, Op::Rename, kDamagedJournalName, false, Engine::State::ReadOnly},
        {"a file's write", false, Op::Write, "aaaaaaaaaa", false, Engine::State::Stopped},
    };
    for (const Case& c : cases) {
        vantreth::testing::TempFolder folder;
        const std::filesystem::path root = folder.path();
        if (c.damaged)
            DamagedFolder(root);
        else
            SaveTwoStepsUncheckpointed(root);
        Watched faults;
        faults.fault = [&c](const FileFaults::Change& change) -> FileFaults::Fault {
            if (!c.onThread && change.op == c.op && change.file.filename() == c.file)
                return {FileFaults::Kind::Fail, EIO};
            return {};
        };
        Engine journal(root, &faults);
        if (c.onThread)
            journal.SetFlusher([](int, bool) { return EIO; });
        std::string told;
        try {
            told = Joined(journal.Recover());
        } catch (const FolderNotWhole& e) {
            told = e.what();
        }
        EXPECT_EQ(journal.state(), c.ends) << c.name;
        if (c.ends == Engine::State::ReadOnly) {
            EXPECT_NE(told.find("open only to be looked at (its start could not be finished"),
                      std::string::npos)
                << c.name << ": " << told;
            EXPECT_NE(told.find("Input/output error"), std::string::npos) << c.name << ": " << told;
        }
        if (c.damaged) {
            EXPECT_TRUE(FileExists(Disk(root / kJournalName))) << c.name << ": put aside all the same";
            EXPECT_FALSE(FileExists(Disk(root / kDamagedJournalName))) << c.name;
        }
        const size_t changes = faults.seen.size();
        PendingChanges step;
        step.Write(Disk(root / "cccc"), 0, "more");
        try {
            journal.Commit("saving cccc", step);
            ADD_FAILURE() << c.name << ": a step was taken";
        } catch (const FolderReadOnly& e) {
            EXPECT_EQ(c.ends, Engine::State::ReadOnly) << c.name;
            EXPECT_NE(std::string(e.what()).find("Input/output error"), std::string::npos)
                << c.name << ": the reason is not said: " << e.what();
        } catch (const FolderNotWhole&) {
            EXPECT_EQ(c.ends, Engine::State::Stopped) << c.name;
        }
        EXPECT_EQ(faults.seen.size(), changes) << c.name << ": written after the start";
        EXPECT_FALSE(FileExists(Disk(root / "cccc"))) << c.name;
    }
}

// Where a damaged journal is put aside, a link or a folder planted under that name is left as
// it is (never written through, never replaced), and the journal goes aside under another name.
TEST(EngineTest, ALinkOrFolderWhereTheJournalGoesAsideIsLeftAsItIs) {
    for (const bool link : {true, false}) {
        vantreth::testing::TempFolder folder;
        const std::filesystem::path root = folder.path() / "data", outside = folder.path() / "outside";
        std::filesystem::create_directory(root);
        DamagedFolder(root);
        if (link) {
            Store(outside, "not the program's");
            std::filesystem::create_symlink(outside, root / kDamagedJournalName);
        } else {
            std::filesystem::create_directory(root / kDamagedJournalName);
            Store(root / kDamagedJournalName / "kept", "kept");
        }
        const std::string told = Joined(Engine(root).Recover());
        EXPECT_NE(told.find("\"saving bbbbbbbbbb\" was saved; it may be lost"), std::string::npos) << told;
        EXPECT_FALSE(std::filesystem::is_symlink(root / kJournalName)) << link;
        EXPECT_TRUE(NoStepInJournal(root)) << link;
        if (link) {
            EXPECT_TRUE(std::filesystem::is_symlink(root / kDamagedJournalName));
            EXPECT_EQ(Bytes(outside), "not the program's");
        } else {
            EXPECT_EQ(Bytes(root / kDamagedJournalName / "kept"), "kept");
        }
    }
}

// A record that reaches past where a file of its kind can (its length, a write, a whole file),
// its checksum whole, is damage: never applied, put aside and told; within the reach the same
// record is applied (a length the file never had stays refused as before).
TEST(EngineTest, ARecordReachingPastAFilesKindIsDamage) {
    struct Case {
        const char* name;
        long long reach; // of the file "bbbbbbbbbb"
        bool longer;     // its record gives it a length 256 bytes past its writes
        bool applied;
        const char* told;
    };
    const Case cases[] = {
        {"a length past the reach", 100, true, false, "\"saving bbbbbbbbbb\" was saved; it may be lost"},
        {"a length within it", 1000, true, true, "never had"},
        {"a write past the reach", 2, false, false, "\"saving bbbbbbbbbb\" was saved; it may be lost"},
        {"within it", 4, false, true, ""},
    };
    for (const Case& c : cases) {
        vantreth::testing::TempFolder folder;
        const std::filesystem::path root = folder.path();
        SaveTwoStepsUncheckpointed(root);
        std::filesystem::remove(root / "bbbbbbbbbb");
        std::string log = Bytes(root / kJournalName);
        if (c.longer) {
            const size_t at = log.find("VREC", log.find("VREC") + 1);
            log[log.find("L\x0a", at) + 16] = 1; // 256 bytes more
            Reseal(log, at);
        }
        Store(root / kJournalName, log);
        Engine journal(root);
        journal.SetReach(
            [&c](std::string_view file) { return file == "bbbbbbbbbb" ? c.reach : kLargestFile; });
        std::string told;
        try {
            told = Joined(journal.Recover());
        } catch (const FolderNotWhole& e) {
            told = e.what();
        }
        EXPECT_EQ(FileExists(Disk(root / "bbbbbbbbbb")), c.applied) << c.name;
        if (*c.told == '\0') {
            EXPECT_EQ(told.find("damaged"), std::string::npos) << c.name << ": " << told;
        } else {
            EXPECT_NE(told.find(c.told), std::string::npos) << c.name << ": " << told;
        }
    }
}

} // namespace
} // namespace platform

namespace platform {
namespace {

// What a start finds beside the journal is its own message: a put-aside journal is told at
// every start until it was shown, then renamed as shown and never told again (a second one
// never taking the first one's place); the previous version's notes are told once and
// removed; a stale note of a step in doubt says nothing.
TEST(EngineTest, WhatLiesBesideTheJournalIsToldUntilShownAndThenNeverAgain) {
    struct Case {
        const char* name;
        std::function<void(const std::filesystem::path&)> plant;
        size_t messages; // told at each start until shown
        const char* told;
        const char* gone; // removed once shown ("" none)
    };
    const Case cases[] = {
        {"a damaged journal", DamagedFolder, 1, "put aside as \"journal.damaged\"", kDamagedJournalName},
        {"two damaged journals",
         [](const std::filesystem::path& root) {
             DamagedFolder(root);
             Engine(root).Recover(); // not shown: the clerk closed the program first
             DamagedFolder(root);
         },
         2, "put aside as \"journal.damaged-2\"", kDamagedJournalName},
        {"the previous version's notes",
         [](const std::filesystem::path& root) {
             Store(root / kUntoldName, std::string("Tell me once.\0", 14));
         },
         1, "Tell me once.", kUntoldName},
        {"a stale step in doubt",
         [](const std::filesystem::path& root) { Store(root / kUnsureName, "saving x"); }, 0, "", ""},
    };
    for (const Case& c : cases) {
        vantreth::testing::TempFolder folder;
        const std::filesystem::path root = folder.path();
        c.plant(root);
        for (int start = 0; start < 2; ++start) {
            Engine journal(root);
            const std::vector<std::string> told = journal.Recover();
            const std::string all = Joined(told);
            EXPECT_EQ(Occurrences(all, "put aside as") + Occurrences(all, "Tell me once."), c.messages)
                << c.name << " at start " << start << ": " << all;
            EXPECT_EQ(all.find("saving x"), std::string::npos) << c.name;
            if (*c.told != '\0') {
                EXPECT_NE(all.find(c.told), std::string::npos)
                    << c.name << " at start " << start << ": " << all;
            }
        }
        Engine shown(root);
        shown.Recover();
        shown.Told();
        shown.Close();
        EXPECT_TRUE(Engine(root).Recover().empty()) << c.name << ": told again after it was shown";
        if (*c.gone != '\0') {
            EXPECT_FALSE(FileExists(Disk(root / c.gone))) << c.name;
        }
        if (c.gone == std::string(kDamagedJournalName)) {
            EXPECT_TRUE(FileExists(Disk(root / (std::string(kDamagedJournalName) + kShownSuffix)))) << c.name;
        }
    }
}

int OpenDescriptors() {
    return static_cast<int>(std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {}));
}

// A checkpoint of more files than a process may hold open at once: it holds at most a batch of
// them, and the journal is cut all the same; with no thread to be had for the flushes, each batch
// is flushed where it is handed over and nothing is left in hand.
TEST(EngineTest, ACheckpointOfManyFilesHoldsABatchOpenAtATimeAndNeedsNoThread) {
    for (const bool thread : {true, false}) {
        vantreth::testing::TempFolder folder;
        const std::filesystem::path root = folder.path();
        Engine journal(root);
        journal.Recover();
        std::atomic<int> most{0};
        const int before = OpenDescriptors();
        const std::thread::id window = std::this_thread::get_id();
        std::atomic<bool> elsewhere{false};
        journal.SetFlusher([&](int, bool) {
            most = std::max(most.load(), OpenDescriptors() - before);
            elsewhere = elsewhere || std::this_thread::get_id() != window;
            return 0;
        });
        journal.SetNoFlushThread(!thread);
        {
            Transaction step(journal, "saving many");
            for (int i = 0; i < 1200; ++i)
                RandomFile(In(journal, "f" + std::to_string(i)), 4).Put(1, "data");
            step.Commit();
        }
        if (thread) {
            journal.Checkpoint();
        } else {
            bool done = false;
            for (int round = 0; round < 20 && !done; ++round)
                done = journal.CheckpointWithoutWaiting();
            EXPECT_TRUE(done) << "a batch stayed in hand";
            EXPECT_FALSE(journal.Checkpointing());
            EXPECT_FALSE(elsewhere) << "flushed on a thread";
        }
        EXPECT_LE(most.load(), static_cast<int>(Engine::kBatchFiles) + 8) << thread;
        EXPECT_EQ(journal.size(), static_cast<long long>(kJournalHeaderBytes)) << thread;
        EXPECT_FALSE(journal.NeedsCheckpoint()) << thread;
    }
}

// Steps saved while a checkpoint's flushes are held, each writing files anew: the journal never
// grows past its limit by more than one record, a step finding it past the limit waiting for a
// checkpoint first.
TEST(EngineTest, TheJournalStaysBoundedWhileACheckpointIsHeld) {
    for (const bool held : {false, true}) {
        vantreth::testing::TempFolder folder;
        const std::filesystem::path root = folder.path();
        vantreth::testing::HeldFlushes flushes;
        Engine journal(root);
        journal.SetFlusher(flushes.flusher());
        journal.Recover();
        const std::string data(64 * 1024, 'x');
        std::atomic<bool> past{false};
        std::thread releaser;
        if (held) {
            flushes.Hold();
            Save(journal, "first");
            EXPECT_FALSE(journal.CheckpointWithoutWaiting());
            releaser = std::thread([&] {
                while (!past)
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
                flushes.Release();
            });
        }
        long long largest = 0;
        for (int i = 0; i < 100; ++i) {
            past = past || journal.size() > Engine::kJournalLimit;
            Save(journal, "f" + std::to_string(i % 7), data);
            largest = std::max(largest, journal.size());
        }
        past = true;
        if (releaser.joinable())
            releaser.join();
        EXPECT_LE(largest, Engine::kJournalLimit + static_cast<long long>(data.size()) + 200) << held;
        EXPECT_FALSE(flushes.TimedOut()) << held;
    }
}

} // namespace
} // namespace platform

namespace platform {
namespace {

// A file a step replaced whole, written again from the journal (at a start, or before the next
// read after its write failed): written over what is there and only then cut to its length, so
// that a reader never finds it shorter than it ends.
TEST(EngineTest, AFileReplacedWholeIsNeverSeenShortWhileWrittenAgain) {
    for (const bool start : {true, false}) {
        vantreth::testing::TempFolder folder;
        const std::filesystem::path root = folder.path();
        Store(root / "aaaa", "xxxxxxxxxxxx");
        Watched faults;
        bool failOnce = !start;
        faults.fault = [&](const FileFaults::Change& change) -> FileFaults::Fault {
            if (change.op == FileFaults::Op::Write && change.file.filename() == "aaaa" &&
                std::exchange(failOnce, false))
                return {FileFaults::Kind::Fail, EIO};
            return {};
        };
        {
            Engine journal(root, start ? nullptr : &faults);
            journal.Recover();
            PendingChanges changes;
            changes.Replace(In(journal, "aaaa"), "yyyyyy");
            journal.Commit("replacing", changes);
            if (!start) {
                Transaction looking(journal, "looking");
                EXPECT_EQ(ReadFileAt(In(journal, "aaaa"), 0, 20), "yyyyyy");
            }
        }
        if (start) {
            Store(root / "aaaa", "xxxxxxxxxxxx"); // as before the step: its write never reached the disk
            Engine(root, &faults).Recover();
        }
        EXPECT_EQ(Bytes(root / "aaaa"), "yyyyyy") << start;
        long seen = 0;
        for (const Watched::Seen& s : faults.seen)
            if (s.file.filename() == "aaaa" &&
                (s.op == FileFaults::Op::Write || s.op == FileFaults::Op::Truncate)) {
                ++seen;
                EXPECT_GE(s.size, 6) << start << ": found short";
            }
        EXPECT_GT(seen, 0) << start;
    }
}

// The cut's flush failing on the engine's thread: the next step writes the cut again (the
// header's slot and the length) and flushes it on the journal's own descriptor before its record.
TEST(EngineTest, AStepAfterTheCutsFlushFailedWritesTheCutAgainFirst) {
    vantreth::testing::TempFolder folder;
    const std::filesystem::path root = folder.path();
    Watched faults;
    std::atomic<bool> cutFlushFails{false}, armed{false};
    Engine journal(root, &faults);
    journal.SetFlusher([&](int, bool) { return armed.exchange(false) ? EIO : 0; });
    journal.Recover();
    Save(journal, "aaaa");
    faults.fault = [&](const FileFaults::Change& change) -> FileFaults::Fault {
        if (change.op == FileFaults::Op::Truncate && change.file.filename() == kJournalName)
            cutFlushFails = armed = true; // the flush handed over after the truncation
        return {};
    };
    for (int round = 0; round < 5000 && !cutFlushFails; ++round) {
        try {
            journal.CheckpointWithoutWaiting();
        } catch (const IoError&) {
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_TRUE(cutFlushFails.load());
    faults.fault = nullptr;
    const size_t from = faults.seen.size();
    Save(journal, "bbbb");
    std::vector<std::string> order; // the journal's changes, up to its record
    for (size_t i = from; i < faults.seen.size(); ++i) {
        const Watched::Seen& s = faults.seen[i];
        if (s.file.filename() != kJournalName)
            continue;
        if (s.op == FileFaults::Op::Write && s.bytes != kJournalSlotBytes) {
            order.push_back("record");
            break;
        }
        order.push_back(s.op == FileFaults::Op::Write      ? "slot"
                        : s.op == FileFaults::Op::Truncate ? "cut"
                                                           : "flush");
    }
    EXPECT_EQ(order, (std::vector<std::string>{"slot", "flush", "cut", "flush", "record"}));
}

} // namespace
} // namespace platform

namespace platform {
namespace {

// What the engine reads of the folder it never takes from a link or a crash's leftovers: a flush
// failed meanwhile on its thread is looked at before the next read (the file written again
// first), a link put for the journal after the start is not read as the journal, a linked
// sub-folder or file is not written through at a start, and an empty id left by a crash is
// written anew, never taken as the folder's.
TEST(EngineTest, TheEngineTrustsNoLinkNorLeftoverForTheFolderItWrites) {
    vantreth::testing::TempFolder folder;
    const std::filesystem::path root = folder.path() / "data", outside = folder.path() / "outside";
    std::filesystem::create_directories(root);
    std::filesystem::create_directories(outside);
    {
        // The flush failed, and the kernel dropped what it could not write.
        vantreth::testing::HeldFlushes flushes;
        Engine journal(root);
        journal.SetFlusher(flushes.flusher());
        journal.Recover();
        Save(journal, "aaaa");
        flushes.FailWith(EIO);
        EXPECT_FALSE(journal.CheckpointWithoutWaiting());
        ASSERT_TRUE(flushes.WaitBegun(1));
        std::this_thread::sleep_for(std::chrono::milliseconds(200)); // finished, not yet looked at
        Store(root / "aaaa", std::string(4, '\0'));
        Transaction looking(journal, "looking");
        EXPECT_EQ(RandomFile(In(journal, "aaaa"), 4).Get(1), "data") << "read before the failure was seen";
    }
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root);
    {
        // A link put for the journal once the engine runs, to a journal holding another step.
        Engine journal(root);
        journal.Recover();
        Save(journal, "bbbb");
        std::filesystem::copy_file(root / kJournalName, outside / "journal");
        std::filesystem::remove(root / "bbbb");
        journal.Checkpoint();
        struct FailFirst final : FileFaults {
            bool failed = false;
            Fault BeforeChange(const std::filesystem::path&, size_t) override { return {}; }
            Fault Before(const Change& change) override {
                return change.op == Op::Write && change.file.filename() == "cccc" &&
                               !std::exchange(failed, true)
                           ? Fault{Kind::Fail, EIO}
                           : Fault{};
            }
        } faults;
        journal.SetFaults(&faults);
        Save(journal, "cccc"); // saved, its file not written: written again from the journal
        journal.SetFaults(nullptr);
        std::filesystem::remove(root / kJournalName);
        std::filesystem::create_symlink(outside / "journal", root / kJournalName);
        try {
            Transaction looking(journal, "looking");
            FileExists(In(journal, "bbbb"));
        } catch (const IoError&) {
        }
        EXPECT_FALSE(std::filesystem::exists(root / "bbbb")) << "the journal read through a link";
    }
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root);
    {
        // A sub-folder and a file the journal writes, each replaced by a link before the start.
        {
            Engine journal(root);
            journal.Recover();
            std::filesystem::create_directory(root / "sub");
            PendingChanges changes;
            changes.Write(In(journal, "sub/file"), 0, "data");
            changes.Write(In(journal, "plain"), 0, "data");
            journal.Commit("saving", changes);
        }
        std::filesystem::remove_all(root / "sub");
        std::filesystem::remove(root / "plain");
        std::filesystem::create_directory_symlink(outside, root / "sub");
        Store(outside / "target", "not the program's");
        std::filesystem::create_symlink(outside / "target", root / "plain");
        try {
            Engine(root).Recover();
        } catch (const IoError&) {
        }
        EXPECT_FALSE(std::filesystem::exists(outside / "file")) << "written through a linked folder";
        EXPECT_EQ(Bytes(outside / "target"), "not the program's") << "written through a linked file";
    }
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root);
    for (const std::string left : {"", "12ab"}) {
        // The folder's id cut short by a crash before its first journal.
        Store(root / kFolderIdName, left);
        {
            Engine journal(root);
            journal.Recover();
            Save(journal, "dddd");
        }
        const std::string told = Joined(Engine(root).Recover());
        EXPECT_EQ(told.find("another data folder"), std::string::npos) << '"' << left << "\": " << told;
        EXPECT_EQ(told.find("could not be read"), std::string::npos) << '"' << left << "\": " << told;
        EXPECT_EQ(Bytes(root / "dddd"), "data");
        EXPECT_EQ(Bytes(root / kFolderIdName).size(), 33u);
        std::filesystem::remove_all(root);
        std::filesystem::create_directories(root);
    }
}

} // namespace
} // namespace platform

namespace platform {
namespace {

// A file deleted and written again holds zeros wherever nothing was written since, within the
// step and when its steps are written again from the journal; a deleted file reads as missing,
// never as empty; appended lines always end closed, also after a last line left open.
TEST(TransactionTest, ADeletedFileIsGoneAndComesBackWithNothingOfItsOldBytes) {
    const std::string old = "xxxxxxxx", fresh = std::string(4, '\0') + "yy";
    for (const bool replayed : {false, true}) { // the delete and the write in two steps, then a kill
        vantreth::testing::TempFolder folder;
        const std::filesystem::path root = folder.path();
        Store(root / "aaaa", old);
        {
            Engine journal(root);
            journal.Recover();
            {
                Transaction step(journal, "deleting");
                DeleteFile(In(journal, "aaaa"));
                EXPECT_FALSE(FileExists(In(journal, "aaaa")));
                EXPECT_FALSE(ReadFile(In(journal, "aaaa")).has_value()) << "a deleted file read as there";
                EXPECT_THROW(SeqReader reader(In(journal, "aaaa")), IoError);
                if (!replayed) {
                    RandomFile(In(journal, "aaaa"), 2).Put(3, "yy");
                    EXPECT_EQ(ReadFile(In(journal, "aaaa")), fresh) << "old bytes read in the gaps";
                }
                step.Commit();
            }
            if (replayed) {
                Transaction step(journal, "writing again");
                RandomFile(In(journal, "aaaa"), 2).Put(3, "yy");
                step.Commit();
            }
        }
        EXPECT_EQ(Bytes(root / "aaaa"), fresh) << replayed;
        if (replayed) {
            Store(root / "aaaa", old); // the writes never reached the disk
            Engine(root).Recover();
            EXPECT_EQ(Bytes(root / "aaaa"), fresh) << "old bytes kept in the gaps";
        }
    }
    for (const bool inStep : {false, true}) {
        vantreth::testing::TempFolder folder;
        const std::filesystem::path root = folder.path();
        Store(root / "log", "open line");
        Engine journal(root);
        journal.Recover();
        {
            Transaction step(journal, "appending");
            const FilePath file = inStep ? In(journal, "log") : Disk(root / "log");
            SeqLine first, second;
            first.Text("one");
            second.Text("two");
            AppendLines(file, {first, second});
            step.Commit();
        }
        EXPECT_EQ(Bytes(root / "log"), "open line\r\n\"one\"\r\n\"two\"\r\n") << inStep;
    }
}

// An engine whose owner gives it quiet moments holds each step committed and writes its files
// then. Until then every way of looking at the folder finds the step: a read in the next step
// or outside every step, the quiet moment, a checkpoint (which cuts the journal only after),
// and the next start after a crash.
TEST(EngineTest, AHeldStepIsFoundByEveryWayOfLookingAtTheFolder) {
    using Look = std::function<std::string(Engine&, const std::filesystem::path&)>;
    const std::pair<const char*, Look> cases[] = {
        {"a read in the next step",
         [](Engine& e, const auto&) {
             Transaction next(e, "looking");
             return ReadFile(In(e, "held")).value_or("");
         }},
        {"a read outside every step",
         [](Engine& e, const auto&) { return ReadFile(In(e, "held")).value_or(""); }},
        {"the quiet moment",
         [](Engine& e, const auto& root) {
             e.WriteCommitted();
             return Bytes(root / "held");
         }},
        {"a checkpoint",
         [](Engine& e, const auto& root) {
             e.Checkpoint();
             return NoStepInJournal(root) ? Bytes(root / "held") : "the journal was not cut";
         }},
        {"a crash and the next start",
         [](Engine&, const auto& root) {
             Engine next(root);
             next.Recover();
             return Bytes(root / "held");
         }},
    };
    for (const auto& [name, look] : cases) {
        vantreth::testing::TempFolder temp;
        Engine engine(temp.path());
        engine.HoldUntilQuiet(true);
        engine.Recover();
        {
            Transaction step(engine, "saving");
            ReplaceFileContent(In(engine, "held"), "data");
            step.Commit();
        }
        ASSERT_FALSE(std::filesystem::exists(temp.path() / "held")) << name << ": written in the step's wait";
        EXPECT_EQ(look(engine, temp.path()), "data") << name;
    }
}

// The held step's files cannot be written at the quiet moment: the step stands in the journal,
// no read finds the folder without it while the disk refuses, and the next read once it answers
// writes it from the journal.
TEST(EngineTest, AHeldStepWhoseFilesCouldNotBeWrittenIsWrittenFromTheJournalBeforeTheNextRead) {
    vantreth::testing::TempFolder temp;
    vantreth::testing::CountingFaults faults;
    Engine engine(temp.path(), &faults);
    engine.HoldUntilQuiet(true);
    engine.Recover();
    {
        Transaction step(engine, "saving");
        ReplaceFileContent(In(engine, "held"), "data");
        step.Commit();
    }
    faults.ArmFrom(1, FileFaults::Kind::Fail);
    engine.WriteCommitted();
    EXPECT_FALSE(engine.Whole());
    {
        Transaction next(engine, "looking");
        EXPECT_THROW(ReadFile(In(engine, "held")), FolderNotWhole);
    }
    faults.Disarm();
    {
        Transaction next(engine, "looking");
        EXPECT_EQ(ReadFile(In(engine, "held")).value_or(""), "data");
    }
    EXPECT_EQ(Bytes(temp.path() / "held"), "data");
}
} // namespace
} // namespace platform
