// The real-time half of the live host: runs one block of a server's audio and MIDI through the
// plug-in. The block is split at each event's frame and the events due there are sent just
// before the part that starts with them, so every event acts at its exact frame, as in `render`.
//
// Everything it uses is allocated by the constructor and by `prepare`; `queueMidi` and `process`
// allocate nothing, take no lock and do no I/O.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "host/midi_event_list.h"
#include "host/midi_message.h"

class Plugin;

class LiveProcessor {
public:
    static constexpr size_t kDefaultEventCapacity = 1024;

    // `inputPorts` audio inputs (1 or 2) feed the plug-in's inputs: one port feeds all of them,
    // two feed inputs 0 and 1, and further inputs get silence.
    LiveProcessor(Plugin& plugin, size_t inputPorts, size_t eventCapacity = kDefaultEventCapacity);
    LiveProcessor(const LiveProcessor&) = delete;
    LiveProcessor& operator=(const LiveProcessor&) = delete;

    // Not real-time: makes room for blocks of up to `maxFrames` frames.
    void prepare(uint32_t maxFrames);

    // A MIDI message of 1 to 3 bytes at a frame of the coming block, in frame order. False when it
    // is dropped: the block already holds `eventCapacity` events, or it is not a short message
    // (system exclusive, or no status byte first).
    bool queueMidi(uint32_t frame, const uint8_t* bytes, size_t size);

    // Runs the block and forgets the queued events. `inputs` has `inputPorts` buffers, `outputs`
    // one per plug-in output, each of `frames` samples. A block longer than `prepare` allowed is
    // cut there and the rest of the outputs is silence.
    void process(const float* const* inputs, float* const* outputs, uint32_t frames);

    size_t outputCount() const { return segmentOutputs.size(); }

private:
    struct QueuedEvent {
        uint32_t frame = 0;
        MidiMessage message;
    };

    void copyInputs(const float* const* inputs, uint32_t frames);
    void sendEventsDueAt(uint32_t frame, size_t& next);
    void runSegment(float* const* outputs, uint32_t start, uint32_t frames);

    Plugin& plugin;
    size_t inputPorts;
    // The plug-in reads copies: some plug-ins write into their inputs, which belong to other clients.
    std::vector<std::vector<float>> inputCopies;
    std::vector<float*> segmentInputs;
    std::vector<float*> segmentOutputs;
    std::vector<QueuedEvent> queue;
    size_t queued = 0;
    MidiEventList segmentEvents;
};
