#include "host/live_client.h"

#include <jack/midiport.h>

#include <algorithm>
#include <chrono>

#include "host/host_error.h"
#include "host/plugin.h"

namespace {

std::string numbered(const char* prefix, size_t index) {
    return prefix + std::to_string(index + 1);
}

std::string shortName(jack_port_t* port) {
    return jack_port_short_name(port);
}

}  // namespace

LiveClient::LiveClient(Plugin& hosted, const std::string& name, bool stereoIn)
    : plugin(hosted), client(name), processor(hosted, stereoIn ? 2 : 1) {
    registerPorts(stereoIn);
    setCallbacks();
}

LiveClient::~LiveClient() {
    client.deactivate();
}

void LiveClient::registerPorts(bool stereoIn) {
    for (size_t i = 0; i < (stereoIn ? 2u : 1u); ++i) {
        inputPorts.push_back(
            client.registerPort(numbered("in_", i), JACK_DEFAULT_AUDIO_TYPE, JackPortIsInput));
    }
    for (size_t i = 0; i < processor.outputCount(); ++i) {
        outputPorts.push_back(
            client.registerPort(numbered("out_", i), JACK_DEFAULT_AUDIO_TYPE, JackPortIsOutput));
    }
    midiPort = client.registerPort("midi_in", JACK_DEFAULT_MIDI_TYPE, JackPortIsInput);
    inputBuffers.assign(inputPorts.size(), nullptr);
    outputBuffers.assign(outputPorts.size(), nullptr);
}

void LiveClient::setCallbacks() {
    jack_client_t* handle = client.handle();
    if (jack_set_process_callback(handle, processEntry, this) != 0 ||
        jack_set_buffer_size_callback(handle, bufferSizeEntry, this) != 0 ||
        jack_set_xrun_callback(handle, xrunEntry, this) != 0) {
        throw HostError("the JACK server refused the client's callbacks");
    }
    jack_on_info_shutdown(handle, shutdownEntry, this);
}

void LiveClient::start() {
    plugin.connectInputs(static_cast<int32_t>(inputPorts.size()));
    reconfigure(client.sampleRate(), client.bufferSize());
    // JACK 2 calls this at once with the current rate, which is the one just applied.
    if (jack_set_sample_rate_callback(client.handle(), sampleRateEntry, this) != 0) {
        throw HostError("the JACK server refused the client's callbacks");
    }
    client.activate();
}

PhysicalConnections LiveClient::connectPhysicalPorts() {
    PhysicalConnections connections;
    const auto link = [&](const std::string& source, const std::string& destination) {
        if (client.connect(source, destination)) {
            connections.made.push_back(source + " -> " + destination);
        } else {
            connections.missing.push_back("the server refused " + source + " -> " + destination);
        }
    };
    const std::string self = name() + ":";
    const auto capture = client.physicalPorts(JACK_DEFAULT_AUDIO_TYPE, JackPortIsOutput);
    for (size_t i = 0; i < std::min(capture.size(), inputPorts.size()); ++i) {
        link(capture[i], self + shortName(inputPorts[i]));
    }
    const auto playback = client.physicalPorts(JACK_DEFAULT_AUDIO_TYPE, JackPortIsInput);
    for (size_t i = 0; i < std::min(playback.size(), outputPorts.size()); ++i) {
        link(self + shortName(outputPorts[i]), playback[i]);
    }
    // A single output sounds on both sides of a stereo system.
    if (outputPorts.size() == 1 && playback.size() >= 2) {
        link(self + shortName(outputPorts[0]), playback[1]);
    }
    const auto midi = client.physicalPorts(JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput);
    for (const std::string& device : midi) {
        link(device, self + shortName(midiPort));
    }
    if (capture.empty()) {
        connections.missing.push_back("no physical capture ports");
    }
    if (playback.empty()) {
        connections.missing.push_back("no physical playback ports");
    }
    if (midi.empty()) {
        connections.missing.push_back("no physical MIDI ports (a MIDI bridge such as a2jmidid "
                                      "shows ALSA devices to JACK)");
    }
    return connections;
}

std::vector<std::string> LiveClient::portNames() const {
    std::vector<std::string> names;
    for (const auto* ports : {&inputPorts, &outputPorts}) {
        for (jack_port_t* port : *ports) {
            names.push_back(shortName(port));
        }
    }
    names.push_back(shortName(midiPort));
    return names;
}

int LiveClient::processEntry(jack_nframes_t frames, void* self) {
    static_cast<LiveClient*>(self)->process(frames);
    return 0;
}

int LiveClient::sampleRateEntry(jack_nframes_t rate, void* self) {
    auto& live = *static_cast<LiveClient*>(self);
    live.reconfigure(rate, live.counts.bufferSize.load());
    return 0;
}

int LiveClient::bufferSizeEntry(jack_nframes_t frames, void* self) {
    auto& live = *static_cast<LiveClient*>(self);
    live.reconfigure(live.counts.sampleRate.load(), frames);
    return 0;
}

int LiveClient::xrunEntry(void* self) {
    static_cast<LiveClient*>(self)->counts.xruns.fetch_add(1);
    return 0;
}

void LiveClient::shutdownEntry(jack_status_t, const char*, void* self) {
    static_cast<LiveClient*>(self)->counts.serverGone.store(true);
}

void LiveClient::process(jack_nframes_t frames) {
    const auto began = std::chrono::steady_clock::now();
    noteMissedCycles(frames);
    for (size_t i = 0; i < outputPorts.size(); ++i) {
        outputBuffers[i] = static_cast<float*>(jack_port_get_buffer(outputPorts[i], frames));
    }
    if (!gate.enter()) {
        silenceOutputs(frames);
        counts.skippedBlocks.fetch_add(1, std::memory_order_relaxed);
        return;
    }
    for (size_t i = 0; i < inputPorts.size(); ++i) {
        inputBuffers[i] = static_cast<const float*>(jack_port_get_buffer(inputPorts[i], frames));
    }
    queueMidi(frames);
    processor.process(inputBuffers.data(), outputBuffers.data(), frames);
    gate.leave();
    const auto took = std::chrono::steady_clock::now() - began;
    noteTime(static_cast<uint64_t>(std::chrono::nanoseconds(took).count()));
}

// A server under strain may run a cycle without this client (the plug-in's loop then falls
// behind the other clients): worth telling the user, who otherwise hears only a glitch.
void LiveClient::noteMissedCycles(jack_nframes_t frames) {
    const jack_nframes_t start = jack_last_frame_time(client.handle());
    if (frameTimeRestarts.exchange(false)) {
        cycleSeen = false;
    }
    if (cycleSeen && start != nextCycleStart) {
        const jack_nframes_t gap = start - nextCycleStart;  // wraps like the frame time
        if (gap < (1u << 30)) {
            counts.missedFrames.fetch_add(gap, std::memory_order_relaxed);
        }
    }
    nextCycleStart = start + frames;
    cycleSeen = true;
}

void LiveClient::queueMidi(jack_nframes_t frames) {
    void* buffer = jack_port_get_buffer(midiPort, frames);
    const uint32_t count = jack_midi_get_event_count(buffer);
    uint64_t dropped = 0;
    for (uint32_t i = 0; i < count; ++i) {
        jack_midi_event_t event;
        if (jack_midi_event_get(&event, buffer, i) == 0 &&
            !processor.queueMidi(event.time, event.buffer, event.size) && event.size <= 3) {
            ++dropped;  // long messages (system exclusive) are left out on purpose, not counted
        }
    }
    if (dropped > 0) {
        counts.droppedEvents.fetch_add(dropped, std::memory_order_relaxed);
    }
}

void LiveClient::silenceOutputs(jack_nframes_t frames) {
    for (float* output : outputBuffers) {
        std::fill_n(output, frames, 0.0f);
    }
}

void LiveClient::noteTime(uint64_t nanoseconds) {
    counts.blocks.fetch_add(1, std::memory_order_relaxed);
    counts.totalNanoseconds.fetch_add(nanoseconds, std::memory_order_relaxed);
    if (nanoseconds > counts.longestNanoseconds.load(std::memory_order_relaxed)) {
        counts.longestNanoseconds.store(nanoseconds, std::memory_order_relaxed);
    }
}

void LiveClient::reconfigure(uint32_t rate, uint32_t blockSize) {
    const std::lock_guard<std::mutex> guard(reconfiguring);
    if (rate == 0 || blockSize == 0 || (rate == appliedRate && blockSize == appliedBlockSize)) {
        return;
    }
    gate.close();
    plugin.stop();
    plugin.configure(static_cast<float>(rate), static_cast<int32_t>(blockSize));
    processor.prepare(blockSize);
    plugin.start();
    appliedRate = rate;
    appliedBlockSize = blockSize;
    counts.sampleRate.store(rate);
    counts.bufferSize.store(blockSize);
    frameTimeRestarts.store(true);
    gate.open();
}
