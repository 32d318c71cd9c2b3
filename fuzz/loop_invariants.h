// The loop state's invariants, checked after every host action. A broken one aborts, which the
// fuzzer reports as a finding together with the input that led to it.
#pragma once

#include "frame/vst2.h"

void checkLoopInvariants(AEffect* record, const char* action);
