// Turns on flush-to-zero with the underflow exception masked for the life of the guard, and puts
// the caller's control word back afterwards. Decaying filter tails would otherwise run into
// denormals, which cost hundreds of cycles each on many processors. Denormal inputs are left as
// they are (no denormals-are-zero).
#pragma once

#include <xmmintrin.h>

namespace corvalen {

class FlushToZeroGuard {
public:
    static constexpr unsigned kFlushToZero = 0x8000;
    static constexpr unsigned kUnderflowMask = 0x0800;

    FlushToZeroGuard() : saved_(_mm_getcsr()) {
        if ((saved_ & (kFlushToZero | kUnderflowMask)) != (kFlushToZero | kUnderflowMask)) {
            _mm_setcsr(saved_ | kFlushToZero | kUnderflowMask);
            changed_ = true;
        }
    }
    ~FlushToZeroGuard() {
        if (changed_) _mm_setcsr(saved_);
    }
    FlushToZeroGuard(const FlushToZeroGuard&) = delete;
    FlushToZeroGuard& operator=(const FlushToZeroGuard&) = delete;

private:
    unsigned saved_;
    bool changed_ = false;
};

}  // namespace corvalen
