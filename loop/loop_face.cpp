// The face the loop effect shows its host: three parameters with names, labels and display texts,
// the bank of programs, the two output pins, the effect's identity and its capabilities.
// Every text is copied whole into the host's buffer; a null buffer is left alone.
#include <cstdio>
#include <cstring>

#include "loop/loop_effect.h"

namespace {

constexpr int32_t kNumOutputPins = 2;
constexpr const char* kParamNames[LoopEffect::kNumParams] = {"Feedback", "Loop Mix", "Dry Mix"};
constexpr char kParamLabel[] = "%";
constexpr char kEffectName[] = "KestruneVST vTavix";
constexpr char kVendorName[] = "Kestrune Lab";
constexpr char kProductName[] = "KestruneVST Tavix Version";
constexpr int32_t kVendorVersion = 1;
constexpr const char* kCapabilities[] = {"receiveVstEvents", "receiveVstMidiEvent"};

bool isParameter(int32_t index) { return index >= 0 && index < LoopEffect::kNumParams; }

bool isProgram(int32_t index) { return index >= 0 && index < LoopEffect::kNumPrograms; }

// Program `index` of the bank, or null when there is no bank or no such program.
LoopProgram* programAt(LoopProgram* bank, int32_t index) {
    return bank != nullptr && isProgram(index) ? &bank[index] : nullptr;
}

// The field of a program that holds parameter `index` (0, 1 or 2).
float& programValue(LoopProgram& program, int32_t index) {
    static constexpr float LoopProgram::*kFields[LoopEffect::kNumParams] = {
        &LoopProgram::feedback, &LoopProgram::loopMix, &LoopProgram::dryMix};
    return program.*kFields[index];
}

// Copies `source` and its terminator; answers whether there was a buffer to copy into.
bool copyText(char* destination, const char* source) {
    if (destination == nullptr) {
        return false;
    }
    std::memcpy(destination, source, std::strlen(source) + 1);
    return true;
}

// Keeps at most the first 23 characters, so that a long name never runs into the next program.
void storeName(LoopProgram& program, const char* text) {
    int length = 0;
    while (length < LoopProgram::kNameSize - 1 && text[length] != '\0') {
        program.name[length] = text[length];
        ++length;
    }
    program.name[length] = '\0';
}

}  // namespace

void LoopEffect::setParameter(int32_t index, float value) {
    if (!isParameter(index)) {
        return;
    }
    if (LoopProgram* program = programAt(programs.get(), curProgram)) {
        programValue(*program, index) = value;
    }
    switch (index) {
    case 0: feedback = value; break;
    case 1: loopMix = value; break;
    default: dryMix = value; break;
    }
}

float LoopEffect::getParameter(int32_t index) {
    switch (index) {
    case 0: return feedback;
    case 1: return loopMix;
    case 2: return dryMix;
    default: return 0.0f;
    }
}

void LoopEffect::setProgramName(char* text) {
    LoopProgram* program = programAt(programs.get(), curProgram);
    if (program != nullptr && text != nullptr) {
        storeName(*program, text);
    }
}

void LoopEffect::getProgramName(char* text) {
    const LoopProgram* program = programAt(programs.get(), curProgram);
    copyText(text, program != nullptr ? program->name : "");
}

void LoopEffect::getParamLabel(int32_t index, char* text) {
    if (isParameter(index)) {
        copyText(text, kParamLabel);
    }
}

void LoopEffect::getParamDisplay(int32_t index, char* text) {
    if (!copyText(text, "")) {
        return;
    }
    if (isParameter(index)) {
        formatFloat(LoopEffect::getParameter(index), text);
    }
}

void LoopEffect::getParamName(int32_t index, char* text) {
    if (isParameter(index)) {
        copyText(text, kParamNames[index]);
    }
}

bool LoopEffect::getProgramNameIndexed(int32_t, int32_t index, char* text) {
    const LoopProgram* program = programAt(programs.get(), index);
    return program != nullptr && copyText(text, program->name);
}

bool LoopEffect::copyProgram(int32_t destination) {
    LoopProgram* target = programAt(programs.get(), destination);
    const LoopProgram* source = programAt(programs.get(), curProgram);
    if (target == nullptr || source == nullptr) {
        return false;
    }
    *target = *source;
    return true;
}

// Pins are numbered from 1 in their labels. The comparison is signed, so a negative index is
// answered like a pin of its own.
bool LoopEffect::getOutputProperties(int32_t index, VstPinProperties* properties) {
    if (index >= kNumOutputPins || properties == nullptr) {
        return false;
    }
    std::snprintf(properties->label, sizeof properties->label, "Vstx %1d",
                  static_cast<int>(index) + 1);
    properties->flags = kVstPinIsActive | kVstPinIsStereo;
    return true;
}

bool LoopEffect::getEffectName(char* text) { return copyText(text, kEffectName); }

bool LoopEffect::getVendorString(char* text) { return copyText(text, kVendorName); }

bool LoopEffect::getProductString(char* text) { return copyText(text, kProductName); }

int32_t LoopEffect::getVendorVersion() { return kVendorVersion; }

// Only exact texts count: case matters, and neither a prefix nor a longer text matches.
int32_t LoopEffect::canDo(char* text) {
    if (text == nullptr) {
        return -1;
    }
    for (const char* capability : kCapabilities) {
        if (std::strcmp(text, capability) == 0) {
            return 1;
        }
    }
    return -1;
}
