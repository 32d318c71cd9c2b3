#include "loop/loop_entry.h"

#include <new>

#include "loop/loop_effect.h"

AEffect* openLoopEffect(audioMasterCallback hostCallback) {
    if (hostCallback == nullptr) {
        return nullptr;
    }
    if (hostCallback(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) {
        return nullptr;
    }
    auto* effect = new (std::nothrow) LoopEffect(hostCallback);
    if (effect == nullptr) {
        return nullptr;
    }
    if (!effect->isComplete()) {
        delete effect;
        return nullptr;
    }
    return effect->getAeffect();
}
