// The storage engine's own thread for the flushes of a checkpoint, so that a slow disk holds
// no key up. The engine hands over one batch of open files and folders at a time and goes
// on; between events it looks whether the batch finished and how. Only the flushes run here:
// deciding what to flush, and what a failure means, stays with the engine (journal.h).
#pragma once

#include <condition_variable>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

namespace platform {

// Runs one flush: of a file's data (fdatasync) or of a folder's names (fsync). Returns 0, or
// the system's error number. A test puts its own in the engine (Engine::SetFlusher) to make
// a flush hang or fail.
using Flusher = std::function<int(int fd, bool folder)>;
// The real flush. A file system that cannot flush a folder at all (EINVAL) counts as done:
// its names reach the disk with the files.
int FlushToDisk(int fd, bool folder);

class FlushWorker {
public:
    // One flush to run. The descriptor is its own (closed once flushed or dropped), so that a
    // failure reported to it is not taken from another description of the same file.
    class Job {
    public:
        // `disk` false: the flush was already kept by the tests' fault source, so the real
        // one is not run (a test's flusher runs all the same).
        Job(std::filesystem::path file, int fd, bool folder, bool disk)
            : m_file(std::move(file)), m_fd(fd), m_folder(folder), m_disk(disk) {}
        // A file opened on this thread (by `open`, which returns the descriptor or -errno), its
        // `writes` made over what it holds and then its length set to `length` (-1: left), before
        // the flush: a file written again from the journal, one at a time, off the window's thread.
        Job(std::filesystem::path file, std::function<int()> open,
            std::vector<std::pair<long long, std::string>> writes, long long length, bool disk)
            : m_file(std::move(file)), m_fd(-1), m_folder(false), m_disk(disk), m_open(std::move(open)),
              m_writes(std::move(writes)), m_length(length) {}
        Job(Job&& other) noexcept;
        Job& operator=(Job&&) = delete;
        Job(const Job&) = delete;
        ~Job();

        const std::filesystem::path& file() const { return m_file; }
        int fd() const { return m_fd; }
        bool folder() const { return m_folder; }
        bool disk() const { return m_disk; }
        // Opens (when opened here) and writes what the job writes; 0 or the system's error number.
        int Prepare();

    private:
        std::filesystem::path m_file;
        int m_fd;
        bool m_folder;
        bool m_disk;
        std::function<int()> m_open;
        std::vector<std::pair<long long, std::string>> m_writes;
        long long m_length = -1;
    };

    // The first flush that failed in a batch; none when every one was done.
    struct Failure {
        std::filesystem::path file;
        int error = 0;
    };
    // How a batch ended: the flushes done (each a file, or a folder when second is true), in order,
    // and the one that failed, if any (the rest were not tried).
    struct Outcome {
        std::vector<std::pair<std::filesystem::path, bool>> done;
        std::optional<Failure> failure;
    };

    // `flusher`: empty for the real flushes.
    explicit FlushWorker(Flusher flusher);
    // Waits for the batch in hand to finish, then ends the thread.
    ~FlushWorker();
    FlushWorker(const FlushWorker&) = delete;
    FlushWorker& operator=(const FlushWorker&) = delete;

    // Starts flushing `jobs`, in order, stopping at the first that fails. Only when nothing
    // is in hand (a logic error otherwise). The thread starts with the first batch; when it
    // cannot be started, the batch is flushed here and now.
    void Hand(std::vector<Job> jobs);
    // A batch was handed over and its outcome not yet taken.
    bool InHand() const;
    // Once the batch in hand has finished (waited for when `wait`): its outcome, and nothing
    // is in hand any more. Nullopt while it runs, and when nothing is in hand.
    std::optional<Outcome> Take(bool wait);
    // The thread cannot be started (tests only): every batch is flushed where it is handed over.
    void SetNoThread(bool none) { m_noThread = none; }

private:
    void Work();
    Outcome Run(std::vector<Job>& jobs);

    Flusher m_flusher;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<Job> m_jobs; // the batch in hand
    bool m_inHand = false;
    bool m_finished = false;
    Outcome m_outcome;
    bool m_stopping = false;
    bool m_noThread = false;
    std::thread m_thread;
};

} // namespace platform
