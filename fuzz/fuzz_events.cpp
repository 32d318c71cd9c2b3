#include "fuzz/fuzz_events.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <new>

#include "tests/support/midi_event.h"

namespace {

constexpr uint8_t kLongestList = 64;
// Count bytes from here on announce a negative number of events, with none in the list.
constexpr uint8_t kNegativeCounts = 0xF0;

struct Message {
    uint8_t status;
    uint8_t data1;
};

// The loop's commands: ten note-ons and two controllers.
constexpr Message kCommands[] = {
    {0x90, 36}, {0x90, 48}, {0x90, 55}, {0x90, 67}, {0x90, 72},  {0x90, 75},
    {0x90, 82}, {0x90, 84}, {0x90, 87}, {0x90, 91}, {0xB0, 64}, {0xB0, 127},
};
constexpr uint8_t kCommandCount = sizeof kCommands / sizeof kCommands[0];

}  // namespace

FuzzEvents::FuzzEvents(FuzzInput& input) {
    const uint8_t count = input.byte();
    if (count >= kNegativeCounts) {
        build(kNegativeCounts - 1 - count);
        return;
    }
    for (uint8_t i = 0; i < count % (kLongestList + 1); ++i) {
        if (input.byte() % 4 != 0) {
            const uint8_t status = input.byte();
            const uint8_t data1 = input.byte();
            const uint8_t data2 = input.byte();
            addMidi(status, data1, data2, input.index());
        } else {
            addOther(input);
        }
    }
    build(static_cast<int32_t>(records.size()));
}

FuzzEvents FuzzEvents::command(FuzzInput& input) {
    FuzzEvents events;
    const uint8_t choice = input.byte();
    const Message message = kCommands[choice % kCommandCount];
    const auto channel = static_cast<uint8_t>((choice / kCommandCount) & 0x0F);
    events.addMidi(static_cast<uint8_t>(message.status | channel), message.data1, input.byte(), 0);
    events.build(1);
    return events;
}

void FuzzEvents::addMidi(uint8_t status, uint8_t data1, uint8_t data2, int32_t deltaFrames) {
    records.push_back(midiEvent(status, data1, data2, deltaFrames));
}

// Any other kind of event: a record of the common size whose type is not MIDI.
void FuzzEvents::addOther(FuzzInput& input) {
    VstEvent other{};
    other.type = input.index();
    if (other.type == kVstMidiType) {
        other.type = kVstMidiType + 5;
    }
    other.byteSize = static_cast<int32_t>(sizeof other.data);
    other.deltaFrames = input.index();
    input.fill(other.data, sizeof other.data);
    VstMidiEvent record{};
    static_assert(sizeof record == sizeof other);
    std::memcpy(&record, &other, sizeof other);
    records.push_back(record);
}

void FuzzEvents::build(int32_t announced) {
    // The header and one pointer per record; at least the two entries the declared type holds.
    const size_t slots = std::max<size_t>(records.size(), 2);
    const size_t bytes = offsetof(VstEvents, events) + slots * sizeof(VstEvent*);
    storage.reset(new unsigned char[bytes]());
    auto* events = new (storage.get()) VstEvents{};
    events->numEvents = announced;
    // The entries run past the declared array into the storage sized for them.
    auto** entries = reinterpret_cast<VstEvent**>(storage.get() + offsetof(VstEvents, events));
    for (size_t i = 0; i < records.size(); ++i) {
        entries[i] = reinterpret_cast<VstEvent*>(&records[i]);
    }
}
