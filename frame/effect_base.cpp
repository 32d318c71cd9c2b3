#include "frame/effect_base.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "frame/entries.h"

namespace {

void emptyText(char* text) {
    if (text != nullptr) {
        text[0] = '\0';
    }
}

// effGetVu: the meter value scaled to 32767, cut toward zero; out-of-range products saturate.
intptr_t scaledVu(float vu) {
    const double product = static_cast<double>(vu) * 32767.0;
    if (std::isnan(product)) {
        return 0;
    }
    if (product >= static_cast<double>(std::numeric_limits<int32_t>::max())) {
        return std::numeric_limits<int32_t>::max();
    }
    if (product <= static_cast<double>(std::numeric_limits<int32_t>::min())) {
        return std::numeric_limits<int32_t>::min();
    }
    return static_cast<int32_t>(product);
}

}  // namespace

EffectBase::EffectBase(audioMasterCallback hostCallback_, int32_t numPrograms_, int32_t numParams)
    : hostCallback(hostCallback_), numPrograms(numPrograms_) {
    std::memset(&record, 0, sizeof record);
    record.magic = kEffectMagic;
    record.dispatcher = dispatcherEntry;
    record.process = processEntry;
    record.setParameter = setParameterEntry;
    record.getParameter = getParameterEntry;
    record.processReplacing = processReplacingEntry;
    record.numPrograms = numPrograms_;
    record.numParams = numParams;
    record.numInputs = 1;
    record.numOutputs = 2;
    record.ioRatio = 1.0f;
    record.object = this;
    record.uniqueID = fourCharCode('N', 'o', 'E', 'f');
    record.version = 1;
}

EffectBase::~EffectBase() = default;

void EffectBase::setParameter(int32_t, float) {}
float EffectBase::getParameter(int32_t) { return 0.0f; }

void EffectBase::automateParameter(int32_t index, float value) {
    setParameter(index, value);
    callHost(audioMasterAutomate, index, 0, nullptr, value, 0);
}

void EffectBase::processReplacing(float**, float**, int32_t) {}

intptr_t EffectBase::dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
    switch (opcode) {
    case effOpen: open(); return 0;
    case effClose: close(); return 0;
    case effSetProgram:
        if (value < numPrograms) {
            setProgram(static_cast<int32_t>(value));
        }
        return 0;
    case effGetProgram: return getProgram();
    case effSetProgramName: setProgramName(static_cast<char*>(ptr)); return 0;
    case effGetProgramName: getProgramName(static_cast<char*>(ptr)); return 0;
    case effGetParamLabel: getParamLabel(index, static_cast<char*>(ptr)); return 0;
    case effGetParamDisplay: getParamDisplay(index, static_cast<char*>(ptr)); return 0;
    case effGetParamName: getParamName(index, static_cast<char*>(ptr)); return 0;
    case effGetVu: return scaledVu(getVu());
    case effSetSampleRate: setSampleRate(opt); return 0;
    case effSetBlockSize: setBlockSize(static_cast<int32_t>(value)); return 0;
    case effMainsChanged:
        if (value == 0) {
            suspend();
        } else {
            resume();
        }
        return 0;
    case effEditGetRect: return editor ? editor->editGetRect(ptr) : 0;
    case effEditOpen: return editor ? editor->editOpen(ptr) : 0;
    case effEditClose:
        if (editor) {
            editor->editClose();
        }
        return 0;
    case effEditIdle:
        if (editor) {
            editor->editIdle();
        }
        return 0;
    case effIdentify: return kEffectIdentity;
    case effGetChunk: return getChunk(ptr, index != 0);
    case effSetChunk: return setChunk(ptr, static_cast<int32_t>(value), index != 0);
    default: return 0;
    }
}

void EffectBase::open() {}
void EffectBase::close() {}
int32_t EffectBase::getProgram() { return curProgram; }
void EffectBase::setProgram(int32_t program) { curProgram = program; }
void EffectBase::setProgramName(char* text) { emptyText(text); }
void EffectBase::getProgramName(char* text) { emptyText(text); }
void EffectBase::getParamLabel(int32_t, char* text) { emptyText(text); }
void EffectBase::getParamDisplay(int32_t, char* text) { emptyText(text); }
void EffectBase::getParamName(int32_t, char* text) { emptyText(text); }
float EffectBase::getVu() { return 0.0f; }
int32_t EffectBase::getChunk(void*, bool) { return 0; }
int32_t EffectBase::setChunk(void*, int32_t, bool) { return 0; }
void EffectBase::setSampleRate(float rate) { sampleRate = rate; }
void EffectBase::setBlockSize(int32_t size) { blockSize = size; }
void EffectBase::suspend() {}
void EffectBase::resume() {}
void EffectBase::setUniqueID(int32_t id) { record.uniqueID = id; }
void EffectBase::setNumInputs(int32_t count) { record.numInputs = count; }
void EffectBase::setNumOutputs(int32_t count) { record.numOutputs = count; }
void EffectBase::setHasVu(bool on) { setFlag(effFlagsHasVu, on); }
void EffectBase::setHasClip(bool on) { setFlag(effFlagsHasClip, on); }
void EffectBase::setCanMono(bool on) { setFlag(effFlagsCanMono, on); }
void EffectBase::setCanReplacing(bool on) { setFlag(effFlagsCanReplacing, on); }
void EffectBase::setProgramChunks(bool on) { setFlag(effFlagsProgramChunks, on); }
void EffectBase::setRealQualities(int32_t count) { record.realQualities = count; }
void EffectBase::setOffQualities(int32_t count) { record.offQualities = count; }
void EffectBase::setInitialDelay(int32_t frames) { record.initialDelay = frames; }
float EffectBase::getSampleRate() { return sampleRate; }
int32_t EffectBase::getBlockSize() { return blockSize; }

int32_t EffectBase::hostVersion() {
    const intptr_t answer = callHost(audioMasterVersion, 0, 0, nullptr, 0.0f, 1);
    return answer == 0 ? 1 : static_cast<int32_t>(answer);
}

int32_t EffectBase::hostCurrentId() {
    return static_cast<int32_t>(callHost(audioMasterCurrentId, 0, 0, nullptr, 0.0f, 0));
}

void EffectBase::hostIdle() { callHost(audioMasterIdle, 0, 0, nullptr, 0.0f, 0); }

// The host answers 0 for a connected pin.
bool EffectBase::isInputConnected(int32_t input) {
    return callHost(audioMasterPinConnected, input, 0, nullptr, 0.0f, 0) == 0;
}

bool EffectBase::isOutputConnected(int32_t output) {
    return callHost(audioMasterPinConnected, output, 1, nullptr, 0.0f, 0) == 0;
}

void EffectBase::setFlag(int32_t flag, bool on) {
    record.flags = on ? (record.flags | flag) : (record.flags & ~flag);
}

intptr_t EffectBase::callHost(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt,
                              intptr_t fallback) {
    if (hostCallback == nullptr) {
        return fallback;
    }
    return hostCallback(&record, opcode, index, value, ptr, opt);
}
