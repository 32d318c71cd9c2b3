#include "host/cue_sheet.h"

#include <gtest/gtest.h>

#include "host/host_error.h"
#include "tests/host/host_test_support.h"

namespace {

struct GoodLine {
    const char* line;
    double seconds;
    MidiMessage message;
};

void PrintTo(const GoodLine& line, std::ostream* out) {
    *out << line.line;
}

class CueSheetLine : public testing::TestWithParam<GoodLine> {};

TEST_P(CueSheetLine, GivesItsMessageAtItsTime) {
    const auto messages = parseCueSheet(GetParam().line, "cues.txt");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_DOUBLE_EQ(messages[0].seconds, GetParam().seconds);
    EXPECT_EQ(messages[0].message, GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    EveryCommand, CueSheetLine,
    testing::Values(GoodLine{"0 clear", 0.0, {{0x90, 36, 100}}},
                    GoodLine{"0.5 reverse", 0.5, {{0x90, 48, 100}}},
                    GoodLine{"1 half-speed", 1.0, {{0x90, 55, 100}}},
                    GoodLine{"2.5 record", 2.5, {{0x90, 67, 100}}},
                    GoodLine{"3 recall-marker", 3.0, {{0x90, 72, 100}}},
                    GoodLine{"3 set-marker", 3.0, {{0x90, 75, 100}}},
                    GoodLine{"4 fold", 4.0, {{0x90, 82, 100}}},
                    GoodLine{"4 double", 4.0, {{0x90, 84, 100}}},
                    GoodLine{"4 mirror", 4.0, {{0x90, 87, 100}}},
                    GoodLine{"4 add-reverse", 4.0, {{0x90, 91, 100}}},
                    GoodLine{"1 sustain 127", 1.0, {{0xB0, 64, 127}}},
                    GoodLine{"1 sustain 0", 1.0, {{0xB0, 64, 0}}},
                    GoodLine{"7 loop-length 2", 7.0, {{0xB0, 127, 2}}},
                    GoodLine{"1.25 note 60", 1.25, {{0x90, 60, 100}}},
                    GoodLine{"1.25 note 60 7", 1.25, {{0x90, 60, 7}}},
                    GoodLine{"2 note-off 60", 2.0, {{0x80, 60, 0}}},
                    GoodLine{"4 cc 7 90", 4.0, {{0xB0, 7, 90}}},
                    GoodLine{"  \t9   record   # with a comment\r", 9.0, {{0x90, 67, 100}}}));

struct BadLine {
    const char* line;
    const char* problem;
};

void PrintTo(const BadLine& line, std::ostream* out) {
    *out << line.line;
}

class CueSheetError : public testing::TestWithParam<BadLine> {};

// The bad line comes third, after a comment and a good line, so its number is 3.
TEST_P(CueSheetError, NamesTheSourceTheLineAndTheProblem) {
    const std::string text = std::string("# cues\n1 record\n") + GetParam().line + "\n4 record\n";
    try {
        parseCueSheet(text, "cues.txt");
        FAIL() << "accepted: " << GetParam().line;
    } catch (const HostError& error) {
        const std::string message = error.what();
        EXPECT_EQ(message.rfind("cues.txt: line 3: ", 0), 0u) << message;
        EXPECT_NE(message.find(GetParam().problem), std::string::npos) << message;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Mistakes, CueSheetError,
    testing::Values(BadLine{"2 recrod", "unknown command 'recrod'"},
                    BadLine{"x record", "'x' is not a time"},
                    BadLine{"-1 record", "'-1' is not a time"},
                    BadLine{"nan record", "'nan' is not a time"},
                    BadLine{"2s record", "'2s' is not a time"},
                    BadLine{"2", "needs a command"},
                    BadLine{"2 record now", "takes no value"},
                    BadLine{"2 sustain", "needs a pedal value"},
                    BadLine{"2 sustain 128", "'128' is not a pedal value"},
                    BadLine{"2 loop-length -1", "'-1' is not a length"},
                    BadLine{"2 note", "needs a note number"},
                    BadLine{"2 note 60 100 1", "takes 2 value(s)"},
                    BadLine{"2 note 200", "'200' is not a note number"},
                    BadLine{"2 cc 7", "needs a controller value"},
                    BadLine{"2 cc 7 1.5", "'1.5' is not a controller value"}));

TEST(CueSheet, KeepsTheOrderOfItsLinesAndSkipsBlanksAndComments) {
    const auto messages = parseCueSheet("# intro\n\n3 record\n1 reverse # early\n\n", "cues.txt");
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_DOUBLE_EQ(messages[0].seconds, 3.0);
    EXPECT_DOUBLE_EQ(messages[1].seconds, 1.0);
}

TEST(CueSheet, ReadsAFileByName) {
    host_test::TempFolder folder;
    host_test::writeText(folder / "cues.txt", "1 record\n2 record\n");
    EXPECT_EQ(loadCueSheet((folder / "cues.txt").string()).size(), 2u);
}

TEST(CueSheet, TakesInlineTextWithSemicolonsBetweenLines) {
    const auto messages = loadCueSheet("1 record; 2 clear;3 sustain 127");
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[2].message, MidiMessage::controller(64, 127));
    try {
        loadCueSheet("1 record; 2 bogus");
        FAIL();
    } catch (const HostError& error) {
        EXPECT_STREQ(error.what(), "cue text: line 2: unknown command 'bogus'");
    }
}

TEST(CueSheet, AMissingFileIsNamed) {
    try {
        loadCueSheet("/nonexistent/cues.txt");
        FAIL();
    } catch (const HostError& error) {
        EXPECT_STREQ(error.what(), "/nonexistent/cues.txt: no such cue sheet file");
    }
}

}  // namespace
