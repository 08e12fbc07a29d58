// The data folder's lock (one copy of the program per folder) and the start-up removal of
// the temporary files that interrupted saves left behind.
#include "platform/folder_lock.h"
#include "support/temp_folder.h"

#include "platform/files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <optional>
#include <spawn.h>
#include <stdlib.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace platform {
namespace {

class FolderTest : public ::testing::Test {
protected:
    vantreth::testing::TempFolder m_temp;
    const std::filesystem::path m_dir = m_temp.path();
};

TEST_F(FolderTest, SecondLockIsRefusedUntilTheFirstGoes) {
    {
        std::optional<FolderLock> held;
        {
            FolderLock first = FolderLock::Acquire(m_dir);
            ASSERT_EQ(first.state(), FolderLock::State::Held) << first.reason();
            EXPECT_EQ(first.file(), m_dir / "lock");
            struct stat st;
            ASSERT_EQ(::stat(first.file().c_str(), &st), 0);
            EXPECT_EQ(st.st_mode & 0777, 0600u);
            EXPECT_EQ(FolderLock::Acquire(m_dir).state(), FolderLock::State::Taken);
            held.emplace(std::move(first));
        }
        // The moved-from object gave nothing up when it went.
        EXPECT_TRUE(held->Held());
        EXPECT_EQ(FolderLock::Acquire(m_dir).state(), FolderLock::State::Taken);
    }
    FolderLock again = FolderLock::Acquire(m_dir);
    EXPECT_EQ(again.state(), FolderLock::State::Held);
    EXPECT_TRUE(std::filesystem::exists(m_dir / "lock")) << "the lock file stays for the next copy";
}

TEST_F(FolderTest, ProgramStartedWhileLockedDoesNotKeepTheLock) {
    pid_t child = 0;
    {
        FolderLock lock = FolderLock::Acquire(m_dir);
        ASSERT_TRUE(lock.Held());
        char sleep[] = "sleep";
        char seconds[] = "30";
        char* argv[] = {sleep, seconds, nullptr};
        ASSERT_EQ(posix_spawnp(&child, "sleep", nullptr, nullptr, argv, environ), 0);
    }
    const FolderLock::State state = FolderLock::Acquire(m_dir).state();
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    EXPECT_EQ(state, FolderLock::State::Held);
}

// A folder that cannot be written, its lock file there: the lock is held, but the folder is
// only looked at (the program must not take it for one it can change).
TEST_F(FolderTest, ALockHeldInAFolderThatCannotBeWrittenSaysSo) {
    FolderLock::Acquire(m_dir); // the lock file is there
    std::optional<FolderLock> lock;
    {
        const vantreth::testing::Unwritable lockFile(m_dir / "lock"), folder(m_dir);
        if (!folder.refused())
            GTEST_SKIP() << "nothing here refuses root a write";
        lock = FolderLock::Acquire(m_dir);
    }
    EXPECT_EQ(lock->state(), FolderLock::State::HeldReadOnly);
    EXPECT_FALSE(lock->Held());
    EXPECT_NE(lock->reason().find("cannot be written"), std::string::npos) << lock->reason();
    EXPECT_EQ(FolderLock::Acquire(m_dir).state(), FolderLock::State::Taken) << "still guarded";
}

TEST_F(FolderTest, LockFileThatCannotBeOpenedIsAnError) {
    EXPECT_THROW(FolderLock::Acquire(m_dir / "missing"), IoError);
    std::filesystem::create_directory(m_dir / "lock");
    EXPECT_THROW(FolderLock::Acquire(m_dir), IoError);
}

TEST_F(FolderTest, RemoveInterruptedSavesTakesOnlyTemporaries) {
    enum Kind { File, Folder, Link };
    struct Case {
        const char* name; // in the data folder, or "sub-folder/name"
        bool removed;
        Kind kind = File;
    };
    const Case cases[] = {
        // Temporaries of whole-file saves: one suffix, in the data folder itself.
        {"settings.vantreth-saving", true},
        {"clock.vantreth-saving", true},
        {"dbpaymentyesno.vantreth-saving", true},
        {"restodayyes.vantreth-saving", true},
        {"print/report-20261206-093000-1.pdf.Zx81Kd", true},
        {"print/report-20261206-093000-2.pdf.aaaaaa.vantreth-saving", true}, // any random part
        {"print/report-20261206-093000-3.pdf.Q7P2ZK.vantreth-saving", true},
        // The data files themselves.
        {"settings", false},
        {"lock", false},
        {"journal", false},
        {"sleepers/12626", false},
        {"totals/totals12626", false},
        {"history/history", false},
        {"print/report-20261206-093000-1.pdf", false},
        {"print/not-yet-printed", false},
        {"dailycharge/dailycharge101ST1126.AB1126", false},
        // Sub-folders are not looked through (steps make no temporaries), nor other shapes.
        {"sleepers/12626.vantreth-saving", false},
        {"totals/totals12626.Kp0aaa", false},
        {"settings.Ab12Cd", false},
        {".vantreth-saving", false},
        {"settings.vantreth-saving2", false},
        // The save was not for a file of the program.
        {"rooms.aB3dEf", false},
        {"print/notes.txt.aB3dEf", false},
        {"elsewhere/12626.x7Yk2Q", false},        // not one of the program's sub-folders
        {"rooms.vantreth-saving", false, Folder}, // a folder is never removed...
        {"clock2.vantreth-saving", false, Link},  // ...nor a link
    };
    // The program's sub-folders, as far as the cases need them.
    const std::vector<std::string> subfolders = {"sleepers", "totals",     "dailycharge",
                                                 "history",  "directbill", "print"};
    DataFolder(m_dir, nullptr).EnsureLayout(subfolders);
    std::vector<std::filesystem::path> expected;
    for (const Case& c : cases) {
        const std::filesystem::path path = m_dir / c.name;
        std::filesystem::create_directories(path.parent_path());
        if (c.kind == Folder)
            std::filesystem::create_directory(path);
        else if (c.kind == Link)
            std::filesystem::create_symlink(m_dir / "settings", path);
        else
            std::ofstream(path) << "content of " << c.name;
        if (c.removed)
            expected.push_back(path);
    }

    std::vector<std::filesystem::path> removed = RemoveInterruptedSaves(m_dir, subfolders);
    std::sort(removed.begin(), removed.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(removed, expected);
    for (const Case& c : cases)
        EXPECT_EQ(std::filesystem::exists(std::filesystem::symlink_status(m_dir / c.name)), !c.removed)
            << c.name;
}

} // namespace
} // namespace platform

namespace platform {
namespace {

// A folder that can be written whose lock file alone cannot: the lock is held look-only, and
// the reason names the lock file, not the folder.
TEST_F(FolderTest, ALockFileThatAloneCannotBeWrittenIsNamedAsTheReason) {
    FolderLock::Acquire(m_dir); // the lock file is there
    std::optional<FolderLock> lock;
    {
        const vantreth::testing::Unwritable lockFile(m_dir / "lock");
        if (!lockFile.refused())
            GTEST_SKIP() << "nothing here refuses root a write";
        lock = FolderLock::Acquire(m_dir);
    }
    EXPECT_EQ(lock->state(), FolderLock::State::HeldReadOnly);
    EXPECT_NE(lock->reason().find("the lock file " + (m_dir / "lock").string() + " cannot be written"),
              std::string::npos)
        << lock->reason();
}

} // namespace
} // namespace platform
