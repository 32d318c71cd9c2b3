// The note and controller commands on the loop state, run through processMidiMessage.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <ostream>
#include <string>
#include <vector>

#include "tests/loop/loop_command_fixture.h"

namespace {

using Slots = std::vector<float>;

// One row of a worked example: a command on a fixed starting loop and the state it leaves.
struct CommandCase {
    std::string name;
    int32_t note;
    bool halfSpeedBefore;
    Slots loop;
    int32_t position;
    int32_t marker;
    bool reverseAfter;
    bool halfSpeedAfter;

    friend void PrintTo(const CommandCase& row, std::ostream* out) { *out << row.name; }
};

std::string caseName(const ::testing::TestParamInfo<CommandCase>& info) { return info.param.name; }

class WorkedExample : public LoopCommandTest, public ::testing::TestWithParam<CommandCase> {
protected:
    // Recording, its level and the direction are set, to show which commands keep them.
    void runFrom(const Slots& loop, int32_t position, int32_t marker, int32_t channels) {
        const CommandCase& row = GetParam();
        setUpLoop(loop, position, marker, channels);
        probe.setHalfSpeed(row.halfSpeedBefore);
        probe.setReverse(true);
        probe.setRecording(true);
        probe.setRecordLevel(0.5f);
        note(row.note);
        EXPECT_EQ(probe.loop(), row.loop);
        EXPECT_EQ(probe.loopLength(), static_cast<int32_t>(row.loop.size()));
        EXPECT_EQ(probe.position(), row.position);
        EXPECT_EQ(probe.marker(), row.marker);
        EXPECT_EQ(probe.reverse(), row.reverseAfter);
        EXPECT_EQ(probe.halfSpeed(), row.halfSpeedAfter);
        EXPECT_TRUE(probe.recording());
        EXPECT_EQ(probe.recordLevel(), 0.5f);
        EXPECT_EQ(probe.channels(), channels);
    }
};

using MonoWorkedExample = WorkedExample;
using StereoWorkedExample = WorkedExample;

TEST_P(MonoWorkedExample, CommandLeavesTheTabledState) {
    runFrom({1, 2, 3, 4, 5, 6}, 4, 1, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, MonoWorkedExample,
    ::testing::Values(
        CommandCase{"Clear", midi::kClear, true, {0, 0, 0, 0, 0, 0}, 4, 1, false, false},
        CommandCase{"HalfSpeedStretches", midi::kHalfSpeed, false,
                    {1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6}, 8, 2, true, true},
        CommandCase{"HalfSpeedHalves", midi::kHalfSpeed, true, {1, 3, 5}, 2, 0, true, false},
        CommandCase{"RecallMarker", midi::kRecallMarker, false, {1, 2, 3, 4, 5, 6}, 1, 1, true,
                    false},
        CommandCase{"SetMarker", midi::kSetMarker, false, {1, 2, 3, 4, 5, 6}, 4, 4, true, false},
        CommandCase{"Fold", midi::kFold, true, {5, 7, 9}, 2, 1, true, true},
        CommandCase{"Double", midi::kDouble, true, {1, 2, 3, 4, 5, 6, 1, 2, 3, 4, 5, 6}, 4, 1,
                    true, true},
        CommandCase{"Mirror", midi::kMirror, false, {1, 2, 3, 4, 5, 6, 6, 5, 4, 3, 2, 1}, 4, 1,
                    true, false},
        CommandCase{"AddReverse", midi::kAddReverse, false, {7, 7, 7, 7, 7, 7}, 4, 1, true,
                    false}),
    caseName);

TEST_P(StereoWorkedExample, CommandLeavesTheTabledState) {
    runFrom({10, -10, 20, -20, 30, -30, 40, -40}, 6, 2, 2);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, StereoWorkedExample,
    ::testing::Values(
        CommandCase{"HalfSpeedStretches", midi::kHalfSpeed, false,
                    {10, -10, 10, -10, 20, -20, 20, -20, 30, -30, 30, -30, 40, -40, 40, -40}, 12,
                    4, true, true},
        CommandCase{"HalfSpeedHalves", midi::kHalfSpeed, true, {10, -10, 30, -30}, 3, 1, true,
                    false},
        CommandCase{"Fold", midi::kFold, false, {40, -40, 60, -60}, 3, 2, true, false},
        CommandCase{"Double", midi::kDouble, false,
                    {10, -10, 20, -20, 30, -30, 40, -40, 10, -10, 20, -20, 30, -30, 40, -40}, 6, 2,
                    true, false},
        CommandCase{"Mirror", midi::kMirror, false,
                    {10, -10, 20, -20, 30, -30, 40, -40, -40, 40, -30, 30, -20, 20, -10, 10}, 6,
                    2, true, false},
        CommandCase{"AddReverse", midi::kAddReverse, false, {-30, 30, -10, 10, 10, -10, 30, -30},
                    6, 2, true, false},
        CommandCase{"Clear", midi::kClear, true, {0, 0, 0, 0, 0, 0, 0, 0}, 6, 2, false, false}),
    caseName);

// Loops of odd length and one slot, where halving and pairing slots into frames leave remainders.
struct ShapeCase {
    std::string name;
    int32_t channels;
    int32_t note;
    bool halfSpeedBefore;
    Slots before;
    int32_t position;
    int32_t marker;
    Slots after;
    int32_t positionAfter;
    int32_t markerAfter;

    friend void PrintTo(const ShapeCase& row, std::ostream* out) { *out << row.name; }
};

class OddShapes : public LoopCommandTest, public ::testing::TestWithParam<ShapeCase> {};

TEST_P(OddShapes, KeepPositionInsideTheLoop) {
    const ShapeCase& row = GetParam();
    setUpLoop(row.before, row.position, row.marker, row.channels);
    probe.setHalfSpeed(row.halfSpeedBefore);
    note(row.note);
    EXPECT_EQ(probe.loop(), row.after);
    EXPECT_EQ(probe.position(), row.positionAfter);
    EXPECT_EQ(probe.marker(), row.markerAfter);
    EXPECT_TRUE(probe.consistent());
}

INSTANTIATE_TEST_SUITE_P(
    Commands, OddShapes,
    ::testing::Values(
        ShapeCase{"FoldDropsTheLastSlot", 1, midi::kFold, false, {1, 2, 3, 4, 5}, 0, 4, {4, 6}, 0,
                  4},
        ShapeCase{"FoldKeepsAPositionBelowHalf", 1, midi::kFold, false, {1, 2, 3, 4, 5, 6}, 2, 0,
                  {5, 7, 9}, 2, 0},
        ShapeCase{"FoldHalvesAPositionAtHalf", 1, midi::kFold, false, {1, 2, 3, 4, 5, 6}, 3, 0,
                  {5, 7, 9}, 1, 0},
        ShapeCase{"FoldHalvesTheLastPosition", 1, midi::kFold, false, {1, 2, 3, 4, 5, 6}, 5, 0,
                  {5, 7, 9}, 2, 0},
        ShapeCase{"FoldOddLastPositionGoesToLastSlot", 1, midi::kFold, false, {1, 2, 3, 4, 5}, 4,
                  0, {4, 6}, 1, 0},
        ShapeCase{"FoldStereoLeavesAnOddPosition", 2, midi::kFold, false, countingLoop(8), 6, 0,
                  {6, 8, 10, 12}, 3, 0},
        ShapeCase{"HalveOddLastPositionGoesToLastSlot", 1, midi::kHalfSpeed, true,
                  {1, 2, 3, 4, 5, 6, 7}, 6, 6, {1, 3, 5}, 2, 3},
        ShapeCase{"HalveStereoOddLastPositionGoesToLastSlot", 2, midi::kHalfSpeed, true,
                  {1, 2, 3, 4, 5}, 4, 4, {1, 2}, 1, 2},
        ShapeCase{"HalveStereoToAnOddLength", 2, midi::kHalfSpeed, true, countingLoop(6), 5, 1,
                  {1, 2, 5}, 2, 0},
        ShapeCase{"HalveStereoOddToAnOddLength", 2, midi::kHalfSpeed, true, countingLoop(7), 6, 3,
                  {1, 2, 5}, 2, 1},
        ShapeCase{"HalveStereoTwoSlots", 2, midi::kHalfSpeed, true, {1, 2}, 1, 1, {1}, 0, 0},
        ShapeCase{"StretchStereoOddRepeatsTheLastSlot", 2, midi::kHalfSpeed, false, {1, 2, 3}, 2,
                  1, {1, 2, 1, 2, 3, 3}, 4, 2},
        ShapeCase{"StretchStereoOddLongerLoop", 2, midi::kHalfSpeed, false, countingLoop(5), 0, 0,
                  {1, 2, 1, 2, 3, 4, 3, 4, 5, 5}, 0, 0},
        ShapeCase{"StretchOneSlotMono", 1, midi::kHalfSpeed, false, {7}, 0, 0, {7, 7}, 0, 0},
        ShapeCase{"StretchOneSlotStereo", 2, midi::kHalfSpeed, false, {7}, 0, 0, {7, 7}, 0, 0},
        ShapeCase{"DoubleOneSlot", 1, midi::kDouble, false, {7}, 0, 0, {7, 7}, 0, 0},
        ShapeCase{"MirrorOneSlot", 1, midi::kMirror, false, {7}, 0, 0, {7, 7}, 0, 0},
        ShapeCase{"AddReverseOneSlot", 1, midi::kAddReverse, false, {7}, 0, 0, {14}, 0, 0},
        ShapeCase{"AddReverseOddLength", 1, midi::kAddReverse, false, {1, 2, 4}, 0, 0,
                  {5, 4, 5}, 0, 0}),
    [](const ::testing::TestParamInfo<ShapeCase>& info) { return info.param.name; });

class LoopCommands : public LoopCommandTest, public ::testing::Test {};

TEST_F(LoopCommands, OneSlotLoopIsNeitherFoldedNorHalved) {
    for (const int32_t command : {midi::kFold, midi::kHalfSpeed}) {
        setUpLoop({3}, 0, 5);
        probe.setHalfSpeed(true);
        const LoopState before = probe.state();
        note(command);
        EXPECT_EQ(probe.state(), before) << command;
    }
}

TEST_F(LoopCommands, RecallMarkerOutsideTheLoopGoesToTheLastSlot) {
    setUpLoop(countingLoop(6), 0, 5);
    note(midi::kFold);  // the marker keeps 5 in a loop of 3
    EXPECT_EQ(probe.marker(), 5);
    note(midi::kRecallMarker);
    EXPECT_EQ(probe.position(), 2);

    setUpLoop(countingLoop(7), 0, 6);
    probe.setHalfSpeed(true);
    note(midi::kHalfSpeed);  // the marker becomes 3, the new length
    EXPECT_EQ(probe.marker(), 3);
    note(midi::kRecallMarker);
    EXPECT_EQ(probe.position(), 2);
}

TEST_F(LoopCommands, DoubleBringsAFoldedMarkerBackInside) {
    setUpLoop(countingLoop(6), 0, 4);
    note(midi::kFold);
    note(midi::kDouble);
    note(midi::kRecallMarker);
    EXPECT_EQ(probe.position(), 4);
}

// Fold, a stretch and Clear keep the length while the marker doubles each round; it must neither
// overflow nor ever be recalled to a slot outside the loop.
TEST_F(LoopCommands, MarkerOutsideTheLoopSurvivesEndlessStretching) {
    setUpLoop(countingLoop(4), 0, 3);
    for (int round = 0; round < 40; ++round) {
        note(midi::kFold);
        note(midi::kHalfSpeed);
        note(midi::kClear);
        ASSERT_EQ(probe.loopLength(), 4);
        ASSERT_GE(probe.marker(), probe.loopLength()) << round;
    }
    note(midi::kRecallMarker);
    EXPECT_EQ(probe.position(), 3);
    note(midi::kHalfSpeed);
    note(midi::kHalfSpeed);
    note(midi::kRecallMarker);
    EXPECT_EQ(probe.position(), 3);
}

TEST_F(LoopCommands, ToggleCommandsRunEveryTime) {
    setUpLoop({1, 2}, 0, 0);
    for (const bool noteOffBetween : {false, true}) {
        for (const int32_t command : {midi::kReverse, midi::kRecord}) {
            note(command);
            if (noteOffBetween) {
                effect.processMidiMessage(midi::kNoteOff, command, 100);
            }
            note(command);
        }
        EXPECT_FALSE(probe.reverse());
        EXPECT_FALSE(probe.recording());
    }
    note(midi::kReverse);
    EXPECT_TRUE(probe.reverse());
    note(midi::kRecord);
    EXPECT_TRUE(probe.recording());
}

// Messages that are no commands: each leaves the whole state alone.
struct Message {
    int32_t status;
    int32_t data1;
    int32_t data2;

    friend void PrintTo(const Message& message, std::ostream* out) {
        *out << message.status << " " << message.data1 << " " << message.data2;
    }
};

class IgnoredMessages : public LoopCommandTest, public ::testing::TestWithParam<Message> {};

TEST_P(IgnoredMessages, ChangeNothing) {
    setUpLoop(countingLoop(6), 3, 1);
    probe.setHalfSpeed(true);
    probe.setRecordLevel(0.25f);
    const LoopState before = probe.state();
    const Message message = GetParam();
    effect.processMidiMessage(message.status, message.data1, message.data2);
    EXPECT_EQ(probe.state(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, IgnoredMessages,
    ::testing::Values(Message{0x90, 36, 0}, Message{0x90, 84, 0}, Message{0x90, 36, -1},
                      Message{0x90, 55, -128}, Message{0x80, 36, 100}, Message{0x80, 84, 127},
                      Message{0x90, 37, 100}, Message{0x90, 0, 100}, Message{0x90, 127, 100},
                      Message{0x90, 36 - 128, 100}, Message{0x90, 84 - 128, 100},
                      Message{0xA0, 36, 100}, Message{0xC0, 36, 100}, Message{0xD0, 84, 100},
                      Message{0xE0, 55, 100}, Message{0xF0, 36, 100}, Message{0x00, 36, 100},
                      Message{0xB0, 0, 127}, Message{0xB0, 63, 127}, Message{0xB0, 65, 127},
                      Message{0xB0, 120, 0}, Message{0xB0, 121, 0}, Message{0xB0, 123, 0},
                      Message{0xB0, 126, 1}, Message{0xB0, -1, 1}, Message{0xB0, 127, -1},
                      Message{0xB0, 127, -128}, Message{0xB0, 36, 100}));

TEST_F(LoopCommands, SustainSetsRecordingFromThePedalValue) {
    setUpLoop({1}, 0, 0);
    const struct {
        int32_t value;
        bool recording;
    } steps[] = {{65, true}, {65, true}, {64, false}, {64, false}, {127, true},
                 {0, false}, {100, true}, {-1, false}, {127, true}, {-128, false}};
    for (const auto& step : steps) {
        controller(midi::kSustain, step.value);
        EXPECT_EQ(probe.recording(), step.recording) << step.value;
    }
}

// Half speed twice gives back the loop exactly: in mono for any length, in stereo for even ones.
struct RestoreCase {
    int32_t channels;
    int32_t length;

    friend void PrintTo(const RestoreCase& row, std::ostream* out) {
        *out << row.channels << " channels, " << row.length << " slots";
    }
};

class HalfSpeedTwice : public LoopCommandTest, public ::testing::TestWithParam<RestoreCase> {};

TEST_P(HalfSpeedTwice, RestoresTheLoop) {
    const RestoreCase row = GetParam();
    for (int32_t position = 0; position < row.length; ++position) {
        for (const int32_t marker : {0, position, row.length - 1, row.length + 3}) {
            setUpLoop(countingLoop(row.length), position, marker, row.channels);
            const LoopState before = probe.state();
            note(midi::kHalfSpeed);
            ASSERT_EQ(probe.loopLength(), 2 * row.length);
            note(midi::kHalfSpeed);
            LoopState after = probe.state();
            after.buffer = before.buffer;
            ASSERT_EQ(after, before) << "position " << position << ", marker " << marker;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Commands, HalfSpeedTwice,
                         ::testing::Values(RestoreCase{1, 1}, RestoreCase{1, 2}, RestoreCase{1, 3},
                                           RestoreCase{1, 6}, RestoreCase{1, 7},
                                           RestoreCase{1, 11}, RestoreCase{2, 2},
                                           RestoreCase{2, 4}, RestoreCase{2, 6},
                                           RestoreCase{2, 10}),
                         [](const ::testing::TestParamInfo<RestoreCase>& info) {
                             return (info.param.channels == 1 ? "Mono" : "Stereo") +
                                    std::to_string(info.param.length);
                         });

TEST_F(LoopCommands, ClearKeepsTheLengthSoHalfSpeedStretchesAgain) {
    setUpLoop(countingLoop(4), 1, 1);
    probe.setReverse(true);
    probe.setRecording(true);
    note(midi::kHalfSpeed);
    const float* const stretched = probe.buffer();
    note(midi::kClear);
    EXPECT_EQ(probe.buffer(), stretched);  // cleared in place
    EXPECT_EQ(probe.loop(), Slots(8, 0.0f));
    EXPECT_EQ(probe.position(), 2);
    EXPECT_EQ(probe.marker(), 2);
    EXPECT_FALSE(probe.halfSpeed());
    EXPECT_FALSE(probe.reverse());
    EXPECT_TRUE(probe.recording());
    note(midi::kHalfSpeed);
    EXPECT_EQ(probe.loopLength(), 16);
    EXPECT_TRUE(probe.halfSpeed());
}

std::vector<uint32_t> bitsOf(const Slots& slots) {
    std::vector<uint32_t> bits;
    for (const float slot : slots) {
        bits.push_back(std::bit_cast<uint32_t>(slot));
    }
    return bits;
}

// Copies keep every bit: negative zero, denormals, infinities and NaN payloads.
TEST_F(LoopCommands, CopiedSlotsKeepTheirBits) {
    const float nan = std::bit_cast<float>(uint32_t{0x7FC12345});
    const float tiny = std::numeric_limits<float>::denorm_min();
    const float inf = std::numeric_limits<float>::infinity();
    const Slots slots = {-0.0f, nan, tiny, -inf};
    const struct {
        int32_t note;
        bool halfSpeed;
        Slots expected;
    } cases[] = {
        {midi::kDouble, false, {-0.0f, nan, tiny, -inf, -0.0f, nan, tiny, -inf}},
        {midi::kMirror, false, {-0.0f, nan, tiny, -inf, -inf, tiny, nan, -0.0f}},
        {midi::kHalfSpeed, false, {-0.0f, -0.0f, nan, nan, tiny, tiny, -inf, -inf}},
        {midi::kHalfSpeed, true, {-0.0f, tiny}},
    };
    for (const auto& row : cases) {
        for (const int32_t channels : {1, 2}) {
            setUpLoop(slots, 0, 0, channels);
            probe.setHalfSpeed(row.halfSpeed);
            note(row.note);
            Slots expected = row.expected;
            if (channels == 2 && row.note == midi::kHalfSpeed) {
                expected = row.halfSpeed ? Slots{-0.0f, nan}
                                         : Slots{-0.0f, nan, -0.0f, nan, tiny, -inf, tiny, -inf};
            }
            EXPECT_EQ(bitsOf(probe.loop()), bitsOf(expected)) << row.note << " " << channels;
        }
    }
}

// A loop length while recording: recording goes on, into the new silent loop from slot 0.
TEST_F(LoopCommands, LoopLengthWhileRecordingRecordsIntoTheNewLoop) {
    setUpLoop(countingLoop(10), 7, 3);
    probe.setRecording(true);
    probe.setRecordLevel(1.0f);
    controller(midi::kLoopLength, 1);
    EXPECT_TRUE(probe.recording());
    EXPECT_EQ(probe.recordLevel(), 1.0f);
    EXPECT_EQ(probe.position(), 0);

    float input[] = {0.5f, 0.25f};
    float out0[2] = {};
    float out1[2] = {};
    float* inputs[] = {input, nullptr};
    float* outputs[] = {out0, out1};
    effect.getAeffect()->processReplacing(effect.getAeffect(), inputs, outputs, 2);
    const Slots loop = probe.loop();
    EXPECT_EQ(loop[0], 0.5f);
    EXPECT_EQ(loop[1], 0.25f);
    EXPECT_EQ(loop[2], 0.0f);
}

}  // namespace
