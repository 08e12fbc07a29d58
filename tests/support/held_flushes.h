// Flushes a test holds on the engine's own thread (platform::Engine::SetFlusher): each one
// waits until the test lets it go, and fails while the test says so. A flush held longer than
// kLongestHoldMs goes on by itself and says so (TimedOut): a test whose window's thread
// waited for it fails instead of hanging. The flusher may outlive this object (the program's
// last checkpoint).
#pragma once

#include "platform/flush_worker.h"

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

namespace vantreth::testing {

class HeldFlushes {
public:
    static constexpr int kLongestHoldMs = 3000;

    platform::Flusher flusher() {
        return [state = m_state](int, bool) { return state->Flush(); };
    }
    void Hold() {
        m_state->Set([](State& s) { s.held = true; });
    }
    void Release() {
        m_state->Set([](State& s) { s.held = false; });
    }
    // The flushes from now fail with `error` (0: they go through).
    void FailWith(int error) {
        m_state->Set([error](State& s) { s.error = error; });
    }
    // Waits (at most kLongestHoldMs) until `count` flushes have begun.
    bool WaitBegun(int count) {
        std::unique_lock lock(m_state->mutex);
        return m_state->changed.wait_for(lock, std::chrono::milliseconds(kLongestHoldMs),
                                         [&] { return m_state->begun >= count; });
    }
    bool TimedOut() const {
        std::lock_guard lock(m_state->mutex);
        return m_state->timedOut;
    }

private:
    struct State {
        std::mutex mutex;
        std::condition_variable changed;
        bool held = false;
        bool timedOut = false;
        int begun = 0;
        int error = 0;

        template <class Change> void Set(Change change) {
            {
                std::lock_guard lock(mutex);
                change(*this);
            }
            changed.notify_all();
        }
        int Flush() {
            std::unique_lock lock(mutex);
            ++begun;
            changed.notify_all();
            if (!changed.wait_for(lock, std::chrono::milliseconds(kLongestHoldMs), [this] { return !held; }))
                timedOut = true;
            return error;
        }
    };
    std::shared_ptr<State> m_state = std::make_shared<State>();
};

} // namespace vantreth::testing
