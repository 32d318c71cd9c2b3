// The looper's commands by name, as a cue sheet writes them, and the way back from a MIDI message
// to a short name for plots and listings.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "host/midi_message.h"

struct LooperNote {
    std::string_view name;
    uint8_t note;
};

inline constexpr std::array<LooperNote, 10> kLooperNotes{{
    {"clear", 36},
    {"reverse", 48},
    {"half-speed", 55},
    {"record", 67},
    {"recall-marker", 72},
    {"set-marker", 75},
    {"fold", 82},
    {"double", 84},
    {"mirror", 87},
    {"add-reverse", 91},
}};

inline constexpr uint8_t kSustainController = 64;
inline constexpr uint8_t kLoopLengthController = 127;
inline constexpr uint8_t kCommandVelocity = 100;

std::optional<uint8_t> looperNote(std::string_view name);

// "record", "sustain 127", "loop-length 2", "note 60", "note-off 60", "cc 7 100", ...
std::string describeMessage(const MidiMessage& message);

// Note-offs (and note-ons of velocity 0) only end a sound; they are left out of plots.
bool isNoteOff(const MidiMessage& message);
