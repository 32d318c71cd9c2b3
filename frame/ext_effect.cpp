#include "frame/ext_effect.h"

ExtEffect::ExtEffect(audioMasterCallback hostCallback_, int32_t numPrograms_, int32_t numParams)
    : EffectBase(hostCallback_, numPrograms_, numParams) {}

ExtEffect::~ExtEffect() = default;

intptr_t ExtEffect::dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
    auto text = static_cast<char*>(ptr);
    auto pin = static_cast<VstPinProperties*>(ptr);
    switch (opcode) {
    case effProcessEvents: return processEvents(static_cast<VstEvents*>(ptr));
    case effCanBeAutomated: return canBeAutomated(index);
    case effString2Parameter: return string2Parameter(index, text);
    case effGetNumProgramCategories: return getNumProgramCategories();
    case effGetProgramNameIndexed:
        return getProgramNameIndexed(static_cast<int32_t>(value), index, text);
    case effCopyProgram: return copyProgram(index);
    case effConnectInput: connectInput(index, value != 0); return 1;
    case effConnectOutput: connectOutput(index, value != 0); return 1;
    case effGetInputProperties: return getInputProperties(index, pin);
    case effGetOutputProperties: return getOutputProperties(index, pin);
    case effGetPlugCategory: return getPlugCategory();
    case effGetCurrentPosition: return getCurrentPosition();
    case effGetDestinationBuffer: return reinterpret_cast<intptr_t>(getDestinationBuffer());
    case effOfflineNotify: return offlineNotify(ptr, static_cast<int32_t>(value), index != 0);
    case effOfflinePrepare: return offlinePrepare(ptr, static_cast<int32_t>(value));
    case effOfflineRun: return offlineRun(ptr, static_cast<int32_t>(value));
    case effProcessVarIo: return processVarIo(ptr);
    case effSetSpeakerArrangement:
        return setSpeakerArrangement(reinterpret_cast<void*>(value), ptr);
    case effSetBlockSizeAndSampleRate:
        setBlockSizeAndSampleRate(static_cast<int32_t>(value), opt);
        return 1;
    case effSetBypass: return setBypass(value != 0);
    case effGetEffectName: return getEffectName(text);
    case effGetErrorText: return getErrorText(text);
    case effGetVendorString: return getVendorString(text);
    case effGetProductString: return getProductString(text);
    case effGetVendorVersion: return getVendorVersion();
    case effVendorSpecific: return vendorSpecific(index, value, ptr, opt);
    case effCanDo: return canDo(text);
    case effGetTailSize: return getTailSize();
    case effIdle: return idle();
    case effGetIcon: return reinterpret_cast<intptr_t>(getIcon());
    case effSetViewPosition: return setViewPosition(index, static_cast<int32_t>(value));
    case effGetParameterProperties: return getParameterProperties(index, ptr);
    case effKeysRequired: return keysRequired() ? 0 : 1;
    case effGetVstVersion: return getVstVersion();
    default: return EffectBase::dispatcher(opcode, index, value, ptr, opt);
    }
}

void ExtEffect::hostWantMidi(int32_t filter) {
    callHost(audioMasterWantMidi, 0, filter, nullptr, 0.0f, 0);
}

void* ExtEffect::hostGetTime(int32_t filter) {
    return reinterpret_cast<void*>(callHost(audioMasterGetTime, 0, filter, nullptr, 0.0f, 0));
}

int32_t ExtEffect::hostTempoAt(int32_t position) {
    return static_cast<int32_t>(callHost(audioMasterTempoAt, 0, position, nullptr, 0.0f, 0));
}

int32_t ExtEffect::processEvents(VstEvents*) { return 0; }

int32_t ExtEffect::hostGetNumAutomatableParameters() {
    return static_cast<int32_t>(
        callHost(audioMasterGetNumAutomatableParameters, 0, 0, nullptr, 0.0f, 0));
}

int32_t ExtEffect::hostGetParameterQuantization() {
    return static_cast<int32_t>(
        callHost(audioMasterGetParameterQuantization, 0, 0, nullptr, 0.0f, 0));
}

bool ExtEffect::canBeAutomated(int32_t) { return true; }
bool ExtEffect::string2Parameter(int32_t, char*) { return false; }
float ExtEffect::getChannelParameter(int32_t, int32_t) { return 0.0f; }
int32_t ExtEffect::getNumProgramCategories() { return 1; }
bool ExtEffect::getProgramNameIndexed(int32_t, int32_t, char*) { return false; }
bool ExtEffect::copyProgram(int32_t) { return false; }

bool ExtEffect::hostIOChanged() {
    return callHost(audioMasterIOChanged, 0, 0, nullptr, 0.0f, 0) != 0;
}

bool ExtEffect::hostNeedIdle() {
    return callHost(audioMasterNeedIdle, 0, 0, nullptr, 0.0f, 0) != 0;
}

bool ExtEffect::hostSizeWindow(int32_t width, int32_t height) {
    return callHost(audioMasterSizeWindow, width, height, nullptr, 0.0f, 0) != 0;
}

// The host is expected to answer by setting the rate through effSetSampleRate during the call.
float ExtEffect::hostGetSampleRate() {
    callHost(audioMasterGetSampleRate, 0, 0, nullptr, 0.0f, 0);
    return sampleRate;
}

int32_t ExtEffect::hostGetBlockSize() {
    callHost(audioMasterGetBlockSize, 0, 0, nullptr, 0.0f, 0);
    return blockSize;
}

int32_t ExtEffect::hostGetInputLatency() {
    return static_cast<int32_t>(callHost(audioMasterGetInputLatency, 0, 0, nullptr, 0.0f, 0));
}

int32_t ExtEffect::hostGetOutputLatency() {
    return static_cast<int32_t>(callHost(audioMasterGetOutputLatency, 0, 0, nullptr, 0.0f, 0));
}

AEffect* ExtEffect::hostGetPreviousPlug(int32_t) {
    return reinterpret_cast<AEffect*>(
        callHost(audioMasterGetPreviousPlug, 0, 0, nullptr, 0.0f, 0));
}

AEffect* ExtEffect::hostGetNextPlug(int32_t) {
    return reinterpret_cast<AEffect*>(callHost(audioMasterGetNextPlug, 0, 0, nullptr, 0.0f, 0));
}

void ExtEffect::connectInput(int32_t, bool) {}
void ExtEffect::connectOutput(int32_t, bool) {}
bool ExtEffect::getInputProperties(int32_t, VstPinProperties*) { return false; }
bool ExtEffect::getOutputProperties(int32_t, VstPinProperties*) { return false; }

int32_t ExtEffect::getPlugCategory() { return (record.flags & effFlagsIsSynth) >> 7; }

int32_t ExtEffect::hostWillReplaceOrAccumulate() {
    return static_cast<int32_t>(
        callHost(audioMasterWillReplaceOrAccumulate, 0, 0, nullptr, 0.0f, 0));
}

int32_t ExtEffect::hostGetCurrentProcessLevel() {
    return static_cast<int32_t>(
        callHost(audioMasterGetCurrentProcessLevel, 0, 0, nullptr, 0.0f, 0));
}

int32_t ExtEffect::hostGetAutomationState() {
    return static_cast<int32_t>(callHost(audioMasterGetAutomationState, 0, 0, nullptr, 0.0f, 0));
}

void ExtEffect::setExtIsAsync(bool on) { setFlag(effFlagsExtIsAsync, on); }
void ExtEffect::setExtHasBuffer(bool on) { setFlag(effFlagsExtHasBuffer, on); }
int32_t ExtEffect::getCurrentPosition() { return 0; }
float* ExtEffect::getDestinationBuffer() { return nullptr; }

bool ExtEffect::hostOfflineRead(void* task, int32_t option, bool readSource) {
    return callHost(audioMasterOfflineRead, readSource ? 1 : 0, option, task, 0.0f, 0) != 0;
}

bool ExtEffect::hostOfflineWrite(void* task, int32_t option) {
    return callHost(audioMasterOfflineWrite, 0, option, task, 0.0f, 0) != 0;
}

bool ExtEffect::hostOfflineStart(void* files, int32_t numFiles, int32_t numNewFiles) {
    return callHost(audioMasterOfflineStart, numNewFiles, numFiles, files, 0.0f, 0) != 0;
}

int32_t ExtEffect::hostOfflineGetCurrentPass() {
    return callHost(audioMasterOfflineGetCurrentPass, 0, 0, nullptr, 0.0f, 0) != 0 ? 1 : 0;
}

int32_t ExtEffect::hostOfflineGetCurrentMetaPass() {
    return callHost(audioMasterOfflineGetCurrentMetaPass, 0, 0, nullptr, 0.0f, 0) != 0 ? 1 : 0;
}

bool ExtEffect::offlineNotify(void*, int32_t, bool) { return false; }
bool ExtEffect::offlinePrepare(void*, int32_t) { return false; }
bool ExtEffect::offlineRun(void*, int32_t) { return false; }
int32_t ExtEffect::offlineGetNumPasses() { return 0; }
int32_t ExtEffect::offlineGetNumMetaPasses() { return 0; }

void ExtEffect::hostSetOutputSampleRate(float rate) {
    callHost(audioMasterSetOutputSampleRate, 0, 0, nullptr, rate, 0);
}

bool ExtEffect::hostGetSpeakerArrangement(void* input, void* output) {
    return callHost(audioMasterGetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(input), output,
                    0.0f, 0) != 0;
}

bool ExtEffect::hostGetVendorString(char* text) {
    return callHost(audioMasterGetVendorString, 0, 0, text, 0.0f, 0) != 0;
}

bool ExtEffect::hostGetProductString(char* text) {
    return callHost(audioMasterGetProductString, 0, 0, text, 0.0f, 0) != 0;
}

int32_t ExtEffect::hostGetVendorVersion() {
    return static_cast<int32_t>(callHost(audioMasterGetVendorVersion, 0, 0, nullptr, 0.0f, 0));
}

int32_t ExtEffect::hostVendorSpecific(int32_t arg1, int32_t arg2, void* arg3, float arg4) {
    return static_cast<int32_t>(callHost(audioMasterVendorSpecific, arg1, arg2, arg3, arg4, 0));
}

// Any non-zero answer, -1 included, counts as "yes".
int32_t ExtEffect::hostCanDo(char* text) {
    return callHost(audioMasterCanDo, 0, 0, text, 0.0f, 0) != 0 ? 1 : 0;
}

void ExtEffect::setIsSynth(bool on) { setFlag(effFlagsIsSynth, on); }
void ExtEffect::setNoSoundInStop(bool on) { setFlag(effFlagsNoSoundInStop, on); }

int32_t ExtEffect::hostGetLanguage() {
    return static_cast<int32_t>(callHost(audioMasterGetLanguage, 0, 0, nullptr, 0.0f, 0));
}

void* ExtEffect::hostOpenWindow(void* window) {
    return reinterpret_cast<void*>(callHost(audioMasterOpenWindow, 0, 0, window, 0.0f, 0));
}

bool ExtEffect::hostCloseWindow(void* window) {
    return callHost(audioMasterCloseWindow, 0, 0, window, 0.0f, 0) != 0;
}

void* ExtEffect::hostGetDirectory() {
    return reinterpret_cast<void*>(callHost(audioMasterGetDirectory, 0, 0, nullptr, 0.0f, 0));
}

bool ExtEffect::hostUpdateDisplay() {
    return callHost(audioMasterUpdateDisplay, 0, 0, nullptr, 0.0f, 0) != 0;
}

bool ExtEffect::processVarIo(void*) { return false; }
bool ExtEffect::setSpeakerArrangement(void*, void*) { return false; }

void ExtEffect::setBlockSizeAndSampleRate(int32_t size, float rate) {
    blockSize = size;
    sampleRate = rate;
}

bool ExtEffect::setBypass(bool) { return false; }
bool ExtEffect::getEffectName(char*) { return false; }
bool ExtEffect::getErrorText(char*) { return false; }
bool ExtEffect::getVendorString(char*) { return false; }
bool ExtEffect::getProductString(char*) { return false; }
int32_t ExtEffect::getVendorVersion() { return 0; }
int32_t ExtEffect::vendorSpecific(int32_t, intptr_t, void*, float) { return 0; }
int32_t ExtEffect::canDo(char*) { return 0; }
void* ExtEffect::getIcon() { return nullptr; }
bool ExtEffect::setViewPosition(int32_t, int32_t) { return false; }
int32_t ExtEffect::getTailSize() { return 0; }
int32_t ExtEffect::idle() { return 0; }
bool ExtEffect::getParameterProperties(int32_t, void*) { return false; }
bool ExtEffect::keysRequired() { return false; }
int32_t ExtEffect::getVstVersion() { return 2; }
