// A LoopEffect driven by MIDI messages, with a probe to set up and read its loop state.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "tests/loop/loop_effect_probe.h"
#include "tests/support/fake_host.h"

// The command notes and controllers, as a musician's controller sends them.
namespace midi {
constexpr int32_t kNoteOff = 0x80;
constexpr int32_t kNoteOn = 0x90;
constexpr int32_t kControlChange = 0xB0;

constexpr int32_t kClear = 36;
constexpr int32_t kReverse = 48;
constexpr int32_t kHalfSpeed = 55;
constexpr int32_t kRecord = 67;
constexpr int32_t kRecallMarker = 72;
constexpr int32_t kSetMarker = 75;
constexpr int32_t kFold = 82;
constexpr int32_t kDouble = 84;
constexpr int32_t kMirror = 87;
constexpr int32_t kAddReverse = 91;

constexpr int32_t kSustain = 64;
constexpr int32_t kLoopLength = 127;
}  // namespace midi

class LoopCommandTest {
protected:
    LoopCommandTest() : effect(FakeHost::callback), probe(effect) {}

    void note(int32_t number, int32_t velocity = 100) {
        effect.processMidiMessage(midi::kNoteOn, number, velocity);
    }
    void controller(int32_t number, int32_t value) {
        effect.processMidiMessage(midi::kControlChange, number, value);
    }

    void setUpLoop(const std::vector<float>& slots, int32_t position, int32_t marker,
                   int32_t channels = 1) {
        probe.setLoop(slots);
        probe.setPosition(position);
        probe.setMarker(marker);
        probe.setChannels(channels);
    }

    FakeHost host;
    LoopEffect effect;
    LoopEffectProbe probe;
};

// 1, 2, 3, ... count.
inline std::vector<float> countingLoop(int32_t count) {
    std::vector<float> slots(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) {
        slots[static_cast<size_t>(i)] = static_cast<float>(i + 1);
    }
    return slots;
}
