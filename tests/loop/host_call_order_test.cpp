// Hosts differ in the order of their set-up calls. Whatever the order, the loaded effect records
// what it hears and plays it back one loop later, and asks for MIDI each time it is switched on.
#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

#include "tests/support/plugin_host.h"

namespace {

using Channels = std::vector<std::vector<float>>;

enum class Step {
    SampleRate,          // effSetSampleRate 48000
    BlockSize,           // effSetBlockSize 256
    BlockSizeAndRate,    // effSetBlockSizeAndSampleRate 128 at 96000
    Open,                // effOpen
    MainsOn,             // effMainsChanged 1
    MainsOff,            // effMainsChanged 0
    RecordNote,          // a note-on that toggles recording
    SilentBlock,         // one block of silence
};

struct CallOrder {
    std::string name;
    std::vector<Step> steps;
};

void PrintTo(const CallOrder& order, std::ostream* out) { *out << order.name; }

constexpr int32_t kBlock = 256;
constexpr int32_t kOneSecond = 44100;  // the loop's length in slots after the loop-length command
constexpr int32_t kImpulseFrame = 300;  // after the 201-frame ramp of the record level
// The record level after its ramp: 201 steps of 0.005, each rounded to a float.
constexpr float kFullLevel = 1.0049993f;

class Session {
public:
    explicit Session(const PluginLibrary& library) : hosted(library, FakeHost::callback) {}

    void run(Step step) {
        switch (step) {
        case Step::SampleRate: hosted.dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f); break;
        case Step::BlockSize: hosted.dispatch(effSetBlockSize, 0, kBlock); break;
        case Step::BlockSizeAndRate:
            hosted.dispatch(effSetBlockSizeAndSampleRate, 0, 128, nullptr, 96000.0f);
            break;
        case Step::Open: hosted.dispatch(effOpen); break;
        case Step::MainsOn: hosted.dispatch(effMainsChanged, 0, 1); break;
        case Step::MainsOff: hosted.dispatch(effMainsChanged, 0, 0); break;
        case Step::RecordNote: hosted.sendMidi(0x90, 67, 100); break;
        case Step::SilentBlock: block(std::vector<float>(kBlock, 0.0f)); break;
        }
    }

    // Mono in, the first output back.
    std::vector<float> block(std::vector<float> input) {
        const auto frames = static_cast<int32_t>(input.size());
        Channels inputs{std::move(input)};
        Channels outputs(2, std::vector<float>(static_cast<size_t>(frames), -1.0f));
        hosted.processReplacing(inputs, outputs, frames);
        return outputs[0];
    }

    // Records an impulse into a fresh one-second loop and listens for it one loop later; answers
    // the output of both passes, frame by frame.
    std::vector<float> recordAndPlayBack() {
        hosted.sendMidi(0xB0, 127, 1);  // a new, silent loop of one second
        hosted.sendMidi(0xB0, 64, 127);  // sustain: recording on
        std::vector<float> input(kBlock, 0.0f);
        input[kImpulseFrame % kBlock] = 1.0f;
        std::vector<float> heard;
        int32_t frames = 0;
        for (; frames + kBlock <= kImpulseFrame; frames += kBlock) {
            append(heard, block(std::vector<float>(kBlock, 0.0f)));
        }
        append(heard, block(input));
        frames += kBlock;
        hosted.sendMidi(0xB0, 64, 0);  // recording off
        for (; frames < kOneSecond + kImpulseFrame + kBlock; frames += kBlock) {
            append(heard, block(std::vector<float>(kBlock, 0.0f)));
        }
        return heard;
    }

    FakeHost host;
    HostedEffect hosted;

private:
    static void append(std::vector<float>& all, const std::vector<float>& more) {
        all.insert(all.end(), more.begin(), more.end());
    }
};

class HostCallOrder : public ::testing::TestWithParam<CallOrder> {};

TEST_P(HostCallOrder, EffectRecordsAndPlaysBackAndAsksForMidiWhenSwitchedOn) {
    PluginLibrary library;
    Session session(library);
    size_t switchedOn = 0;
    for (const Step step : GetParam().steps) {
        session.run(step);
        switchedOn += step == Step::MainsOn ? 1 : 0;
    }
    EXPECT_EQ(session.host.callsOf(audioMasterWantMidi).size(), switchedOn);

    const std::vector<float> heard = session.recordAndPlayBack();
    // Dry Mix is 0: nothing of the input is heard until the loop brings the impulse back.
    for (size_t i = 0; i < heard.size(); ++i) {
        const float expected = i == size_t{kOneSecond + kImpulseFrame} ? kFullLevel : 0.0f;
        ASSERT_NEAR(heard[i], expected, 1e-6f) << "frame " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Orders, HostCallOrder,
    ::testing::Values(
        CallOrder{"RateAndBlockSizeBeforeOpen",
                  {Step::SampleRate, Step::BlockSize, Step::Open, Step::MainsOn}},
        CallOrder{"RateAndBlockSizeAfterOpen",
                  {Step::Open, Step::SampleRate, Step::BlockSize, Step::MainsOn}},
        CallOrder{"BothInOneCallBeforeOpen", {Step::BlockSizeAndRate, Step::Open, Step::MainsOn}},
        CallOrder{"SwitchedOnBeforeRateAndBlockSize",
                  {Step::Open, Step::MainsOn, Step::SampleRate, Step::BlockSize}},
        CallOrder{"NeverSwitchedOn", {Step::Open, Step::SampleRate, Step::BlockSize}},
        CallOrder{"NeverOpened", {Step::SampleRate, Step::BlockSize, Step::MainsOn}},
        CallOrder{"NoSetUpAtAll", {}},
        CallOrder{"EventsBeforeTheFirstBlock",
                  {Step::Open, Step::MainsOn, Step::RecordNote, Step::SilentBlock}},
        CallOrder{"EventsBeforeOpen", {Step::RecordNote, Step::Open, Step::MainsOn}},
        CallOrder{"SwitchedOffAndOnAgain",
                  {Step::Open, Step::MainsOn, Step::SilentBlock, Step::MainsOff, Step::MainsOn}},
        CallOrder{"ProcessingWhileSwitchedOff", {Step::Open, Step::MainsOn, Step::MainsOff}},
        CallOrder{"RateAndBlockSizeChangeBetweenBlocks",
                  {Step::Open, Step::MainsOn, Step::SilentBlock, Step::BlockSizeAndRate,
                   Step::SilentBlock}}),
    [](const ::testing::TestParamInfo<CallOrder>& info) { return info.param.name; });

}  // namespace
