// A test plug-in that tells on stderr what the host does with it: sample rate, block size,
// switching on and off, closing; and on closing, how many blocks it ran, how many of them came
// while it was switched off and how many were longer than the block size it was given.
// Every output carries input 0 unchanged. PROBE_OUTPUTS sets the number of outputs (default 2).
#include <atomic>
#include <cstdio>
#include <new>

#include "frame/vst2.h"
#include "tests/host/test_plugin_record.h"

#ifndef PROBE_OUTPUTS
#define PROBE_OUTPUTS 2
#endif

namespace {

struct LifecycleProbe {
    AEffect record{};
    std::atomic<bool> on{false};
    std::atomic<int32_t> blockSize{0};
    std::atomic<long> blocks{0};
    std::atomic<long> blocksWhileOff{0};
    std::atomic<long> blocksTooLong{0};
};

LifecycleProbe& probeOf(AEffect* effect) {
    return *static_cast<LifecycleProbe*>(effect->object);
}

void tell(const char* format, double value) {
    std::fprintf(stderr, format, value);
    std::fflush(stderr);
}

void close(LifecycleProbe& probe) {
    std::fprintf(stderr, "probe: close; %ld blocks, %ld while off, %ld longer than the block size\n",
                 probe.blocks.load(), probe.blocksWhileOff.load(), probe.blocksTooLong.load());
    std::fflush(stderr);
    delete &probe;
}

intptr_t VST_CALL dispatch(AEffect* effect, int32_t opcode, int32_t, intptr_t value, void*,
                           float opt) {
    LifecycleProbe& probe = probeOf(effect);
    switch (opcode) {
        case effClose: close(probe); return 1;
        case effSetSampleRate: tell("probe: sample rate %g\n", opt); return 0;
        case effSetBlockSize:
            probe.blockSize = static_cast<int32_t>(value);
            tell("probe: block size %g\n", static_cast<double>(value));
            return 0;
        case effMainsChanged:
            probe.on = value != 0;
            tell("probe: mains %g\n", static_cast<double>(value));
            return 0;
        default: return 0;
    }
}

void VST_CALL processReplacing(AEffect* effect, float** inputs, float** outputs, int32_t frames) {
    LifecycleProbe& probe = probeOf(effect);
    ++probe.blocks;
    if (!probe.on) {
        ++probe.blocksWhileOff;
    }
    if (frames > probe.blockSize) {
        ++probe.blocksTooLong;
    }
    for (int32_t ch = 0; ch < PROBE_OUTPUTS; ++ch) {
        for (int32_t i = 0; i < frames; ++i) {
            outputs[ch][i] = inputs[0][i];
        }
    }
}

}  // namespace

extern "C" __attribute__((visibility("default"))) AEffect* VST_CALL
VSTPluginMain(audioMasterCallback host) {
    if (!test_plugin::hostAnswers(host)) {
        return nullptr;
    }
    auto* probe = new (std::nothrow) LifecycleProbe;
    if (probe == nullptr) {
        return nullptr;
    }
    test_plugin::fillRecord(probe->record, probe, {dispatch, processReplacing, 0, 1, PROBE_OUTPUTS,
                                                   fourCharCode('L', 'f', 'P', 'r')});
    return &probe->record;
}
