#include "host/midi_event_list.h"

#include <algorithm>
#include <cstring>

namespace {

size_t listWords(size_t capacity) {
    const size_t bytes = offsetof(VstEvents, events) + capacity * sizeof(VstEvent*);
    return (std::max(bytes, sizeof(VstEvents)) + sizeof(intptr_t) - 1) / sizeof(intptr_t);
}

}  // namespace

MidiEventList::MidiEventList(size_t capacity)
    : events(capacity), listStorage(listWords(capacity), 0) {
    for (VstMidiEvent& event : events) {
        event.type = kVstMidiType;
        event.byteSize = sizeof(VstMidiEvent);
    }
}

void MidiEventList::clear() {
    count = 0;
}

bool MidiEventList::push(const MidiMessage& message, int32_t deltaFrames) {
    if (count == events.size()) {
        return false;
    }
    VstMidiEvent& event = events[count];
    event = VstMidiEvent{};
    event.type = kVstMidiType;
    event.byteSize = sizeof(VstMidiEvent);
    event.deltaFrames = deltaFrames;
    for (size_t b = 0; b < message.bytes.size(); ++b) {
        event.midiData[b] = static_cast<char>(message.bytes[b]);
    }
    VstEvent* pointer = reinterpret_cast<VstEvent*>(&event);
    auto* bytes = reinterpret_cast<unsigned char*>(listStorage.data());
    std::memcpy(bytes + offsetof(VstEvents, events) + count * sizeof(VstEvent*), &pointer,
                sizeof pointer);
    ++count;
    return true;
}

VstEvents* MidiEventList::list() {
    auto* header = reinterpret_cast<VstEvents*>(listStorage.data());
    header->numEvents = static_cast<int32_t>(count);
    header->reserved = 0;
    return header;
}
