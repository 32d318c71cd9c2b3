// One short MIDI message (status and up to two data bytes) and when it is due.
#pragma once

#include <array>
#include <cstdint>

struct MidiMessage {
    std::array<uint8_t, 3> bytes{};

    uint8_t status() const { return bytes[0]; }
    uint8_t kind() const { return static_cast<uint8_t>(bytes[0] & 0xF0); }
    uint8_t data1() const { return bytes[1]; }
    uint8_t data2() const { return bytes[2]; }

    static MidiMessage noteOn(uint8_t note, uint8_t velocity) { return {{0x90, note, velocity}}; }
    static MidiMessage controller(uint8_t number, uint8_t value) { return {{0xB0, number, value}}; }

    bool operator==(const MidiMessage&) const = default;
};

// A message at a time in seconds from the start of the input, as a MIDI file or cue sheet gives it.
struct TimedMessage {
    double seconds = 0.0;
    MidiMessage message;
};

// A message at a frame of the render.
struct ScheduledMessage {
    int64_t frame = 0;
    MidiMessage message;
};
