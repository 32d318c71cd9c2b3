// Fuzz target: any bytes as a cue sheet. The parser either answers messages that the render can
// place, or throws the host's error naming the sheet; anything else (another exception, a crash,
// a hang) is a finding.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "fuzz/timeline_checks.h"
#include "host/cue_sheet.h"
#include "host/host_error.h"

namespace {

constexpr std::string_view kSource = "fuzz.cue";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        checkTimedMessages(parseCueSheet(text, std::string(kSource)), kSource.data());
    } catch (const HostError& error) {
        if (std::string_view(error.what()).substr(0, kSource.size() + 1) != "fuzz.cue:") {
            std::fprintf(stderr, "the error does not name the cue sheet: %s\n", error.what());
            std::abort();
        }
    }
    return 0;
}
