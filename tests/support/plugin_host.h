// A tiny host for the plug-in tests: loads the built library (dlopen, or LoadLibrary on Windows),
// calls `main` and talks to the record only, as a third-party host would.
#pragma once

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include <stdexcept>
#include <string>
#include <vector>

#include "frame/vst2.h"
#include "tests/support/fake_host.h"
#include "tests/support/midi_event.h"

using PluginMainProc = AEffect*(VST_CALL*)(audioMasterCallback);

#ifdef _WIN32

class PluginLibrary {
public:
    explicit PluginLibrary(const std::string& path = KESTRUNE_PLUGIN_PATH)
        : handle(LoadLibraryA(path.c_str())) {
        if (handle == nullptr) {
            throw std::runtime_error("LoadLibrary " + path + ": error " +
                                     std::to_string(GetLastError()));
        }
    }
    ~PluginLibrary() { FreeLibrary(handle); }
    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;

    // GetProcAddress answers a generic function pointer; the caller knows the real type.
    void* symbol(const char* name) const {
        return reinterpret_cast<void*>(GetProcAddress(handle, name));
    }
    PluginMainProc entry() const { return reinterpret_cast<PluginMainProc>(symbol("main")); }

private:
    HMODULE handle;
};

#else

class PluginLibrary {
public:
    explicit PluginLibrary(const std::string& path = KESTRUNE_PLUGIN_PATH)
        : handle(dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {
        if (handle == nullptr) {
            throw std::runtime_error(std::string("dlopen: ") + dlerror());
        }
    }
    ~PluginLibrary() { dlclose(handle); }
    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;

    void* symbol(const char* name) const { return dlsym(handle, name); }
    PluginMainProc entry() const { return reinterpret_cast<PluginMainProc>(symbol("main")); }

private:
    void* handle;
};

#endif

// One effect created through `main`, closed with effClose when it goes out of scope.
class HostedEffect {
public:
    HostedEffect(const PluginLibrary& library, audioMasterCallback callback)
        : effect(library.entry()(callback)) {
        if (effect == nullptr) {
            throw std::runtime_error("main answered null");
        }
    }
    ~HostedEffect() {
        if (effect != nullptr) {
            close();
        }
    }
    HostedEffect(const HostedEffect&) = delete;
    HostedEffect& operator=(const HostedEffect&) = delete;

    intptr_t dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                      float opt = 0.0f) {
        return effect->dispatcher(effect, opcode, index, value, ptr, opt);
    }

    intptr_t close() {
        const intptr_t answer = dispatch(effClose);
        effect = nullptr;
        return answer;
    }

    // Runs one block; inputs and outputs are per channel, each `frames` long.
    void processReplacing(std::vector<std::vector<float>>& inputs,
                          std::vector<std::vector<float>>& outputs, int32_t frames) {
        std::vector<float*> in;
        std::vector<float*> out;
        for (auto& channel : inputs) {
            in.push_back(channel.data());
        }
        for (auto& channel : outputs) {
            out.push_back(channel.data());
        }
        effect->processReplacing(effect, in.data(), out.data(), frames);
    }

    void sendMidi(unsigned char status, unsigned char data1, unsigned char data2) {
        VstMidiEvent midi = midiEvent(status, data1, data2);
        VstEvents events{};
        events.numEvents = 1;
        events.events[0] = reinterpret_cast<VstEvent*>(&midi);
        dispatch(effProcessEvents, 0, 0, &events);
    }

    AEffect* effect;
};
