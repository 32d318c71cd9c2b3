// Where a plug-in named on the command line is found. A path (anything with a '/', or an existing
// file) is taken as it is; a bare name is looked up as NAME or NAME.so in, in this order: the
// executable's own folder (a build tree), PREFIX/lib/vst beside an installed PREFIX/bin, the
// folders of VST_PATH, ~/.vst, /usr/local/lib/vst and /usr/lib/vst.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

inline constexpr const char* kDefaultPluginName = "KestruneVSTi";

std::vector<std::filesystem::path> pluginSearchFolders(
    const std::filesystem::path& executableFolder);

std::filesystem::path findPlugin(const std::string& nameOrPath,
                                 const std::vector<std::filesystem::path>& folders);

// The folder of the running program.
std::filesystem::path executableFolder();
