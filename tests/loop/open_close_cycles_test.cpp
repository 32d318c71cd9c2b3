// Opening and closing many effects, each switched on, sent commands and run for a block, leaves no
// memory behind: under LeakSanitizer nothing is reported, elsewhere the heap returns to its size.
#include <gtest/gtest.h>

#include <malloc.h>

#include <cstddef>
#include <vector>

#include "tests/support/plugin_host.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#define KESTRUNE_LEAK_SANITIZER 1
#endif

namespace {

#ifdef KESTRUNE_EMULATED
constexpr int kCycles = 2000;  // each cycle is slower under user-mode emulation
#else
constexpr int kCycles = 10000;
#endif
constexpr int32_t kBlock = 512;

// Answers only what creating an effect needs; keeps no record of the calls, which would grow.
intptr_t VST_CALL quietHost(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

// Bytes the program holds from the heap, small blocks and mapped ones alike.
size_t heapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

// Every tenth cycle also replaces the loop three times: the commands' own allocations take most of
// a cycle's time under AddressSanitizer, and a leak on their path shows after the first of them.
constexpr int kReshapeEvery = 10;

// One effect's life as a host leads it: open, switch on, record a stereo block, perhaps replace the
// loop and run another block, switch off, close.
void openUseAndClose(const PluginLibrary& library, bool reshape) {
    HostedEffect hosted(library, quietHost);
    hosted.dispatch(effOpen);
    hosted.dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
    hosted.dispatch(effSetBlockSize, 0, kBlock);
    hosted.dispatch(effConnectInput, 1, 1);
    hosted.dispatch(effMainsChanged, 0, 1);
    hosted.sendMidi(0x90, 67, 100);  // record
    std::vector<std::vector<float>> inputs(2, std::vector<float>(kBlock, 0.25f));
    std::vector<std::vector<float>> outputs(2, std::vector<float>(kBlock));
    hosted.processReplacing(inputs, outputs, kBlock);
    if (reshape) {
        hosted.sendMidi(0xB0, 127, 1);   // loop length of one second: a new, shorter buffer
        hosted.sendMidi(0x90, 55, 100);  // half speed: a new, longer one
        hosted.sendMidi(0x90, 82, 100);  // fold: a shorter one again
        hosted.processReplacing(inputs, outputs, kBlock);
    }
    hosted.dispatch(effMainsChanged, 0, 0);
    hosted.dispatch(effClose);
    hosted.effect = nullptr;
}

TEST(OpenCloseCycles, ManyEffectsLeaveNoMemoryBehind) {
    PluginLibrary library;
    openUseAndClose(library, true);  // the first cycle may set up lasting runtime state
    const size_t before = heapInUse();
    for (int cycle = 0; cycle < kCycles; ++cycle) {
        openUseAndClose(library, cycle % kReshapeEvery == 0);
    }
#ifdef KESTRUNE_LEAK_SANITIZER
    static_cast<void>(before);
    EXPECT_EQ(__lsan_do_recoverable_leak_check(), 0) << "leaks after " << kCycles << " cycles";
#else
    // A leak of even the smallest block per cycle would add at least kCycles × 16 bytes.
    EXPECT_LT(heapInUse(), before + 4096) << "after " << kCycles << " cycles";
#endif
}

}  // namespace
