#include "fuzz/loop_invariants.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "tests/loop/loop_effect_probe.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#include <sanitizer/allocator_interface.h>
#define KESTRUNE_CHECK_ALLOCATION 1
#endif
#endif

namespace {

// Half speed stretches a stereo loop no further than this, and nothing else grows a loop as far.
constexpr int32_t kLongestLoop = 2 * LoopEffect::kStretchLimitPerChannel;
// The record level ramps in steps of 0.005 from 0 towards 1 and back, overshooting by one step.
constexpr float kLowestLevel = -0.0051f;
constexpr float kHighestLevel = 1.0051f;

[[noreturn]] void fail(const char* action, const char* broken, const LoopEffectProbe& probe) {
    std::fprintf(stderr,
                 "after %s: %s (loopLength %d, position %d, channels %d, recordLevel %g)\n",
                 action, broken, probe.loopLength(), probe.position(), probe.channels(),
                 static_cast<double>(probe.recordLevel()));
    std::abort();
}

// With AddressSanitizer the allocator knows each block's size: the buffer must be one live block
// of exactly loopLength slots.
bool bufferHoldsLoop(const LoopEffectProbe& probe) {
#ifdef KESTRUNE_CHECK_ALLOCATION
    const void* buffer = probe.buffer();
    return __sanitizer_get_ownership(buffer) != 0 &&
           __sanitizer_get_allocated_size(buffer) ==
               static_cast<size_t>(probe.loopLength()) * sizeof(float);
#else
    (void)probe;
    return true;
#endif
}

}  // namespace

void checkLoopInvariants(AEffect* record, const char* action) {
    auto* effect = dynamic_cast<LoopEffect*>(static_cast<EffectBase*>(record->object));
    if (effect == nullptr) {
        std::fprintf(stderr, "after %s: the record no longer leads to the effect\n", action);
        std::abort();
    }
    const LoopEffectProbe probe(*effect);
    if (!probe.consistent()) {
        fail(action, "loop state broken", probe);
    }
    if (!bufferHoldsLoop(probe)) {
        fail(action, "loop buffer does not hold loopLength slots", probe);
    }
    if (probe.loopLength() > kLongestLoop) {
        fail(action, "loop grew past its cap", probe);
    }
    if (!(probe.recordLevel() >= kLowestLevel && probe.recordLevel() <= kHighestLevel)) {
        fail(action, "record level left its ramp", probe);
    }
    if (!std::isfinite(probe.feedback()) || !std::isfinite(probe.loopMix()) ||
        !std::isfinite(probe.dryMix())) {
        fail(action, "a working parameter is not finite", probe);
    }
}
