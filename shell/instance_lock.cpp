#include "shell/instance_lock.h"

namespace corvalen {

void InstanceLock::Enter() {
    std::unique_lock<std::mutex> guard(mutex_);
    const std::thread::id me = std::this_thread::get_id();
    if (depth_ > 0 && owner_ == me) {
        ++depth_;
        return;
    }
    const std::uint64_t ticket = nextTicket_++;
    turn_.wait(guard, [&] { return nowServing_ == ticket; });
    owner_ = me;
    depth_ = 1;
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
        ++nowServing_;
        queued = nowServing_ != nextTicket_;
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
    return static_cast<int>(depth_ > 0 ? queued - 1 : queued);
}

}  // namespace corvalen
