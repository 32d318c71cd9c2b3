// A test plug-in that shows in its output what the host sent and when:
//   output 0: input 0, unchanged;
//   output 1: input 1 while the host has connected input 1 (effConnectInput), else silence;
//   output 2: the note number of the last note-on (0 before any), changing at the exact frame
//             the note-on acts (the block's start plus the event's deltaFrames).
// It exports only VSTPluginMain, as many newer plug-ins do.
#include <cstring>
#include <new>

#include "frame/vst2.h"
#include "tests/host/test_plugin_record.h"

namespace {

constexpr int kMaxPending = 256;

struct ProbeEffect {
    AEffect record{};
    bool input1Connected = false;
    float level = 0.0f;
    int pendingCount = 0;
    int pendingFrame[kMaxPending]{};
    float pendingLevel[kMaxPending]{};
};

ProbeEffect& probeOf(AEffect* effect) {
    return *static_cast<ProbeEffect*>(effect->object);
}

void keepEvents(ProbeEffect& probe, const VstEvents& events) {
    for (int32_t i = 0; i < events.numEvents && probe.pendingCount < kMaxPending; ++i) {
        VstEvent* event = nullptr;
        std::memcpy(&event, reinterpret_cast<const unsigned char*>(&events) +
                                offsetof(VstEvents, events) + sizeof(VstEvent*) * static_cast<size_t>(i),
                    sizeof event);
        if (event == nullptr || event->type != kVstMidiType) {
            continue;
        }
        const auto& midi = *reinterpret_cast<const VstMidiEvent*>(event);
        const auto status = static_cast<unsigned char>(midi.midiData[0]) & 0xF0;
        if (status == 0x90 && midi.midiData[2] != 0) {
            probe.pendingFrame[probe.pendingCount] = midi.deltaFrames;
            probe.pendingLevel[probe.pendingCount] = static_cast<float>(midi.midiData[1]);
            ++probe.pendingCount;
        }
    }
}

intptr_t VST_CALL dispatch(AEffect* effect, int32_t opcode, int32_t index, intptr_t value,
                           void* ptr, float) {
    ProbeEffect& probe = probeOf(effect);
    switch (opcode) {
        case effClose: delete &probe; return 1;
        case effConnectInput:
            if (index == 1) {
                probe.input1Connected = value != 0;
            }
            return 1;
        case effProcessEvents:
            keepEvents(probe, *static_cast<const VstEvents*>(ptr));
            return 1;
        case effGetEffectName: std::strcpy(static_cast<char*>(ptr), "Event Probe"); return 1;
        case effGetParamName: std::strcpy(static_cast<char*>(ptr), index == 0 ? "Gain" : "Tone"); return 0;
        default: return 0;
    }
}

void VST_CALL processReplacing(AEffect* effect, float** inputs, float** outputs, int32_t frames) {
    ProbeEffect& probe = probeOf(effect);
    int next = 0;
    for (int32_t i = 0; i < frames; ++i) {
        while (next < probe.pendingCount && probe.pendingFrame[next] <= i) {
            probe.level = probe.pendingLevel[next++];
        }
        outputs[0][i] = inputs[0][i];
        outputs[1][i] = probe.input1Connected ? inputs[1][i] : 0.0f;
        outputs[2][i] = probe.level;
    }
    probe.pendingCount = 0;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) AEffect* VST_CALL
VSTPluginMain(audioMasterCallback host) {
    if (!test_plugin::hostAnswers(host)) {
        return nullptr;
    }
    auto* probe = new (std::nothrow) ProbeEffect;
    if (probe == nullptr) {
        return nullptr;
    }
    test_plugin::fillRecord(probe->record, probe,
                            {dispatch, processReplacing, 2, 2, 3, fourCharCode('P', 'r', 'o', 'b')});
    return &probe->record;
}
