// The instance lock: re-entrant for its owner, exclusive against other threads.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "shell/reentrant_lock.h"

namespace corvalen {
namespace {

TEST(ReentrantLock, OwnerMayEnterAgainOthersWaitUntilTheLastLeave) {
    std::unique_ptr<ReentrantLock> lock = CreateReentrantLock();
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

TEST(ReentrantLock, NullScopeTakesNothing) {
    LockScope scope(nullptr);
    SUCCEED();
}

}  // namespace
}  // namespace corvalen
