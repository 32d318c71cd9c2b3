// `kestrune render` end to end: files written by the test, rendered by the built program.
#include <gtest/gtest.h>

#include "tests/host/cli_test_support.h"
#include "tests/host/midi_file_writer.h"

namespace {

using host_test::runKestrune;

constexpr int32_t kRate = 44100;
constexpr int kPpqn = 480;

// A cue sheet and a MIDI file with the same notes: 120 beats a minute for the first second,
// then 60, so the last note (pulse 1440) falls at 2 s.
constexpr const char* kProbeCues =
    "0.25 note 10\n0.5 note 20\n0.5 note 21   # two in one frame: the later one shows\n"
    "0.75 note 25\n2 note 30\n";

void writeProbeMidiFile(const std::filesystem::path& path) {
    host_test::writeMidiFile(path, 2, kPpqn, {{0, 500000}, {960, 1000000}},
                             {{1, 240, {0x90, 10, 100}},
                              {1, 480, {0x90, 20, 100}},
                              {1, 480, {0x90, 21, 100}},
                              {1, 720, {0x90, 25, 100}},
                              {1, 1440, {0x90, 30, 100}},
                              {1, 1500, {0x80, 30, 0}}});
}

class CliRender : public testing::Test {
protected:
    void SetUp() override {
        writeAudioFile(folder / "mono.wav", host_test::tone(1, 3 * kRate));
        writeAudioFile(folder / "stereo.wav", host_test::tone(2, 3 * kRate));
        host_test::writeText(folder / "cues.txt", kProbeCues);
        writeProbeMidiFile(folder / "cues.mid");
    }

    AudioBuffer renderProbe(const std::string& input, const std::vector<std::string>& commands,
                            int block) {
        const std::string output = (folder / ("probe-" + std::to_string(block) + ".wav")).string();
        std::vector<std::string> arguments{"render", host_test::testPlugin("EventProbe"), "-i",
                                           (folder / input).string(), "-o", output, "--block",
                                           std::to_string(block), "-q"};
        arguments.insert(arguments.end(), commands.begin(), commands.end());
        const auto run = runKestrune(arguments);
        EXPECT_EQ(run.status, 0) << run.err;
        return readAudioFile(output);
    }

    host_test::TempFolder folder;
};

// Frame = time × rate: 0.25 s is 11025, 0.75 s is 33075, none of them on a block edge.
TEST_F(CliRender, ACueAtTimeTActsAtFrameTTimesRateWhateverTheBlockSize) {
    const std::vector<std::pair<int64_t, float>> expected{
        {11025, 10.0f}, {22050, 21.0f}, {33075, 25.0f}, {88200, 30.0f}};
    const AudioBuffer reference = renderProbe("mono.wav", {"--cue", (folder / "cues.txt").string()}, 1);
    EXPECT_EQ(host_test::stepsOf(reference.channels[2]), expected);
    for (const int block : {64, 4096}) {
        const AudioBuffer output =
            renderProbe("mono.wav", {"--cue", (folder / "cues.txt").string()}, block);
        EXPECT_EQ(output.channels, reference.channels) << "block " << block;
    }
}

TEST_F(CliRender, TheMidiFileAndTheCueSheetGiveTheSameOutput) {
    const AudioBuffer fromCues = renderProbe("mono.wav", {"--cue", (folder / "cues.txt").string()}, 64);
    const AudioBuffer fromMidi = renderProbe("mono.wav", {"--midi", (folder / "cues.mid").string()}, 64);
    EXPECT_EQ(fromMidi.channels, fromCues.channels);
}

TEST_F(CliRender, TakesCueLinesOnTheCommandLine) {
    const AudioBuffer output = renderProbe("mono.wav", {"--cue", "0.5 note 7; 1 note 8"}, 512);
    EXPECT_EQ(host_test::stepsOf(output.channels[2]),
              (std::vector<std::pair<int64_t, float>>{{22050, 7.0f}, {44100, 8.0f}}));
}

TEST_F(CliRender, AStereoFileFeedsTwoConnectedInputsAndAMonoFileOne) {
    const AudioBuffer stereoIn = readAudioFile(folder / "stereo.wav");
    const AudioBuffer stereoOut = renderProbe("stereo.wav", {}, 256);
    EXPECT_EQ(stereoOut.channels[0], stereoIn.channels[0]);
    EXPECT_EQ(stereoOut.channels[1], stereoIn.channels[1]);
    const AudioBuffer monoOut = renderProbe("mono.wav", {}, 256);
    EXPECT_EQ(host_test::peak(monoOut.channels[1], 0, monoOut.channels[1].size()), 0.0f);
}

TEST_F(CliRender, WritesTheFormatOfTheExtensionWithTheInputRateAndThePluginsOutputs) {
    writeAudioFile(folder / "in48k.wav", host_test::tone(2, 4800, 48000));
    for (const char* name : {"out.wav", "out.flac", "out.aiff"}) {
        const auto run = runKestrune({"render", host_test::testPlugin("EventProbe"), "-i",
                                      (folder / "in48k.wav").string(), "-o",
                                      (folder / name).string(), "--tail", "0.5"});
        ASSERT_EQ(run.status, 0) << run.err;
        const AudioBuffer output = readAudioFile(folder / name);
        EXPECT_EQ(output.sampleRate, 48000) << name;
        EXPECT_EQ(output.channels.size(), 3u) << name;
        EXPECT_EQ(output.frames(), 4800 + 24000) << name;
    }
}

TEST_F(CliRender, DrawsAPlot) {
    const auto run = runKestrune({"render", host_test::testPlugin("EventProbe"), "-i",
                                  (folder / "mono.wav").string(), "-o", (folder / "out.wav").string(),
                                  "--cue", (folder / "cues.txt").string(), "--plot",
                                  (folder / "out.png").string()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(host_test::readText(folder / "out.png").substr(1, 3), "PNG");
}

TEST_F(CliRender, WarnsAboutCommandsAfterTheEnd) {
    const auto run = runKestrune({"render", host_test::testPlugin("EventProbe"), "-i",
                                  (folder / "mono.wav").string(), "-o", (folder / "out.wav").string(),
                                  "--cue", "1 note 1; 9 note 2; 10 note 3"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "kestrune: 2 command(s) come after the end of the render and were not sent"
                       " (--tail renders longer)\n");
}

TEST_F(CliRender, TheLooperGivesTheSameOutputForEveryBlockSize) {
    for (const char* input : {"mono.wav", "stereo.wav"}) {
        std::vector<AudioBuffer> outputs;
        std::vector<std::string> files;
        for (const int block : {1, 64, 4096}) {
            const std::string output = (folder / ("looper-" + std::to_string(block) + ".wav")).string();
            const auto run = runKestrune({"render", "-i", (folder / input).string(), "-o", output,
                                          "--block", std::to_string(block), "--tail", "1", "--cue",
                                          "0 loop-length 1; 0 record; 1 record; 1.5 reverse"});
            ASSERT_EQ(run.status, 0) << run.err;
            outputs.push_back(readAudioFile(output));
            files.push_back(host_test::readText(output));
        }
        ASSERT_EQ(outputs[0].channels.size(), 2u);
        EXPECT_EQ(outputs[0].frames(), 4 * kRate);
        EXPECT_EQ(outputs[1].channels, outputs[0].channels) << input << ", block 64";
        EXPECT_EQ(outputs[2].channels, outputs[0].channels) << input << ", block 4096";
        // The same samples give the same bytes: the files carry no time stamp.
        EXPECT_TRUE(files[1] == files[0] && files[2] == files[0]) << input;
    }
}

TEST_F(CliRender, RendersThroughADebianEffect) {
    host_test::TempFolder home;
    // Options before the plug-in's name: each --set takes one value only.
    const auto run = runKestrune({"render", "--set", "fb1=0.9", "--set", "damp=0.2", "MaFreeverb-vst",
                                  "-i", (folder / "stereo.wav").string(), "-o",
                                  (folder / "verb.wav").string(), "--tail", "1", "--program", "0"},
                                 host_test::scratchHome(home));
    ASSERT_EQ(run.status, 0) << run.err;
    const AudioBuffer output = readAudioFile(folder / "verb.wav");
    ASSERT_EQ(output.channels.size(), 1u);
    EXPECT_EQ(output.frames(), 4 * kRate);
    // The reverb rings on into the silent tail.
    EXPECT_GT(host_test::peak(output.channels[0], 3 * kRate, 3 * kRate + 4410), 1e-3f);
}

TEST_F(CliRender, ADebianInstrumentSoundsAfterANoteOnInAMidiFile) {
    host_test::TempFolder home;
    writeAudioFile(folder / "silence.wav", AudioBuffer{kRate, {std::vector<float>(2 * kRate)}});
    host_test::writeMidiFile(folder / "note.mid", 1, kPpqn, {{0, 500000}},
                             {{0, 480, {0x90, 60, 100}}, {0, 1440, {0x80, 60, 0}}});
    const auto run = runKestrune({"render", "ZynAddSubFX", "-i", (folder / "silence.wav").string(),
                                  "-o", (folder / "synth.wav").string(), "--midi",
                                  (folder / "note.mid").string()},
                                 host_test::scratchHome(home));
    ASSERT_EQ(run.status, 0) << run.err;
    const AudioBuffer output = readAudioFile(folder / "synth.wav");
    ASSERT_EQ(output.channels.size(), 2u);
    EXPECT_EQ(host_test::peak(output.channels[0], 0, kRate / 2), 0.0f);
    EXPECT_GT(host_test::peak(output.channels[0], kRate / 2, kRate), 1e-3f);
}

}  // namespace
