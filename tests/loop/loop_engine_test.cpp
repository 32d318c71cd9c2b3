#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#if defined(__SSE__)
#include <xmmintrin.h>
#endif

#include "tests/loop/loop_effect_probe.h"
#include "tests/support/fake_host.h"

namespace {

using Channels = std::vector<std::vector<float>>;

// A LoopEffect driven through its record's processReplacing entry, with a probe on its state.
class LoopEngine : public ::testing::Test {
protected:
    LoopEngine() : effect(FakeHost::callback), probe(effect) {}

    Channels run(Channels inputs, int32_t frames) {
        Channels outputs(2, std::vector<float>(static_cast<size_t>(std::max(frames, 0)), -99.0f));
        std::vector<float*> in;
        for (auto& channel : inputs) {
            in.push_back(channel.data());
        }
        in.push_back(nullptr);
        float* out[] = {outputs[0].data(), outputs[1].data()};
        AEffect* record = effect.getAeffect();
        record->processReplacing(record, in.data(), out, frames);
        return outputs;
    }

    Channels runMono(const std::vector<float>& input) {
        return run({input}, static_cast<int32_t>(input.size()));
    }

    void connectSecondInput(bool connected) {
        AEffect* record = effect.getAeffect();
        EXPECT_EQ(record->dispatcher(record, effConnectInput, 1, connected ? 1 : 0, nullptr, 0.0f), 1);
    }

    FakeHost host;
    LoopEffect effect;
    LoopEffectProbe probe;
};

std::vector<float> ramp(size_t count, float start = 1.0f) {
    std::vector<float> values(count);
    for (size_t i = 0; i < count; ++i) {
        values[i] = start + static_cast<float>(i);
    }
    return values;
}

TEST_F(LoopEngine, StartsWithProgramZeroAndAnEmptyLoop) {
    EXPECT_EQ(probe.loopLength(), 176400);
    EXPECT_EQ(probe.position(), 0);
    EXPECT_EQ(probe.marker(), 0);
    EXPECT_EQ(probe.channels(), 1);
    EXPECT_FALSE(probe.recording());
    EXPECT_FALSE(probe.reverse());
    EXPECT_FALSE(probe.halfSpeed());
    EXPECT_EQ(probe.recordLevel(), 0.0f);
    EXPECT_EQ(probe.feedback(), 0.95f);
    EXPECT_EQ(probe.loopMix(), 1.0f);
    EXPECT_EQ(probe.dryMix(), 0.0f);
    for (float slot : probe.loop()) {
        ASSERT_EQ(slot, 0.0f);
    }
}

TEST_F(LoopEngine, NewEffectIsSilentAndCopiesMonoToBothOutputs) {
    const auto out = runMono(ramp(512));
    for (size_t i = 0; i < 512; ++i) {
        EXPECT_EQ(out[0][i], 0.0f);
        EXPECT_EQ(out[1][i], 0.0f);
    }
    EXPECT_EQ(probe.position(), 512);
}

TEST_F(LoopEngine, OutputMixesLoopAndDry) {
    probe.setLoop({1.0f, 2.0f, 3.0f});
    probe.setGains(0.5f, 0.25f, 2.0f);
    const auto out = runMono({10.0f, 20.0f, 30.0f, 40.0f});
    EXPECT_EQ(out[0], (std::vector<float>{20.25f, 40.5f, 60.75f, 80.25f}));
    EXPECT_EQ(std::memcmp(out[0].data(), out[1].data(), 4 * sizeof(float)), 0);
    EXPECT_EQ(probe.position(), 1);
}

TEST_F(LoopEngine, MonoCopyIsBitForBit) {
    probe.setLoop({-0.0f, 1e-40f, NAN});
    probe.setGains(0.0f, 1.0f, 0.0f);
    const auto out = runMono({0.0f, 0.0f, 0.0f});
    EXPECT_EQ(std::memcmp(out[0].data(), out[1].data(), 3 * sizeof(float)), 0);
}

TEST_F(LoopEngine, RecordingRampsUpOverTwoHundredAndOneFrames) {
    probe.setLoop(std::vector<float>(1000, 0.0f));
    probe.setGains(0.0f, 1.0f, 0.0f);
    probe.setRecording(true);
    runMono(std::vector<float>(1, 1.0f));
    EXPECT_EQ(probe.loop()[0], 0.005f);  // the first frame is already written with 0.005
    runMono(std::vector<float>(199, 1.0f));
    EXPECT_NEAR(probe.recordLevel(), 0.9999992f, 1e-7f);
    EXPECT_LT(probe.recordLevel(), 1.0f);
    runMono(std::vector<float>(1, 1.0f));
    EXPECT_NEAR(probe.recordLevel(), 1.0049993f, 1e-7f);
    const float full = probe.recordLevel();
    runMono(std::vector<float>(300, 1.0f));
    EXPECT_EQ(probe.recordLevel(), full);
    EXPECT_EQ(probe.loop()[400], full);
}

TEST_F(LoopEngine, FadeWritesTwoHundredAndTwoFramesEndingSlightlyNegative) {
    probe.setLoop(std::vector<float>(1000, 0.0f));
    probe.setGains(0.0f, 1.0f, 0.0f);
    probe.setRecording(true);
    runMono(std::vector<float>(201, 1.0f));
    probe.setRecording(false);
    probe.setPosition(500);
    runMono(std::vector<float>(300, 1.0f));
    const auto loop = probe.loop();
    EXPECT_NEAR(loop[500], 1.0f, 1e-6f);
    EXPECT_NEAR(loop[701], -0.0049999f, 1e-6f);  // the 202nd frame, with the last, negative level
    EXPECT_LT(loop[701], 0.0f);
    EXPECT_EQ(loop[702], 0.0f);                   // from then on nothing is written
    EXPECT_NEAR(probe.recordLevel(), -0.0049999f, 1e-6f);

    // The next ramp starts from that level: 202 frames to pass 1.0.
    probe.setRecording(true);
    runMono(std::vector<float>(201, 1.0f));
    EXPECT_LT(probe.recordLevel(), 1.0f);
    runMono(std::vector<float>(1, 1.0f));
    EXPECT_GT(probe.recordLevel(), 1.0f);
}

TEST_F(LoopEngine, OverdubKeepsOldContentTimesFeedback) {
    probe.setLoop({2.0f, 4.0f});
    probe.setGains(0.5f, 1.0f, 0.0f);
    probe.setRecordLevel(1.0f);
    probe.setRecording(true);
    const auto out = runMono({10.0f, 20.0f});
    EXPECT_EQ(out[0], (std::vector<float>{2.0f, 4.0f}));  // the slot before this frame's write
    EXPECT_EQ(probe.loop(), (std::vector<float>{11.0f, 22.0f}));  // a level of 1.0 takes no step
}

TEST_F(LoopEngine, RecordedInputComesBackOneLoopLater) {
    probe.setGains(0.95f, 1.0f, 0.0f);
    probe.setRecording(true);
    probe.setRecordLevel(1.0f);
    std::vector<float> phrase = ramp(100);
    runMono(phrase);
    probe.setRecording(false);
    probe.setRecordLevel(0.0f);
    runMono(std::vector<float>(176400 - 100, 0.0f));
    const auto out = runMono(std::vector<float>(100, 0.0f));
    for (size_t i = 0; i < phrase.size(); ++i) {
        EXPECT_EQ(out[0][i], phrase[i]);
    }
}

TEST_F(LoopEngine, SilentWhenNotRecordingAndFeedbackHasNoEffect) {
    probe.setLoop({1.0f, 2.0f, 3.0f});
    probe.setGains(0.1f, 1.0f, 0.0f);
    runMono(ramp(30));
    EXPECT_EQ(probe.loop(), (std::vector<float>{1.0f, 2.0f, 3.0f}));
}

TEST_F(LoopEngine, ReverseStepsBackwardsAndWrapsToTheEnd) {
    probe.setLoop({1.0f, 2.0f, 3.0f, 4.0f});
    probe.setReverse(true);
    const auto out = runMono({0, 0, 0, 0, 0});
    EXPECT_EQ(out[0], (std::vector<float>{1.0f, 4.0f, 3.0f, 2.0f, 1.0f}));
    EXPECT_EQ(probe.position(), 3);
}

TEST_F(LoopEngine, StereoNeedsAConnectedSecondInput) {
    probe.setLoop({1.0f, -1.0f, 2.0f, -2.0f});
    run({{0, 0}, {0, 0}}, 2);
    EXPECT_EQ(probe.channels(), 1);  // input 1 passed but never connected

    connectSecondInput(true);
    probe.setPosition(0);
    const auto out = run({{0, 0}, {0, 0}}, 2);
    EXPECT_EQ(probe.channels(), 2);
    EXPECT_EQ(out[0], (std::vector<float>{1.0f, 2.0f}));
    EXPECT_EQ(out[1], (std::vector<float>{-1.0f, -2.0f}));
    EXPECT_EQ(probe.position(), 0);

    run({{0, 0}}, 2);  // connected, but the host passes no second buffer
    EXPECT_EQ(probe.channels(), 1);

    connectSecondInput(false);
    run({{0, 0}, {0, 0}}, 2);
    EXPECT_EQ(probe.channels(), 1);
}

TEST_F(LoopEngine, StereoReverseTakesDescendingSlots) {
    connectSecondInput(true);
    probe.setLoop({0, 1, 2, 3, 4, 5});
    probe.setPosition(4);
    probe.setReverse(true);
    const auto out = run({{0, 0, 0}, {0, 0, 0}}, 3);
    EXPECT_EQ(out[0], (std::vector<float>{4, 2, 0}));
    EXPECT_EQ(out[1], (std::vector<float>{3, 1, 5}));
}

TEST_F(LoopEngine, StereoOddLengthSwapsChannelsEachPass) {
    connectSecondInput(true);
    probe.setLoop({0, 1, 2});
    const auto out = run({{0, 0, 0}, {0, 0, 0}}, 3);
    EXPECT_EQ(out[0], (std::vector<float>{0, 2, 1}));
    EXPECT_EQ(out[1], (std::vector<float>{1, 0, 2}));
}

TEST_F(LoopEngine, StereoRecordingWritesBothChannelsAndFadeOnlyChannelZero) {
    connectSecondInput(true);
    probe.setLoop(std::vector<float>(8, 0.0f));
    probe.setGains(1.0f, 1.0f, 0.0f);
    probe.setRecording(true);
    run({{1, 1}, {1, 1}}, 2);
    EXPECT_EQ(probe.loop()[0], 0.005f);
    EXPECT_EQ(probe.loop()[1], 0.005f);
    EXPECT_EQ(probe.loop()[2], 0.005f + 0.005f);
    EXPECT_EQ(probe.loop()[3], 0.005f + 0.005f);
    probe.setRecording(false);
    run({{1, 1}, {1, 1}}, 2);
    EXPECT_EQ(probe.loop()[4], 0.005f);
    EXPECT_EQ(probe.loop()[5], 0.0f);
    EXPECT_EQ(probe.loop()[6], 0.0f);  // written with the level that reached 0.0
    EXPECT_EQ(probe.loop()[7], 0.0f);
    EXPECT_EQ(probe.recordLevel(), 0.0f);
}

TEST_F(LoopEngine, EmptyOrNegativeBlocksOnlyDecideChannels) {
    connectSecondInput(true);
    probe.setLoop({1.0f, 2.0f});
    probe.setRecording(true);
    for (int32_t frames : {0, -1, -1000}) {
        run({{0.0f}, {0.0f}}, frames);
        EXPECT_EQ(probe.channels(), 2);
        EXPECT_EQ(probe.position(), 0);
        EXPECT_EQ(probe.recordLevel(), 0.0f);
        EXPECT_EQ(probe.loop(), (std::vector<float>{1.0f, 2.0f}));
    }
}

TEST_F(LoopEngine, ProcessDoesNothing) {
    probe.setLoop({1.0f});
    probe.setRecording(true);
    float in[] = {5.0f};
    float out0[] = {7.0f};
    float out1[] = {8.0f};
    float* ins[] = {in};
    float* outs[] = {out0, out1};
    AEffect* record = effect.getAeffect();
    record->process(record, ins, outs, 1);
    EXPECT_EQ(out0[0], 7.0f);
    EXPECT_EQ(out1[0], 8.0f);
    EXPECT_EQ(probe.loop(), (std::vector<float>{1.0f}));
}

TEST_F(LoopEngine, ProgramsSampleRateAndBlockSizeLeaveTheLoopAlone) {
    probe.setLoop({1.0f, 2.0f});
    probe.setPosition(1);
    AEffect* record = effect.getAeffect();
    record->dispatcher(record, effSetProgram, 0, 5, nullptr, 0.0f);
    EXPECT_EQ(probe.curProgram(), 5);
    record->dispatcher(record, effSetProgram, 0, -1, nullptr, 0.0f);
    EXPECT_EQ(probe.curProgram(), 5);
    record->dispatcher(record, effSetProgram, 0, 32, nullptr, 0.0f);
    EXPECT_EQ(probe.curProgram(), 5);
    record->dispatcher(record, effSetSampleRate, 0, 0, nullptr, 96000.0f);
    record->dispatcher(record, effSetBlockSize, 0, 64, nullptr, 0.0f);
    EXPECT_EQ(effect.getSampleRate(), 96000.0f);
    EXPECT_EQ(effect.getBlockSize(), 64);
    EXPECT_EQ(probe.loop(), (std::vector<float>{1.0f, 2.0f}));
    EXPECT_EQ(probe.position(), 1);
    EXPECT_EQ(probe.feedback(), 0.95f);
}


TEST_F(LoopEngine, NonFiniteInputCountsAsSilenceSoTheLoopSurvives) {
    probe.setLoop({1.0f, 2.0f, 3.0f, 4.0f});
    probe.setGains(0.5f, 1.0f, 1.0f);
    probe.setRecordLevel(1.0f);
    probe.setRecording(true);
    const float inf = std::numeric_limits<float>::infinity();
    const auto out = runMono({NAN, inf, -inf, 8.0f});
    EXPECT_EQ(out[0], (std::vector<float>{1.0f, 2.0f, 3.0f, 12.0f}));
    EXPECT_EQ(probe.loop(), (std::vector<float>{0.5f, 1.0f, 1.5f, 10.0f}));
}

TEST_F(LoopEngine, NonFiniteParameterValuesLeaveTheGainsSoTheLoopSurvives) {
    probe.setLoop({1.0f, 2.0f, 3.0f, 4.0f});
    probe.setGains(0.5f, 1.0f, 1.0f);
    probe.setRecordLevel(1.0f);
    probe.setRecording(true);
    AEffect* record = effect.getAeffect();
    const float inf = std::numeric_limits<float>::infinity();
    record->setParameter(record, 0, NAN);
    record->setParameter(record, 1, inf);
    record->setParameter(record, 2, -inf);
    const auto out = runMono({1.0f, 1.0f, 1.0f, 1.0f});
    EXPECT_EQ(out[0], (std::vector<float>{2.0f, 3.0f, 4.0f, 5.0f}));
    EXPECT_EQ(probe.loop(), (std::vector<float>{1.5f, 2.0f, 2.5f, 3.0f}));
}

bool subnormal(float value) { return std::fpclassify(value) == FP_SUBNORMAL; }

TEST_F(LoopEngine, SubnormalsAreFlushedAndTheCallersFloatingPointModeKept) {
    probe.setLoop(std::vector<float>(64, 1.0e-39f));
    probe.setGains(0.95f, 1.0f, 0.0f);
    probe.setRecordLevel(1.0f);
    probe.setRecording(true);
#if defined(__SSE__)
    const unsigned before = _mm_getcsr();
#endif
    const auto out = runMono(std::vector<float>(64, 1.0e-39f));
#if defined(__SSE__)
    EXPECT_EQ(_mm_getcsr(), before);
#endif
    for (size_t i = 0; i < 64; ++i) {
        EXPECT_FALSE(subnormal(out[0][i]));
        EXPECT_FALSE(subnormal(out[1][i]));
        EXPECT_FALSE(subnormal(probe.loop()[i]));
    }
}

}  // namespace
