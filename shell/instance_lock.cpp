#include "shell/instance_lock.h"

namespace corvalen {

void InstanceLock::Enter() { enter(false); }

void InstanceLock::EnterAheadOfQueue() { enter(true); }

void InstanceLock::enter(bool aheadOfQueue) {
    std::unique_lock<std::mutex> guard(mutex_);
    const std::thread::id me = std::this_thread::get_id();
    if (depth_ > 0 && owner_ == me) {
        ++depth_;
        return;
    }
    if (aheadOfQueue) {
        ++aheadWaiting_;
        turn_.wait(guard, [&] { return depth_ == 0; });
        --aheadWaiting_;
    } else {
        const std::uint64_t ticket = nextTicket_++;
        // An audio call waiting goes first.
        turn_.wait(guard,
                   [&] { return depth_ == 0 && nowServing_ == ticket && aheadWaiting_ == 0; });
    }
    owner_ = me;
    depth_ = 1;
    ownerHasTicket_ = !aheadOfQueue;
}

void InstanceLock::Leave() { leave(true); }

void InstanceLock::LeaveDeferringWork() { leave(false); }

void InstanceLock::leave(bool runWork) {
    DeferredWork* work = nullptr;
    bool queued = false;
    {
        const std::lock_guard<std::mutex> guard(mutex_);
        if (--depth_ > 0) return;
        if (runWork && work_ != nullptr && work_->HasDeferredWork()) work = work_;
        owner_ = std::thread::id();
        if (ownerHasTicket_) ++nowServing_;
        queued = nowServing_ != nextTicket_ || aheadWaiting_ > 0;
    }
    // Every waiter checks whether its ticket is next; only that one enters.
    if (queued) turn_.notify_all();
    if (work != nullptr) work->RunDeferredWork();
}

bool InstanceLock::IsHeldByCurrentThread() {
    const std::lock_guard<std::mutex> guard(mutex_);
    return depth_ > 0 && owner_ == std::this_thread::get_id();
}

int InstanceLock::WaitingThreads() {
    const std::lock_guard<std::mutex> guard(mutex_);
    const std::uint64_t queued = nextTicket_ - nowServing_;
    const bool holderQueued = depth_ > 0 && ownerHasTicket_;
    return static_cast<int>(holderQueued ? queued - 1 : queued) + aheadWaiting_;
}

}  // namespace corvalen
