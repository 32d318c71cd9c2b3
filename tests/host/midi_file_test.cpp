#include "host/midi_file.h"

#include <gtest/gtest.h>

#include "host/host_error.h"
#include "tests/host/host_test_support.h"
#include "tests/host/midi_file_writer.h"

namespace {

using host_test::MidiFileEvent;
using host_test::TempoChange;

constexpr int kPpqn = 480;
constexpr int k120Bpm = 500000;
constexpr int k60Bpm = 1000000;

TEST(MidiFile, HonoursTempoChangesAcrossTracks) {
    host_test::TempFolder folder;
    // 120 bpm for the first 2 beats (1 s), then 60 bpm: beat 3 falls at 2 s, beat 4 at 3 s.
    host_test::writeMidiFile(folder / "song.mid", 2, kPpqn, {{0, k120Bpm}, {2 * kPpqn, k60Bpm}},
                             {{1, kPpqn, {0x90, 67, 100}},
                              {1, 3 * kPpqn, {0xB0, 64, 127}},
                              {1, 4 * kPpqn, {0x83, 67, 0}}});
    const auto messages = readMidiFile(folder / "song.mid");
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_NEAR(messages[0].seconds, 0.5, 1e-9);
    EXPECT_EQ(messages[0].message, MidiMessage::noteOn(67, 100));
    EXPECT_NEAR(messages[1].seconds, 2.0, 1e-9);
    EXPECT_EQ(messages[1].message, MidiMessage::controller(64, 127));
    EXPECT_NEAR(messages[2].seconds, 3.0, 1e-9);
    EXPECT_EQ(messages[2].message, (MidiMessage{{0x83, 67, 0}}));
}

TEST(MidiFile, ReadsTypeZeroWithTwoByteMessages) {
    host_test::TempFolder folder;
    host_test::writeMidiFile(folder / "one.mid", 1, kPpqn, {{0, k120Bpm}},
                             {{0, 0, {0xC0, 5, 0}}, {0, kPpqn, {0x90, 36, 90}}});
    const auto messages = readMidiFile(folder / "one.mid");
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].message, (MidiMessage{{0xC0, 5, 0}}));
    EXPECT_NEAR(messages[1].seconds, 0.5, 1e-9);
}

struct BadFile {
    const char* name;
    const char* content;  // nullptr: no file at all
    const char* problem;
};

void PrintTo(const BadFile& file, std::ostream* out) {
    *out << file.name;
}

class MidiFileError : public testing::TestWithParam<BadFile> {};

TEST_P(MidiFileError, NamesTheFileAndTheProblem) {
    host_test::TempFolder folder;
    const auto path = folder / GetParam().name;
    if (GetParam().content != nullptr) {
        host_test::writeText(path, GetParam().content);
    }
    try {
        readMidiFile(path);
        FAIL();
    } catch (const HostError& error) {
        const std::string message = error.what();
        EXPECT_EQ(message.rfind(path.string() + ": ", 0), 0u) << message;
        EXPECT_NE(message.find(GetParam().problem), std::string::npos) << message;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, MidiFileError,
    testing::Values(BadFile{"missing.mid", nullptr, "no such MIDI file"},
                    BadFile{"text.mid", "this is not MIDI at all", "not a readable Standard MIDI File"},
                    BadFile{"cut.mid", "MThd", "not a readable Standard MIDI File"}));

}  // namespace
