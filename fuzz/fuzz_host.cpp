#include "fuzz/fuzz_host.h"

#include <cstdio>
#include <cstdlib>

namespace {

constexpr intptr_t kHostVersion = 2400;
AEffect* liveRecord = nullptr;

}  // namespace

intptr_t VST_CALL FuzzHost::callback(AEffect* effect, int32_t opcode, int32_t, intptr_t, void*,
                                     float) {
    if (liveRecord != nullptr && effect != liveRecord) {
        std::fprintf(stderr, "host call %d came with a record that is not the effect's\n", opcode);
        std::abort();
    }
    return opcode == audioMasterVersion ? kHostVersion : 0;
}

void FuzzHost::attach(AEffect* record) { liveRecord = record; }

void FuzzHost::detach() { liveRecord = nullptr; }
