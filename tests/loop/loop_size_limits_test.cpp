// How long the loop may grow: Double and Mirror stop at the size limit, Half speed at four times
// it, and Loop length sets a new silent loop within it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "tests/loop/loop_command_fixture.h"

namespace {

constexpr int32_t kSizeLimit = 352800;  // slots per channel

bool allSilent(const std::vector<float>& slots) {
    return std::all_of(slots.begin(), slots.end(), [](float slot) { return slot == 0.0f; });
}

struct GrowCase {
    int32_t channels;
    int32_t note;

    friend void PrintTo(const GrowCase& row, std::ostream* out) {
        *out << row.channels << " channels, note " << row.note;
    }
};

std::string growCaseName(const ::testing::TestParamInfo<GrowCase>& info) {
    return std::string(info.param.channels == 1 ? "Mono" : "Stereo") +
           (info.param.note == midi::kDouble ? "Double" : "Mirror");
}

class GrowToTheLimit : public LoopCommandTest, public ::testing::TestWithParam<GrowCase> {};

TEST_P(GrowToTheLimit, ReachesItExactlyAndThenChangesNothing) {
    const GrowCase row = GetParam();
    const int32_t limit = row.channels * kSizeLimit;
    setUpLoop(countingLoop(limit / 2), 5, 9, row.channels);
    note(row.note);
    ASSERT_EQ(probe.loopLength(), limit);
    const LoopState atLimit = probe.state();
    note(row.note);
    EXPECT_EQ(probe.state(), atLimit);
}

TEST_P(GrowToTheLimit, OneSlotTooLongChangesNothing) {
    const GrowCase row = GetParam();
    setUpLoop(countingLoop(row.channels * kSizeLimit / 2 + 1), 5, 9, row.channels);
    probe.setHalfSpeed(true);
    probe.setReverse(true);
    const LoopState before = probe.state();
    note(row.note);
    EXPECT_EQ(probe.state(), before);
}

INSTANTIATE_TEST_SUITE_P(Limits, GrowToTheLimit,
                         ::testing::Values(GrowCase{1, midi::kDouble}, GrowCase{1, midi::kMirror},
                                           GrowCase{2, midi::kDouble}, GrowCase{2, midi::kMirror}),
                         growCaseName);

class LoopSize : public LoopCommandTest, public ::testing::Test {};

TEST_F(LoopSize, DoubleFromTheStartingLoopReachesTheLimitOnce) {
    EXPECT_EQ(probe.loopLength(), 176400);
    note(midi::kDouble);
    EXPECT_EQ(probe.loopLength(), kSizeLimit);
    note(midi::kDouble);
    EXPECT_EQ(probe.loopLength(), kSizeLimit);
}

// Half speed may pass the size limit, up to four times it; past that it changes nothing, so that
// Half speed and Clear cannot grow the loop until the host runs out of memory.
TEST_F(LoopSize, HalfSpeedStretchesUpToFourTimesTheLimit) {
    for (const int32_t channels : {1, 2}) {
        setUpLoop(std::vector<float>(static_cast<size_t>(channels * kSizeLimit), 0.0f), 0, 0,
                  channels);
        note(midi::kHalfSpeed);
        EXPECT_EQ(probe.loopLength(), 2 * channels * kSizeLimit);
        for (const int32_t growing : {midi::kDouble, midi::kMirror}) {
            note(growing);
            EXPECT_EQ(probe.loopLength(), 2 * channels * kSizeLimit);
        }
        note(midi::kClear);
        note(midi::kHalfSpeed);
        EXPECT_EQ(probe.loopLength(), 4 * channels * kSizeLimit);
        note(midi::kClear);
        const LoopState atCap = probe.state();
        note(midi::kHalfSpeed);
        EXPECT_EQ(probe.state(), atCap) << channels;
        EXPECT_FALSE(probe.halfSpeed());
    }
}

// The cap counts the channels of the latest audio block: a stereo loop stretched far past the
// mono cap is not stretched further once the host sends mono.
TEST_F(LoopSize, StretchCapFollowsTheChannelCount) {
    setUpLoop(std::vector<float>(static_cast<size_t>(2 * kSizeLimit), 0.0f), 0, 0, 2);
    note(midi::kHalfSpeed);
    note(midi::kClear);
    probe.setChannels(1);
    const LoopState before = probe.state();
    note(midi::kHalfSpeed);
    EXPECT_EQ(probe.state(), before);
}

struct LengthCase {
    int32_t channels;
    int32_t value;
    int32_t length;

    friend void PrintTo(const LengthCase& row, std::ostream* out) {
        *out << row.channels << " channels, value " << row.value;
    }
};

class LoopLengthValues : public LoopCommandTest, public ::testing::TestWithParam<LengthCase> {};

TEST_P(LoopLengthValues, GiveANewSilentLoop) {
    const LengthCase row = GetParam();
    setUpLoop(countingLoop(10), 7, 3, row.channels);
    probe.setReverse(true);
    probe.setHalfSpeed(true);
    probe.setRecording(true);
    probe.setRecordLevel(0.75f);
    controller(midi::kLoopLength, row.value);
    EXPECT_EQ(probe.loopLength(), row.length);
    EXPECT_TRUE(allSilent(probe.loop()));
    EXPECT_EQ(probe.position(), 0);
    EXPECT_EQ(probe.marker(), 0);
    EXPECT_FALSE(probe.reverse());
    EXPECT_FALSE(probe.halfSpeed());
    EXPECT_TRUE(probe.recording());
    EXPECT_EQ(probe.recordLevel(), 0.75f);

    // The same value again still runs: the loop is silenced and the position goes back to 0.
    probe.setLoop(std::vector<float>(static_cast<size_t>(row.length), 5.0f));
    probe.setPosition(2);
    controller(midi::kLoopLength, row.value);
    EXPECT_EQ(probe.loopLength(), row.length);
    EXPECT_TRUE(allSilent(probe.loop()));
    EXPECT_EQ(probe.position(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Limits, LoopLengthValues,
    ::testing::Values(LengthCase{1, 0, 176400}, LengthCase{1, 1, 44100}, LengthCase{1, 8, 352800},
                      LengthCase{1, 9, 352800}, LengthCase{1, 127, 352800},
                      LengthCase{2, 0, 352800}, LengthCase{2, 1, 88200}, LengthCase{2, 2, 176400},
                      LengthCase{2, 8, 705600}, LengthCase{2, 9, 705600},
                      LengthCase{2, 127, 705600}),
    [](const ::testing::TestParamInfo<LengthCase>& info) {
        return (info.param.channels == 1 ? "Mono" : "Stereo") + std::to_string(info.param.value);
    });

TEST_F(LoopSize, LoopLengthBytesAbove127ChangeNothing) {
    setUpLoop(countingLoop(10), 7, 3);
    probe.setReverse(true);
    const LoopState before = probe.state();
    for (int32_t value = -128; value < 0; ++value) {
        controller(midi::kLoopLength, value);
        ASSERT_EQ(probe.state(), before) << value;
    }
}

}  // namespace
