// The `render` command from its options to the written files: checks every file before work
// starts, loads the plug-in, renders, and writes output and plot through temporary files.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/audio_stream.h"
#include "host/midi_message.h"
#include "host/parameter_settings.h"
#include "host/plugin_search.h"

struct RenderJob {
    std::string plugin = kDefaultPluginName;
    std::filesystem::path input;
    std::filesystem::path output;
    std::optional<std::filesystem::path> midiFile;
    std::optional<std::string> cue;
    int32_t blockSize = 512;
    double tailSeconds = 0.0;
    std::vector<std::string> settings;
    std::optional<int32_t> program;
    std::optional<std::filesystem::path> plot;
    bool quiet = false;
};

// Everything a render needs, read and checked.
struct RenderPlan {
    std::filesystem::path plugin;
    std::unique_ptr<AudioSource> input;  // opened and checked; read as the render goes
    std::vector<TimedMessage> messages;
    int32_t blockSize = 512;
    double tailSeconds = 0.0;
    std::vector<ParameterSetting> settings;
    std::optional<int32_t> program;
    std::filesystem::path output;
    std::optional<std::filesystem::path> plot;
    bool quiet = false;
};

void runRender(const RenderJob& job);
void runRenderPlan(RenderPlan& plan);

// Refuses an output that is the input, a missing folder, or an unknown format, before any work.
void checkOutputPath(const std::filesystem::path& output,
                     const std::optional<std::filesystem::path>& input);
void checkPlotPath(const std::optional<std::filesystem::path>& plot,
                   const std::filesystem::path& output,
                   const std::optional<std::filesystem::path>& input);
