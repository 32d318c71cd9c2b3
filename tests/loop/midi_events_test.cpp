// The host's event lists: which entries reach the commands, in what order, on which channels; and
// the commands heard through a loaded plug-in.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

#include "tests/loop/loop_command_fixture.h"
#include "tests/support/midi_event.h"
#include "tests/support/plugin_host.h"

namespace {

using Slots = std::vector<float>;

// A host's event list of any length: VstEvents with its entry array sized to the events.
template <size_t Count>
struct EventList {
    int32_t numEvents = static_cast<int32_t>(Count);
    intptr_t reserved = 0;
    VstEvent* events[Count] = {};

    VstEvents* list() { return reinterpret_cast<VstEvents*>(this); }
};
static_assert(offsetof(EventList<1>, events) == offsetof(VstEvents, events));

VstEvent* entry(VstMidiEvent& event) { return reinterpret_cast<VstEvent*>(&event); }

class MidiEvents : public LoopCommandTest, public ::testing::Test {
protected:
    intptr_t dispatchEvents(VstEvents* events) {
        AEffect* record = effect.getAeffect();
        return record->dispatcher(record, effProcessEvents, 0, 0, events, 0.0f);
    }
};

TEST_F(MidiEvents, NullListAnswersOneAndChangesNothing) {
    setUpLoop(countingLoop(4), 1, 2);
    const LoopState before = probe.state();
    EXPECT_EQ(effect.processEvents(nullptr), 1);
    EXPECT_EQ(dispatchEvents(nullptr), 1);
    EXPECT_EQ(probe.state(), before);
}

TEST_F(MidiEvents, CountsOfZeroOrBelowProcessNothing) {
    setUpLoop(countingLoop(4), 1, 2);
    const LoopState before = probe.state();
    VstMidiEvent doubling = midiEvent(0x90, midi::kDouble, 100);
    EventList<1> events;
    events.events[0] = entry(doubling);
    for (const int32_t count : {0, -1, std::numeric_limits<int32_t>::min()}) {
        events.numEvents = count;
        EXPECT_EQ(dispatchEvents(events.list()), 1);
        EXPECT_EQ(probe.state(), before) << count;
    }
}

TEST_F(MidiEvents, NullEntriesAndOtherEventTypesAreSkipped) {
    setUpLoop(countingLoop(4), 1, 2);
    VstMidiEvent notMidi = midiEvent(0x90, midi::kMirror, 100);
    notMidi.type = 6;  // a system-exclusive record
    VstMidiEvent doubling = midiEvent(0x90, midi::kDouble, 100);
    EventList<4> events;
    events.events[0] = nullptr;
    events.events[1] = entry(notMidi);
    events.events[2] = nullptr;
    events.events[3] = entry(doubling);
    EXPECT_EQ(dispatchEvents(events.list()), 1);
    EXPECT_EQ(probe.loop(), (Slots{1, 2, 3, 4, 1, 2, 3, 4}));
}

// All events of a list act at once, in list order, whatever frame they are stamped with.
TEST_F(MidiEvents, EventsRunInListOrderWithinTheCall) {
    VstMidiEvent doubling = midiEvent(0x90, midi::kDouble, 100, 60);
    VstMidiEvent folding = midiEvent(0x90, midi::kFold, 100, 0);
    const struct {
        VstMidiEvent* first;
        VstMidiEvent* second;
        Slots loop;
    } orders[] = {{&doubling, &folding, {2, 4, 6, 8}}, {&folding, &doubling, {4, 6, 4, 6}}};
    for (const auto& order : orders) {
        setUpLoop(countingLoop(4), 0, 0);
        EventList<2> events;
        events.events[0] = entry(*order.first);
        events.events[1] = entry(*order.second);
        EXPECT_EQ(dispatchEvents(events.list()), 1);
        EXPECT_EQ(probe.loop(), order.loop);
    }
}

// Data bytes of 128..255 count as negative: no velocity, no note number, no controller value.
TEST_F(MidiEvents, DataBytesAbove127AreNoValues) {
    setUpLoop(countingLoop(4), 1, 2);
    probe.setRecording(true);
    const LoopState before = probe.state();
    VstMidiEvent messages[] = {
        midiEvent(0x90, midi::kDouble, 0x80), midiEvent(0x90, midi::kDouble, 0xFF),
        midiEvent(0x90, midi::kDouble + 0x80, 100), midiEvent(0xB0, midi::kLoopLength, 0x80),
        midiEvent(0xB0, midi::kLoopLength, 0xFF), midiEvent(0xB0, midi::kLoopLength + 0x80, 5)};
    for (VstMidiEvent& message : messages) {
        EventList<1> events;
        events.events[0] = entry(message);
        dispatchEvents(events.list());
        ASSERT_EQ(probe.state(), before);
    }
    VstMidiEvent pedal = midiEvent(0xB0, midi::kSustain, 0xC1);
    EventList<1> events;
    events.events[0] = entry(pedal);
    dispatchEvents(events.list());
    EXPECT_FALSE(probe.recording());
}

// Every message of a short performance, sent on one MIDI channel.
LoopState perform(int channel) {
    FakeHost host;
    LoopEffect effect(FakeHost::callback);
    LoopEffectProbe probe(effect);
    probe.setLoop(countingLoop(6));
    const VstMidiEvent performance[] = {
        midiEvent(0x90 | channel, midi::kReverse, 1),
        midiEvent(0x90 | channel, midi::kMirror, 127),
        midiEvent(0x80 | channel, midi::kMirror, 64),
        midiEvent(0x90 | channel, midi::kHalfSpeed, 100),
        midiEvent(0xB0 | channel, midi::kSustain, 127),
        midiEvent(0x90 | channel, midi::kSetMarker, 100),
        midiEvent(0x90 | channel, midi::kAddReverse, 100),
        midiEvent(0x90 | channel, midi::kFold, 100),
    };
    for (VstMidiEvent message : performance) {
        EventList<1> events;
        events.events[0] = entry(message);
        effect.processEvents(events.list());
    }
    LoopState state = probe.state();
    state.buffer = nullptr;
    return state;
}

class EveryChannel : public ::testing::TestWithParam<int> {};

TEST_P(EveryChannel, ActsLikeTheFirst) {
    const LoopState first = perform(0);
    EXPECT_EQ(first.loopLength, 12);
    EXPECT_TRUE(first.reverse);
    EXPECT_TRUE(first.recording);
    EXPECT_EQ(perform(GetParam()), first);
}

INSTANTIATE_TEST_SUITE_P(Channels, EveryChannel, ::testing::Range(1, 16));

// Through the loaded library, as a host drives it: the commands shape what is heard.
class HostedLoop : public ::testing::Test {
protected:
    static constexpr int32_t kLoop = 44100;  // a one-second loop
    static constexpr int32_t kBlock = 4410;

    HostedLoop() : hosted(library, FakeHost::callback) { hosted.dispatch(effMainsChanged, 0, 1); }

    // Runs `input` through the effect in blocks and answers output 0; output 1 must match it.
    Slots play(const Slots& input) {
        Slots heard;
        for (size_t start = 0; start < input.size(); start += kBlock) {
            const size_t frames = std::min<size_t>(kBlock, input.size() - start);
            std::vector<Slots> inputs{Slots(input.begin() + static_cast<std::ptrdiff_t>(start),
                                            input.begin() +
                                                static_cast<std::ptrdiff_t>(start + frames))};
            std::vector<Slots> outputs(2, Slots(frames, -1.0f));
            hosted.processReplacing(inputs, outputs, static_cast<int32_t>(frames));
            EXPECT_EQ(outputs[0], outputs[1]);
            heard.insert(heard.end(), outputs[0].begin(), outputs[0].end());
        }
        return heard;
    }

    static Slots silence(size_t frames) { return Slots(frames, 0.0f); }

    FakeHost host;
    PluginLibrary library;
    HostedEffect hosted;
};

TEST_F(HostedLoop, RecordsWithNote67AndPlaysItBackOneLoopLater) {
    hosted.sendMidi(0xB0, midi::kLoopLength, 1);
    Slots phrase(1000);
    for (size_t i = 0; i < phrase.size(); ++i) {
        phrase[i] = static_cast<float>(i % 50) / 50.0f - 0.5f;
    }

    hosted.sendMidi(0x90, midi::kRecord, 100);
    EXPECT_EQ(play(phrase), silence(phrase.size()));
    hosted.sendMidi(0x93, midi::kRecord, 100);  // stopped from channel 4
    EXPECT_EQ(play(silence(kLoop - phrase.size())), silence(kLoop - phrase.size()));

    // The phrase comes back as it was written: faded in by the write gain's ramp.
    Slots expected(phrase.size());
    float level = 0.0f;
    for (size_t i = 0; i < phrase.size(); ++i) {
        if (level < 1.0f) {
            level += 0.005f;
        }
        expected[i] = phrase[i] * level;
    }
    const Slots second = play(silence(kLoop));
    EXPECT_EQ(Slots(second.begin(), second.begin() + 1000), expected);
    EXPECT_EQ(Slots(second.begin() + 1000, second.end()), silence(kLoop - 1000));

    // Reverse from channel 4 plays it backwards from the slot before the start.
    hosted.sendMidi(0x93, midi::kReverse, 100);
    const Slots backwards = play(silence(kLoop));
    EXPECT_EQ(backwards[0], expected[0]);
    for (size_t i = 1; i < 1000; ++i) {
        ASSERT_EQ(backwards[kLoop - i], expected[i]) << i;
    }

    // Clear from channel 4 silences the next pass.
    hosted.sendMidi(0x93, midi::kClear, 100);
    EXPECT_EQ(play(silence(kLoop)), silence(kLoop));
}

TEST_F(HostedLoop, DoubledLoopRepeatsThePhraseHalfwayThrough) {
    hosted.sendMidi(0xB0, midi::kLoopLength, 1);
    hosted.sendMidi(0x90, midi::kRecord, 100);
    Slots phrase(kLoop, 0.0f);
    phrase[300] = 1.0f;
    play(phrase);
    hosted.sendMidi(0x90, midi::kRecord, 100);
    hosted.sendMidi(0x9F, midi::kDouble, 100);  // channel 16
    const Slots heard = play(silence(2 * kLoop));
    const float written = heard[300];
    EXPECT_GT(written, 0.9f);
    EXPECT_EQ(heard[kLoop + 300], written);
    EXPECT_EQ(std::count(heard.begin(), heard.end(), 0.0f), 2 * kLoop - 2);
}

}  // namespace
