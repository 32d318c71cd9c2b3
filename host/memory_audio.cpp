#include "host/memory_audio.h"

#include <algorithm>

int64_t MemorySource::read(float* const* channels, int64_t count) {
    const int64_t frames = std::clamp<int64_t>(buffer.frames() - position, 0, count);
    for (size_t ch = 0; ch < buffer.channels.size(); ++ch) {
        std::copy_n(buffer.channels[ch].begin() + position, frames, channels[ch]);
    }
    position += frames;
    return frames;
}

MemorySink::MemorySink(int32_t sampleRate, size_t channels) {
    buffer.sampleRate = sampleRate;
    buffer.channels.resize(channels);
}

void MemorySink::write(const float* const* channels, int64_t count) {
    for (size_t ch = 0; ch < buffer.channels.size(); ++ch) {
        buffer.channels[ch].insert(buffer.channels[ch].end(), channels[ch], channels[ch] + count);
    }
}

AudioBuffer readAll(AudioSource& source) {
    constexpr int64_t kChunkFrames = 65536;
    MemorySink sink(source.sampleRate(), source.channelCount());
    for (auto& channel : sink.audio().channels) {
        channel.reserve(static_cast<size_t>(std::max<int64_t>(source.declaredFrames(), 0)));
    }
    std::vector<std::vector<float>> chunk(source.channelCount(),
                                          std::vector<float>(static_cast<size_t>(kChunkFrames)));
    std::vector<float*> pointers;
    for (auto& channel : chunk) {
        pointers.push_back(channel.data());
    }
    while (const int64_t frames = source.read(pointers.data(), kChunkFrames)) {
        sink.write(pointers.data(), frames);
    }
    return std::move(sink.audio());
}
