#include "host/plugin_library.h"

#include <dlfcn.h>

#include <string>

#include "host/host_error.h"

namespace {

std::string loaderError() {
    const char* reason = dlerror();
    return reason != nullptr ? reason : "unknown reason";
}

PluginEntryProc findEntry(void* handle) {
    for (const char* name : {"VSTPluginMain", "main"}) {
        if (void* symbol = dlsym(handle, name)) {
            return reinterpret_cast<PluginEntryProc>(symbol);
        }
    }
    return nullptr;
}

}  // namespace

PluginLibrary::PluginLibrary(const std::filesystem::path& path)
    : file(std::filesystem::absolute(path)) {
    std::error_code error;
    if (!std::filesystem::exists(file, error)) {
        throw HostError(file, "no such plug-in file");
    }
    // An absolute path, so that the loader does not search its own folders instead.
    handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        throw HostError(file, "the plug-in cannot be loaded: " + loaderError());
    }
    entryPoint = findEntry(handle);
    if (entryPoint == nullptr) {
        dlclose(handle);
        throw HostError(file, "not a VST 2 plug-in: it exports neither VSTPluginMain nor main");
    }
}

PluginLibrary::~PluginLibrary() {
    dlclose(handle);
}
