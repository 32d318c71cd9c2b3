// The interface of an optional editor window. No effect here has one; the frame only forwards to it.
#pragma once

#include <cstdint>

class EffectEditor {
public:
    virtual ~EffectEditor() = default;
    virtual int32_t editGetRect(void* ptr) = 0;
    virtual int32_t editOpen(void* ptr) = 0;
    virtual void editClose() = 0;
    virtual void editIdle() = 0;
};
