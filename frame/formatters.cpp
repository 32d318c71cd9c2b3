// The value-to-text formatters. Until they are written out, each leaves an empty text.
#include "frame/effect_base.h"

namespace {

void emptyText(char* text) {
    if (text != nullptr) {
        text[0] = '\0';
    }
}

}  // namespace

void EffectBase::formatDecibels(float, char* text) { emptyText(text); }
void EffectBase::formatHertz(float, char* text) { emptyText(text); }
void EffectBase::formatMilliseconds(float, char* text) { emptyText(text); }
void EffectBase::formatFloat(float, char* text) { emptyText(text); }
void EffectBase::formatInteger(int32_t, char* text) { emptyText(text); }
