// JACK clients of the test's own, run in the test process: a player that plays prepared audio and
// MIDI into another client, and a recorder that records what comes out of it. Both start on
// `start` and hold everything they need in buffers made before they are activated.
//
// They are two clients so that the graph runs player, client under test, recorder within one
// cycle. The recorder also takes the player's audio and MIDI, so that a test can check the output
// against what the client under test received, frame for frame, whatever the cycle they fell in.
#pragma once

#include <jack/jack.h>
#include <jack/midiport.h>

#include <algorithm>
#include <atomic>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/midi_message.h"

namespace host_test {

class TestJackClient {
public:
    explicit TestJackClient(const std::string& name) {
        jack_status_t status{};
        client = jack_client_open(name.c_str(), JackNoStartServer, &status);
        if (client == nullptr) {
            throw std::runtime_error("cannot open the test's JACK client " + name);
        }
    }
    virtual ~TestJackClient() {
        jack_deactivate(client);
        jack_client_close(client);
    }
    TestJackClient(const TestJackClient&) = delete;
    TestJackClient& operator=(const TestJackClient&) = delete;

    jack_client_t* handle() const { return client; }
    std::string portName(size_t index) const { return jack_port_name(ports.at(index)); }
    bool connect(const std::string& source, const std::string& destination) const {
        return jack_connect(client, source.c_str(), destination.c_str()) == 0;
    }
    void start() { started.store(true); }
    // Frames of the server's cycles that ran without this client since `start`, as its frame
    // times tell: for the test's log, since a client woken late may count a gap where none was.
    uint64_t missedFrames() const { return missed.load(); }

protected:
    jack_port_t* addPort(const std::string& name, const char* type, unsigned long flags) {
        jack_port_t* port = jack_port_register(client, name.c_str(), type, flags, 0);
        if (port == nullptr) {
            throw std::runtime_error("cannot register the test port " + name);
        }
        ports.push_back(port);
        return port;
    }
    void activate() {
        jack_set_process_callback(client, processEntry, this);
        jack_set_buffer_size_callback(client, bufferSizeEntry, this);
        if (jack_activate(client) != 0) {
            throw std::runtime_error("cannot activate the test's JACK client");
        }
    }
    virtual void process(jack_nframes_t frames) = 0;

    std::atomic<bool> started{false};

private:
    static int processEntry(jack_nframes_t frames, void* self) {
        auto& test = *static_cast<TestJackClient*>(self);
        test.noteCycle(frames);
        test.process(frames);
        return 0;
    }
    // The server's frame time may jump when it restarts its driver for a new buffer size.
    static int bufferSizeEntry(jack_nframes_t, void* self) {
        static_cast<TestJackClient*>(self)->frameTimeRestarts.store(true);
        return 0;
    }
    void noteCycle(jack_nframes_t frames) {
        const jack_nframes_t start = jack_last_frame_time(client);
        if (frameTimeRestarts.exchange(false)) {
            cycleSeen = false;
        }
        const jack_nframes_t gap = start - nextCycleStart;  // wraps like the frame time
        if (cycleSeen && started.load() && gap != 0 && gap < (1u << 30)) {
            missed += gap;
        }
        nextCycleStart = start + frames;
        cycleSeen = true;
    }

    jack_client_t* client = nullptr;
    std::vector<jack_port_t*> ports;
    std::atomic<uint64_t> missed{0};
    std::atomic<bool> frameTimeRestarts{false};
    jack_nframes_t nextCycleStart = 0;
    bool cycleSeen = false;
};

// Ports: signal_1.. (audio out, port indexes 0..), then commands (MIDI out, the last index).
class Player : public TestJackClient {
public:
    Player(const std::string& name, std::vector<std::vector<float>> channels,
           std::vector<ScheduledMessage> messages)
        : TestJackClient(name), signals(std::move(channels)), commands(std::move(messages)) {
        for (size_t ch = 0; ch < signals.size(); ++ch) {
            audioPorts.push_back(addPort("signal_" + std::to_string(ch + 1), JACK_DEFAULT_AUDIO_TYPE,
                                         JackPortIsOutput));
        }
        midiPort = addPort("commands", JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput);
        activate();
    }
    ~Player() override { jack_deactivate(handle()); }

    std::string commandPort() const { return portName(signals.size()); }

private:
    void process(jack_nframes_t frames) override {
        const bool playing = started.load();
        void* midi = jack_port_get_buffer(midiPort, frames);
        jack_midi_clear_buffer(midi);
        for (size_t ch = 0; ch < audioPorts.size(); ++ch) {
            auto* out = static_cast<float*>(jack_port_get_buffer(audioPorts[ch], frames));
            for (jack_nframes_t i = 0; i < frames; ++i) {
                const size_t n = position + i;
                out[i] = playing && n < signals[ch].size() ? signals[ch][n] : 0.0f;
            }
        }
        if (!playing) {
            return;
        }
        for (; next < commands.size() && commands[next].frame < static_cast<int64_t>(position + frames); ++next) {
            const auto at = static_cast<jack_nframes_t>(commands[next].frame - static_cast<int64_t>(position));
            jack_midi_event_write(midi, at, commands[next].message.bytes.data(), 3);
        }
        position += frames;
    }

    std::vector<std::vector<float>> signals;
    std::vector<ScheduledMessage> commands;
    std::vector<jack_port_t*> audioPorts;
    jack_port_t* midiPort = nullptr;
    size_t position = 0;
    size_t next = 0;
};

// Ports: rec_1.. (audio in, port indexes 0..), then commands (MIDI in, the last index).
class Recorder : public TestJackClient {
public:
    static constexpr size_t kMaxMessages = 64;

    Recorder(const std::string& name, size_t channels, size_t frames)
        : TestJackClient(name), recorded(channels, std::vector<float>(frames)) {
        for (size_t ch = 0; ch < channels; ++ch) {
            audioPorts.push_back(addPort("rec_" + std::to_string(ch + 1), JACK_DEFAULT_AUDIO_TYPE,
                                         JackPortIsInput));
        }
        midiPort = addPort("commands", JACK_DEFAULT_MIDI_TYPE, JackPortIsInput);
        received.reserve(kMaxMessages);
        activate();
    }
    ~Recorder() override { jack_deactivate(handle()); }

    std::string commandPort() const { return portName(recorded.size()); }
    bool full() const { return filled.load() >= recorded.front().size(); }
    size_t framesRecorded() const { return filled.load(); }
    // Read these once `full` (or after the client is deactivated).
    const std::vector<float>& channel(size_t index) const { return recorded.at(index); }
    const std::vector<ScheduledMessage>& messages() const { return received; }

private:
    void process(jack_nframes_t frames) override {
        const size_t at = filled.load();
        if (!started || at >= recorded.front().size()) {
            return;
        }
        const size_t count = std::min<size_t>(frames, recorded.front().size() - at);
        for (size_t ch = 0; ch < audioPorts.size(); ++ch) {
            const auto* in = static_cast<const float*>(jack_port_get_buffer(audioPorts[ch], frames));
            std::copy_n(in, count, recorded[ch].begin() + static_cast<std::ptrdiff_t>(at));
        }
        void* midi = jack_port_get_buffer(midiPort, frames);
        const uint32_t events = jack_midi_get_event_count(midi);
        for (uint32_t i = 0; i < events && received.size() < kMaxMessages; ++i) {
            jack_midi_event_t event;
            if (jack_midi_event_get(&event, midi, i) == 0 && event.size <= 3) {
                ScheduledMessage message;
                message.frame = static_cast<int64_t>(at + event.time);
                std::copy_n(event.buffer, event.size, message.message.bytes.begin());
                received.push_back(message);
            }
        }
        filled.store(at + count);
    }

    std::vector<std::vector<float>> recorded;
    std::vector<ScheduledMessage> received;
    std::vector<jack_port_t*> audioPorts;
    jack_port_t* midiPort = nullptr;
    std::atomic<size_t> filled{0};
};

// A client that only looks at the server's connections.
class PortObserver {
public:
    PortObserver() {
        jack_status_t status{};
        client = jack_client_open("kestrune-test-observer", JackNoStartServer, &status);
        if (client == nullptr) {
            throw std::runtime_error("cannot open the test's JACK observer");
        }
    }
    ~PortObserver() { jack_client_close(client); }
    PortObserver(const PortObserver&) = delete;
    PortObserver& operator=(const PortObserver&) = delete;

    bool connected(const std::string& source, const std::string& destination) const {
        jack_port_t* port = jack_port_by_name(client, source.c_str());
        return port != nullptr && jack_port_connected_to(port, destination.c_str()) != 0;
    }

private:
    jack_client_t* client = nullptr;
};

}  // namespace host_test
