// The instance lock: one per plug-in object, re-entrant for the thread that holds it, and fair:
// threads that wait for it get it in the order they asked. A thread that takes it in a loop (a
// host automating from a worker, a file loader, a chunk-restoring thread) therefore cannot
// starve another: the editor's paint waits at most for the calls that were already queued when
// it asked, never for an unbounded run of one busy thread.
//
// The audio thread's calls are the exception: they take the lock whenever it is free, ahead of
// the queue. A fair hand-over gives the lock to the next thread in line even while that thread
// is not running yet; on a busy machine the audio thread would then wait for the scheduler to
// run a thread of lower priority. The audio thread's calls are paced by the device and short,
// so going ahead of the queue never starves the threads in it.
//
// It also carries work that a locked call leaves for after the lock (reading a file): the
// thread whose last Leave releases the lock runs it there, with no lock held, before it
// returns to its caller. The audio thread's calls leave with LeaveDeferringWork, so it never
// does such work; the next thread of the host or the editor that leaves the lock does it.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include "shell/reentrant_lock.h"

namespace corvalen {

// What the owner of the lock leaves for after it.
class DeferredWork {
public:
    virtual ~DeferredWork() = default;
    // Lock held, at a thread's last Leave: whether there is work waiting.
    virtual bool HasDeferredWork() const = 0;
    // No lock held, on the thread that has just released it (from a scope's end: it must not
    // throw). It may take the lock again.
    virtual void RunDeferredWork() noexcept = 0;
};

class InstanceLock final : public ReentrantLock {
public:
    InstanceLock() = default;
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // Waits for the threads that asked before, unless this thread holds the lock already.
    void Enter() override;
    // The audio thread's calls: takes the lock as soon as it is free, ahead of the queue.
    void EnterAheadOfQueue();
    // The last Leave releases the lock, then runs the deferred work when there is some.
    void Leave() override;
    // The same, but leaves the deferred work for the next thread (the audio thread's calls).
    void LeaveDeferringWork();

    // Construction and destruction of the owner only (no other thread uses the lock then).
    void SetDeferredWork(DeferredWork* work) { work_ = work; }

    // Any thread; for tests and checks.
    bool IsHeldByCurrentThread();
    int WaitingThreads();

private:
    void enter(bool aheadOfQueue);
    void leave(bool runWork);

    std::mutex mutex_;
    std::condition_variable turn_;
    // Tickets: a thread draws nextTicket_ and enters when nowServing_ reaches it.
    std::uint64_t nextTicket_ = 0;
    std::uint64_t nowServing_ = 0;
    int aheadWaiting_ = 0;  // audio calls waiting for the lock to be free
    std::thread::id owner_;
    int depth_ = 0;
    bool ownerHasTicket_ = false;
    DeferredWork* work_ = nullptr;
};

// Holds the instance lock for a scope and leaves the deferred work for another thread: the
// deferred work itself when it takes the lock again, and a closing instance.
class DeferringLockScope {
public:
    explicit DeferringLockScope(InstanceLock& lock) : lock_(lock) { lock_.Enter(); }
    ~DeferringLockScope() { lock_.LeaveDeferringWork(); }
    DeferringLockScope(const DeferringLockScope&) = delete;
    DeferringLockScope& operator=(const DeferringLockScope&) = delete;

private:
    InstanceLock& lock_;
};

// Holds the instance lock for one of the audio thread's calls (the blocks, and the parameter
// calls and events that many hosts make from that thread): ahead of the queue, and leaving the
// deferred work for another thread.
class AudioLockScope {
public:
    explicit AudioLockScope(InstanceLock& lock) : lock_(lock) { lock_.EnterAheadOfQueue(); }
    ~AudioLockScope() { lock_.LeaveDeferringWork(); }
    AudioLockScope(const AudioLockScope&) = delete;
    AudioLockScope& operator=(const AudioLockScope&) = delete;

private:
    InstanceLock& lock_;
};

}  // namespace corvalen
