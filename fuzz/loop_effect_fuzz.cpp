// Fuzz target: one effect per input, created as `main` creates it, driven through its record by
// the actions the input spells out, its loop invariants checked after each, closed at the end.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "fuzz/fuzz_host.h"
#include "fuzz/fuzz_input.h"
#include "fuzz/host_actions.h"
#include "fuzz/loop_invariants.h"
#include "loop/loop_entry.h"

namespace {

// Keeps one input's run short enough for many runs a second, whatever its length.
constexpr int kMostActions = 256;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    AEffect* record = openLoopEffect(FuzzHost::callback);
    if (record == nullptr) {
        std::abort();
    }
    FuzzHost::attach(record);
    checkLoopInvariants(record, "creation");
    HostActions actions(record, input);
    for (int count = 0; count < kMostActions && !input.exhausted(); ++count) {
        const char* action = actions.runNext();
        if (action == nullptr) {
            break;
        }
        checkLoopInvariants(record, action);
    }
    actions.close();
    FuzzHost::detach();
    return 0;
}
