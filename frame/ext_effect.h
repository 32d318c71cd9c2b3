// ExtEffect: the extended operations of the interface and the opcodes 25..58.
// It adds no state; every other opcode goes to EffectBase's dispatcher.
#pragma once

#include "frame/effect_base.h"

class ExtEffect : public EffectBase {
public:
    ExtEffect(audioMasterCallback hostCallback, int32_t numPrograms, int32_t numParams);

    ~ExtEffect() override;
    intptr_t dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr,
                        float opt) override;

    virtual void hostWantMidi(int32_t filter);
    virtual void* hostGetTime(int32_t filter);
    virtual int32_t hostTempoAt(int32_t position);
    virtual int32_t processEvents(VstEvents* events);
    virtual int32_t hostGetNumAutomatableParameters();
    virtual int32_t hostGetParameterQuantization();
    virtual bool canBeAutomated(int32_t index);
    virtual bool string2Parameter(int32_t index, char* text);
    virtual float getChannelParameter(int32_t channel, int32_t index);
    virtual int32_t getNumProgramCategories();
    virtual bool getProgramNameIndexed(int32_t category, int32_t index, char* text);
    virtual bool copyProgram(int32_t destination);
    virtual bool hostIOChanged();
    virtual bool hostNeedIdle();
    virtual bool hostSizeWindow(int32_t width, int32_t height);
    virtual float hostGetSampleRate();
    virtual int32_t hostGetBlockSize();
    virtual int32_t hostGetInputLatency();
    virtual int32_t hostGetOutputLatency();
    virtual AEffect* hostGetPreviousPlug(int32_t input);
    virtual AEffect* hostGetNextPlug(int32_t output);
    virtual void connectInput(int32_t index, bool connected);
    virtual void connectOutput(int32_t index, bool connected);
    virtual bool getInputProperties(int32_t index, VstPinProperties* properties);
    virtual bool getOutputProperties(int32_t index, VstPinProperties* properties);
    virtual int32_t getPlugCategory();
    virtual int32_t hostWillReplaceOrAccumulate();
    virtual int32_t hostGetCurrentProcessLevel();
    virtual int32_t hostGetAutomationState();
    virtual void setExtIsAsync(bool on);
    virtual void setExtHasBuffer(bool on);
    virtual int32_t getCurrentPosition();
    virtual float* getDestinationBuffer();
    virtual bool hostOfflineRead(void* task, int32_t option, bool readSource);
    virtual bool hostOfflineWrite(void* task, int32_t option);
    virtual bool hostOfflineStart(void* files, int32_t numFiles, int32_t numNewFiles);
    virtual int32_t hostOfflineGetCurrentPass();
    virtual int32_t hostOfflineGetCurrentMetaPass();
    virtual bool offlineNotify(void* files, int32_t count, bool start);
    virtual bool offlinePrepare(void* tasks, int32_t count);
    virtual bool offlineRun(void* tasks, int32_t count);
    virtual int32_t offlineGetNumPasses();
    virtual int32_t offlineGetNumMetaPasses();
    virtual void hostSetOutputSampleRate(float rate);
    virtual bool hostGetSpeakerArrangement(void* input, void* output);
    virtual bool hostGetVendorString(char* text);
    virtual bool hostGetProductString(char* text);
    virtual int32_t hostGetVendorVersion();
    virtual int32_t hostVendorSpecific(int32_t arg1, int32_t arg2, void* arg3, float arg4);
    virtual int32_t hostCanDo(char* text);
    virtual void setIsSynth(bool on);
    virtual void setNoSoundInStop(bool on);
    virtual int32_t hostGetLanguage();
    virtual void* hostOpenWindow(void* window);
    virtual bool hostCloseWindow(void* window);
    virtual void* hostGetDirectory();
    virtual bool hostUpdateDisplay();
    virtual bool processVarIo(void* io);
    virtual bool setSpeakerArrangement(void* input, void* output);
    virtual void setBlockSizeAndSampleRate(int32_t size, float rate);
    virtual bool setBypass(bool on);
    virtual bool getEffectName(char* text);
    virtual bool getErrorText(char* text);
    virtual bool getVendorString(char* text);
    virtual bool getProductString(char* text);
    virtual int32_t getVendorVersion();
    virtual int32_t vendorSpecific(int32_t index, intptr_t value, void* ptr, float opt);
    virtual int32_t canDo(char* text);
    virtual void* getIcon();
    virtual bool setViewPosition(int32_t x, int32_t y);
    virtual int32_t getTailSize();
    virtual int32_t idle();
    virtual bool getParameterProperties(int32_t index, void* properties);
    virtual bool keysRequired();
    virtual int32_t getVstVersion();
};
