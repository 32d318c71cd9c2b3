#include "host/live.h"

#include <cstdio>
#include <iostream>
#include <sstream>

#include "host/host_error.h"
#include "host/live_client.h"
#include "host/parameter_settings.h"
#include "host/plugin.h"
#include "host/stop_signals.h"

namespace {

constexpr std::chrono::milliseconds kReportInterval{100};

std::unique_ptr<Plugin> loadPlugin(const LiveOptions& options,
                                   const std::vector<ParameterSetting>& settings) {
    auto plugin = std::make_unique<Plugin>(
        findPlugin(options.plugin, pluginSearchFolders(executableFolder())));
    if (plugin->record().numOutputs < 1) {
        throw HostError(plugin->path(), "the plug-in has no audio outputs");
    }
    if (options.program) {
        selectProgram(*plugin, *options.program);
    }
    applyParameterSettings(*plugin, settings);
    return plugin;
}

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

// Tells the user on stderr what the callbacks counted since the last look.
class LiveReporter {
public:
    explicit LiveReporter(const LiveCounters& counters)
        : counts(counters), sampleRate(counters.sampleRate.load()),
          bufferSize(counters.bufferSize.load()) {}

    void report() {
        reportXruns();
        reportDroppedEvents();
        reportChange(sampleRate, counts.sampleRate.load(), "sample rate", "Hz");
        reportChange(bufferSize, counts.bufferSize.load(), "buffer size", "frames");
    }

    void summarise() const {
        const uint64_t blocks = counts.blocks.load();
        const double period = 1e3 * bufferSize / std::max<uint32_t>(sampleRate, 1);
        const double longest = static_cast<double>(counts.longestNanoseconds.load()) / 1e6;
        const double mean = blocks > 0 ? static_cast<double>(counts.totalNanoseconds.load()) /
                                             1e6 / static_cast<double>(blocks)
                                       : 0.0;
        char text[200];
        std::snprintf(text, sizeof text,
                      "kestrune: stopped after %llu blocks; process call %.3f ms at most, %.3f ms "
                      "on average, of %.3f ms per block; %llu xruns",
                      static_cast<unsigned long long>(blocks), longest, mean, period,
                      static_cast<unsigned long long>(counts.xruns.load()));
        std::cerr << text << "\n";
    }

private:
    void reportXruns() {
        const uint64_t now = counts.xruns.load();
        if (now == xruns) {
            return;
        }
        const uint64_t fresh = now - xruns;
        std::cerr << "kestrune: JACK reported " << (fresh == 1 ? "an xrun" : std::to_string(fresh) + " xruns")
                  << " (" << now << " so far)\n";
        xruns = now;
    }

    void reportDroppedEvents() {
        const uint64_t now = counts.droppedEvents.load();
        if (now != dropped) {
            std::cerr << "kestrune: " << now - dropped << " MIDI events dropped (more than "
                      << LiveProcessor::kDefaultEventCapacity << " in one block)\n";
            dropped = now;
        }
    }

    static void reportChange(uint32_t& seen, uint32_t now, const char* what, const char* unit) {
        if (now != seen) {
            std::cerr << "kestrune: JACK " << what << " now " << now << " " << unit << "\n";
            seen = now;
        }
    }

    const LiveCounters& counts;
    uint64_t xruns = 0;
    uint64_t dropped = 0;
    uint32_t sampleRate;
    uint32_t bufferSize;
};

// Plays until a stop signal; the client is deactivated and closed when this returns.
void play(Plugin& plugin, const LiveOptions& options, const StopSignals& signals) {
    LiveClient live(plugin, options.clientName, options.stereoIn);
    live.start();
    if (options.connect) {
        reportConnections(live.connectPhysicalPorts());
    }
    std::cout << statusLine(plugin, live) << std::endl;
    LiveReporter reporter(live.counters());
    while (signals.wait(kReportInterval) == 0) {
        reporter.report();
        if (live.counters().serverGone.load()) {
            throw HostError("the JACK server stopped");
        }
    }
    reporter.report();
    reporter.summarise();
}

}  // namespace

void runLive(const LiveOptions& options) {
    // Before anything starts a thread, so that every thread leaves the signals to this one.
    const StopSignals signals;
    std::vector<ParameterSetting> settings;
    for (const std::string& setting : options.settings) {
        settings.push_back(parseParameterSetting(setting));
    }
    checkClientName(options.clientName);
    const std::unique_ptr<Plugin> plugin = loadPlugin(options, settings);
    // The client goes first (deactivated, closed), then the plug-in (switched off, closed).
    play(*plugin, options, signals);
}
