// What the host tests' own plug-ins share: the entry's check that a host answers, and a record
// filled with the plug-in's functions and shape. Parameters and accumulating process do nothing.
#pragma once

#include "frame/vst2.h"

namespace test_plugin {

struct Shape {
    AEffectDispatcherProc dispatcher;
    AEffectProcessProc processReplacing;
    int32_t numParams;
    int32_t numInputs;
    int32_t numOutputs;
    int32_t uniqueID;
};

inline bool hostAnswers(audioMasterCallback host) {
    return host != nullptr && host(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) != 0;
}

inline void VST_CALL processNothing(AEffect*, float**, float**, int32_t) {}
inline void VST_CALL setNoParameter(AEffect*, int32_t, float) {}
inline float VST_CALL getNoParameter(AEffect*, int32_t) { return 0.0f; }

inline void fillRecord(AEffect& record, void* object, const Shape& shape) {
    record.magic = kEffectMagic;
    record.dispatcher = shape.dispatcher;
    record.process = processNothing;
    record.setParameter = setNoParameter;
    record.getParameter = getNoParameter;
    record.numParams = shape.numParams;
    record.numInputs = shape.numInputs;
    record.numOutputs = shape.numOutputs;
    record.flags = effFlagsCanReplacing;
    record.ioRatio = 1.0f;
    record.object = object;
    record.uniqueID = shape.uniqueID;
    record.version = 1;
    record.processReplacing = shape.processReplacing;
}

}  // namespace test_plugin
