#pragma once
// An event that stays signalled until a waiter resets it; waiters reset it after waking and then
// re-check the condition they wait for, so a signal that arrives in between is never lost.

#include <condition_variable>
#include <mutex>

class ManualResetEvent {
public:
    explicit ManualResetEvent(bool signalled = false) : signalled_(signalled) {}
    ManualResetEvent(const ManualResetEvent &) = delete;
    ManualResetEvent &operator=(const ManualResetEvent &) = delete;

    void Set()
    {
        {
            std::lock_guard lock(mutex_);
            signalled_ = true;
        }
        changed_.notify_all();
    }
    void Reset()
    {
        std::lock_guard lock(mutex_);
        signalled_ = false;
    }
    void Wait()
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return signalled_; });
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool signalled_;
};
