#include "host/plugin_search.h"

#include <cstdlib>

#include "host/host_error.h"

namespace {

void appendPathList(std::vector<std::filesystem::path>& folders, const char* list) {
    if (list == nullptr) {
        return;
    }
    std::string remaining = list;
    while (!remaining.empty()) {
        const size_t colon = remaining.find(':');
        const std::string folder = remaining.substr(0, colon);
        if (!folder.empty()) {
            folders.emplace_back(folder);
        }
        remaining = colon == std::string::npos ? std::string{} : remaining.substr(colon + 1);
    }
}

bool isFile(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

std::string listOf(const std::vector<std::filesystem::path>& folders) {
    std::string list;
    for (const auto& folder : folders) {
        list += (list.empty() ? "" : ", ") + folder.string();
    }
    return list;
}

}  // namespace

std::vector<std::filesystem::path> pluginSearchFolders(
    const std::filesystem::path& executableFolder) {
    std::vector<std::filesystem::path> folders;
    if (!executableFolder.empty()) {
        folders.push_back(executableFolder);
        folders.push_back(executableFolder.parent_path() / "lib" / "vst");
    }
    appendPathList(folders, std::getenv("VST_PATH"));
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        folders.push_back(std::filesystem::path(home) / ".vst");
    }
    folders.emplace_back("/usr/local/lib/vst");
    folders.emplace_back("/usr/lib/vst");
    return folders;
}

std::filesystem::path findPlugin(const std::string& nameOrPath,
                                 const std::vector<std::filesystem::path>& folders) {
    const std::filesystem::path given(nameOrPath);
    if (nameOrPath.find('/') != std::string::npos || isFile(given)) {
        return given;
    }
    for (const auto& folder : folders) {
        for (const std::string& file : {nameOrPath, nameOrPath + ".so"}) {
            if (isFile(folder / file)) {
                return folder / file;
            }
        }
    }
    throw HostError(given, "no such plug-in (looked in " + listOf(folders) + ")");
}

std::filesystem::path executableFolder() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path{} : self.parent_path();
}
