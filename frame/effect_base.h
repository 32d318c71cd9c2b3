// EffectBase: an effect's core state, the embedded plug-in record and the core opcodes 0..24.
// Every virtual operation has a default except process; the declaration order is the slot order.
#pragma once

#include <cstdint>
#include <memory>

#include "frame/effect_editor.h"
#include "frame/vst2.h"

class EffectBase {
public:
    EffectBase(audioMasterCallback hostCallback, int32_t numPrograms, int32_t numParams);
    EffectBase(const EffectBase&) = delete;
    EffectBase& operator=(const EffectBase&) = delete;

    virtual ~EffectBase();
    virtual void setParameter(int32_t index, float value);
    virtual float getParameter(int32_t index);
    virtual void automateParameter(int32_t index, float value);
    virtual void process(float** inputs, float** outputs, int32_t sampleFrames) = 0;
    virtual void processReplacing(float** inputs, float** outputs, int32_t sampleFrames);
    virtual intptr_t dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);
    virtual void open();
    virtual void close();
    virtual int32_t getProgram();
    virtual void setProgram(int32_t program);
    virtual void setProgramName(char* text);
    virtual void getProgramName(char* text);
    virtual void getParamLabel(int32_t index, char* text);
    virtual void getParamDisplay(int32_t index, char* text);
    virtual void getParamName(int32_t index, char* text);
    virtual float getVu();
    virtual int32_t getChunk(void* data, bool isPreset);
    virtual int32_t setChunk(void* data, int32_t byteSize, bool isPreset);
    virtual void setSampleRate(float rate);
    virtual void setBlockSize(int32_t size);
    virtual void suspend();
    virtual void resume();
    virtual void setUniqueID(int32_t id);
    virtual void setNumInputs(int32_t count);
    virtual void setNumOutputs(int32_t count);
    virtual void setHasVu(bool on);
    virtual void setHasClip(bool on);
    virtual void setCanMono(bool on);
    virtual void setCanReplacing(bool on);
    virtual void setProgramChunks(bool on);
    virtual void setRealQualities(int32_t count);
    virtual void setOffQualities(int32_t count);
    virtual void setInitialDelay(int32_t frames);
    virtual float getSampleRate();
    virtual int32_t getBlockSize();
    virtual int32_t hostVersion();
    virtual int32_t hostCurrentId();
    virtual void hostIdle();
    virtual bool isInputConnected(int32_t input);
    virtual bool isOutputConnected(int32_t output);
    virtual void formatDecibels(float value, char* text);
    virtual void formatHertz(float samples, char* text);
    virtual void formatMilliseconds(float samples, char* text);
    virtual void formatFloat(float value, char* text);
    virtual void formatInteger(int32_t value, char* text);

    AEffect* getAeffect() { return &record; }

protected:
    // Sets or clears one bit of the record's flags, leaving the others as they are.
    void setFlag(int32_t flag, bool on);
    // Calls the host with this effect's record, or answers `fallback` when there is no host.
    intptr_t callHost(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt,
                      intptr_t fallback);
    bool hasHost() const { return hostCallback != nullptr; }

    float sampleRate = 44100.0f;
    std::unique_ptr<EffectEditor> editor;
    audioMasterCallback hostCallback;
    int32_t numPrograms;
    int32_t curProgram = 0;
    int32_t blockSize = 1024;
    AEffect record;
};
