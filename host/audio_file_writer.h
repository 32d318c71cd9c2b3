// An audio file written through libsndfile a chunk at a time, under a temporary name beside its
// target: `finish` puts it in place; a writer dropped before that leaves the target untouched.
#pragma once

#include <filesystem>
#include <vector>

#include "host/audio_stream.h"
#include "host/replacing_file.h"
#include "host/sndfile_handle.h"

class AudioFileWriter : public AudioSink {
public:
    // The format follows the extension (see outputFormatFor).
    AudioFileWriter(const std::filesystem::path& target, int32_t sampleRate, size_t channels);

    void write(const float* const* channels, int64_t count) override;
    void finish();

private:
    void flush();

    SF_INFO info;  // checked before the temporary file is made
    ReplacingFile output;
    size_t channelTotal;
    SndfileHandle file;
    std::vector<float> interleaved;  // frames waiting to be written
    int64_t pending = 0;
};
