// The five entry functions the record hands the host: each forwards to the effect object.
#pragma once

#include "frame/vst2.h"

intptr_t VST_CALL dispatcherEntry(AEffect* effect, int32_t opcode, int32_t index, intptr_t value,
                                  void* ptr, float opt);
void VST_CALL processEntry(AEffect* effect, float** inputs, float** outputs, int32_t sampleFrames);
void VST_CALL setParameterEntry(AEffect* effect, int32_t index, float value);
float VST_CALL getParameterEntry(AEffect* effect, int32_t index);
void VST_CALL processReplacingEntry(AEffect* effect, float** inputs, float** outputs,
                                    int32_t sampleFrames);
