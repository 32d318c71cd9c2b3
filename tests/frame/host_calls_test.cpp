#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "tests/frame/probe_effect.h"
#include "tests/support/fake_host.h"

namespace {

char kText[] = "text";
int kTask = 0;
int kOther = 0;

// One host-call operation: what it sends, what it makes of a given answer, and its fallback.
struct HostCallCase {
    std::string name;
    std::function<intptr_t(ExtEffect&)> call;
    int32_t opcode;
    int32_t index;
    intptr_t value;
    void* ptr;
    float opt;
    intptr_t answer;
    intptr_t result;
    intptr_t withoutHost;
};

intptr_t asInt(const void* pointer) { return reinterpret_cast<intptr_t>(pointer); }

const std::vector<HostCallCase>& hostCallCases() {
    static const std::vector<HostCallCase> cases = {
        {"hostVersion", [](ExtEffect& e) { return e.hostVersion(); }, 1, 0, 0, nullptr, 0, 2400, 2400, 1},
        {"hostVersion answered 0", [](ExtEffect& e) { return e.hostVersion(); }, 1, 0, 0, nullptr, 0, 0, 1, 1},
        {"hostCurrentId", [](ExtEffect& e) { return e.hostCurrentId(); }, 2, 0, 0, nullptr, 0, 42, 42, 0},
        {"hostIdle", [](ExtEffect& e) { e.hostIdle(); return 0; }, 3, 0, 0, nullptr, 0, 9, 0, 0},
        {"isInputConnected answered 0", [](ExtEffect& e) { return e.isInputConnected(3); }, 4, 3, 0, nullptr, 0, 0, 1, 1},
        {"isInputConnected answered 1", [](ExtEffect& e) { return e.isInputConnected(3); }, 4, 3, 0, nullptr, 0, 1, 0, 1},
        {"isOutputConnected answered 0", [](ExtEffect& e) { return e.isOutputConnected(1); }, 4, 1, 1, nullptr, 0, 0, 1, 1},
        {"isOutputConnected answered 5", [](ExtEffect& e) { return e.isOutputConnected(1); }, 4, 1, 1, nullptr, 0, 5, 0, 1},
        {"hostWantMidi", [](ExtEffect& e) { e.hostWantMidi(1); return 0; }, 6, 0, 1, nullptr, 0, 1, 0, 0},
        {"hostGetTime", [](ExtEffect& e) { return asInt(e.hostGetTime(7)); }, 7, 0, 7, nullptr, 0, asInt(&kOther), asInt(&kOther), 0},
        {"hostTempoAt", [](ExtEffect& e) { return e.hostTempoAt(1000); }, 10, 0, 1000, nullptr, 0, 1200000, 1200000, 0},
        {"hostGetNumAutomatableParameters", [](ExtEffect& e) { return e.hostGetNumAutomatableParameters(); }, 11, 0, 0, nullptr, 0, 8, 8, 0},
        {"hostGetParameterQuantization", [](ExtEffect& e) { return e.hostGetParameterQuantization(); }, 12, 0, 0, nullptr, 0, 100, 100, 0},
        {"hostIOChanged", [](ExtEffect& e) { return e.hostIOChanged(); }, 13, 0, 0, nullptr, 0, 3, 1, 0},
        {"hostNeedIdle", [](ExtEffect& e) { return e.hostNeedIdle(); }, 14, 0, 0, nullptr, 0, 0, 0, 0},
        {"hostSizeWindow", [](ExtEffect& e) { return e.hostSizeWindow(640, 480); }, 15, 640, 480, nullptr, 0, 1, 1, 0},
        {"hostGetInputLatency", [](ExtEffect& e) { return e.hostGetInputLatency(); }, 18, 0, 0, nullptr, 0, 64, 64, 0},
        {"hostGetOutputLatency", [](ExtEffect& e) { return e.hostGetOutputLatency(); }, 19, 0, 0, nullptr, 0, 128, 128, 0},
        {"hostGetPreviousPlug", [](ExtEffect& e) { return asInt(e.hostGetPreviousPlug(3)); }, 20, 0, 0, nullptr, 0, asInt(&kOther), asInt(&kOther), 0},
        {"hostGetNextPlug", [](ExtEffect& e) { return asInt(e.hostGetNextPlug(3)); }, 21, 0, 0, nullptr, 0, asInt(&kOther), asInt(&kOther), 0},
        {"hostWillReplaceOrAccumulate", [](ExtEffect& e) { return e.hostWillReplaceOrAccumulate(); }, 22, 0, 0, nullptr, 0, 2, 2, 0},
        {"hostGetCurrentProcessLevel", [](ExtEffect& e) { return e.hostGetCurrentProcessLevel(); }, 23, 0, 0, nullptr, 0, 2, 2, 0},
        {"hostGetAutomationState", [](ExtEffect& e) { return e.hostGetAutomationState(); }, 24, 0, 0, nullptr, 0, 4, 4, 0},
        {"hostOfflineStart", [](ExtEffect& e) { return e.hostOfflineStart(&kTask, 3, 2); }, 25, 2, 3, &kTask, 0, 1, 1, 0},
        {"hostOfflineRead from source", [](ExtEffect& e) { return e.hostOfflineRead(&kTask, 9, true); }, 26, 1, 9, &kTask, 0, 1, 1, 0},
        {"hostOfflineRead", [](ExtEffect& e) { return e.hostOfflineRead(&kTask, 9, false); }, 26, 0, 9, &kTask, 0, 0, 0, 0},
        {"hostOfflineWrite", [](ExtEffect& e) { return e.hostOfflineWrite(&kTask, 4); }, 27, 0, 4, &kTask, 0, 1, 1, 0},
        {"hostOfflineGetCurrentPass", [](ExtEffect& e) { return e.hostOfflineGetCurrentPass(); }, 28, 0, 0, nullptr, 0, 7, 1, 0},
        {"hostOfflineGetCurrentMetaPass", [](ExtEffect& e) { return e.hostOfflineGetCurrentMetaPass(); }, 29, 0, 0, nullptr, 0, -2, 1, 0},
        {"hostSetOutputSampleRate", [](ExtEffect& e) { e.hostSetOutputSampleRate(48000.0f); return 0; }, 30, 0, 0, nullptr, 48000.0f, 1, 0, 0},
        {"hostGetSpeakerArrangement", [](ExtEffect& e) { return e.hostGetSpeakerArrangement(&kTask, &kOther); }, 31, 0, asInt(&kTask), &kOther, 0, 1, 1, 0},
        {"hostGetVendorString", [](ExtEffect& e) { return e.hostGetVendorString(kText); }, 32, 0, 0, kText, 0, 1, 1, 0},
        {"hostGetProductString", [](ExtEffect& e) { return e.hostGetProductString(kText); }, 33, 0, 0, kText, 0, 0, 0, 0},
        {"hostGetVendorVersion", [](ExtEffect& e) { return e.hostGetVendorVersion(); }, 34, 0, 0, nullptr, 0, 1100, 1100, 0},
        {"hostVendorSpecific", [](ExtEffect& e) { return e.hostVendorSpecific(5, 6, &kTask, 0.25f); }, 35, 5, 6, &kTask, 0.25f, 99, 99, 0},
        {"hostCanDo answered -1", [](ExtEffect& e) { return e.hostCanDo(kText); }, 37, 0, 0, kText, 0, -1, 1, 0},
        {"hostCanDo answered 0", [](ExtEffect& e) { return e.hostCanDo(kText); }, 37, 0, 0, kText, 0, 0, 0, 0},
        {"hostGetLanguage", [](ExtEffect& e) { return e.hostGetLanguage(); }, 38, 0, 0, nullptr, 0, 1, 1, 0},
        {"hostOpenWindow", [](ExtEffect& e) { return asInt(e.hostOpenWindow(&kTask)); }, 39, 0, 0, &kTask, 0, asInt(&kOther), asInt(&kOther), 0},
        {"hostCloseWindow", [](ExtEffect& e) { return e.hostCloseWindow(&kTask); }, 40, 0, 0, &kTask, 0, 1, 1, 0},
        {"hostGetDirectory", [](ExtEffect& e) { return asInt(e.hostGetDirectory()); }, 41, 0, 0, nullptr, 0, asInt(kText), asInt(kText), 0},
        {"hostUpdateDisplay", [](ExtEffect& e) { return e.hostUpdateDisplay(); }, 42, 0, 0, nullptr, 0, 1, 1, 0},
    };
    return cases;
}

TEST(HostCalls, SendTheirArgumentsAndConvertTheAnswer) {
    for (const HostCallCase& c : hostCallCases()) {
        FakeHost host;
        host.answers[c.opcode] = c.answer;
        MinimalEffect effect(FakeHost::callback);
        EXPECT_EQ(c.call(effect), c.result) << c.name;
        ASSERT_EQ(host.calls.size(), 1u) << c.name;
        const HostCall& sent = host.calls[0];
        EXPECT_EQ(sent.effect, effect.getAeffect()) << c.name;
        EXPECT_EQ(sent.opcode, c.opcode) << c.name;
        EXPECT_EQ(sent.index, c.index) << c.name;
        EXPECT_EQ(sent.value, c.value) << c.name;
        EXPECT_EQ(sent.ptr, c.ptr) << c.name;
        EXPECT_EQ(sent.opt, c.opt) << c.name;
    }
}

TEST(HostCalls, WithoutAHostAnswerTheirFallback) {
    for (const HostCallCase& c : hostCallCases()) {
        MinimalEffect effect(nullptr);
        EXPECT_EQ(c.call(effect), c.withoutHost) << c.name;
    }
}

// The host is meant to answer these by setting the value on the effect during the call.
class RateSettingHost {
public:
    static intptr_t VST_CALL callback(AEffect* effect, int32_t opcode, int32_t, intptr_t, void*,
                                      float) {
        if (opcode == audioMasterGetSampleRate) {
            effect->dispatcher(effect, effSetSampleRate, 0, 0, nullptr, 22050.0f);
        }
        return 96000;
    }
};

TEST(HostCalls, SampleRateAndBlockSizeAnswerTheStoredFields) {
    MinimalEffect effect(RateSettingHost::callback);
    effect.setBlockSize(333);
    EXPECT_EQ(effect.hostGetSampleRate(), 22050.0f);
    EXPECT_EQ(effect.hostGetBlockSize(), 333);

    MinimalEffect alone(nullptr);
    alone.setSampleRate(8000.0f);
    EXPECT_EQ(alone.hostGetSampleRate(), 8000.0f);
    EXPECT_EQ(alone.hostGetBlockSize(), 1024);
}

class ParameterEffect : public MinimalEffect {
public:
    using MinimalEffect::MinimalEffect;
    void setParameter(int32_t index, float value) override {
        lastIndex = index;
        lastValue = value;
    }
    int32_t lastIndex = -1;
    float lastValue = 0.0f;
};

TEST(HostCalls, AutomateSetsTheParameterThenTellsTheHost) {
    FakeHost host;
    ParameterEffect effect(FakeHost::callback);
    effect.automateParameter(2, 0.75f);
    EXPECT_EQ(effect.lastIndex, 2);
    EXPECT_EQ(effect.lastValue, 0.75f);
    ASSERT_EQ(host.calls.size(), 1u);
    EXPECT_EQ(host.calls[0].opcode, audioMasterAutomate);
    EXPECT_EQ(host.calls[0].index, 2);
    EXPECT_EQ(host.calls[0].value, 0);
    EXPECT_EQ(host.calls[0].opt, 0.75f);

    ParameterEffect alone(nullptr);
    alone.automateParameter(1, 0.5f);
    EXPECT_EQ(alone.lastIndex, 1);
    EXPECT_EQ(alone.lastValue, 0.5f);
}

}  // namespace
