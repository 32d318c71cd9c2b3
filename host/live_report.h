// What the live host tells its user: the status line on stdout; connections, xruns, changes of
// the server's settings and the closing figures on stderr. Read from the main thread only.
#pragma once

#include <cstdint>
#include <string>

#include "host/live_client.h"

class Plugin;

// Plug-in, client name, sample rate, buffer size and ports, in one line.
std::string statusLine(const Plugin& plugin, const LiveClient& live);

void reportConnections(const PhysicalConnections& connections);

// Tells on stderr what the callbacks counted since the last look.
class LiveReporter {
public:
    explicit LiveReporter(const LiveCounters& counters);

    void report();
    // The closing line: blocks, the longest and the mean process call against the period, xruns,
    // frames of cycles the server ran without this client.
    void summarise() const;

private:
    void reportXruns();
    void reportDroppedEvents();
    void reportMissedFrames();
    static void reportChange(uint32_t& seen, uint32_t now, const char* what, const char* unit);

    const LiveCounters& counts;
    uint64_t xruns = 0;
    uint64_t dropped = 0;
    uint64_t missed = 0;
    uint32_t sampleRate;
    uint32_t bufferSize;
};
