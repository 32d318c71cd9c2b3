// The looper driven through kestrune with its MIDI commands: a command acts at its frame whatever
// the block size, and what was recorded comes back exactly one loop later.
// Program 0 plays the loop at full level and no dry signal, so the output is the loop alone.
#include <gtest/gtest.h>

#include "tests/host/cli_test_support.h"
#include "tests/host/midi_file_writer.h"

namespace {

using host_test::runKestrune;

constexpr int32_t kRate = 44100;
constexpr int64_t kLoopFrames = kRate;  // "loop-length 1": one second per channel
constexpr float kFirstRampStep = 0.005f;  // the write gain on the first frame of recording

AudioBuffer clicks(int channels, int64_t frames, const std::vector<std::tuple<int, int64_t, float>>& at) {
    AudioBuffer audio;
    audio.sampleRate = kRate;
    audio.channels.assign(static_cast<size_t>(channels), std::vector<float>(static_cast<size_t>(frames)));
    for (const auto& [channel, frame, value] : at) {
        audio.channels[static_cast<size_t>(channel)][static_cast<size_t>(frame)] = value;
    }
    return audio;
}

// Every frame of a channel that is not silent, with its value.
std::vector<std::pair<int64_t, float>> soundsOf(const std::vector<float>& samples) {
    std::vector<std::pair<int64_t, float>> sounds;
    for (size_t i = 0; i < samples.size(); ++i) {
        if (samples[i] != 0.0f) {
            sounds.emplace_back(static_cast<int64_t>(i), samples[i]);
        }
    }
    return sounds;
}

class LooperRender : public testing::Test {
protected:
    AudioBuffer render(const AudioBuffer& input, const std::vector<std::string>& commands, int block) {
        writeAudioFile(folder / "in.wav", input);
        const std::string output = (folder / ("out-" + std::to_string(block) + ".wav")).string();
        std::vector<std::string> arguments{"render", "-i", (folder / "in.wav").string(), "-o",
                                           output, "--block", std::to_string(block), "-q"};
        arguments.insert(arguments.end(), commands.begin(), commands.end());
        const auto run = runKestrune(arguments);
        EXPECT_EQ(run.status, 0) << run.err;
        return readAudioFile(output);
    }

    host_test::TempFolder folder;
};

// The frames that sound, and their values, which must repeat exactly on every pass of the loop
// and be the recorded input at the write gain (which settles just above 1).
void expectLoopReturns(const std::vector<float>& output, const std::vector<std::pair<int64_t, float>>& recorded,
                       int passes) {
    const auto sounds = soundsOf(output);
    ASSERT_EQ(sounds.size(), recorded.size() * static_cast<size_t>(passes));
    for (int pass = 1; pass <= passes; ++pass) {
        for (size_t i = 0; i < recorded.size(); ++i) {
            const auto& [frame, value] = sounds[static_cast<size_t>(pass - 1) * recorded.size() + i];
            EXPECT_EQ(frame, recorded[i].first + pass * kLoopFrames) << "pass " << pass;
            EXPECT_EQ(value, sounds[i].second) << "pass " << pass;
            EXPECT_NEAR(value / recorded[i].second, 1.0f, 0.01f) << "pass " << pass;
        }
    }
}

TEST_F(LooperRender, TheLoopComesBackOneLoopLaterAtTheExactFrame) {
    const AudioBuffer input = clicks(1, 3 * kRate, {{0, 10000, 0.5f}, {0, 30001, -0.25f}});
    const AudioBuffer output = render(input, {"--cue", "0 loop-length 1; 0 record; 1 record"}, 64);
    expectLoopReturns(output.channels[0], {{10000, 0.5f}, {30001, -0.25f}}, 2);
    EXPECT_EQ(output.channels[1], output.channels[0]);  // a mono loop plays on both outputs
}

// The looper learns that it runs in stereo from its first audio block, so the stereo loop's length
// is set just after that block.
TEST_F(LooperRender, AStereoLoopComesBackOnItsOwnChannels) {
    const AudioBuffer input = clicks(2, 3 * kRate, {{0, 10000, 0.5f}, {1, 20000, -0.25f}});
    const AudioBuffer output =
        render(input, {"--cue", "0.01 loop-length 1; 0.01 record; 1.01 record"}, 256);
    expectLoopReturns(output.channels[0], {{10000, 0.5f}}, 2);
    expectLoopReturns(output.channels[1], {{20000, -0.25f}}, 2);
}

// Recording starts with a write gain of 0.005 on its first frame: a click exactly at the record
// cue's frame comes back at that gain, one frame earlier would be silent, one later twice as loud.
TEST_F(LooperRender, ARecordCueAtTimeTActsAtFrameTTimesRateWhateverTheBlockSize) {
    const int64_t cueFrame = kRate / 2;
    const AudioBuffer input = clicks(1, 3 * kRate, {{0, cueFrame, 1.0f}});
    // Recording stops at 1.4 s, so the fade-out does not pass the click's slot again.
    const std::vector<std::string> cues{"--cue", "0 loop-length 1; 0.5 record; 1.4 record"};
    const AudioBuffer reference = render(input, cues, 1);
    EXPECT_EQ(soundsOf(reference.channels[0]),
              (std::vector<std::pair<int64_t, float>>{{cueFrame + kLoopFrames, kFirstRampStep},
                                                       {cueFrame + 2 * kLoopFrames, kFirstRampStep}}));
    for (const int block : {64, 4096}) {
        EXPECT_EQ(render(input, cues, block).channels, reference.channels) << "block " << block;
    }
}

TEST_F(LooperRender, TheMidiFileAndTheCueSheetGiveTheSameOutput) {
    const AudioBuffer input = host_test::tone(2, 4 * kRate);
    host_test::writeText(folder / "cues.txt",
                         "0 loop-length 1\n0.5 record\n1.5 record\n2 reverse\n2.25 half-speed\n"
                         "3 double\n3.5 sustain 127\n");
    // 120 beats a minute up to 2 s (pulse 1920), then 60: 2.25 s is pulse 2040, 3.5 s pulse 2640.
    host_test::writeMidiFile(folder / "cues.mid", 2, 480, {{0, 500000}, {1920, 1000000}},
                             {{1, 0, {0xB0, 127, 1}},
                              {1, 480, {0x90, 67, 100}},
                              {1, 1440, {0x90, 67, 100}},
                              {1, 1920, {0x92, 48, 64}},
                              {1, 2040, {0x90, 55, 100}},
                              {1, 2400, {0x90, 84, 100}},
                              {1, 2400, {0x80, 84, 0}},
                              {1, 2640, {0xB5, 64, 127}}});
    const AudioBuffer fromCues = render(input, {"--cue", (folder / "cues.txt").string()}, 64);
    const AudioBuffer fromMidi = render(input, {"--midi", (folder / "cues.mid").string()}, 64);
    EXPECT_EQ(fromMidi.channels, fromCues.channels);
    EXPECT_GT(host_test::peak(fromCues.channels[0], 2 * kRate, 4 * kRate), 0.01f);
}

TEST(KestruneDemo, TheLoopIsHeardWhileTheInputRests) {
    host_test::TempFolder folder;
    const auto run = runKestrune({"demo", "-o", (folder / "demo.wav").string()});
    ASSERT_EQ(run.status, 0) << run.err;
    const AudioBuffer demo = readAudioFile(folder / "demo.wav");
    // The input is silent from about 2.3 s to 4 s and after 6.3 s: what sounds there is the loop.
    EXPECT_GT(host_test::peak(demo.channels[0], kRate * 5 / 2, kRate * 39 / 10), 0.01f);
    EXPECT_GT(host_test::peak(demo.channels[0], kRate * 7, kRate * 179 / 10), 0.01f);
}

}  // namespace
