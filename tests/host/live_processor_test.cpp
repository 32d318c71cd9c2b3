// The live host's real-time path without a server: events act at their exact frames whatever the
// block, the input ports feed the plug-in's inputs, and a block allocates nothing.
// The event probe's output 2 shows the note number of the last note-on from the frame it acts.
#include <gtest/gtest.h>

#include "host/live_processor.h"
#include "host/plugin.h"
#include "tests/host/allocation_counter.h"
#include "tests/host/host_test_support.h"

namespace {

constexpr uint32_t kBlock = 256;

struct Block {
    std::vector<std::vector<float>> inputs;
    std::vector<std::vector<float>> outputs;
    std::vector<const float*> inputPointers;
    std::vector<float*> outputPointers;

    Block(size_t inputCount, size_t outputCount, uint32_t frames)
        : inputs(inputCount, std::vector<float>(frames)), outputs(outputCount, std::vector<float>(frames)) {
        for (size_t ch = 0; ch < inputCount; ++ch) {
            for (uint32_t i = 0; i < frames; ++i) {
                inputs[ch][i] = static_cast<float>(ch + 1) * 0.001f * static_cast<float>(i + 1);
            }
            inputPointers.push_back(inputs[ch].data());
        }
        for (auto& output : outputs) {
            outputPointers.push_back(output.data());
        }
    }
};

class LiveProcessorTest : public testing::Test {
protected:
    LiveProcessorTest() { plugin.start(); }

    void queueNote(LiveProcessor& processor, uint32_t frame, uint8_t note) {
        const MidiMessage message = MidiMessage::noteOn(note, 100);
        ASSERT_TRUE(processor.queueMidi(frame, message.bytes.data(), 3));
    }

    Plugin plugin{host_test::testPlugin("EventProbe")};
};

struct TimingCase {
    const char* what;
    std::vector<uint32_t> frames;  // note 60, 61, ... at these frames of one block
};

void PrintTo(const TimingCase& timing, std::ostream* out) {
    *out << timing.what;
}

class EventTiming : public LiveProcessorTest, public testing::WithParamInterface<TimingCase> {};

TEST_P(EventTiming, EachEventActsAtItsFrame) {
    LiveProcessor processor(plugin, 1);
    processor.prepare(kBlock);
    Block block(1, 3, kBlock);
    const std::vector<uint32_t>& frames = GetParam().frames;
    for (size_t e = 0; e < frames.size(); ++e) {
        queueNote(processor, frames[e], static_cast<uint8_t>(60 + e));
    }
    processor.process(block.inputPointers.data(), block.outputPointers.data(), kBlock);

    float expected = 0.0f;
    size_t next = 0;
    for (uint32_t i = 0; i < kBlock; ++i) {
        while (next < frames.size() && frames[next] <= i) {
            expected = static_cast<float>(60 + next++);
        }
        ASSERT_EQ(block.outputs[2][i], expected) << "frame " << i;
        ASSERT_EQ(block.outputs[0][i], block.inputs[0][i]) << "frame " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, EventTiming,
    testing::Values(TimingCase{"none", {}}, TimingCase{"first frame", {0}},
                    TimingCase{"second frame", {1}}, TimingCase{"last frame", {kBlock - 1}},
                    TimingCase{"two at one frame, one later", {10, 10, 200}},
                    TimingCase{"many", {0, 7, 14, 21, 28, 35, 100, 101, 102, 254, 255}}));

TEST_F(LiveProcessorTest, EventsOfTheNextBlockCountFromItsStart) {
    LiveProcessor processor(plugin, 1);
    processor.prepare(kBlock);
    Block first(1, 3, kBlock);
    queueNote(processor, 100, 60);
    processor.process(first.inputPointers.data(), first.outputPointers.data(), kBlock);
    Block second(1, 3, kBlock);
    queueNote(processor, 50, 61);
    processor.process(second.inputPointers.data(), second.outputPointers.data(), kBlock);
    EXPECT_EQ(second.outputs[2][0], 60.0f);
    EXPECT_EQ(second.outputs[2][49], 60.0f);
    EXPECT_EQ(second.outputs[2][50], 61.0f);
}

// The probe plays input 1 on output 1 once the host has connected input 1.
TEST_F(LiveProcessorTest, OnePortFeedsEveryInputAndTwoPortsFeedOneEach) {
    plugin.connectInputs(2);
    for (const size_t ports : {1u, 2u}) {
        LiveProcessor processor(plugin, ports);
        processor.prepare(kBlock);
        Block block(ports, 3, kBlock);
        processor.process(block.inputPointers.data(), block.outputPointers.data(), kBlock);
        EXPECT_EQ(block.outputs[0], block.inputs[0]) << ports << " ports";
        EXPECT_EQ(block.outputs[1], block.inputs[ports - 1]) << ports << " ports";
    }
}

TEST_F(LiveProcessorTest, TakesShortMessagesOnlyAndNoMoreThanItsCapacity) {
    LiveProcessor processor(plugin, 1, 4);
    const uint8_t sysex[] = {0xF0, 0x7E, 0xF7};
    const uint8_t noStatus[] = {60, 100, 0};
    const uint8_t tooLong[] = {0x90, 60, 100, 0};
    const uint8_t clock[] = {0xF8};
    const uint8_t programChange[] = {0xC0, 5};
    const uint8_t noteOn[] = {0x90, 60, 100};
    EXPECT_FALSE(processor.queueMidi(0, sysex, sizeof sysex));
    EXPECT_FALSE(processor.queueMidi(0, noStatus, sizeof noStatus));
    EXPECT_FALSE(processor.queueMidi(0, tooLong, sizeof tooLong));
    EXPECT_FALSE(processor.queueMidi(0, noteOn, 0));
    EXPECT_TRUE(processor.queueMidi(0, clock, sizeof clock));
    EXPECT_TRUE(processor.queueMidi(1, programChange, sizeof programChange));
    EXPECT_TRUE(processor.queueMidi(2, noteOn, sizeof noteOn));
    EXPECT_TRUE(processor.queueMidi(3, noteOn, sizeof noteOn));
    EXPECT_FALSE(processor.queueMidi(4, noteOn, sizeof noteOn));
}

// A block longer than the server announced: the part that fits is played, the rest is silence,
// and an event due in the cut part still reaches the plug-in, at the next block's start.
TEST_F(LiveProcessorTest, ABlockLongerThanPreparedIsCutAndLosesNoEvent) {
    LiveProcessor processor(plugin, 1);
    processor.prepare(64);
    Block block(1, 3, 100);
    for (auto& output : block.outputs) {
        std::fill(output.begin(), output.end(), 9.0f);
    }
    queueNote(processor, 80, 60);
    processor.process(block.inputPointers.data(), block.outputPointers.data(), 100);
    EXPECT_EQ(block.outputs[0][63], block.inputs[0][63]);
    for (const auto& output : block.outputs) {
        EXPECT_EQ(std::count(output.begin() + 64, output.end(), 0.0f), 36);
    }
    Block next(1, 3, 64);
    processor.process(next.inputPointers.data(), next.outputPointers.data(), 64);
    EXPECT_EQ(next.outputs[2][0], 60.0f);
}

TEST_F(LiveProcessorTest, ABlockAllocatesNothing) {
    LiveProcessor processor(plugin, 2);
    processor.prepare(kBlock);
    Block block(2, 3, kBlock);
    allocation_counter::start();
    for (uint32_t round = 0; round < 100; ++round) {
        for (uint32_t frame = 0; frame < kBlock; frame += 16) {
            const MidiMessage message = MidiMessage::noteOn(static_cast<uint8_t>(frame % 128), 100);
            processor.queueMidi(frame, message.bytes.data(), 3);
        }
        processor.process(block.inputPointers.data(), block.outputPointers.data(), kBlock);
    }
    EXPECT_EQ(allocation_counter::stop(), 0);
}

}  // namespace
