// Flushes a test holds on the engine's own thread (platform::Journal::SetFlusher): each one
// waits until the test lets it go, and fails while the test says so. A flush held longer than
// kLongestHoldMs goes on by itself and says so (TimedOut): a test whose window's thread
// waited for it fails instead of hanging.
#pragma once

#include "platform/flush_worker.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>

namespace vantreth::testing {

class HeldFlushes {
public:
    static constexpr int kLongestHoldMs = 3000;

    platform::Flusher flusher() {
        return [this](int fd, bool) { return Flush(fd); };
    }
    void Hold() {
        std::lock_guard lock(m_mutex);
        m_held = true;
    }
    void Release() {
        {
            std::lock_guard lock(m_mutex);
            m_held = false;
        }
        m_changed.notify_all();
    }
    // The flushes from now fail with `error` (0: they go through); `then` runs on the
    // engine's thread with the descriptor of each failing flush.
    void FailWith(int error, std::function<void(int fd)> then = {}) {
        std::lock_guard lock(m_mutex);
        m_error = error;
        m_then = std::move(then);
    }
    // Waits (at most kLongestHoldMs) until `count` flushes have begun since the start.
    bool WaitBegun(int count) {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, std::chrono::milliseconds(kLongestHoldMs),
                                  [&] { return m_begun >= count; });
    }
    bool TimedOut() const {
        std::lock_guard lock(m_mutex);
        return m_timedOut;
    }

private:
    int Flush(int fd) {
        std::unique_lock lock(m_mutex);
        ++m_begun;
        m_changed.notify_all();
        if (!m_changed.wait_for(lock, std::chrono::milliseconds(kLongestHoldMs), [&] { return !m_held; }))
            m_timedOut = true;
        if (m_error != 0 && m_then)
            m_then(fd);
        return m_error;
    }

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_held = false;
    bool m_timedOut = false;
    int m_begun = 0;
    int m_error = 0;
    std::function<void(int)> m_then;
};

} // namespace vantreth::testing
