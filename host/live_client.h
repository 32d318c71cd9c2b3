// The live host's JACK client: audio inputs in_1 (and in_2), one audio output per plug-in output
// (out_1, out_2, ...) and midi_in, with the callbacks that feed the plug-in.
//
// Threads: JACK's process thread runs `process` only. The notification thread runs the other
// callbacks: sample-rate and buffer-size changes switch the plug-in off, tell it the new values
// and switch it on again behind a ProcessGate. JACK 2 runs no process cycle while a buffer-size
// callback runs (a callback that sleeps 50 ms sees no cycle meanwhile; the server calls it at
// activation and at each change), so no block is skipped then; the gate keeps the plug-in safe
// where a server does otherwise, and for sample-rate changes, which may arrive while cycles go
// on. Xruns and the server's end are counted in atomics that the main thread reads and reports.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "host/jack_client.h"
#include "host/live_processor.h"
#include "host/process_gate.h"

class Plugin;

// What the callbacks count, for the main thread to report.
struct LiveCounters {
    std::atomic<uint64_t> xruns{0};
    std::atomic<uint64_t> droppedEvents{0};
    std::atomic<uint64_t> blocks{0};
    std::atomic<uint64_t> skippedBlocks{0};  // gate shut: silence, the plug-in left alone
    std::atomic<uint64_t> missedFrames{0};   // server cycles that did not call this client
    std::atomic<uint64_t> longestNanoseconds{0};
    std::atomic<uint64_t> totalNanoseconds{0};
    std::atomic<uint32_t> sampleRate{0};
    std::atomic<uint32_t> bufferSize{0};
    std::atomic<bool> serverGone{false};
};

struct PhysicalConnections {
    std::vector<std::string> made;    // "source -> destination"
    std::vector<std::string> missing; // what there was nothing to connect to
};

class LiveClient {
public:
    // Opens the client and registers its ports; the plug-in must outlive the client.
    LiveClient(Plugin& plugin, const std::string& name, bool stereoIn);
    // Deactivates first: the callbacks use the members that go before the JACK client does.
    ~LiveClient();
    LiveClient(const LiveClient&) = delete;
    LiveClient& operator=(const LiveClient&) = delete;

    // Tells the plug-in the server's rate and block size, switches it on and activates the client.
    void start();
    PhysicalConnections connectPhysicalPorts();

    std::string name() const { return client.name(); }
    std::vector<std::string> portNames() const;
    const LiveCounters& counters() const { return counts; }

private:
    static int processEntry(jack_nframes_t frames, void* self);
    static int sampleRateEntry(jack_nframes_t rate, void* self);
    static int bufferSizeEntry(jack_nframes_t frames, void* self);
    static int xrunEntry(void* self);
    static void shutdownEntry(jack_status_t, const char*, void* self);

    void registerPorts(bool stereoIn);
    void setCallbacks();
    void process(jack_nframes_t frames);
    void noteMissedCycles(jack_nframes_t frames);
    void queueMidi(jack_nframes_t frames);
    void silenceOutputs(jack_nframes_t frames);
    void noteTime(uint64_t nanoseconds);
    void reconfigure(uint32_t rate, uint32_t blockSize);

    Plugin& plugin;
    JackClient client;
    std::vector<jack_port_t*> inputPorts;
    std::vector<jack_port_t*> outputPorts;
    jack_port_t* midiPort = nullptr;
    // The block's port buffers, filled in by the process thread.
    std::vector<const float*> inputBuffers;
    std::vector<float*> outputBuffers;
    // Where the next cycle should start in the server's frame time; process thread only.
    jack_nframes_t nextCycleStart = 0;
    bool cycleSeen = false;
    // Set by a reconfiguration: the server's frame time may jump when it restarts its driver.
    std::atomic<bool> frameTimeRestarts{false};
    LiveProcessor processor;
    ProcessGate gate;
    LiveCounters counts;
    std::mutex reconfiguring;  // control threads only, never the process thread
    uint32_t appliedRate = 0;
    uint32_t appliedBlockSize = 0;
};
