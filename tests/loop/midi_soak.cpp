// Soak: millions of random MIDI messages, sent in lists between audio blocks of random size and
// width, on one effect. After every list and every block the loop's invariants must hold, and the
// process's peak memory must stay bounded: however the commands combine, the loop stops growing.
//
//   midi_soak [MESSAGES]    (10,000,000 by default)
//
// Prints its figures and exits with 1 on the first broken invariant or when memory ran over.
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include "loop/loop_entry.h"
#include "tests/loop/loop_effect_probe.h"
#include "tests/support/midi_event.h"

namespace {

// Half speed stretches a stereo loop no further than this, and nothing else grows a loop as far.
constexpr int32_t kLongestLoop = 2 * LoopEffect::kStretchLimitPerChannel;
// Peak memory may grow by a few of the longest loops (old and new buffer while a command reshapes)
// and the block buffers, never more.
constexpr long kMemoryAllowanceKiB = 48 * 1024;
constexpr int32_t kLongestBlock = 512;
constexpr int kLongestList = 64;
constexpr uint8_t kHalfSpeed = 55;
constexpr uint8_t kClear = 36;
constexpr size_t kHeaderWords = 2;

intptr_t VST_CALL soakHost(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

long peakMemoryKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

class Soak {
public:
    explicit Soak(AEffect* record_)
        : record(record_),
          probe(*dynamic_cast<LoopEffect*>(static_cast<EffectBase*>(record_->object))),
          inputs(2, std::vector<float>(kLongestBlock)),
          outputs(2, std::vector<float>(kLongestBlock)) {
        record->dispatcher(record, effConnectInput, 1, 1, nullptr, 0.0f);
        record->dispatcher(record, effMainsChanged, 0, 1, nullptr, 0.0f);
    }

    // Sends `count` messages in lists, each list followed by an audio block. Every so often a
    // list is a burst of Half speed and Clear, which would double the loop without end if nothing
    // capped it.
    bool run(uint64_t count) {
        while (sent < count) {
            const int size = static_cast<int>(
                std::min<uint64_t>(count - sent, 1 + generator() % kLongestList));
            if (generator() % 1024 == 0) {
                growthBurst(size);
            } else {
                randomList(size);
            }
            if (!sendList("a list of messages") || !processBlock()) {
                return false;
            }
        }
        return true;
    }

    uint64_t sent = 0;
    uint64_t blocks = 0;
    int32_t longestLoop = 0;

private:
    // Mostly well-formed channel messages; one data byte in sixteen is out of the MIDI range.
    uint8_t dataByte() {
        const auto value = static_cast<uint8_t>(generator());
        return generator() % 16 == 0 ? value : static_cast<uint8_t>(value & 0x7F);
    }

    void randomList(int size) {
        list.clear();
        for (int i = 0; i < size; ++i) {
            const auto status = static_cast<uint8_t>(0x80 | generator());
            const uint8_t data1 = dataByte();
            list.push_back(midiEvent(status, data1, dataByte()));
        }
    }

    void growthBurst(int size) {
        list.clear();
        for (int i = 0; i < size; ++i) {
            list.push_back(midiEvent(0x90, i % 2 == 0 ? kHalfSpeed : kClear, 100));
        }
    }

    bool sendList(const char* what) {
        // The VstEvents header and one pointer per event, laid out in memory as a host does.
        static_assert(offsetof(VstEvents, events) == kHeaderWords * sizeof(intptr_t));
        pointers.assign(kHeaderWords + list.size(), 0);
        auto* events = reinterpret_cast<VstEvents*>(pointers.data());
        events->numEvents = static_cast<int32_t>(list.size());
        auto** entries = reinterpret_cast<VstEvent**>(pointers.data() + kHeaderWords);
        for (size_t i = 0; i < list.size(); ++i) {
            entries[i] = reinterpret_cast<VstEvent*>(&list[i]);
        }
        record->dispatcher(record, effProcessEvents, 0, 0, events, 0.0f);
        sent += list.size();
        return holds(what);
    }

    // A block of 1 to 512 frames of quiet noise, mono or stereo.
    bool processBlock() {
        const auto frames = static_cast<int32_t>(1 + generator() % kLongestBlock);
        for (auto& channel : inputs) {
            for (int32_t i = 0; i < frames; ++i) {
                channel[static_cast<size_t>(i)] =
                    static_cast<float>(static_cast<int32_t>(generator() % 2001) - 1000) / 4000.0f;
            }
        }
        float* in[] = {inputs[0].data(), generator() % 2 == 0 ? inputs[1].data() : nullptr};
        float* out[] = {outputs[0].data(), outputs[1].data()};
        record->processReplacing(record, in, out, frames);
        ++blocks;
        return holds("an audio block");
    }

    bool holds(const char* after) {
        longestLoop = std::max(longestLoop, probe.loopLength());
        if (probe.consistent() && probe.loopLength() <= kLongestLoop) {
            return true;
        }
        std::fprintf(stderr,
                     "after %s (%llu messages sent): loopLength %d, position %d, channels %d\n",
                     after, static_cast<unsigned long long>(sent), probe.loopLength(),
                     probe.position(), probe.channels());
        return false;
    }

    AEffect* record;
    LoopEffectProbe probe;
    std::mt19937 generator{20240613};
    std::vector<VstMidiEvent> list;
    std::vector<intptr_t> pointers;
    std::vector<std::vector<float>> inputs;
    std::vector<std::vector<float>> outputs;
};

// AddressSanitizer keeps freed memory in quarantine, so its peak says nothing about the effect.
constexpr bool peakMemoryMeaningful() {
#if defined(__SANITIZE_ADDRESS__)
    return false;
#else
    return true;
#endif
}

}  // namespace

int main(int argc, char** argv) {
    const uint64_t messages = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 10'000'000;
    AEffect* record = openLoopEffect(soakHost);
    if (record == nullptr) {
        std::fprintf(stderr, "midi_soak: the effect could not be created\n");
        return 1;
    }
    const long memoryBefore = peakMemoryKiB();
    const auto start = std::chrono::steady_clock::now();
    Soak soak(record);
    const bool held = soak.run(messages);
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    const long memoryGrowth = peakMemoryKiB() - memoryBefore;
    record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f);

    std::printf("midi_soak: %llu messages, %llu audio blocks in %.1f s; longest loop %d slots; "
                "peak memory %ld KiB, %ld KiB above the start\n",
                static_cast<unsigned long long>(soak.sent),
                static_cast<unsigned long long>(soak.blocks), seconds.count(), soak.longestLoop,
                peakMemoryKiB(), memoryGrowth);
    if (!held) {
        return 1;
    }
    if (peakMemoryMeaningful() && memoryGrowth > kMemoryAllowanceKiB) {
        std::fprintf(stderr, "midi_soak: peak memory grew by %ld KiB, more than %ld KiB\n",
                     memoryGrowth, kMemoryAllowanceKiB);
        return 1;
    }
    return 0;
}
