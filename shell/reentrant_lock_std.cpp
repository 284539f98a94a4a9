// Native implementation of the re-entrant lock.
#include "shell/reentrant_lock.h"

#include <mutex>

namespace corvalen {
namespace {

class StdReentrantLock final : public ReentrantLock {
public:
    void Enter() override { mutex_.lock(); }
    void Leave() override { mutex_.unlock(); }

private:
    std::recursive_mutex mutex_;
};

}  // namespace

std::unique_ptr<ReentrantLock> CreateReentrantLock() {
    return std::make_unique<StdReentrantLock>();
}

}  // namespace corvalen
