// A well-formed VstEvents list of fuzzed events, MIDI and other kinds, as a host would build it:
// the list holds exactly as many entries as it announces.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "frame/vst2.h"
#include "fuzz/fuzz_input.h"

class FuzzEvents {
public:
    explicit FuzzEvents(FuzzInput& input);
    // One note-on or controller message that the loop takes as a command.
    static FuzzEvents command(FuzzInput& input);

    VstEvents* list() { return reinterpret_cast<VstEvents*>(storage.get()); }

private:
    FuzzEvents() = default;
    void addMidi(uint8_t status, uint8_t data1, uint8_t data2, int32_t deltaFrames);
    void addOther(FuzzInput& input);
    // Lays out the list over the records added so far; `announced` is usually their count.
    void build(int32_t announced);

    std::vector<VstMidiEvent> records;
    std::unique_ptr<unsigned char[]> storage;
};
