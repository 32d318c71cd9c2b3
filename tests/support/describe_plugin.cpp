// Loads a plug-in as a host does and prints what a host sees of it.
#include <cstdio>
#include <exception>

#include "tests/support/plugin_host.h"

int main(int argc, char** argv) {
    const char* path = argc > 1 ? argv[1] : KESTRUNE_PLUGIN_PATH;
    try {
        PluginLibrary library(path);
        FakeHost host;
        HostedEffect hosted(library, FakeHost::callback);
        const AEffect& record = *hosted.effect;
        const auto id = static_cast<uint32_t>(record.uniqueID);
        std::printf("plug-in:    %s\n", path);
        std::printf("programs:   %d\nparameters: %d\ninputs:     %d\noutputs:    %d\n",
                    record.numPrograms, record.numParams, record.numInputs, record.numOutputs);
        std::printf("flags:      0x%x%s\n", record.flags,
                    (record.flags & effFlagsCanReplacing) ? " (replacing)" : "");
        std::printf("unique id:  '%c%c%c%c' (0x%08x)\n", static_cast<char>(id >> 24),
                    static_cast<char>(id >> 16), static_cast<char>(id >> 8),
                    static_cast<char>(id), id);
        std::printf("version:    %d\n", record.version);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s: %s\n", path, error.what());
        return 2;
    }
    return 0;
}
