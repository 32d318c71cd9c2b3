// Audio that flows through a render a stretch at a time, one array per channel, so that a file
// of any length needs only a few blocks of memory.
#pragma once

#include <cstddef>
#include <cstdint>

class AudioSource {
public:
    virtual ~AudioSource() = default;

    virtual int32_t sampleRate() const = 0;
    virtual size_t channelCount() const = 0;
    // The length as the source declares it; the render goes by what `read` delivers.
    virtual int64_t declaredFrames() const = 0;
    // Whether every frame has been read. May read ahead to find out.
    virtual bool exhausted() = 0;
    // Reads up to `count` frames into `channels` (channelCount() arrays); fewer only at the end.
    virtual int64_t read(float* const* channels, int64_t count) = 0;
};

class AudioSink {
public:
    virtual ~AudioSink() = default;

    // Appends `count` frames from `channels`, one array for each of the sink's channels.
    virtual void write(const float* const* channels, int64_t count) = 0;
};
