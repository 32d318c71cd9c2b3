#include "loop/loop_effect.h"

#include <new>

LoopEffect::LoopEffect(audioMasterCallback hostCallback)
    : ExtEffect(hostCallback, kNumPrograms, kNumParams) {
    programs.reset(new (std::nothrow) LoopProgram[kNumPrograms]);
    if (programs) {
        setProgram(0);
    }
    if (hostCallback != nullptr) {
        setNumInputs(1);
        setNumOutputs(2);
        setCanReplacing(true);
        setHasVu(false);
        setHasClip(false);
        setUniqueID(fourCharCode('W', 'v', 'M', 'h'));
    }
    initLoopState();
}

LoopEffect::~LoopEffect() = default;

void LoopEffect::initLoopState() {
    recording = false;
    reverse = false;
    halfSpeed = false;
    recordLevel = 0.0f;
    position = 0;
    marker = 0;
    channels = 1;
    loopLength = kInitialLength;
    loopBuffer.reset(new (std::nothrow) float[kInitialLength]());
}

// The dispatcher bounds the index only from above; a negative one must not reach the bank.
void LoopEffect::setProgram(int32_t program) {
    if (program < 0 || program >= kNumPrograms || !programs) {
        return;
    }
    curProgram = program;
    feedback = programs[program].feedback;
    loopMix = programs[program].loopMix;
    dryMix = programs[program].dryMix;
}

void LoopEffect::setSampleRate(float rate) { sampleRate = rate; }

void LoopEffect::setBlockSize(int32_t size) { blockSize = size; }

void LoopEffect::resume() { hostWantMidi(1); }

void LoopEffect::connectInput(int32_t index, bool connected) {
    if (index == 1) {
        secondInputConnected = connected;
    }
}
