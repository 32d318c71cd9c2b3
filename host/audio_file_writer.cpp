#include "host/audio_file_writer.h"

#include <algorithm>
#include <string>

#include "host/audio_file.h"
#include "host/host_error.h"

namespace {

constexpr int64_t kChunkFrames = 16384;

SF_INFO checkedFormat(const std::filesystem::path& target, int32_t sampleRate, size_t channels) {
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = static_cast<int>(channels);
    info.format = outputFormatFor(target);
    if (!sf_format_check(&info)) {
        throw HostError(target, "this format cannot hold " + std::to_string(info.channels) +
                                    " channels at " + std::to_string(info.samplerate) + " Hz");
    }
    return info;
}

}  // namespace

AudioFileWriter::AudioFileWriter(const std::filesystem::path& target, int32_t sampleRate,
                                 size_t channels)
    : info(checkedFormat(target, sampleRate, channels)), output(target), channelTotal(channels),
      interleaved(static_cast<size_t>(kChunkFrames) * channels) {
    file.reset(sf_open(output.temporaryPath().c_str(), SFM_WRITE, &info));
    if (!file) {
        throw HostError(target, std::string("cannot write audio: ") + sf_strerror(nullptr));
    }
    sf_command(file.get(), SFC_SET_CLIPPING, nullptr, SF_TRUE);
    // No PEAK chunk: it carries a time stamp, and the same render should give the same bytes.
    sf_command(file.get(), SFC_SET_ADD_PEAK_CHUNK, nullptr, SF_FALSE);
}

void AudioFileWriter::write(const float* const* channels, int64_t count) {
    for (int64_t done = 0; done < count;) {
        const int64_t frames = std::min(count - done, kChunkFrames - pending);
        for (size_t ch = 0; ch < channelTotal; ++ch) {
            const float* from = channels[ch] + done;
            float* to = interleaved.data() + static_cast<size_t>(pending) * channelTotal + ch;
            for (int64_t frame = 0; frame < frames; ++frame) {
                to[static_cast<size_t>(frame) * channelTotal] = from[frame];
            }
        }
        pending += frames;
        done += frames;
        if (pending == kChunkFrames) {
            flush();
        }
    }
}

void AudioFileWriter::finish() {
    flush();
    if (sf_close(file.release()) != 0) {
        throw HostError(output.targetPath(), "cannot finish writing the audio file");
    }
    output.commit();
}

void AudioFileWriter::flush() {
    if (pending > 0 && sf_writef_float(file.get(), interleaved.data(), pending) != pending) {
        throw HostError(output.targetPath(), std::string("cannot write audio: ") + sf_strerror(file.get()));
    }
    pending = 0;
}
