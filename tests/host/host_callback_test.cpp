#include "host/host_callback.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

intptr_t ask(AEffect* effect, int32_t opcode, void* ptr = nullptr) {
    return hostCallback(effect, opcode, 0, 0, ptr, 0.0f);
}

TEST(HostCallback, AnswersVersionAndZeroForWhatItDoesNotKnow) {
    EXPECT_EQ(ask(nullptr, audioMasterVersion), 2400);
    for (const int32_t opcode : std::initializer_list<int32_t>{
             audioMasterAutomate, audioMasterIdle, audioMasterGetTime,
                                 audioMasterProcessEvents, audioMasterIOChanged,
                                 audioMasterGetCurrentProcessLevel, 43, 77, 999, -1}) {
        EXPECT_EQ(ask(nullptr, opcode), 0) << opcode;
    }
}

TEST(HostCallback, GivesEachEffectItsOwnRateAndBlockSize) {
    AEffect first{};
    AEffect second{};
    HostContext firstContext{48000.0f, 64};
    HostContext secondContext{96000.0f, 4096};
    const HostContextBinding firstBinding(&first, firstContext);
    const HostContextBinding secondBinding(&second, secondContext);
    EXPECT_EQ(ask(&first, audioMasterGetSampleRate), 48000);
    EXPECT_EQ(ask(&first, audioMasterGetBlockSize), 64);
    EXPECT_EQ(ask(&second, audioMasterGetSampleRate), 96000);
    EXPECT_EQ(ask(&second, audioMasterGetBlockSize), 4096);
}

TEST(HostCallback, UsesThePendingContextWhileAnEntryPointRuns) {
    HostContext context{22050.0f, 128};
    {
        const PendingHostContext pending(context);
        EXPECT_EQ(ask(nullptr, audioMasterGetSampleRate), 22050);
        EXPECT_EQ(ask(nullptr, audioMasterGetBlockSize), 128);
    }
    EXPECT_EQ(ask(nullptr, audioMasterGetSampleRate), 44100);
}

TEST(HostCallback, WritesItsNamesWithinSixtyFourBytes) {
    char text[64];
    std::memset(text, 'x', sizeof text);
    EXPECT_EQ(ask(nullptr, audioMasterGetProductString, text), 1);
    EXPECT_STREQ(text, "kestrune");
    EXPECT_EQ(ask(nullptr, audioMasterGetVendorString, nullptr), 0);
}

}  // namespace
