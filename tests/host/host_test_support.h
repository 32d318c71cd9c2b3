// Helpers for the host's tests: a scratch folder, running the built kestrune, test audio.
#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "host/audio_buffer.h"

extern char** environ;

namespace host_test {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "kestrune-test-XXXXXX").string();
        folder = mkdtemp(pattern.data());
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::filesystem::path operator/(const std::string& name) const { return folder / name; }
    const std::filesystem::path& path() const { return folder; }

private:
    std::filesystem::path folder;
};

inline std::string readText(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

inline void writeText(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

struct ProgramRun {
    int status = -1;
    std::string out;
    std::string err;
};

using Environment = std::vector<std::pair<std::string, std::string>>;

// Runs a program with the given arguments, the current environment plus `extra`, and its
// output and errors caught in files of a scratch folder.
inline ProgramRun runProgram(const std::string& program, const std::vector<std::string>& arguments,
                             const Environment& extra = {}) {
    TempFolder scratch;
    const std::string outFile = (scratch / "stdout").string();
    const std::string errFile = (scratch / "stderr").string();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);

    std::vector<std::string> argumentTexts{program};
    argumentTexts.insert(argumentTexts.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& text : argumentTexts) {
        argv.push_back(text.data());
    }
    argv.push_back(nullptr);

    std::vector<std::string> environmentTexts;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        bool replaced = false;
        for (const auto& [name, value] : extra) {
            replaced = replaced || text.rfind(name + "=", 0) == 0;
        }
        if (!replaced) {
            environmentTexts.push_back(text);
        }
    }
    for (const auto& [name, value] : extra) {
        environmentTexts.push_back(name + "=" + value);
    }
    std::vector<char*> envp;
    for (auto& text : environmentTexts) {
        envp.push_back(text.data());
    }
    envp.push_back(nullptr);

    ProgramRun run;
    pid_t child = 0;
    if (posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), envp.data()) == 0) {
        int status = 0;
        waitpid(child, &status, 0);
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    posix_spawn_file_actions_destroy(&actions);
    run.out = readText(outFile);
    run.err = readText(errFile);
    return run;
}

inline ProgramRun runKestrune(const std::vector<std::string>& arguments,
                              const Environment& extra = {}) {
    return runProgram(KESTRUNE_BINARY, arguments, extra);
}

// A sine of `frequency` Hz on each channel (channel c one octave above channel c-1).
// The frames where `levels` changes, with the new level: the event probe's output 2 holds the
// last note number from the frame the note acted on, so its steps show when each note acted.
inline std::vector<std::pair<int64_t, float>> stepsOf(const std::vector<float>& levels) {
    std::vector<std::pair<int64_t, float>> steps;
    float last = 0.0f;
    for (size_t i = 0; i < levels.size(); ++i) {
        if (levels[i] != last) {
            steps.emplace_back(static_cast<int64_t>(i), levels[i]);
            last = levels[i];
        }
    }
    return steps;
}

inline AudioBuffer tone(int channels, int64_t frames, int32_t rate = 44100, double frequency = 220.0,
                        float amplitude = 0.5f) {
    AudioBuffer audio;
    audio.sampleRate = rate;
    audio.channels.assign(static_cast<size_t>(channels), std::vector<float>(static_cast<size_t>(frames)));
    for (int c = 0; c < channels; ++c) {
        const double f = frequency * std::pow(2.0, c);
        for (int64_t i = 0; i < frames; ++i) {
            audio.channels[static_cast<size_t>(c)][static_cast<size_t>(i)] =
                amplitude * static_cast<float>(std::sin(2.0 * M_PI * f * static_cast<double>(i) / rate));
        }
    }
    return audio;
}

// Where the test plug-ins and the built plug-in lie.
inline std::string testPlugin(const std::string& name) {
    return std::string(TEST_PLUGIN_DIR) + "/" + name + ".so";
}

}  // namespace host_test
