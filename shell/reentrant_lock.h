// A re-entrant lock: a thread that holds it may enter it again. The instance lock of every
// plug-in object and the process-wide creation lock are of this kind. On Windows it is a
// critical section (shell/win), natively a std::recursive_mutex.
#pragma once

#include <memory>

namespace corvalen {

class ReentrantLock {
public:
    virtual ~ReentrantLock() = default;
    virtual void Enter() = 0;
    virtual void Leave() = 0;
};

// Made by the platform's implementation.
std::unique_ptr<ReentrantLock> CreateReentrantLock();

// Holds a lock for the life of the scope; a null lock is not taken.
class LockScope {
public:
    explicit LockScope(ReentrantLock* lock) : lock_(lock) {
        if (lock_ != nullptr) lock_->Enter();
    }
    ~LockScope() {
        if (lock_ != nullptr) lock_->Leave();
    }
    LockScope(const LockScope&) = delete;
    LockScope& operator=(const LockScope&) = delete;

private:
    ReentrantLock* lock_;
};

}  // namespace corvalen
