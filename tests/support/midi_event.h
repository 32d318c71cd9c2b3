// A MIDI event record as a host sends it: status and two data bytes, at a frame of the block.
#pragma once

#include "frame/vst2.h"

inline VstMidiEvent midiEvent(int status, int data1, int data2, int32_t deltaFrames = 0) {
    VstMidiEvent event{};
    event.type = kVstMidiType;
    event.byteSize = sizeof event;
    event.deltaFrames = deltaFrames;
    event.midiData[0] = static_cast<char>(status);
    event.midiData[1] = static_cast<char>(data1);
    event.midiData[2] = static_cast<char>(data2);
    return event;
}
