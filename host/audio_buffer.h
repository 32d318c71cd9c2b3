// Audio in memory: one vector of float samples per channel, all of the same length.
#pragma once

#include <cstdint>
#include <vector>

struct AudioBuffer {
    int32_t sampleRate = 44100;
    std::vector<std::vector<float>> channels;

    int64_t frames() const {
        return channels.empty() ? 0 : static_cast<int64_t>(channels.front().size());
    }
    double seconds() const { return static_cast<double>(frames()) / sampleRate; }
};
