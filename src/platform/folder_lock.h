// One copy of the program per data folder, and the tidying-up that copy does at start-up.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace platform {

// An exclusive advisory lock (flock) on the file `lock` in the data folder, held from
// Acquire until the object goes away, or the process ends however it ends. A second copy of
// the program on the same folder finds the lock taken. The descriptor is closed on exec, so
// a program started from here (the mail program) never keeps the folder locked.
class FolderLock {
public:
    enum class State {
        Held,     // this copy holds the lock
        Taken,    // another copy holds it: this one must not run on the folder
        Unlocked, // no lock could be had (a folder that cannot be written, a file system
                  // without locks): the folder can still be looked at, but nothing guards it
    };

    static constexpr const char* kFileName = "lock";

    // Tries once and never waits. When the lock file cannot be created because the folder
    // cannot be written, an existing lock file is locked through a read-only descriptor;
    // without one the result is Unlocked, with the reason. Any other failure to open the
    // lock file (the folder is missing, "lock" is a folder) throws IoError.
    static FolderLock Acquire(const std::filesystem::path& root);

    FolderLock(FolderLock&& other) noexcept;
    FolderLock& operator=(FolderLock&& other) noexcept;
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    ~FolderLock();

    State state() const { return m_state; }
    bool Held() const { return m_state == State::Held; }
    // Why the folder is Unlocked, in words; empty otherwise.
    const std::string& reason() const { return m_reason; }
    const std::filesystem::path& file() const { return m_file; }

private:
    FolderLock(std::filesystem::path file, State state, int fd, std::string reason);
    void Release();

    std::filesystem::path m_file;
    State m_state;
    int m_fd;
    std::string m_reason;
};

// Removes the temporary files that saves cut short (the program was killed, the power went)
// left in the data folder and the given sub-folders of it (the program's own, as it names
// them: records::DataSubFolders), and returns them. Call it only while holding
// the folder's lock: another copy's save in progress looks just the same. A file that cannot
// be removed is left for the next start; nothing here is an error.
//
// A save writes the new content to "<name>.XXXXXX" beside the file (mkostemp: a dot and six
// random letters and digits), then renames it over the file; the print folder's PDFs are
// saved the same way. Since the clerk's typing goes into some file names (a stay ledger is
// named after the guest), a file is taken for such a temporary only when all of these hold:
//  - it is a regular file (not a link or a folder) directly in the data folder or in one of
//    `subfolders`;
//  - its name is <target> "." <six>, <target> not empty and <six> exactly six characters of
//    A-Z, a-z and 0-9 mixing at least two of the kinds upper-case, lower-case and digit
//    (so "rooms.backup", "rooms.BACKUP" or "x.123456" are never touched; about one real
//    temporary in a hundred has a single-kind tail and stays, which does no harm);
//  - <target> is a file that the save was for: a regular file of that name exists beside it,
//    or the name has the shape of one the program creates there: it ends in a digit (every
//    per-day, shift, totals and stay-ledger name ends in the digits of a date), it is
//    "settings" or "clock" in the data folder, or a "report-....pdf" in the print folder;
//  - the name itself does not end in four digits. Every per-day, shift, totals and
//    stay-ledger name ends in the digits of its date (M D YY: four to six digits), and a
//    ledger name may hold a dot typed in the guest's name ("dailycharge101ST1126.AB1126"
//    for the guest "ST1126." "AB"), so no data file name can pass this test.
std::vector<std::filesystem::path> RemoveInterruptedSaves(const std::filesystem::path& root,
                                                          const std::vector<std::string>& subfolders);

} // namespace platform
