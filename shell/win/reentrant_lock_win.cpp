// Windows implementation of the re-entrant lock: a critical section, which never throws
// and is re-entrant for its owning thread.
#include <windows.h>

#include "shell/reentrant_lock.h"

namespace corvalen {
namespace {

class CriticalSectionLock final : public ReentrantLock {
public:
    CriticalSectionLock() { InitializeCriticalSection(&section_); }
    ~CriticalSectionLock() override { DeleteCriticalSection(&section_); }
    CriticalSectionLock(const CriticalSectionLock&) = delete;
    CriticalSectionLock& operator=(const CriticalSectionLock&) = delete;

    void Enter() override { EnterCriticalSection(&section_); }
    void Leave() override { LeaveCriticalSection(&section_); }

private:
    CRITICAL_SECTION section_;
};

}  // namespace

std::unique_ptr<ReentrantLock> CreateReentrantLock() {
    return std::make_unique<CriticalSectionLock>();
}

}  // namespace corvalen
