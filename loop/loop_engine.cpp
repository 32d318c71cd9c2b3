// The audio path: plays the loop under the dry signal and overdubs the input into it.
#include "loop/loop_effect.h"

namespace {

constexpr float kRampStep = 0.005f;

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
    const float feedbackGain = feedback;
    const float loopGain = loopMix;
    const float dryGain = dryMix;
    float* const loop = loopBuffer.get();
    const int32_t step = reverse ? -1 : 1;

    for (int32_t i = 0; i < sampleFrames; ++i) {
        for (int32_t ch = 0; ch < channels; ++ch) {
            const float x = inputs[ch][i];
            float& slot = loop[position];
            outputs[ch][i] = loopGain * slot + dryGain * x;
            if (recording) {
                if (ch == 0 && recordLevel < 1.0f) {
                    recordLevel += kRampStep;
                }
                slot = x * recordLevel + feedbackGain * slot;
            } else if (ch == 0 && recordLevel > 0.0f) {
                recordLevel -= kRampStep;
                slot = recordLevel * x + feedbackGain * slot;
            }
            position += step;
            if (position >= loopLength) {
                position = 0;
            } else if (position < 0) {
                position = loopLength - 1;
            }
        }
        if (channels == 1) {
            outputs[1][i] = outputs[0][i];
        }
    }
}
