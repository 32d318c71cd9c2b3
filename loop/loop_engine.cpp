// The audio path: plays the loop under the dry signal and overdubs the input into it.
//
// Each frame follows the same rule, but most frames need neither a wrap of the position nor a
// step of the record level. The block is therefore cut into steady runs, which stay inside the
// buffer with a constant level and compile to tight loops, and single frames that wrap or ramp,
// which take the general path. Both give the same results bit for bit.
#include <algorithm>
#include <cmath>

#include "loop/denormal_guard.h"
#include "loop/loop_effect.h"

namespace {

constexpr float kRampStep = 0.005f;

// A host glitch must not poison the loop for ever: a sample that is not finite counts as silence.
inline float finiteOrZero(float x) { return std::isfinite(x) ? x : 0.0f; }

struct Gains {
    float feedback;
    float loopMix;
    float dryMix;
};

// `frames` frames from slot `loop` on, stepping forward or backward, with a constant record level.
template <int Channels, bool Reverse, bool Write>
void steadyRun(float* loop, float* const* inputs, float* const* outputs, int32_t first,
               int32_t frames, Gains gains, float level) {
    for (int32_t j = 0; j < frames; ++j) {
        for (int ch = 0; ch < Channels; ++ch) {
            const int32_t k = j * Channels + ch;
            float& slot = Reverse ? loop[-k] : loop[k];
            const float x = finiteOrZero(inputs[ch][first + j]);
            const float old = slot;
            outputs[ch][first + j] = gains.loopMix * old + gains.dryMix * x;
            if constexpr (Write) {
                slot = x * level + gains.feedback * old;
            }
        }
        if constexpr (Channels == 1) {
            outputs[1][first + j] = outputs[0][first + j];
        }
    }
}

// Backwards in stereo, frame j takes slots -2j (channel 0) and -2j-1 (channel 1). Walking the same
// slots upwards from the lowest one touches each slot and each sample once, as the frame order
// does, but in a shape the compiler can vectorise.
template <bool Write>
void steadyRunStereoReverse(float* loop, float* const* inputs, float* const* outputs,
                            int32_t first, int32_t frames, Gains gains, float level) {
    float* const lowest = loop - (2 * frames - 1);
    const int32_t last = first + frames - 1;
    for (int32_t m = 0; m < frames; ++m) {
        for (int ch = 0; ch < 2; ++ch) {
            float& slot = lowest[2 * m + 1 - ch];
            const float x = finiteOrZero(inputs[ch][last - m]);
            const float old = slot;
            outputs[ch][last - m] = gains.loopMix * old + gains.dryMix * x;
            if constexpr (Write) {
                slot = x * level + gains.feedback * old;
            }
        }
    }
}

template <>
void steadyRun<2, true, true>(float* loop, float* const* inputs, float* const* outputs,
                              int32_t first, int32_t frames, Gains gains, float level) {
    steadyRunStereoReverse<true>(loop, inputs, outputs, first, frames, gains, level);
}

template <>
void steadyRun<2, true, false>(float* loop, float* const* inputs, float* const* outputs,
                               int32_t first, int32_t frames, Gains gains, float level) {
    steadyRunStereoReverse<false>(loop, inputs, outputs, first, frames, gains, level);
}

template <int Channels>
void steadyRunFor(bool reverse, bool write, float* loop, float* const* inputs,
                  float* const* outputs, int32_t first, int32_t frames, Gains gains, float level) {
    if (reverse) {
        if (write) {
            steadyRun<Channels, true, true>(loop, inputs, outputs, first, frames, gains, level);
        } else {
            steadyRun<Channels, true, false>(loop, inputs, outputs, first, frames, gains, level);
        }
    } else if (write) {
        steadyRun<Channels, false, true>(loop, inputs, outputs, first, frames, gains, level);
    } else {
        steadyRun<Channels, false, false>(loop, inputs, outputs, first, frames, gains, level);
    }
}

}  // namespace

void LoopEffect::process(float**, float**, int32_t) {}

int32_t LoopEffect::countChannels(float** inputs) const {
    return secondInputConnected && inputs[1] != nullptr ? 2 : 1;
}

void LoopEffect::processReplacing(float** inputs, float** outputs, int32_t sampleFrames) {
    if (inputs == nullptr || outputs == nullptr || inputs[0] == nullptr) {
        return;
    }
    channels = countChannels(inputs);
    if (outputs[0] == nullptr || outputs[1] == nullptr || !loopBuffer) {
        return;
    }
    const DenormalGuard flushDenormals;
    const Gains gains{feedback, loopMix, dryMix};
    float* const loop = loopBuffer.get();
    const int32_t length = loopLength;
    const int32_t step = reverse ? -1 : 1;
    const bool rec = recording;
    int32_t pos = position;
    float level = recordLevel;

    int32_t i = 0;
    while (i < sampleFrames) {
        const bool steady = rec ? level >= 1.0f : level <= 0.0f;
        const int32_t slotsAhead = reverse ? pos + 1 : length - pos;
        const int32_t frames = std::min(sampleFrames - i, slotsAhead / channels);
        if (steady && frames > 0) {
            if (channels == 1) {
                steadyRunFor<1>(reverse, rec, loop + pos, inputs, outputs, i, frames, gains, level);
            } else {
                steadyRunFor<2>(reverse, rec, loop + pos, inputs, outputs, i, frames, gains, level);
            }
            i += frames;
            pos += step * frames * channels;
            pos = pos == length ? 0 : (pos < 0 ? length - 1 : pos);
            continue;
        }
        // One frame that ramps the level or wraps the position, slot by slot.
        for (int32_t ch = 0; ch < channels; ++ch) {
            const float x = finiteOrZero(inputs[ch][i]);
            float& slot = loop[pos];
            outputs[ch][i] = gains.loopMix * slot + gains.dryMix * x;
            if (rec) {
                if (ch == 0 && level < 1.0f) {
                    level += kRampStep;
                }
                slot = x * level + gains.feedback * slot;
            } else if (ch == 0 && level > 0.0f) {
                level -= kRampStep;
                slot = level * x + gains.feedback * slot;
            }
            pos += step;
            pos = pos == length ? 0 : (pos < 0 ? length - 1 : pos);
        }
        if (channels == 1) {
            outputs[1][i] = outputs[0][i];
        }
        ++i;
    }
    position = pos;
    recordLevel = level;
}
