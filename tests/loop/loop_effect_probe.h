// The tests' view of a LoopEffect's loop state: read it, and set it up for a case.
#pragma once

#include <algorithm>
#include <vector>

#include "loop/loop_effect.h"

class LoopEffectProbe {
public:
    explicit LoopEffectProbe(LoopEffect& effect_) : effect(effect_) {}

    std::vector<float> loop() const {
        return {effect.loopBuffer.get(), effect.loopBuffer.get() + effect.loopLength};
    }
    void setLoop(const std::vector<float>& slots) {
        effect.loopBuffer.reset(new float[slots.size()]);
        std::copy(slots.begin(), slots.end(), effect.loopBuffer.get());
        effect.loopLength = static_cast<int32_t>(slots.size());
    }
    const float* buffer() const { return effect.loopBuffer.get(); }
    void fillLoop(float value) {
        std::fill(effect.loopBuffer.get(), effect.loopBuffer.get() + effect.loopLength, value);
    }

    int32_t loopLength() const { return effect.loopLength; }
    int32_t position() const { return effect.position; }
    int32_t marker() const { return effect.marker; }
    int32_t channels() const { return effect.channels; }
    float recordLevel() const { return effect.recordLevel; }
    bool recording() const { return effect.recording; }
    bool reverse() const { return effect.reverse; }
    bool halfSpeed() const { return effect.halfSpeed; }
    float feedback() const { return effect.feedback; }
    float loopMix() const { return effect.loopMix; }
    float dryMix() const { return effect.dryMix; }
    int32_t curProgram() const { return effect.curProgram; }

    void setPosition(int32_t value) { effect.position = value; }
    void setMarker(int32_t value) { effect.marker = value; }
    void setChannels(int32_t value) { effect.channels = value; }
    void setRecordLevel(float value) { effect.recordLevel = value; }
    void setRecording(bool value) { effect.recording = value; }
    void setReverse(bool value) { effect.reverse = value; }
    void setHalfSpeed(bool value) { effect.halfSpeed = value; }
    void setGains(float feedback, float loopMix, float dryMix) {
        effect.feedback = feedback;
        effect.loopMix = loopMix;
        effect.dryMix = dryMix;
    }

    // Every invariant the audio path relies on.
    bool consistent() const {
        return effect.loopBuffer != nullptr && effect.loopLength >= 1 && effect.position >= 0 &&
               effect.position < effect.loopLength &&
               (effect.channels == 1 || effect.channels == 2);
    }

private:
    LoopEffect& effect;
};
