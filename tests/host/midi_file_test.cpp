#include "host/midi_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

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

// Bytes of a type 0 file with one track chunk that declares `declared` bytes and holds `events`.
std::string oneTrackFile(char declared, const std::string& events) {
    using namespace std::string_literals;
    return "MThd\0\0\0\6\0\0\0\1\0\x60"s + "MTrk\0\0\0"s + declared + events;
}

const std::string kEvents("\0\x90\x24\x64\x83\x60\x90\x37\x64\0\xff\x2f\0", 13);

// libsmf trusts every declared length and stops the program on a track that ends inside an
// event: such files are refused before they get there. Stray bytes after the last chunk are left
// out, as are bytes after a track's end-of-track event.
TEST(MidiFile, TracksAndChunksRunningPastTheirEndAreRefused) {
    host_test::TempFolder folder;
    const auto write = [&](const std::string& name, const std::string& bytes) {
        std::ofstream(folder / name, std::ios::binary) << bytes;
        return folder / name;
    };
    EXPECT_EQ(readMidiFile(write("whole.mid", oneTrackFile(13, kEvents))).size(), 2u);
    EXPECT_EQ(readMidiFile(write("padded.mid", oneTrackFile(13, kEvents) + "\x01\x02")).size(), 2u);
    EXPECT_EQ(readMidiFile(write("after.mid", oneTrackFile(15, kEvents + "\x90\x30"))).size(), 2u);
    const struct {
        std::string bytes;
        const char* problem;
    } cases[] = {
        {oneTrackFile(14, kEvents), "a chunk of 14 bytes runs past the end of the file"},
        {oneTrackFile('\xf8', kEvents), "a chunk of 248 bytes runs past the end of the file"},
        {oneTrackFile(10, kEvents.substr(0, 10)), "a track ends without its end-of-track event"},
        {oneTrackFile(8, kEvents.substr(0, 8)), "an event runs past the end of its track"},
        {oneTrackFile(4, std::string("\0\xff\x01\x05", 4)), "an event runs past the end of its track"},
        {oneTrackFile(5, std::string("\x81\x81\x81\x81\x01", 5)),
         "a track ends without its end-of-track event"},
    };
    for (const auto& c : cases) {
        const auto path = write("cut.mid", c.bytes);
        try {
            readMidiFile(path);
            FAIL() << c.problem;
        } catch (const HostError& error) {
            EXPECT_EQ(std::string(error.what()),
                      path.string() + ": not a readable Standard MIDI File (" + c.problem + ")");
        }
    }
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
