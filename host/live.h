// The `live` command: plays a plug-in in real time as a JACK client until SIGINT or SIGTERM.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/plugin_search.h"

struct LiveOptions {
    std::string plugin = kDefaultPluginName;
    std::string clientName = "kestrune";
    bool stereoIn = false;
    bool connect = false;
    std::vector<std::string> settings;  // NAME=VALUE
    std::optional<int32_t> program;
};

// Prints one status line on stdout, then xruns and changes on stderr while it plays. Returns
// when stopped by a signal; a missing server, a taken name, a plug-in without outputs or the
// server going away are HostErrors.
void runLive(const LiveOptions& options);
