#include "host/info_command.h"

#include <iostream>

#include "host/info_report.h"
#include "host/plugin.h"
#include "host/plugin_info.h"
#include "host/plugin_search.h"
#include "host/stdout_guard.h"

void runInfo(const std::string& plugin, bool json) {
    const std::filesystem::path path = findPlugin(plugin, pluginSearchFolders(executableFolder()));
    PluginInfo info;
    {
        const StdoutGuard quietPlugin;
        Plugin loaded(path);
        info = describePlugin(loaded);
    }
    std::cout << (json ? jsonReport(info) : textReport(info)) << std::flush;
}
