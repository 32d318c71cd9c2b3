#include "host/audio_file.h"

#include <gtest/gtest.h>

#include "host/host_error.h"
#include "host/replacing_file.h"
#include "tests/host/host_test_support.h"

namespace {

struct Format {
    const char* name;
    float tolerance;  // 0: bit for bit
};

void PrintTo(const Format& format, std::ostream* out) {
    *out << format.name;
}

class AudioFileFormat : public testing::TestWithParam<Format> {};

TEST_P(AudioFileFormat, KeepsRateChannelsFramesAndSamples) {
    host_test::TempFolder folder;
    const AudioBuffer written = host_test::tone(2, 3000, 48000);
    writeAudioFile(folder / GetParam().name, written);
    const AudioBuffer read = readAudioFile(folder / GetParam().name);
    EXPECT_EQ(read.sampleRate, 48000);
    ASSERT_EQ(read.channels.size(), 2u);
    ASSERT_EQ(read.frames(), 3000);
    for (size_t ch = 0; ch < 2; ++ch) {
        for (size_t i = 0; i < 3000; ++i) {
            ASSERT_NEAR(read.channels[ch][i], written.channels[ch][i], GetParam().tolerance)
                << GetParam().name << " channel " << ch << " frame " << i;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Extensions, AudioFileFormat,
                         testing::Values(Format{"out.wav", 0.0f}, Format{"out.WAV", 0.0f},
                                         Format{"out", 0.0f},
                                         Format{"out.aiff", 0.0f}, Format{"out.aif", 0.0f},
                                         Format{"out.flac", 1.0f / 4194304.0f}));

TEST(AudioFile, RefusesAnUnknownOutputExtension) {
    host_test::TempFolder folder;
    try {
        writeAudioFile(folder / "out.mp3", host_test::tone(1, 10));
        FAIL();
    } catch (const HostError& error) {
        EXPECT_EQ(std::string(error.what()),
                  (folder / "out.mp3").string() +
                      ": unknown output format '.mp3' (use .wav, .flac, .aif or .aiff)");
    }
    EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
}

TEST(AudioFile, ReadingNamesTheFileAndTheProblem) {
    host_test::TempFolder folder;
    host_test::writeText(folder / "notes.wav", "these are words, not sound");
    const std::vector<std::pair<std::filesystem::path, std::string>> cases{
        {folder / "missing.wav", "no such audio file"},
        {folder.path(), "not an audio file"},
        {folder / "notes.wav", "not an audio file that can be read ("},
    };
    for (const auto& [path, problem] : cases) {
        try {
            readAudioFile(path);
            ADD_FAILURE() << path;
        } catch (const HostError& error) {
            EXPECT_EQ(std::string(error.what()).rfind(path.string() + ": " + problem, 0), 0u)
                << error.what();
        }
    }
}

TEST(ReplacingFile, LeavesTheTargetAloneUntilCommittedAndCleansUp) {
    host_test::TempFolder folder;
    host_test::writeText(folder / "take.wav", "the old take");
    {
        const ReplacingFile file(folder / "take.wav");
        host_test::writeText(file.temporaryPath(), "half a new take");
        EXPECT_EQ(file.temporaryPath().parent_path(), folder.path());
    }
    EXPECT_EQ(host_test::readText(folder / "take.wav"), "the old take");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                            std::filesystem::directory_iterator()),
              1);
    {
        ReplacingFile file(folder / "take.wav");
        host_test::writeText(file.temporaryPath(), "the new take");
        file.commit();
    }
    EXPECT_EQ(host_test::readText(folder / "take.wav"), "the new take");
}

}  // namespace
