// Flushes subnormal numbers to zero while it lives and gives the caller back its own
// floating-point mode afterwards. A loop that decays through feedback passes through
// subnormal values, which are many times slower to compute with on x86.
#pragma once

#if defined(__SSE__) || defined(_M_X64)
#include <xmmintrin.h>

class DenormalGuard {
public:
    // Writing the mode register is slow next to a short block: skip it when the caller (as many
    // hosts do on their audio thread) already flushes.
    DenormalGuard() : saved(_mm_getcsr()) {
        if ((saved & kFlush) != kFlush) {
            _mm_setcsr(saved | kFlush);
        }
    }
    ~DenormalGuard() {
        if ((saved & kFlush) != kFlush) {
            _mm_setcsr(saved);
        }
    }
    DenormalGuard(const DenormalGuard&) = delete;
    DenormalGuard& operator=(const DenormalGuard&) = delete;

private:
    static constexpr unsigned kFlushToZero = 0x8000;
    static constexpr unsigned kDenormalsAreZero = 0x0040;
    static constexpr unsigned kFlush = kFlushToZero | kDenormalsAreZero;
    unsigned saved;
};
#else
class DenormalGuard {};
#endif
