// Turns fuzz bytes into the calls a host makes on one effect, through its record only, and checks
// what the effect writes back into the host's buffers.
//
// Each action starts with a byte that picks its kind; its fields follow (fuzz_input.h reads them):
//   dispatcher     opcode (one byte, or 0xFF then any int32), index, value, opt, then what the
//                  opcode needs: a text of a length byte and its bytes for texts the effect reads,
//                  an event list, chunk bytes; effClose ends the run
//   setParameter   index, value          getParameter   index
//   processReplacing / process           frames (uint16, taken modulo 4097), a layout byte (bit 0:
//                  pass a second input entry, bit 1: make it null, bit 2: process in place), then
//                  the signal of each input channel (fuzz_signal.h)
//   program        effSetProgram with any value
//   connectInput   index, then a byte: connected when not 0
//   events         effProcessEvents with a list of fuzzed events (fuzz_events.h)
//   command        effProcessEvents with one loop command: a choice byte and a value byte
#pragma once

#include <cstdint>

#include "frame/vst2.h"
#include "fuzz/fuzz_input.h"

class HostActions {
public:
    HostActions(AEffect* record_, FuzzInput& input_) : record(record_), input(input_) {}

    // Runs the next action and answers its name, or null once the effect is closed.
    const char* runNext();
    // Closes the effect unless an action already did.
    void close();

private:
    const char* dispatch();
    intptr_t dispatchWithPayload(int32_t opcode, int32_t index, intptr_t value, float opt);
    intptr_t dispatchTextOut(int32_t opcode, int32_t index, intptr_t value, float opt,
                             size_t longest);
    intptr_t dispatchTextIn(int32_t opcode, int32_t index, intptr_t value, float opt);
    intptr_t dispatchPin(int32_t opcode, int32_t index, intptr_t value, float opt);
    intptr_t dispatchChunk(int32_t opcode, int32_t index, float opt);
    const char* processBlock(bool replacing);
    void connectInput();

    AEffect* record;
    FuzzInput& input;
    bool secondInputConnected = false;
};
