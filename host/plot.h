// The waveform picture: input above, output below, on one time axis, with each command marked
// and named at its time, so that one sees where the loop came back.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "host/audio_buffer.h"

struct PlotMarker {
    double seconds = 0.0;
    std::string label;
};

// Writes a PNG through a temporary file beside `path`.
void plotWaveforms(const std::filesystem::path& path, const AudioBuffer& input,
                   const AudioBuffer& output, const std::vector<PlotMarker>& markers);
