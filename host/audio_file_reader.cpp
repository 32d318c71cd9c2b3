#include "host/audio_file_reader.h"

#include <algorithm>
#include <string>

#include "host/host_error.h"

namespace {

constexpr sf_count_t kChunkFrames = 16384;

}  // namespace

AudioFileReader::AudioFileReader(std::filesystem::path file) : path(std::move(file)) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        throw HostError(path, std::filesystem::exists(path, error) ? "not an audio file"
                                                                     : "no such audio file");
    }
    this->file.reset(sf_open(path.c_str(), SFM_READ, &info));
    if (!this->file) {
        throw HostError(path, std::string("not an audio file that can be read (") +
                                  sf_strerror(nullptr) + ")");
    }
    if (info.channels < 1 || info.samplerate < 1) {
        throw HostError(path, "audio file without channels or sample rate");
    }
    interleaved.resize(static_cast<size_t>(kChunkFrames) * static_cast<size_t>(info.channels));
}

bool AudioFileReader::exhausted() {
    return chunkPosition >= chunkFrames && !refill();
}

int64_t AudioFileReader::read(float* const* channels, int64_t count) {
    const auto channelTotal = static_cast<size_t>(info.channels);
    int64_t done = 0;
    while (done < count && !exhausted()) {
        const int64_t frames = std::min(count - done, chunkFrames - chunkPosition);
        for (size_t ch = 0; ch < channelTotal; ++ch) {
            const float* from = interleaved.data() + static_cast<size_t>(chunkPosition) * channelTotal + ch;
            float* to = channels[ch] + done;
            for (int64_t frame = 0; frame < frames; ++frame) {
                to[frame] = from[static_cast<size_t>(frame) * channelTotal];
            }
        }
        chunkPosition += frames;
        done += frames;
    }
    return done;
}

bool AudioFileReader::refill() {
    chunkFrames = std::max<sf_count_t>(sf_readf_float(file.get(), interleaved.data(), kChunkFrames), 0);
    chunkPosition = 0;
    if (chunkFrames == 0 && sf_error(file.get()) != SF_ERR_NO_ERROR) {
        throw HostError(path, std::string("cannot read audio: ") + sf_strerror(file.get()));
    }
    return chunkFrames > 0;
}
