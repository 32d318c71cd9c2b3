// A loop full of subnormal numbers, recorded over with silence at Feedback 0.95, beside the same
// run over normal numbers. Flushing keeps the two equally fast and leaves no subnormal behind.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "tests/loop/loop_effect_probe.h"

namespace {

constexpr int32_t kLoopSlots = 176400;
constexpr int32_t kBlock = 512;

int64_t countSubnormals(const float* values, size_t count) {
    int64_t found = 0;
    for (size_t i = 0; i < count; ++i) {
        found += std::fpclassify(values[i]) == FP_SUBNORMAL ? 1 : 0;
    }
    return found;
}

void recordSilenceOver(benchmark::State& state, float fill) {
    LoopEffect effect(nullptr);
    LoopEffectProbe probe(effect);
    probe.setGains(0.95f, 1.0f, 1.0f);
    probe.setRecordLevel(1.0f);
    probe.setRecording(true);
    std::vector<float> silence(kBlock, 0.0f);
    std::vector<float> out0(kBlock);
    std::vector<float> out1(kBlock);
    float* ins[] = {silence.data(), nullptr};
    float* outs[] = {out0.data(), out1.data()};
    const auto onePass = [&](int64_t* subnormalsOut) {
        for (int32_t done = 0; done < kLoopSlots; done += kBlock) {
            effect.processReplacing(ins, outs, kBlock);
            if (subnormalsOut != nullptr) {
                *subnormalsOut += countSubnormals(out0.data(), out0.size()) +
                                  countSubnormals(out1.data(), out1.size());
            }
        }
    };
    for (auto _ : state) {
        state.PauseTiming();
        probe.fillLoop(fill);
        probe.setPosition(0);
        state.ResumeTiming();
        onePass(nullptr);
        benchmark::ClobberMemory();
    }
    // The same pass once more, untimed, to check what it leaves in the output and the loop.
    probe.fillLoop(fill);
    probe.setPosition(0);
    int64_t subnormalsLeft = 0;
    onePass(&subnormalsLeft);
    state.counters["subnormals_left"] = static_cast<double>(subnormalsLeft);
}

void BM_SubnormalLoop(benchmark::State& state) { recordSilenceOver(state, 1.0e-39f); }
void BM_NormalLoop(benchmark::State& state) { recordSilenceOver(state, 0.25f); }

}  // namespace

BENCHMARK(BM_SubnormalLoop)->Name("subnormal/loop")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_NormalLoop)->Name("subnormal/reference")->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
