#include "host/live.h"

#include <chrono>
#include <iostream>
#include <memory>

#include "host/host_error.h"
#include "host/live_client.h"
#include "host/live_report.h"
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
