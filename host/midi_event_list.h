// A VstEvents list of MIDI events in storage of fixed capacity, allocated once: filling and
// sending it allocates nothing, so the real-time thread can use it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "frame/vst2.h"
#include "host/midi_message.h"

class MidiEventList {
public:
    explicit MidiEventList(size_t capacity);
    MidiEventList(const MidiEventList&) = delete;
    MidiEventList& operator=(const MidiEventList&) = delete;

    void clear();
    // False, and the list unchanged, when it is full.
    bool push(const MidiMessage& message, int32_t deltaFrames = 0);

    size_t size() const { return count; }
    bool empty() const { return count == 0; }
    size_t capacity() const { return events.size(); }
    // The list as the plug-in takes it, valid until the next clear or push.
    VstEvents* list();

private:
    std::vector<VstMidiEvent> events;
    // The list's header and its pointer array, which runs past the record's declared two entries.
    std::vector<intptr_t> listStorage;
    size_t count = 0;
};
