// Input samples for one channel of a block, shaped by the fuzzer: silence, a constant, noise,
// noise sprinkled with NaN, infinities and subnormals, or a single impulse.
#pragma once

#include <cstdint>

#include "fuzz/fuzz_input.h"

void fillSignal(FuzzInput& input, float* samples, int32_t frames);
