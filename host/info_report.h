// The `info` command's output: a text for people, or JSON for programs.
#pragma once

#include <string>

#include "host/plugin_info.h"

std::string textReport(const PluginInfo& info);
std::string jsonReport(const PluginInfo& info);
