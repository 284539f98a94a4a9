// The locks: re-entrant for their owner, exclusive against other threads; the instance lock
// also fair, and running the work a locked call leaves once the lock is free.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "shell/instance_lock.h"
#include "shell/reentrant_lock.h"

namespace corvalen {
namespace {

// Spins until `ready` holds, for at most a few seconds, so a failing test ends.
bool WaitUntil(const std::function<bool()>& ready) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!ready()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::yield();
    }
    return true;
}

TEST(ReentrantLock, OwnerMayEnterAgainOthersWaitUntilTheLastLeave) {
    std::vector<std::unique_ptr<ReentrantLock>> locks;
    locks.push_back(CreateReentrantLock());
    locks.push_back(std::make_unique<InstanceLock>());
    for (const std::unique_ptr<ReentrantLock>& lock : locks) {
        std::atomic<bool> otherEntered{false};
        lock->Enter();
        lock->Enter();  // the dispatcher calling back into a locked path must not deadlock
        std::thread other([&] {
            LockScope scope(lock.get());
            otherEntered = true;
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        EXPECT_FALSE(otherEntered);
        lock->Leave();
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        EXPECT_FALSE(otherEntered);  // still held once
        lock->Leave();
        other.join();
        EXPECT_TRUE(otherEntered);
    }
    LockScope none(nullptr);  // a null scope takes nothing
}

// A thread that leaves and takes the lock again at once goes behind the threads already
// waiting: one taking the lock in a loop cannot starve the painter. The audio thread's calls
// go ahead of the queue.
TEST(InstanceLock, ThreadsGetTheLockInTheOrderTheyAskedAudioFirst) {
    InstanceLock lock;
    std::vector<int> order;
    lock.Enter();
    std::vector<std::thread> threads;
    const auto ask = [&](int name, bool audio) {
        threads.emplace_back([&lock, &order, name, audio] {
            if (audio) {
                AudioLockScope scope(lock);
                order.push_back(name);
            } else {
                LockScope scope(&lock);
                order.push_back(name);
            }
        });
        const int waiting = static_cast<int>(threads.size());
        ASSERT_TRUE(WaitUntil([&] { return lock.WaitingThreads() == waiting; }));
    };
    ask(1, false);
    ask(2, false);
    ask(3, true);
    lock.Leave();
    lock.Enter();  // behind all three
    order.push_back(0);
    lock.Leave();
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(order, (std::vector<int>{3, 1, 2, 0}));
}

class CountingWork : public DeferredWork {
public:
    explicit CountingWork(InstanceLock& lock) : lock_(lock) {}
    bool HasDeferredWork() const override { return pending; }
    void RunDeferredWork() noexcept override {
        heldWhileRunning = lock_.IsHeldByCurrentThread();
        DeferringLockScope hold(lock_);  // taking it again does not run the work again
        pending = false;
        ++runs;
    }
    bool pending = false;
    int runs = 0;
    bool heldWhileRunning = true;

private:
    InstanceLock& lock_;
};

// The work runs once, at the last Leave, with the lock free; the audio thread's scopes leave
// it for the next thread.
TEST(InstanceLock, DeferredWorkRunsAfterTheLastLeaveWithTheLockFree) {
    InstanceLock lock;
    CountingWork work(lock);
    lock.SetDeferredWork(&work);
    {
        LockScope outer(&lock);
        {
            LockScope inner(&lock);
            work.pending = true;
        }
        EXPECT_EQ(work.runs, 0);  // still held by the outer scope
    }
    EXPECT_EQ(work.runs, 1);
    EXPECT_FALSE(work.heldWhileRunning);

    {
        AudioLockScope audio(lock);
        work.pending = true;
    }
    EXPECT_EQ(work.runs, 1);
    std::thread host([&] { LockScope scope(&lock); });
    host.join();
    EXPECT_EQ(work.runs, 2);
    lock.SetDeferredWork(nullptr);
}

}  // namespace
}  // namespace corvalen
