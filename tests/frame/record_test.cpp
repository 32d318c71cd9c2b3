#include <gtest/gtest.h>

#include <cstring>

#include "frame/entries.h"
#include "tests/frame/probe_effect.h"
#include "tests/support/plugin_host.h"

namespace {

bool allZero(const char* bytes, size_t size) {
    for (size_t i = 0; i < size; ++i) {
        if (bytes[i] != 0) {
            return false;
        }
    }
    return true;
}

TEST(Record, BaseConstructorFillsDefaults) {
    MinimalEffect effect;
    const AEffect& record = *effect.getAeffect();
    EXPECT_EQ(record.magic, 0x56737450);
    EXPECT_EQ(std::memcmp(&record.magic, "PtsV", 4), 0);
    EXPECT_EQ(record.dispatcher, &dispatcherEntry);
    EXPECT_EQ(record.process, &processEntry);
    EXPECT_EQ(record.setParameter, &setParameterEntry);
    EXPECT_EQ(record.getParameter, &getParameterEntry);
    EXPECT_EQ(record.processReplacing, &processReplacingEntry);
    EXPECT_EQ(record.numPrograms, 4);
    EXPECT_EQ(record.numParams, 2);
    EXPECT_EQ(record.numInputs, 1);
    EXPECT_EQ(record.numOutputs, 2);
    EXPECT_EQ(record.flags, 0);
    EXPECT_EQ(record.resvd1, 0);
    EXPECT_EQ(record.resvd2, 0);
    EXPECT_EQ(record.initialDelay, 0);
    EXPECT_EQ(record.realQualities, 0);
    EXPECT_EQ(record.offQualities, 0);
    EXPECT_EQ(record.ioRatio, 1.0f);
    EXPECT_EQ(record.object, static_cast<EffectBase*>(&effect));
    EXPECT_EQ(record.user, nullptr);
    EXPECT_EQ(record.uniqueID, 0x4E6F4566);
    EXPECT_EQ(record.version, 1);
    EXPECT_TRUE(allZero(record.future, sizeof record.future));
}

TEST(Record, LoopEffectDeclaresItselfToTheHost) {
    PluginLibrary library;
    FakeHost host;
    HostedEffect hosted(library, FakeHost::callback);
    const AEffect& record = *hosted.effect;
    EXPECT_EQ(record.magic, kEffectMagic);
    EXPECT_EQ(record.numPrograms, 32);
    EXPECT_EQ(record.numParams, 3);
    EXPECT_EQ(record.numInputs, 1);
    EXPECT_EQ(record.numOutputs, 2);
    EXPECT_EQ(record.flags, effFlagsCanReplacing);
    EXPECT_EQ(record.uniqueID, 0x57764D68);
    EXPECT_EQ(record.version, 1);
    EXPECT_EQ(record.user, nullptr);
    EXPECT_NE(record.object, nullptr);
    EXPECT_TRUE(allZero(record.future, sizeof record.future));
}

TEST(Record, FlagSettersTouchOnlyTheirBit) {
    MinimalEffect effect;
    effect.setCanReplacing(true);
    effect.setHasVu(false);
    EXPECT_EQ(effect.getAeffect()->flags, 16);
    effect.setHasVu(true);
    effect.setHasClip(true);
    effect.setCanMono(true);
    effect.setProgramChunks(true);
    effect.setExtIsAsync(true);
    effect.setExtHasBuffer(true);
    effect.setNoSoundInStop(true);
    EXPECT_EQ(effect.getAeffect()->flags, 16 | 4 | 2 | 8 | 32 | 1024 | 2048 | 512);
    effect.setHasVu(false);
    effect.setCanReplacing(false);
    EXPECT_EQ(effect.getAeffect()->flags, 2 | 8 | 32 | 1024 | 2048 | 512);
    EXPECT_EQ(effect.getPlugCategory(), 0);
    effect.setIsSynth(true);
    EXPECT_EQ(effect.getPlugCategory(), 2);
}

TEST(Record, SettersWriteTheirFields) {
    MinimalEffect effect;
    effect.setUniqueID(1234);
    effect.setNumInputs(3);
    effect.setNumOutputs(5);
    effect.setRealQualities(6);
    effect.setOffQualities(7);
    effect.setInitialDelay(8);
    const AEffect& record = *effect.getAeffect();
    EXPECT_EQ(record.uniqueID, 1234);
    EXPECT_EQ(record.numInputs, 3);
    EXPECT_EQ(record.numOutputs, 5);
    EXPECT_EQ(record.realQualities, 6);
    EXPECT_EQ(record.offQualities, 7);
    EXPECT_EQ(record.initialDelay, 8);
}

}  // namespace
