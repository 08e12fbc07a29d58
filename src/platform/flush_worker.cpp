// The storage engine's thread for a checkpoint's flushes.
#include "platform/flush_worker.h"

#include <cerrno>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace platform {

int FlushToDisk(int fd, bool folder) {
    int rc;
    do
        rc = folder ? ::fsync(fd) : ::fdatasync(fd);
    while (rc != 0 && errno == EINTR);
    if (rc == 0 || (folder && errno == EINVAL))
        return 0;
    return errno;
}

FlushWorker::Job::Job(Job&& other) noexcept
    : m_file(std::move(other.m_file)), m_fd(std::exchange(other.m_fd, -1)), m_folder(other.m_folder),
      m_disk(other.m_disk), m_open(std::move(other.m_open)), m_writes(std::move(other.m_writes)),
      m_length(other.m_length) {}

int FlushWorker::Job::Prepare() {
    if (m_fd < 0 && m_open) {
        const int opened = m_open();
        if (opened < 0)
            return -opened;
        m_fd = opened;
    }
    for (const auto& [offset, bytes] : m_writes) {
        std::string_view data = bytes;
        long long at = offset;
        while (!data.empty()) {
            const ssize_t n = ::pwrite(m_fd, data.data(), data.size(), static_cast<off_t>(at));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return n < 0 ? errno : EIO;
            data.remove_prefix(static_cast<size_t>(n));
            at += n;
        }
    }
    if (m_length >= 0) {
        struct stat st;
        if (::fstat(m_fd, &st) != 0)
            return errno;
        if (st.st_size != m_length && ::ftruncate(m_fd, static_cast<off_t>(m_length)) != 0)
            return errno;
    }
    return 0;
}

FlushWorker::Job::~Job() {
    if (m_fd >= 0)
        ::close(m_fd);
}

FlushWorker::FlushWorker(Flusher flusher) : m_flusher(std::move(flusher)) {}

FlushWorker::~FlushWorker() {
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void FlushWorker::Hand(std::vector<Job> jobs) {
    {
        std::lock_guard lock(m_mutex);
        if (m_inHand)
            throw std::logic_error("a batch of flushes was handed over before the last one was taken");
        m_jobs = std::move(jobs);
        m_inHand = true;
        m_finished = false;
        m_outcome = Outcome();
        bool started = m_thread.joinable();
        if (!started && !m_noThread) {
            try {
                m_thread = std::thread([this] { Work(); });
                started = true;
            } catch (const std::system_error&) {
                // No thread to be had (the process is at its limit): flushed here, as at the exit.
            }
        }
        if (!started) {
            m_outcome = Run(m_jobs);
            m_finished = true;
        }
    }
    m_changed.notify_all();
}

bool FlushWorker::InHand() const {
    std::lock_guard lock(m_mutex);
    return m_inHand;
}

std::optional<FlushWorker::Outcome> FlushWorker::Take(bool wait) {
    std::unique_lock lock(m_mutex);
    if (!m_inHand)
        return std::nullopt;
    if (wait)
        m_changed.wait(lock, [this] { return m_finished; });
    if (!m_finished)
        return std::nullopt;
    m_inHand = false;
    m_jobs.clear();
    return std::exchange(m_outcome, Outcome());
}

FlushWorker::Outcome FlushWorker::Run(std::vector<Job>& jobs) {
    Outcome outcome;
    for (Job& job : jobs) {
        int error = job.Prepare();
        if (error == 0 && m_flusher)
            error = m_flusher(job.fd(), job.folder());
        else if (error == 0 && job.disk())
            error = FlushToDisk(job.fd(), job.folder());
        if (error != 0) {
            outcome.failure = Failure{job.file(), error};
            break;
        }
        outcome.done.emplace_back(job.file(), job.folder());
    }
    return outcome;
}

void FlushWorker::Work() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_stopping || (m_inHand && !m_finished); });
        if (!m_inHand || m_finished)
            return; // stopping, nothing left to flush
        // The batch is this thread's until it is marked finished: the engine only hands over
        // another after taking this one.
        std::vector<Job>& jobs = m_jobs;
        lock.unlock();
        Outcome outcome = Run(jobs);
        lock.lock();
        m_outcome = std::move(outcome);
        m_finished = true;
        m_changed.notify_all();
    }
}

} // namespace platform
