// An AudioBuffer seen as a source or filled as a sink: for synthesised input, plots and tests.
#pragma once

#include "host/audio_buffer.h"
#include "host/audio_stream.h"

class MemorySource : public AudioSource {
public:
    explicit MemorySource(AudioBuffer audio) : buffer(std::move(audio)) {}

    int32_t sampleRate() const override { return buffer.sampleRate; }
    size_t channelCount() const override { return buffer.channels.size(); }
    int64_t declaredFrames() const override { return buffer.frames(); }
    bool exhausted() override { return position >= buffer.frames(); }
    int64_t read(float* const* channels, int64_t count) override;
    const AudioBuffer& audio() const { return buffer; }

private:
    AudioBuffer buffer;
    int64_t position = 0;
};

class MemorySink : public AudioSink {
public:
    MemorySink(int32_t sampleRate, size_t channels);

    void write(const float* const* channels, int64_t count) override;
    AudioBuffer& audio() { return buffer; }

private:
    AudioBuffer buffer;
};

// Everything that is left in `source`.
AudioBuffer readAll(AudioSource& source);
