// An audio file read through libsndfile a chunk at a time: opening checks that it is audio,
// reading delivers its frames channel by channel.
#pragma once

#include <filesystem>
#include <vector>

#include "host/audio_stream.h"
#include "host/sndfile_handle.h"

class AudioFileReader : public AudioSource {
public:
    explicit AudioFileReader(std::filesystem::path file);

    int32_t sampleRate() const override { return info.samplerate; }
    size_t channelCount() const override { return static_cast<size_t>(info.channels); }
    int64_t declaredFrames() const override { return info.frames; }
    bool exhausted() override;
    int64_t read(float* const* channels, int64_t count) override;

private:
    // Reads the next chunk; false at the end of the file. A read error is thrown.
    bool refill();

    std::filesystem::path path;
    SF_INFO info{};
    SndfileHandle file;
    std::vector<float> interleaved;  // the current chunk
    int64_t chunkFrames = 0;
    int64_t chunkPosition = 0;
};
