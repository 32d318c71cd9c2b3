// The MIDI commands: note-ons and two controllers that reshape and steer the loop.
//
// A command that reshapes the loop builds the new buffer in one pass over the old one and then
// installs it; the old buffer is released as the new one takes its place. When the new buffer
// cannot be had, the command leaves the loop state exactly as it was and the old loop plays on.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <new>

#include "loop/loop_effect.h"

namespace {

constexpr int32_t kNoteOn = 0x90;
constexpr int32_t kControlChange = 0xB0;

constexpr int32_t kClearNote = 36;
constexpr int32_t kReverseNote = 48;
constexpr int32_t kHalfSpeedNote = 55;
constexpr int32_t kRecordNote = 67;
constexpr int32_t kRecallMarkerNote = 72;
constexpr int32_t kSetMarkerNote = 75;
constexpr int32_t kFoldNote = 82;
constexpr int32_t kDoubleNote = 84;
constexpr int32_t kMirrorNote = 87;
constexpr int32_t kAddReverseNote = 91;

constexpr int32_t kSustainController = 64;
constexpr int32_t kLoopLengthController = 127;
constexpr int32_t kSustainThreshold = 64;
constexpr int32_t kDefaultSeconds = LoopEffect::kInitialLength / LoopEffect::kSlotsPerSecond;
constexpr int32_t kMaxSeconds = LoopEffect::kSizeLimitPerChannel / LoopEffect::kSlotsPerSecond;

// Uninitialised: for buffers whose every slot is written before use.
float* allocateSlots(int32_t count) {
    return new (std::nothrow) float[static_cast<size_t>(count)];
}

size_t bytesOf(int32_t slots) { return static_cast<size_t>(slots) * sizeof(float); }

// A stored index doubled; it saturates rather than overflow (a marker outside the loop can keep
// growing with stretches that have no halving to match).
int32_t doubledIndex(int32_t index) {
    const int64_t doubled = int64_t{index} * 2;
    return static_cast<int32_t>(std::clamp<int64_t>(doubled, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

// Every slot twice: old slot i fills new slots 2i and 2i+1.
void stretchSlots(const float* __restrict old, int32_t length, float* __restrict stretched) {
    for (int32_t i = 0; i < length; ++i) {
        stretched[2 * i] = old[i];
        stretched[2 * i + 1] = old[i];
    }
}

// Every frame twice. A last slot without a partner fills both of the last two new slots.
void stretchFrames(const float* __restrict old, int32_t length, float* __restrict stretched) {
    const int32_t frames = length / 2;
    for (int32_t k = 0; k < frames; ++k) {
        float* const pair = stretched + 4 * k;
        std::memcpy(pair, old + 2 * k, 2 * sizeof(float));
        std::memcpy(pair + 2, old + 2 * k, 2 * sizeof(float));
    }
    if (length % 2 != 0) {
        stretched[2 * length - 2] = old[length - 1];
        stretched[2 * length - 1] = old[length - 1];
    }
}

// Every other slot, from slot 0.
void halveSlots(const float* __restrict old, int32_t half, float* __restrict halved) {
    for (int32_t i = 0; i < half; ++i) {
        halved[i] = old[2 * i];
    }
}

// Every other frame, from frame 0. An odd new length ends with the channel-0 slot of the frame
// that would come next.
void halveFrames(const float* __restrict old, int32_t half, float* __restrict halved) {
    const int32_t frames = half / 2;
    for (int32_t k = 0; k < frames; ++k) {
        std::memcpy(halved + 2 * k, old + 4 * k, 2 * sizeof(float));
    }
    if (half % 2 != 0) {
        halved[half - 1] = old[2 * half - 2];
    }
}

// The second half added onto the first, slot by slot.
void foldSlots(const float* __restrict old, int32_t half, float* __restrict folded) {
    for (int32_t i = 0; i < half; ++i) {
        folded[i] = old[half + i] + old[i];
    }
}

// Each slot plus the slot at the mirrored index. Both ends of a pair get the same sum, so the
// result reads the same forwards and backwards bit for bit.
void addReversedSlots(const float* __restrict old, int32_t length, float* __restrict summed) {
    for (int32_t i = 0, j = length - 1; i <= j; ++i, --j) {
        const float sum = old[j] + old[i];
        summed[i] = sum;
        summed[j] = sum;
    }
}

}  // namespace

int32_t LoopEffect::processEvents(VstEvents* events) {
    if (events == nullptr) {
        return 1;
    }
    // The host sizes the entry array to numEvents; read it through a plain pointer.
    VstEvent* const* const entries = events->events;
    for (int32_t i = 0; i < events->numEvents; ++i) {
        const VstEvent* const event = entries[i];
        if (event == nullptr || event->type != kVstMidiType) {
            continue;
        }
        const auto* const midi = reinterpret_cast<const VstMidiEvent*>(event);
        processMidiMessage(static_cast<unsigned char>(midi->midiData[0]) & 0xF0,
                           static_cast<int8_t>(midi->midiData[1]),
                           static_cast<int8_t>(midi->midiData[2]));
    }
    return 1;
}

void LoopEffect::processMidiMessage(int32_t status, int32_t data1, int32_t data2) {
    if (!loopBuffer) {
        return;
    }
    if (status == kNoteOn && data2 > 0) {
        runNoteCommand(data1);
    } else if (status == kControlChange && data1 == kSustainController) {
        sustain(data2);
    } else if (status == kControlChange && data1 == kLoopLengthController) {
        changeLoopLength(data2);
    }
}

void LoopEffect::runNoteCommand(int32_t note) {
    switch (note) {
    case kClearNote: clearLoop(); break;
    case kReverseNote: toggleReverse(); break;
    case kHalfSpeedNote: toggleHalfSpeed(); break;
    case kRecordNote: toggleRecording(); break;
    case kRecallMarkerNote: recallMarker(); break;
    case kSetMarkerNote: setMarker(); break;
    case kFoldNote: foldLoop(); break;
    case kDoubleNote: doubleLoop(); break;
    case kMirrorNote: mirrorLoop(); break;
    case kAddReverseNote: addReverse(); break;
    default: break;
    }
}

void LoopEffect::installLoop(float* slots, int32_t length) {
    loopBuffer.reset(slots);
    loopLength = length;
}

void LoopEffect::clearLoop() {
    std::fill_n(loopBuffer.get(), loopLength, 0.0f);
    reverse = false;
    halfSpeed = false;
}

void LoopEffect::toggleReverse() { reverse = !reverse; }

void LoopEffect::toggleRecording() { recording = !recording; }

void LoopEffect::toggleHalfSpeed() {
    const bool reshaped = halfSpeed ? halveLoop() : stretchLoop();
    if (reshaped) {
        halfSpeed = !halfSpeed;
    }
}

bool LoopEffect::stretchLoop() {
    const int32_t length = loopLength;
    if (int64_t{length} * 2 > int64_t{channels} * kStretchLimitPerChannel) {
        return false;
    }
    float* const stretched = allocateSlots(2 * length);
    if (stretched == nullptr) {
        return false;
    }
    if (channels == 2) {
        stretchFrames(loopBuffer.get(), length, stretched);
    } else {
        stretchSlots(loopBuffer.get(), length, stretched);
    }
    installLoop(stretched, 2 * length);
    position *= 2;
    marker = doubledIndex(marker);
    return true;
}

// A loop of one slot cannot be halved. With an odd length the halved position may land one past
// the new end; it goes to the last slot.
bool LoopEffect::halveLoop() {
    if (loopLength < 2) {
        return false;
    }
    const int32_t half = loopLength / 2;
    float* const halved = allocateSlots(half);
    if (halved == nullptr) {
        return false;
    }
    if (channels == 2) {
        halveFrames(loopBuffer.get(), half, halved);
    } else {
        halveSlots(loopBuffer.get(), half, halved);
    }
    installLoop(halved, half);
    position = std::min(position / 2, half - 1);
    marker /= 2;
    return true;
}

// The marker may lie outside the loop after Fold or Half speed; it then recalls the last slot.
void LoopEffect::recallMarker() { position = std::clamp(marker, 0, loopLength - 1); }

void LoopEffect::setMarker() { marker = position; }

// The second half added onto the first; with an odd length the last slot is dropped, and a loop
// of one slot stays as it is.
void LoopEffect::foldLoop() {
    if (loopLength < 2) {
        return;
    }
    const int32_t half = loopLength / 2;
    float* const folded = allocateSlots(half);
    if (folded == nullptr) {
        return;
    }
    foldSlots(loopBuffer.get(), half, folded);
    installLoop(folded, half);
    if (position >= half) {
        position = std::min(position / 2, half - 1);
    }
}

void LoopEffect::doubleLoop() {
    const int32_t length = loopLength;
    if (int64_t{length} * 2 > int64_t{channels} * kSizeLimitPerChannel) {
        return;
    }
    float* const doubled = allocateSlots(2 * length);
    if (doubled == nullptr) {
        return;
    }
    std::memcpy(doubled, loopBuffer.get(), bytesOf(length));
    std::memcpy(doubled + length, loopBuffer.get(), bytesOf(length));
    installLoop(doubled, 2 * length);
}

void LoopEffect::mirrorLoop() {
    const int32_t length = loopLength;
    if (int64_t{length} * 2 > int64_t{channels} * kSizeLimitPerChannel) {
        return;
    }
    float* const mirrored = allocateSlots(2 * length);
    if (mirrored == nullptr) {
        return;
    }
    const float* const old = loopBuffer.get();
    std::memcpy(mirrored, old, bytesOf(length));
    std::reverse_copy(old, old + length, mirrored + length);
    installLoop(mirrored, 2 * length);
}

void LoopEffect::addReverse() {
    const int32_t length = loopLength;
    float* const summed = allocateSlots(length);
    if (summed == nullptr) {
        return;
    }
    addReversedSlots(loopBuffer.get(), length, summed);
    installLoop(summed, length);
}

void LoopEffect::sustain(int32_t value) { recording = value > kSustainThreshold; }

// Data bytes of 128..255 (negative here) are no MIDI values and change nothing.
void LoopEffect::changeLoopLength(int32_t value) {
    if (value < 0) {
        return;
    }
    const int32_t seconds = value == 0 ? kDefaultSeconds : std::min(value, kMaxSeconds);
    const int32_t length = channels * seconds * kSlotsPerSecond;
    float* const silent = new (std::nothrow) float[static_cast<size_t>(length)]();
    if (silent == nullptr) {
        return;
    }
    installLoop(silent, length);
    reverse = false;
    halfSpeed = false;
    position = 0;
    marker = 0;
}
