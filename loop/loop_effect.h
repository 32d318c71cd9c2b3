// LoopEffect: one loop buffer that the input is overdubbed into and that plays back under the
// dry signal, steered by MIDI commands, with three parameters and a bank of 32 programs.
#pragma once

#include <cstdint>
#include <memory>

#include "frame/ext_effect.h"
#include "loop/loop_program.h"

class LoopEffect : public ExtEffect {
public:
    static constexpr int32_t kNumPrograms = 32;
    static constexpr int32_t kNumParams = 3;
    static constexpr int32_t kSlotsPerSecond = 44100;
    static constexpr int32_t kInitialLength = 4 * kSlotsPerSecond;
    // Loop length, Double and Mirror keep a loop within this many slots per channel.
    static constexpr int32_t kSizeLimitPerChannel = 8 * kSlotsPerSecond;
    // Half speed stops stretching here, so that repeated stretches cannot exhaust the host's memory.
    static constexpr int32_t kStretchLimitPerChannel = 4 * kSizeLimitPerChannel;

    explicit LoopEffect(audioMasterCallback hostCallback);
    ~LoopEffect() override;

    // False when the bank or the loop buffer could not be allocated.
    bool isComplete() const { return programs != nullptr && loopBuffer != nullptr; }

    // What the host sees: parameters, program names, pins, identity and capabilities.
    void setParameter(int32_t index, float value) override;
    float getParameter(int32_t index) override;
    void setProgramName(char* text) override;
    void getProgramName(char* text) override;
    void getParamLabel(int32_t index, char* text) override;
    void getParamDisplay(int32_t index, char* text) override;
    void getParamName(int32_t index, char* text) override;
    bool getProgramNameIndexed(int32_t category, int32_t index, char* text) override;
    bool copyProgram(int32_t destination) override;
    bool getOutputProperties(int32_t index, VstPinProperties* properties) override;
    bool getEffectName(char* text) override;
    bool getVendorString(char* text) override;
    bool getProductString(char* text) override;
    int32_t getVendorVersion() override;
    int32_t canDo(char* text) override;

    void process(float** inputs, float** outputs, int32_t sampleFrames) override;
    void processReplacing(float** inputs, float** outputs, int32_t sampleFrames) override;
    void setProgram(int32_t program) override;
    void setSampleRate(float rate) override;
    void setBlockSize(int32_t size) override;
    void resume() override;
    void connectInput(int32_t index, bool connected) override;
    int32_t processEvents(VstEvents* events) override;

    // Runs the loop command of one MIDI message. `status` has its channel bits cleared; the data
    // bytes arrive as signed 8-bit values, so bytes of 128..255 are negative.
    void processMidiMessage(int32_t status, int32_t data1, int32_t data2);

private:
    friend class LoopEffectProbe;  // the tests' view of the loop state

    void initLoopState();
    // How many channels this block carries: two only when the host connected input 1 and passes it.
    int32_t countChannels(float** inputs) const;

    // The MIDI commands (loop_commands.cpp). A command that needs a new buffer and cannot get one
    // changes nothing.
    void runNoteCommand(int32_t note);
    void clearLoop();
    void toggleReverse();
    void toggleHalfSpeed();
    bool stretchLoop();
    bool halveLoop();
    void toggleRecording();
    void recallMarker();
    void setMarker();
    void foldLoop();
    void doubleLoop();
    void mirrorLoop();
    void addReverse();
    void sustain(int32_t value);
    void changeLoopLength(int32_t value);
    void installLoop(float* slots, int32_t length);

    float feedback = 0.0f;
    float loopMix = 0.0f;
    float dryMix = 0.0f;
    std::unique_ptr<float[]> loopBuffer;
    float recordLevel = 0.0f;
    int32_t position = 0;
    int32_t marker = 0;
    int32_t loopLength = 0;
    bool recording = false;
    bool reverse = false;
    bool halfSpeed = false;
    int32_t channels = 1;
    std::unique_ptr<LoopProgram[]> programs;
    bool secondInputConnected = false;
};
