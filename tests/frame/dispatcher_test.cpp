#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "tests/frame/probe_effect.h"

namespace {

intptr_t dispatch(EffectBase& effect, int32_t opcode, int32_t index = 0, intptr_t value = 0,
                  void* ptr = nullptr, float opt = 0.0f) {
    AEffect* record = effect.getAeffect();
    return record->dispatcher(record, opcode, index, value, ptr, opt);
}

struct DefaultAnswer {
    int32_t opcode;
    intptr_t answer;
};

TEST(Dispatcher, DefaultsOfAnEffectThatOverridesNothing) {
    const DefaultAnswer cases[] = {
        {effGetVstVersion, 2},      {effKeysRequired, 1},          {effCanBeAutomated, 1},
        {effGetNumProgramCategories, 1}, {effIdentify, 0x4E764566}, {effGetPlugCategory, 0},
        {effGetProgram, 0},         {effCanDo, 0},                 {effGetVendorVersion, 0},
        {effGetVu, 0},              {effGetEffectName, 0},         {effGetVendorString, 0},
        {effGetProductString, 0},   {effGetErrorText, 0},          {effGetInputProperties, 0},
        {effGetOutputProperties, 0}, {effGetProgramNameIndexed, 0}, {effCopyProgram, 0},
        {effGetChunk, 0},           {effSetChunk, 0},              {effProcessEvents, 0},
        {effGetTailSize, 0},        {effIdle, 0},                  {effGetIcon, 0},
        {effSetBypass, 0},          {effString2Parameter, 0},      {effGetParameterProperties, 0},
        {effEditGetRect, 0},        {effEditOpen, 0},              {effEditDraw, 0},
        {effEditMouse, 0},          {effEditKey, 0},               {effEditTop, 0},
        {effEditSleep, 0},          {effConnectInput, 1},          {effConnectOutput, 1},
        {effSetBlockSizeAndSampleRate, 1}, {effGetCurrentPosition, 0}, {effGetDestinationBuffer, 0},
        {59, 0},                    {-1, 0},                       {1000, 0},
    };
    for (const DefaultAnswer& c : cases) {
        MinimalEffect effect;
        char text[64] = "untouched";
        EXPECT_EQ(dispatch(effect, c.opcode, 0, 0, c.opcode == effProcessEvents ? nullptr : text),
                  c.answer)
            << "opcode " << c.opcode;
    }
}

TEST(Dispatcher, EditorOpcodesWithoutAnEditorLeaveThePointerAlone) {
    MinimalEffect effect;
    char rect[16] = "rect";
    EXPECT_EQ(dispatch(effect, effEditGetRect, 0, 0, rect), 0);
    EXPECT_STREQ(rect, "rect");
}

TEST(Dispatcher, DefaultTextOperationsEmptyTheText) {
    for (int32_t opcode : {effSetProgramName, effGetProgramName, effGetParamLabel,
                           effGetParamDisplay, effGetParamName}) {
        MinimalEffect effect;
        char text[16] = "filled";
        EXPECT_EQ(dispatch(effect, opcode, 0, 0, text), 0);
        EXPECT_EQ(text[0], '\0') << "opcode " << opcode;
    }
}

TEST(Dispatcher, VuIsScaledTruncatedAndSaturated) {
    const struct {
        float vu;
        intptr_t answer;
    } cases[] = {
        {0.5f, 16383},
        {1.0f, 32767},
        {-0.5f, -16383},
        {1.0e6f, std::numeric_limits<int32_t>::max()},
        {-1.0e6f, std::numeric_limits<int32_t>::min()},
        {std::numeric_limits<float>::infinity(), std::numeric_limits<int32_t>::max()},
        {std::nanf(""), 0},
    };
    for (const auto& c : cases) {
        ProbeEffect effect;
        effect.vu = c.vu;
        EXPECT_EQ(dispatch(effect, effGetVu), c.answer) << c.vu;
    }
}

TEST(Dispatcher, KeysRequiredIsInverted) {
    ProbeEffect effect;
    effect.keysAnswer = true;
    EXPECT_EQ(dispatch(effect, effKeysRequired), 0);
    effect.keysAnswer = false;
    EXPECT_EQ(dispatch(effect, effKeysRequired), 1);
}

TEST(Dispatcher, SetProgramIsBoundedFromAbove) {
    ProbeEffect effect;  // four programs
    dispatch(effect, effSetProgram, 0, 3);
    dispatch(effect, effSetProgram, 0, 4);
    dispatch(effect, effSetProgram, 0, -1);
    EXPECT_EQ(effect.calls, (std::vector<std::string>{"setProgram 3", "setProgram -1"}));
}

TEST(Dispatcher, BaseSetProgramStoresTheProgram) {
    MinimalEffect effect;
    dispatch(effect, effSetProgram, 0, 2);
    EXPECT_EQ(dispatch(effect, effGetProgram), 2);
}

TEST(Dispatcher, MainsChangedSuspendsOnZeroAndResumesOtherwise) {
    ProbeEffect effect;
    dispatch(effect, effMainsChanged, 0, 0);
    dispatch(effect, effMainsChanged, 0, 1);
    dispatch(effect, effMainsChanged, 0, -7);
    EXPECT_EQ(effect.calls, (std::vector<std::string>{"suspend", "resume", "resume"}));
}

TEST(Dispatcher, BlockSizeAndSampleRateBypassTheSetters) {
    ProbeEffect effect;
    EXPECT_EQ(dispatch(effect, effSetBlockSizeAndSampleRate, 0, 512, nullptr, 48000.0f), 1);
    EXPECT_TRUE(effect.calls.empty());
    EXPECT_EQ(effect.getBlockSize(), 512);
    EXPECT_EQ(effect.getSampleRate(), 48000.0f);
}

TEST(Dispatcher, SampleRateAndBlockSizeReachTheirSetters) {
    MinimalEffect effect;
    dispatch(effect, effSetSampleRate, 0, 0, nullptr, 96000.0f);
    dispatch(effect, effSetBlockSize, 0, 64);
    EXPECT_EQ(effect.getSampleRate(), 96000.0f);
    EXPECT_EQ(effect.getBlockSize(), 64);
}

TEST(Dispatcher, ChunkIndexSaysPreset) {
    ProbeEffect effect;
    EXPECT_EQ(dispatch(effect, effGetChunk, 2), 77);
    EXPECT_EQ(dispatch(effect, effGetChunk, 0), 77);
    EXPECT_EQ(effect.calls, (std::vector<std::string>{"getChunk preset", "getChunk bank"}));
}

TEST(Dispatcher, ProgramNameIndexedTakesValueAsCategoryAndAnswersOne) {
    ProbeEffect effect;
    char text[32];
    EXPECT_EQ(dispatch(effect, effGetProgramNameIndexed, 5, 9, text), 1);
    EXPECT_EQ(effect.calls, (std::vector<std::string>{"getProgramNameIndexed 9 5"}));
}

TEST(Dispatcher, IntegerResultsComeBackUnchanged) {
    ProbeEffect effect;
    EXPECT_EQ(dispatch(effect, effCanDo, 0, 0, const_cast<char*>("x")), -1);
}

TEST(Dispatcher, OpenAndCloseReachTheirOperations) {
    ProbeEffect effect;
    EXPECT_EQ(effect.dispatcher(effOpen, 0, 0, nullptr, 0.0f), 0);
    EXPECT_EQ(effect.dispatcher(effClose, 0, 0, nullptr, 0.0f), 0);
    EXPECT_EQ(effect.calls, (std::vector<std::string>{"open", "close"}));
}

// effClose through the record: close runs once, then the effect is destroyed, and the answer is 1.
class ClosingEffect : public MinimalEffect {
public:
    explicit ClosingEffect(std::vector<std::string>& journal_) : journal(journal_) {}
    ~ClosingEffect() override { journal.push_back("destroyed"); }
    void close() override { journal.push_back("close"); }
    std::vector<std::string>& journal;
};

TEST(Dispatcher, CloseThroughTheRecordDestroysTheEffectAndAnswersOne) {
    std::vector<std::string> journal;
    auto* effect = new ClosingEffect(journal);
    EXPECT_EQ(dispatch(*effect, effClose), 1);
    EXPECT_EQ(journal, (std::vector<std::string>{"close", "destroyed"}));
}

}  // namespace
