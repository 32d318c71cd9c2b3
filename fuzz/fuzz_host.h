// The fuzz target's host callback: answers the version query that creating an effect needs and 0
// to everything else, and checks that the effect names its own record in every call it makes.
#pragma once

#include <cstdint>

#include "frame/vst2.h"

class FuzzHost {
public:
    static intptr_t VST_CALL callback(AEffect* effect, int32_t opcode, int32_t index,
                                      intptr_t value, void* ptr, float opt);
    // From `attach` to `detach`, every call must come from this record.
    static void attach(AEffect* record);
    static void detach();
};
