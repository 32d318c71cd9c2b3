#include "fuzz/host_actions.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "fuzz/fuzz_events.h"
#include "fuzz/fuzz_signal.h"

namespace {

enum class Action : uint8_t {
    Dispatch,
    SetParameter,
    GetParameter,
    ProcessReplacing,
    Process,
    Program,
    ConnectInput,
    Events,
    Command,
    Count,
};

constexpr uint8_t kWideOpcodeTag = 0xFF;
constexpr int32_t kLongestBlock = 4096;
// What hosts commonly give for a text; the effect's texts are much shorter.
constexpr size_t kHostTextSize = 256;
// Host records behind a pointer (pins, speaker arrangements and the like) are never larger.
constexpr size_t kHostRecordSize = 256;
constexpr size_t kPinRecordSize = 128;
constexpr size_t kPinLabelSize = 64;
constexpr unsigned char kUntouched = 0xA5;

// The longest text each query may write, terminator not counted.
struct TextReply {
    int32_t opcode;
    size_t longest;
};
constexpr TextReply kTextReplies[] = {
    {effGetProgramName, 23},     {effGetParamLabel, 8},      {effGetParamDisplay, 8},
    {effGetParamName, 8},        {effGetProgramNameIndexed, 23}, {effGetEffectName, 31},
    {effGetErrorText, 255},      {effGetVendorString, 63},   {effGetProductString, 63},
};

const TextReply* textReplyOf(int32_t opcode) {
    for (const TextReply& reply : kTextReplies) {
        if (reply.opcode == opcode) {
            return &reply;
        }
    }
    return nullptr;
}

bool readsText(int32_t opcode) {
    return opcode == effSetProgramName || opcode == effString2Parameter || opcode == effCanDo;
}

[[noreturn]] void fail(int32_t opcode, const char* what) {
    std::fprintf(stderr, "dispatcher opcode %d: %s\n", opcode, what);
    std::abort();
}

std::unique_ptr<unsigned char[]> zeroedRecord() {
    return std::unique_ptr<unsigned char[]>(new unsigned char[kHostRecordSize]());
}

// One channel's samples, allocated to the exact frame count so that any access past it shows.
std::unique_ptr<float[]> channelBuffer(int32_t frames) {
    return std::unique_ptr<float[]>(new float[static_cast<size_t>(frames)]());
}

}  // namespace

const char* HostActions::runNext() {
    switch (static_cast<Action>(input.byte() % static_cast<uint8_t>(Action::Count))) {
    case Action::Dispatch: return dispatch();
    case Action::SetParameter: {
        const int32_t index = input.index();
        record->setParameter(record, index, input.float32());
        return "setParameter";
    }
    case Action::GetParameter:
        static_cast<void>(record->getParameter(record, input.index()));
        return "getParameter";
    case Action::ProcessReplacing: return processBlock(true);
    case Action::Process: return processBlock(false);
    case Action::Program:
        record->dispatcher(record, effSetProgram, 0, input.index(), nullptr, 0.0f);
        return "effSetProgram";
    case Action::ConnectInput: connectInput(); return "effConnectInput";
    case Action::Events: {
        FuzzEvents events(input);
        record->dispatcher(record, effProcessEvents, 0, 0, events.list(), 0.0f);
        return "effProcessEvents";
    }
    case Action::Command: {
        FuzzEvents command = FuzzEvents::command(input);
        record->dispatcher(record, effProcessEvents, 0, 0, command.list(), 0.0f);
        return "a loop command";
    }
    case Action::Count: break;
    }
    return "nothing";
}

void HostActions::close() {
    if (record != nullptr) {
        record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f);
        record = nullptr;
    }
}

const char* HostActions::dispatch() {
    const uint8_t tag = input.byte();
    const int32_t opcode = tag == kWideOpcodeTag ? input.int32() : tag;
    const int32_t index = input.index();
    const intptr_t value = input.index();
    const float opt = input.float32();
    if (opcode == effClose) {
        close();
        return nullptr;
    }
    dispatchWithPayload(opcode, index, value, opt);
    return "dispatcher";
}

intptr_t HostActions::dispatchWithPayload(int32_t opcode, int32_t index, intptr_t value,
                                          float opt) {
    if (const TextReply* reply = textReplyOf(opcode)) {
        return dispatchTextOut(opcode, index, value, opt, reply->longest);
    }
    if (readsText(opcode)) {
        return dispatchTextIn(opcode, index, value, opt);
    }
    switch (opcode) {
    case effProcessEvents: {
        FuzzEvents events(input);
        return record->dispatcher(record, opcode, index, value, events.list(), opt);
    }
    case effGetInputProperties:
    case effGetOutputProperties: return dispatchPin(opcode, index, value, opt);
    case effEditGetRect:
    case effGetChunk: {
        void* answer = nullptr;
        return record->dispatcher(record, opcode, index, value, &answer, opt);
    }
    case effSetChunk: return dispatchChunk(opcode, index, opt);
    case effSetSpeakerArrangement: {
        auto inputArrangement = zeroedRecord();
        auto outputArrangement = zeroedRecord();
        return record->dispatcher(record, opcode, index,
                                  reinterpret_cast<intptr_t>(inputArrangement.get()),
                                  outputArrangement.get(), opt);
    }
    default: {
        auto scratch = input.byte() % 2 != 0 ? zeroedRecord() : nullptr;
        return record->dispatcher(record, opcode, index, value, scratch.get(), opt);
    }
    }
}

// A query that writes a text: it must end within its length limit, whatever the arguments.
intptr_t HostActions::dispatchTextOut(int32_t opcode, int32_t index, intptr_t value, float opt,
                                      size_t longest) {
    std::unique_ptr<char[]> text(new char[kHostTextSize]);
    std::memset(text.get(), kUntouched, kHostTextSize);
    text[0] = '\0';
    text[kHostTextSize - 1] = '\0';
    const intptr_t answer = record->dispatcher(record, opcode, index, value, text.get(), opt);
    if (strnlen(text.get(), kHostTextSize) > longest) {
        fail(opcode, "the text is longer than its limit");
    }
    return answer;
}

intptr_t HostActions::dispatchTextIn(int32_t opcode, int32_t index, intptr_t value, float opt) {
    std::unique_ptr<char[]> text(new char[kHostTextSize]());
    input.fill(text.get(), input.byte() % kHostTextSize);
    text[kHostTextSize - 1] = '\0';
    return record->dispatcher(record, opcode, index, value, text.get(), opt);
}

// A pin query gets a host's whole pin record; only the label and the flags may change.
intptr_t HostActions::dispatchPin(int32_t opcode, int32_t index, intptr_t value, float opt) {
    std::unique_ptr<unsigned char[]> pin(new unsigned char[kPinRecordSize]());
    const size_t rest = offsetof(VstPinProperties, flags) + sizeof(int32_t);
    std::memset(pin.get() + rest, kUntouched, kPinRecordSize - rest);
    const intptr_t answer = record->dispatcher(record, opcode, index, value, pin.get(), opt);
    if (strnlen(reinterpret_cast<const char*>(pin.get()), kPinLabelSize) == kPinLabelSize) {
        fail(opcode, "the pin label is not terminated");
    }
    for (size_t i = rest; i < kPinRecordSize; ++i) {
        if (pin[i] != kUntouched) {
            fail(opcode, "the pin query wrote past label and flags");
        }
    }
    return answer;
}

intptr_t HostActions::dispatchChunk(int32_t opcode, int32_t index, float opt) {
    const uint8_t size = input.byte();
    std::unique_ptr<char[]> chunk(new char[size]);
    input.fill(chunk.get(), size);
    return record->dispatcher(record, opcode, index, size, chunk.get(), opt);
}

const char* HostActions::processBlock(bool replacing) {
    const int32_t frames = input.uint16() % (kLongestBlock + 1);
    const uint8_t layout = input.byte();
    const bool passSecondInput = secondInputConnected || (layout & 1) != 0;
    const bool secondInputNull = (layout & 2) != 0;
    const bool inPlace = (layout & 4) != 0;

    auto in0 = channelBuffer(frames);
    auto in1 = channelBuffer(frames);
    auto out0 = channelBuffer(frames);
    auto out1 = channelBuffer(frames);
    fillSignal(input, in0.get(), frames);
    fillSignal(input, in1.get(), frames);

    // The host passes as many input entries as it has connected, and always both outputs.
    std::unique_ptr<float*[]> inputs(new float*[passSecondInput ? 2 : 1]);
    inputs[0] = in0.get();
    if (passSecondInput) {
        inputs[1] = secondInputNull ? nullptr : in1.get();
    }
    float* outputs[2] = {out0.get(), out1.get()};
    if (inPlace) {
        outputs[0] = in0.get();
        if (passSecondInput && !secondInputNull) {
            outputs[1] = in1.get();
        }
    }
    if (replacing) {
        record->processReplacing(record, inputs.get(), outputs, frames);
        return "processReplacing";
    }
    record->process(record, inputs.get(), outputs, frames);
    return "process";
}

void HostActions::connectInput() {
    const int32_t index = input.index();
    const bool connected = input.byte() != 0;
    record->dispatcher(record, effConnectInput, index, connected ? 1 : 0, nullptr, 0.0f);
    if (index == 1) {
        secondInputConnected = connected;
    }
}
