// A plug-in's shared library, opened with the dynamic loader, and its entry point
// (`VSTPluginMain`, or `main` in older plug-ins).
#pragma once

#include <filesystem>

#include "frame/vst2.h"

using PluginEntryProc = AEffect*(VST_CALL*)(audioMasterCallback);

class PluginLibrary {
public:
    // Errors carry the loader's own reason.
    explicit PluginLibrary(const std::filesystem::path& path);
    ~PluginLibrary();
    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;

    const std::filesystem::path& path() const { return file; }
    PluginEntryProc entry() const { return entryPoint; }

private:
    std::filesystem::path file;
    void* handle = nullptr;
    PluginEntryProc entryPoint = nullptr;
};
