// Effects for testing the frame on its own: one that overrides nothing but process, and one that
// records which operations the dispatcher reached and with what.
#pragma once

#include <string>
#include <vector>

#include "frame/ext_effect.h"

class MinimalEffect : public ExtEffect {
public:
    explicit MinimalEffect(audioMasterCallback host = nullptr) : ExtEffect(host, 4, 2) {}
    void process(float**, float**, int32_t) override {}

    using EffectBase::curProgram;
    using EffectBase::hostCallback;
};

class ProbeEffect : public MinimalEffect {
public:
    using MinimalEffect::MinimalEffect;

    void open() override { log("open"); }
    void close() override { log("close"); }
    void suspend() override { log("suspend"); }
    void resume() override { log("resume"); }
    void setProgram(int32_t program) override { log("setProgram " + std::to_string(program)); }
    void setSampleRate(float) override { log("setSampleRate"); }
    void setBlockSize(int32_t) override { log("setBlockSize"); }
    float getVu() override { return vu; }
    int32_t getChunk(void*, bool isPreset) override {
        log(std::string("getChunk ") + (isPreset ? "preset" : "bank"));
        return 77;
    }
    bool getProgramNameIndexed(int32_t category, int32_t index, char*) override {
        log("getProgramNameIndexed " + std::to_string(category) + " " + std::to_string(index));
        return true;
    }
    bool keysRequired() override { return keysAnswer; }
    int32_t canDo(char*) override { return -1; }

    void log(const std::string& entry) { calls.push_back(entry); }

    std::vector<std::string> calls;
    float vu = 0.0f;
    bool keysAnswer = false;
};
