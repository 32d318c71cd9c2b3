// The tests' view of a LoopEffect's loop state: read it, and set it up for a case.
#pragma once

#include <algorithm>
#include <cstdint>
#include <ostream>
#include <vector>

#include "loop/loop_effect.h"

// Everything a MIDI command may change, for comparing before and after.
struct LoopState {
    const float* buffer;
    std::vector<float> loop;
    int32_t loopLength;
    int32_t position;
    int32_t marker;
    int32_t channels;
    float recordLevel;
    bool recording;
    bool reverse;
    bool halfSpeed;

    bool operator==(const LoopState&) const = default;

    // How GoogleTest shows a state in a failure message.
    friend void PrintTo(const LoopState& state, std::ostream* out) {
        *out << "{length " << state.loopLength << ", position " << state.position << ", marker "
             << state.marker << ", channels " << state.channels << ", level " << state.recordLevel
             << ", recording " << state.recording << ", reverse " << state.reverse
             << ", halfSpeed " << state.halfSpeed << ", buffer " << state.buffer << ", slots [";
        const size_t shown = std::min<size_t>(state.loop.size(), 16);
        for (size_t i = 0; i < shown; ++i) {
            *out << (i == 0 ? "" : ", ") << state.loop[i];
        }
        *out << (shown < state.loop.size() ? ", ...]}" : "]}");
    }
};

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

    LoopState state() const {
        return {effect.loopBuffer.get(), loop(),          effect.loopLength, effect.position,
                effect.marker,           effect.channels, effect.recordLevel, effect.recording,
                effect.reverse,          effect.halfSpeed};
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
