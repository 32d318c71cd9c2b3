#include "host/timeline.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(Timeline, ATimeInSecondsFallsOnTheNearestFrame) {
    EXPECT_EQ(frameAt(2.5, 44100.0), 110250);
    EXPECT_EQ(frameAt(1.0 / 3.0, 48000.0), 16000);
    EXPECT_EQ(frameAt(0.0, 96000.0), 0);
    EXPECT_EQ(frameAt(0.49 / 44100.0, 44100.0), 0);
    EXPECT_EQ(frameAt(0.51 / 44100.0, 44100.0), 1);
}

TEST(Timeline, SortsByFrameAndKeepsTheGivenOrderWithinAFrame) {
    const std::vector<TimedMessage> messages{
        {2.0, MidiMessage::noteOn(1, 1)},
        {1.0, MidiMessage::noteOn(2, 1)},
        {2.0, MidiMessage::noteOn(3, 1)},
        {1.0 + 0.1 / 44100.0, MidiMessage::noteOn(4, 1)},  // the same frame as 1.0
        {0.5, MidiMessage::noteOn(5, 1)},
    };
    const auto scheduled = scheduleMessages(messages, 44100.0);
    std::vector<int> notes;
    std::vector<int64_t> frames;
    for (const auto& entry : scheduled) {
        notes.push_back(entry.message.data1());
        frames.push_back(entry.frame);
    }
    EXPECT_EQ(notes, (std::vector<int>{5, 2, 4, 1, 3}));
    EXPECT_EQ(frames, (std::vector<int64_t>{22050, 44100, 44100, 88200, 88200}));
}

// A cue sheet may name any finite time; one beyond every render's end must come after everything
// and never, not at the first frame.
TEST(Timeline, ATimeTooFarForAFrameNumberComesLast) {
    constexpr int64_t kLast = std::numeric_limits<int64_t>::max();
    EXPECT_EQ(frameAt(1.0e73, 44100.0), kLast);
    EXPECT_EQ(frameAt(std::numeric_limits<double>::max(), 8000.0), kLast);
    EXPECT_EQ(frameAt(2.0e14, 192000.0), kLast);
    EXPECT_EQ(frameAt(4.0e13, 192000.0), 7'680'000'000'000'000'000);
    const auto scheduled = scheduleMessages(
        {{1.0e73, MidiMessage::noteOn(1, 1)}, {1.0, MidiMessage::noteOn(2, 1)}}, 44100.0);
    ASSERT_EQ(scheduled.size(), 2u);
    EXPECT_EQ(scheduled[0].message.data1(), 2);
    EXPECT_EQ(scheduled[1].frame, kLast);
}

}  // namespace
