#include "host/live_report.h"

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <sstream>

#include "host/plugin.h"

std::string statusLine(const Plugin& plugin, const LiveClient& live) {
    std::ostringstream line;
    line << plugin.path().filename().string() << " live on JACK as '" << live.name() << "': "
         << live.counters().sampleRate.load() << " Hz, " << live.counters().bufferSize.load()
         << " frames; ports";
    for (const std::string& port : live.portNames()) {
        line << ' ' << port;
    }
    line << " (Ctrl-C stops)";
    return line.str();
}

void reportConnections(const PhysicalConnections& connections) {
    for (const std::string& made : connections.made) {
        std::cerr << "kestrune: connected " << made << "\n";
    }
    for (const std::string& missing : connections.missing) {
        std::cerr << "kestrune: --connect: " << missing << "\n";
    }
}

LiveReporter::LiveReporter(const LiveCounters& counters)
    : counts(counters), sampleRate(counters.sampleRate.load()),
      bufferSize(counters.bufferSize.load()) {}

void LiveReporter::report() {
    reportXruns();
    reportDroppedEvents();
    reportMissedFrames();
    reportChange(sampleRate, counts.sampleRate.load(), "sample rate", "Hz");
    reportChange(bufferSize, counts.bufferSize.load(), "buffer size", "frames");
}

void LiveReporter::summarise() const {
    const uint64_t blocks = counts.blocks.load();
    const double period = 1e3 * bufferSize / std::max<uint32_t>(sampleRate, 1);
    const double longest = static_cast<double>(counts.longestNanoseconds.load()) / 1e6;
    const double mean = blocks > 0 ? static_cast<double>(counts.totalNanoseconds.load()) / 1e6 /
                                         static_cast<double>(blocks)
                                   : 0.0;
    char text[256];
    std::snprintf(text, sizeof text,
                  "kestrune: stopped after %llu blocks; process call %.3f ms at most, %.3f ms on "
                  "average, of %.3f ms per block; %llu xruns; %llu frames missed",
                  static_cast<unsigned long long>(blocks), longest, mean, period,
                  static_cast<unsigned long long>(counts.xruns.load()),
                  static_cast<unsigned long long>(counts.missedFrames.load()));
    std::cerr << text << "\n";
}

void LiveReporter::reportXruns() {
    const uint64_t now = counts.xruns.load();
    if (now == xruns) {
        return;
    }
    const uint64_t fresh = now - xruns;
    std::cerr << "kestrune: JACK reported "
              << (fresh == 1 ? std::string("an xrun") : std::to_string(fresh) + " xruns") << " ("
              << now << " so far)\n";
    xruns = now;
}

void LiveReporter::reportDroppedEvents() {
    const uint64_t now = counts.droppedEvents.load();
    if (now != dropped) {
        std::cerr << "kestrune: " << now - dropped << " MIDI events dropped (more than "
                  << LiveProcessor::kDefaultEventCapacity << " in one block)\n";
        dropped = now;
    }
}

void LiveReporter::reportMissedFrames() {
    const uint64_t now = counts.missedFrames.load();
    if (now != missed) {
        std::cerr << "kestrune: JACK ran " << now - missed
                  << " frames without this client; the loop fell behind by as much (" << now
                  << " so far)\n";
        missed = now;
    }
}

void LiveReporter::reportChange(uint32_t& seen, uint32_t now, const char* what, const char* unit) {
    if (now != seen) {
        std::cerr << "kestrune: JACK " << what << " now " << now << " " << unit << "\n";
        seen = now;
    }
}
