#include "host/live_processor.h"

#include <algorithm>
#include <limits>

#include "host/plugin.h"

namespace {

size_t pluginInputCount(const Plugin& plugin, size_t inputPorts) {
    return std::max(static_cast<size_t>(std::max(plugin.record().numInputs, 0)), inputPorts);
}

bool isShortMessage(const uint8_t* bytes, size_t size) {
    constexpr uint8_t kSystemExclusive = 0xF0;
    constexpr uint8_t kEndOfExclusive = 0xF7;
    return size >= 1 && size <= 3 && bytes[0] >= 0x80 && bytes[0] != kSystemExclusive &&
           bytes[0] != kEndOfExclusive;
}

}  // namespace

LiveProcessor::LiveProcessor(Plugin& hosted, size_t ports, size_t eventCapacity)
    : plugin(hosted), inputPorts(ports), inputCopies(pluginInputCount(hosted, ports)),
      segmentInputs(inputCopies.size()),
      segmentOutputs(static_cast<size_t>(std::max(hosted.record().numOutputs, 0))),
      queue(eventCapacity), segmentEvents(eventCapacity) {}

void LiveProcessor::prepare(uint32_t maxFrames) {
    for (auto& copy : inputCopies) {
        copy.assign(maxFrames, 0.0f);
    }
}

bool LiveProcessor::queueMidi(uint32_t frame, const uint8_t* bytes, size_t size) {
    if (queued == queue.size() || !isShortMessage(bytes, size)) {
        return false;
    }
    QueuedEvent& event = queue[queued];
    // Frames never go backwards, even if a sender's do.
    event.frame = queued > 0 ? std::max(frame, queue[queued - 1].frame) : frame;
    event.message = MidiMessage{};
    std::copy_n(bytes, size, event.message.bytes.begin());
    ++queued;
    return true;
}

void LiveProcessor::process(const float* const* inputs, float* const* outputs, uint32_t frames) {
    const auto room = static_cast<uint32_t>(inputCopies.empty() ? frames : inputCopies[0].size());
    const uint32_t runnable = std::min(frames, room);
    copyInputs(inputs, runnable);
    size_t next = 0;
    uint32_t start = 0;
    do {
        sendEventsDueAt(start, next);
        const uint32_t end = next < queued ? std::min(queue[next].frame, runnable) : runnable;
        runSegment(outputs, start, end - start);
        start = end;
    } while (start < runnable);
    sendEventsDueAt(std::numeric_limits<uint32_t>::max(), next);
    for (size_t ch = 0; ch < segmentOutputs.size(); ++ch) {
        std::fill(outputs[ch] + runnable, outputs[ch] + frames, 0.0f);
    }
    queued = 0;
}

void LiveProcessor::copyInputs(const float* const* inputs, uint32_t frames) {
    for (size_t ch = 0; ch < inputCopies.size(); ++ch) {
        float* copy = inputCopies[ch].data();
        if (inputPorts == 1) {
            std::copy_n(inputs[0], frames, copy);
        } else if (ch < inputPorts) {
            std::copy_n(inputs[ch], frames, copy);
        } else {
            std::fill_n(copy, frames, 0.0f);
        }
    }
}

// Sends every queued event due at or before `frame`; events past the end of a cut block are
// sent after it, so that none is lost.
void LiveProcessor::sendEventsDueAt(uint32_t frame, size_t& next) {
    segmentEvents.clear();
    while (next < queued && queue[next].frame <= frame) {
        segmentEvents.push(queue[next].message);
        ++next;
    }
    if (!segmentEvents.empty()) {
        plugin.dispatch(effProcessEvents, 0, 0, segmentEvents.list());
    }
}

void LiveProcessor::runSegment(float* const* outputs, uint32_t start, uint32_t frames) {
    if (frames == 0) {
        return;
    }
    for (size_t ch = 0; ch < inputCopies.size(); ++ch) {
        segmentInputs[ch] = inputCopies[ch].data() + start;
    }
    for (size_t ch = 0; ch < segmentOutputs.size(); ++ch) {
        segmentOutputs[ch] = outputs[ch] + start;
    }
    plugin.process(segmentInputs.data(), segmentOutputs.data(), static_cast<int32_t>(frames),
                   static_cast<int32_t>(segmentOutputs.size()));
}
