// The fixed-capacity event list: what a plug-in reads from it, and that it refuses to grow.
#include <gtest/gtest.h>

#include <cstring>

#include "host/midi_event_list.h"

namespace {

const VstMidiEvent& eventAt(VstEvents* list, size_t index) {
    VstEvent* event = nullptr;
    std::memcpy(&event,
                reinterpret_cast<const unsigned char*>(list) + offsetof(VstEvents, events) +
                    index * sizeof(VstEvent*),
                sizeof event);
    return *reinterpret_cast<const VstMidiEvent*>(event);
}

TEST(MidiEventList, HoldsMidiRecordsInOrderUpToItsCapacity) {
    MidiEventList list(3);
    EXPECT_TRUE(list.push(MidiMessage::noteOn(67, 100)));
    EXPECT_TRUE(list.push(MidiMessage::controller(127, 1), 5));
    EXPECT_TRUE(list.push(MidiMessage{{0xF8, 0, 0}}));
    EXPECT_FALSE(list.push(MidiMessage::noteOn(36, 100)));

    VstEvents* events = list.list();
    ASSERT_EQ(events->numEvents, 3);
    const VstMidiEvent& second = eventAt(events, 1);
    EXPECT_EQ(second.type, kVstMidiType);
    EXPECT_EQ(second.byteSize, static_cast<int32_t>(sizeof(VstMidiEvent)));
    EXPECT_EQ(second.deltaFrames, 5);
    EXPECT_EQ(static_cast<uint8_t>(second.midiData[0]), 0xB0);
    EXPECT_EQ(second.midiData[1], 127);
    EXPECT_EQ(second.midiData[2], 1);
    EXPECT_EQ(eventAt(events, 0).midiData[1], 67);
    EXPECT_EQ(eventAt(events, 0).deltaFrames, 0);

    list.clear();
    EXPECT_EQ(list.list()->numEvents, 0);
    EXPECT_TRUE(list.push(MidiMessage::noteOn(36, 100)));
    EXPECT_EQ(eventAt(list.list(), 0).midiData[1], 36);
}

}  // namespace
