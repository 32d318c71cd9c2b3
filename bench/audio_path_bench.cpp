// The audio path beside a reference kernel: the same multiply-adds over contiguous arrays, with no
// wrap, no ramp and no checks, which is what the memory and the arithmetic allow.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "tests/loop/loop_effect_probe.h"

namespace {

constexpr int32_t kLoopSlots = 176400;

struct Case {
    int channels;
    bool recording;
    bool reverse;
};

std::vector<float> noise(size_t count, float scale) {
    std::vector<float> values(count);
    uint32_t state = 12345;
    for (float& value : values) {
        state = state * 1664525u + 1013904223u;
        value = scale * (static_cast<float>(state >> 8) / 16777216.0f - 0.5f);
    }
    return values;
}

void engine(benchmark::State& state, Case c) {
    const auto frames = static_cast<int32_t>(state.range(0));
    LoopEffect effect(nullptr);
    LoopEffectProbe probe(effect);
    probe.setLoop(noise(kLoopSlots, 0.5f));
    if (c.channels == 2) {
        effect.connectInput(1, true);
    }
    probe.setRecording(c.recording);
    probe.setRecordLevel(c.recording ? 1.0f : 0.0f);
    probe.setReverse(c.reverse);
    std::vector<std::vector<float>> in(2, noise(static_cast<size_t>(frames), 0.25f));
    std::vector<std::vector<float>> out(2, std::vector<float>(static_cast<size_t>(frames)));
    float* ins[] = {in[0].data(), c.channels == 2 ? in[1].data() : nullptr};
    float* outs[] = {out[0].data(), out[1].data()};
    for (auto _ : state) {
        effect.processReplacing(ins, outs, frames);
        benchmark::ClobberMemory();
    }
    state.counters["ns_per_channel_frame"] = benchmark::Counter(
        static_cast<double>(frames * c.channels),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

template <int Channels, bool Recording>
void referenceKernel(float* loop, const float* const* in, float* const* out, int32_t frames,
                     float feedback, float loopMix, float dryMix, float level) {
    for (int32_t j = 0; j < frames; ++j) {
        for (int ch = 0; ch < Channels; ++ch) {
            const float x = in[ch][j];
            const float old = loop[j * Channels + ch];
            out[ch][j] = loopMix * old + dryMix * x;
            if constexpr (Recording) {
                loop[j * Channels + ch] = x * level + feedback * old;
            }
        }
        if constexpr (Channels == 1) {
            out[1][j] = out[0][j];
        }
    }
}

template <int Channels, bool Recording>
void reference(benchmark::State& state) {
    const auto frames = static_cast<int32_t>(state.range(0));
    std::vector<float> loopSlots = noise(kLoopSlots, 0.5f);
    std::vector<std::vector<float>> in(2, noise(static_cast<size_t>(frames), 0.25f));
    std::vector<std::vector<float>> out(2, std::vector<float>(static_cast<size_t>(frames)));
    const float* ins[] = {in[0].data(), in[1].data()};
    float* outs[] = {out[0].data(), out[1].data()};
    const int32_t blockSlots = frames * Channels;
    int32_t offset = 0;
    for (auto _ : state) {
        if (offset + blockSlots > kLoopSlots) {
            offset = 0;
        }
        referenceKernel<Channels, Recording>(loopSlots.data() + offset, ins, outs, frames, 0.95f,
                                             1.0f, 0.5f, 1.0f);
        offset += blockSlots;
        benchmark::ClobberMemory();
    }
    state.counters["ns_per_channel_frame"] = benchmark::Counter(
        static_cast<double>(blockSlots),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

using ReferenceFunction = void (*)(benchmark::State&);

ReferenceFunction referenceFor(const Case& c) {
    if (c.channels == 1) {
        return c.recording ? reference<1, true> : reference<1, false>;
    }
    return c.recording ? reference<2, true> : reference<2, false>;
}

std::string caseName(const Case& c) {
    return std::string(c.channels == 1 ? "mono" : "stereo") + (c.recording ? "/rec" : "/play") +
           (c.reverse ? "/reverse" : "/forward");
}

const bool registered = [] {
    for (int channels : {1, 2}) {
        for (bool recording : {false, true}) {
            for (bool reverse : {false, true}) {
                const Case c{channels, recording, reverse};
                benchmark::RegisterBenchmark(("audio/engine/" + caseName(c)).c_str(), engine, c)
                    ->Arg(32)->Arg(64)->Arg(512);
                benchmark::RegisterBenchmark(("audio/reference/" + caseName(c)).c_str(), referenceFor(c))
                    ->Arg(32)->Arg(64)->Arg(512);
            }
        }
    }
    return true;
}();

}  // namespace

BENCHMARK_MAIN();
