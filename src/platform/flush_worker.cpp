// The storage engine's thread for a checkpoint's flushes.
#include "platform/flush_worker.h"

#include <cerrno>
#include <stdexcept>
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
      m_disk(other.m_disk) {}

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
        m_failure.reset();
        if (!m_thread.joinable())
            m_thread = std::thread([this] { Work(); });
    }
    m_changed.notify_all();
}

bool FlushWorker::InHand() const {
    std::lock_guard lock(m_mutex);
    return m_inHand;
}

std::optional<std::optional<FlushWorker::Failure>> FlushWorker::Take(bool wait) {
    std::unique_lock lock(m_mutex);
    if (!m_inHand)
        return std::nullopt;
    if (wait)
        m_changed.wait(lock, [this] { return m_finished; });
    if (!m_finished)
        return std::nullopt;
    m_inHand = false;
    m_jobs.clear();
    return std::optional<std::optional<Failure>>(std::exchange(m_failure, std::nullopt));
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
        std::optional<Failure> failure;
        for (Job& job : jobs) {
            int error = 0;
            if (m_flusher)
                error = m_flusher(job.fd(), job.folder());
            else if (job.disk())
                error = FlushToDisk(job.fd(), job.folder());
            if (error != 0) {
                failure = Failure{job.file(), error};
                break;
            }
        }
        lock.lock();
        m_failure = std::move(failure);
        m_finished = true;
        m_changed.notify_all();
    }
}

} // namespace platform
