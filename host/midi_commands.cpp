#include "host/midi_commands.h"

#include <algorithm>

std::optional<uint8_t> looperNote(std::string_view name) {
    const auto found = std::find_if(kLooperNotes.begin(), kLooperNotes.end(),
                                    [name](const LooperNote& entry) { return entry.name == name; });
    if (found == kLooperNotes.end()) {
        return std::nullopt;
    }
    return found->note;
}

namespace {

std::string describeNoteOn(const MidiMessage& message) {
    const auto found = std::find_if(
        kLooperNotes.begin(), kLooperNotes.end(),
        [&message](const LooperNote& entry) { return entry.note == message.data1(); });
    if (found != kLooperNotes.end()) {
        return std::string(found->name);
    }
    return "note " + std::to_string(message.data1());
}

std::string describeController(const MidiMessage& message) {
    const std::string value = std::to_string(message.data2());
    switch (message.data1()) {
        case kSustainController: return "sustain " + value;
        case kLoopLengthController: return "loop-length " + value;
        default: return "cc " + std::to_string(message.data1()) + " " + value;
    }
}

}  // namespace

bool isNoteOff(const MidiMessage& message) {
    return message.kind() == 0x80 || (message.kind() == 0x90 && message.data2() == 0);
}

std::string describeMessage(const MidiMessage& message) {
    if (isNoteOff(message)) {
        return "note-off " + std::to_string(message.data1());
    }
    switch (message.kind()) {
        case 0x90: return describeNoteOn(message);
        case 0xB0: return describeController(message);
        case 0xC0: return "program " + std::to_string(message.data1());
        case 0xE0: return "pitch-bend";
        default: return "midi " + std::to_string(message.status());
    }
}
