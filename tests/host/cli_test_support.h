// Shared pieces of the tests that run the built kestrune program.
#pragma once

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>

#include "host/audio_file.h"
#include "tests/host/host_test_support.h"

namespace host_test {

inline std::set<std::string> filesIn(const std::filesystem::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

// True when python3's json module reads the text.
inline bool isJson(const std::string& text) {
    TempFolder folder;
    writeText(folder / "info.json", text);
    const ProgramRun check = runProgram(
        "/usr/bin/python3", {"-c", "import json, sys; json.load(open(sys.argv[1]))",
                             (folder / "info.json").string()});
    return check.status == 0;
}

inline float peak(const std::vector<float>& samples, size_t first, size_t last) {
    float highest = 0.0f;
    for (size_t i = first; i < std::min(last, samples.size()); ++i) {
        highest = std::max(highest, std::abs(samples[i]));
    }
    return highest;
}

// Third-party plug-ins may write into $HOME or open ports; they get a scratch home.
inline Environment scratchHome(const TempFolder& home) {
    return {{"HOME", home.path().string()}};
}

}  // namespace host_test
