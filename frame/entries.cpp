#include "frame/entries.h"

#include "frame/effect_base.h"

namespace {

EffectBase* effectOf(AEffect* record) { return static_cast<EffectBase*>(record->object); }

}  // namespace

intptr_t VST_CALL dispatcherEntry(AEffect* record, int32_t opcode, int32_t index, intptr_t value,
                                  void* ptr, float opt) {
    EffectBase* effect = effectOf(record);
    if (opcode != effClose) {
        return effect->dispatcher(opcode, index, value, ptr, opt);
    }
    // The record lives inside the effect: after this delete the host's pointer is dead.
    effect->dispatcher(opcode, index, value, ptr, opt);
    delete effect;
    return 1;
}

void VST_CALL processEntry(AEffect* record, float** inputs, float** outputs, int32_t sampleFrames) {
    effectOf(record)->process(inputs, outputs, sampleFrames);
}

void VST_CALL setParameterEntry(AEffect* record, int32_t index, float value) {
    effectOf(record)->setParameter(index, value);
}

float VST_CALL getParameterEntry(AEffect* record, int32_t index) {
    return effectOf(record)->getParameter(index);
}

void VST_CALL processReplacingEntry(AEffect* record, float** inputs, float** outputs,
                                    int32_t sampleFrames) {
    effectOf(record)->processReplacing(inputs, outputs, sampleFrames);
}
