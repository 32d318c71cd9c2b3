// Fuzz target: any bytes as a MIDI file. Loading it either answers messages that the render can
// place, or throws the host's error naming the file; anything else (another exception, a crash,
// a hang) is a finding.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>

#include "fuzz/timeline_checks.h"
#include "host/host_error.h"
#include "host/midi_file.h"

namespace {

// One scratch file per fuzzing process, rewritten for every input.
const std::string& scratchPath() {
    static const std::string path = "/tmp/kestrune-midi-fuzz-" + std::to_string(getpid()) + ".mid";
    return path;
}

void writeScratch(const uint8_t* data, size_t size) {
    std::ofstream file(scratchPath(), std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!file) {
        std::fprintf(stderr, "cannot write %s\n", scratchPath().c_str());
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    writeScratch(data, size);
    try {
        checkTimedMessages(readMidiFile(scratchPath()), scratchPath().c_str());
    } catch (const HostError& error) {
        if (std::string_view(error.what()).substr(0, scratchPath().size()) != scratchPath()) {
            std::fprintf(stderr, "the error does not name the MIDI file: %s\n", error.what());
            std::abort();
        }
    }
    return 0;
}
