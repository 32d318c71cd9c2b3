// Each reshaping command at the stereo size limit, beside a memcpy of as many bytes as the
// command's result holds: a command stalls the host's audio thread for as long as it runs.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/loop/loop_effect_probe.h"

namespace {

constexpr int32_t kLimit = 2 * 352800;  // stereo
constexpr int kNoteOn = 0x90;
constexpr int kControlChange = 0xB0;

struct Command {
    std::string name;
    int status;
    int data1;
    int data2;
    int32_t startSlots;
    bool halfSpeed;
    int32_t resultSlots;
};

const std::vector<Command>& commands() {
    static const std::vector<Command> all = {
        {"half-speed-stretch", kNoteOn, 55, 100, kLimit / 2, false, kLimit},
        {"half-speed-halve", kNoteOn, 55, 100, kLimit, true, kLimit / 2},
        {"fold", kNoteOn, 82, 100, kLimit, false, kLimit / 2},
        {"double", kNoteOn, 84, 100, kLimit / 2, false, kLimit},
        {"mirror", kNoteOn, 87, 100, kLimit / 2, false, kLimit},
        {"add-reverse", kNoteOn, 91, 100, kLimit, false, kLimit},
        {"loop-length", kControlChange, 127, 8, kLimit, false, kLimit},
        {"clear", kNoteOn, 36, 100, kLimit, false, kLimit},
    };
    return all;
}

void runCommand(benchmark::State& state, const Command& command) {
    LoopEffect effect(nullptr);
    LoopEffectProbe probe(effect);
    probe.setChannels(2);
    const std::vector<float> start(static_cast<size_t>(command.startSlots), 0.25f);
    for (auto _ : state) {
        state.PauseTiming();
        probe.setLoop(start);
        probe.setHalfSpeed(command.halfSpeed);
        state.ResumeTiming();
        effect.processMidiMessage(command.status, command.data1, command.data2);
        benchmark::ClobberMemory();
    }
    if (probe.loopLength() != command.resultSlots) {
        state.SkipWithError(("unexpected length " + std::to_string(probe.loopLength())).c_str());
    }
}

void runMemcpy(benchmark::State& state, int32_t slots) {
    std::vector<float> from(static_cast<size_t>(slots), 0.25f);
    std::vector<float> to(static_cast<size_t>(slots), 0.0f);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size() * sizeof(float));
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}

const bool registered = [] {
    for (const Command& command : commands()) {
        benchmark::RegisterBenchmark(("command/" + command.name + "/" +
                                      std::to_string(command.resultSlots)).c_str(),
                                     runCommand, command)
            ->Unit(benchmark::kMicrosecond);
    }
    for (int32_t slots : {kLimit / 2, kLimit}) {
        benchmark::RegisterBenchmark(("command/memcpy/" + std::to_string(slots)).c_str(),
                                     runMemcpy, slots)
            ->Unit(benchmark::kMicrosecond);
    }
    return true;
}();

}  // namespace

BENCHMARK_MAIN();
