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
        Held,         // this copy holds the lock
        Taken,        // another copy holds it: this one must not run on the folder
        Unlocked,     // no lock could be had (a folder that cannot be written, a file system
                      // without locks): the folder can still be looked at, but nothing guards it
        HeldReadOnly, // held through a read-only descriptor, the folder cannot be written: it
                      // is only looked at, and no other copy changes it meanwhile
    };

    static constexpr const char* kFileName = "lock";

    // Tries once and never waits. When the lock file cannot be created because the folder
    // cannot be written, an existing lock file is locked through a read-only descriptor
    // (HeldReadOnly, with the reason); without one the result is Unlocked, with the reason. Any other failure
    // to open the lock file (the folder is missing, "lock" is a folder) throws IoError.
    static FolderLock Acquire(const std::filesystem::path& root);

    FolderLock(FolderLock&& other) noexcept;
    FolderLock& operator=(FolderLock&& other) noexcept;
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    ~FolderLock();

    State state() const { return m_state; }
    bool Held() const { return m_state == State::Held; }
    // Why the folder is Unlocked or HeldReadOnly, in words; empty otherwise.
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

// Removes the temporary files that whole-file saves cut short (the program was killed, the
// power went) left, and returns them. Call it only while holding the folder's lock: another
// copy's save in progress looks just the same. A file that cannot be removed is left for
// the next start; nothing here is an error.
//
// Steps never make temporaries (their changes go through the journal). A save outside a
// step writes "<name>.vantreth-saving" beside the file, and the program makes such saves only
// in the data folder itself, whose files are a fixed set: that folder alone is looked
// through, so the start does not grow with the years of data. The print folder (when one of
// `subfolders`) is looked through for its PDFs' temporaries: "<name>.XXXXXX.vantreth-saving",
// and, as earlier versions named them, "<name>.XXXXXX" (mkostemp: a dot and six letters and
// digits mixing at least two of the kinds upper-case, lower-case and digit) beside
// "report-....pdf", or beside a file of that name.
std::vector<std::filesystem::path> RemoveInterruptedSaves(const std::filesystem::path& root,
                                                          const std::vector<std::string>& subfolders);

} // namespace platform
