#include "host/audio_file.h"

#include <sndfile.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <string>

#include "host/host_error.h"
#include "host/replacing_file.h"

namespace {

constexpr sf_count_t kChunkFrames = 65536;

struct SndfileCloser {
    void operator()(SNDFILE* file) const { sf_close(file); }
};
using SndfileHandle = std::unique_ptr<SNDFILE, SndfileCloser>;

std::string lowerCaseExtension(const std::filesystem::path& path) {
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

void appendInterleaved(AudioBuffer& audio, const std::vector<float>& interleaved,
                       sf_count_t frames) {
    const size_t channelCount = audio.channels.size();
    for (size_t ch = 0; ch < channelCount; ++ch) {
        std::vector<float>& channel = audio.channels[ch];
        const size_t start = channel.size();
        channel.resize(start + static_cast<size_t>(frames));
        for (sf_count_t frame = 0; frame < frames; ++frame) {
            channel[start + static_cast<size_t>(frame)] =
                interleaved[static_cast<size_t>(frame) * channelCount + ch];
        }
    }
}

void interleave(const AudioBuffer& audio, int64_t start, int64_t frames,
                std::vector<float>& interleaved) {
    const size_t channelCount = audio.channels.size();
    for (int64_t frame = 0; frame < frames; ++frame) {
        for (size_t ch = 0; ch < channelCount; ++ch) {
            interleaved[static_cast<size_t>(frame) * channelCount + ch] =
                audio.channels[ch][static_cast<size_t>(start + frame)];
        }
    }
}

void writeFrames(SNDFILE* file, const AudioBuffer& audio, const std::filesystem::path& target) {
    std::vector<float> interleaved(static_cast<size_t>(kChunkFrames) * audio.channels.size());
    for (int64_t start = 0; start < audio.frames(); start += kChunkFrames) {
        const int64_t frames = std::min<int64_t>(kChunkFrames, audio.frames() - start);
        interleave(audio, start, frames, interleaved);
        if (sf_writef_float(file, interleaved.data(), frames) != frames) {
            throw HostError(target, std::string("cannot write audio: ") + sf_strerror(file));
        }
    }
}

}  // namespace

AudioBuffer readAudioFile(const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        throw HostError(path, std::filesystem::exists(path, error) ? "not an audio file"
                                                                     : "no such audio file");
    }
    SF_INFO info{};
    SndfileHandle file(sf_open(path.c_str(), SFM_READ, &info));
    if (!file) {
        throw HostError(path, std::string("not an audio file that can be read (") +
                                  sf_strerror(nullptr) + ")");
    }
    if (info.channels < 1 || info.samplerate < 1) {
        throw HostError(path, "audio file without channels or sample rate");
    }
    AudioBuffer audio;
    audio.sampleRate = info.samplerate;
    audio.channels.resize(static_cast<size_t>(info.channels));
    for (auto& channel : audio.channels) {
        channel.reserve(static_cast<size_t>(std::max<sf_count_t>(info.frames, 0)));
    }
    std::vector<float> interleaved(static_cast<size_t>(kChunkFrames) *
                                   static_cast<size_t>(info.channels));
    for (;;) {
        const sf_count_t frames = sf_readf_float(file.get(), interleaved.data(), kChunkFrames);
        if (frames <= 0) {
            break;
        }
        appendInterleaved(audio, interleaved, frames);
    }
    if (sf_error(file.get()) != SF_ERR_NO_ERROR) {
        throw HostError(path, std::string("cannot read audio: ") + sf_strerror(file.get()));
    }
    return audio;
}

int outputFormatFor(const std::filesystem::path& path) {
    const std::string extension = lowerCaseExtension(path);
    if (extension == ".wav" || extension.empty()) {
        return SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    }
    if (extension == ".flac") {
        return SF_FORMAT_FLAC | SF_FORMAT_PCM_24;
    }
    if (extension == ".aif" || extension == ".aiff") {
        return SF_FORMAT_AIFF | SF_FORMAT_FLOAT;
    }
    throw HostError(path, "unknown output format '" + extension +
                              "' (use .wav, .flac, .aif or .aiff)");
}

void writeAudioFile(const std::filesystem::path& path, const AudioBuffer& audio) {
    SF_INFO info{};
    info.samplerate = audio.sampleRate;
    info.channels = static_cast<int>(audio.channels.size());
    info.format = outputFormatFor(path);
    if (!sf_format_check(&info)) {
        throw HostError(path, "this format cannot hold " + std::to_string(info.channels) +
                                  " channels at " + std::to_string(info.samplerate) + " Hz");
    }
    ReplacingFile output(path);
    {
        SndfileHandle file(sf_open(output.temporaryPath().c_str(), SFM_WRITE, &info));
        if (!file) {
            throw HostError(path, std::string("cannot write audio: ") + sf_strerror(nullptr));
        }
        sf_command(file.get(), SFC_SET_CLIPPING, nullptr, SF_TRUE);
        // No PEAK chunk: it carries a time stamp, and the same render should give the same bytes.
        sf_command(file.get(), SFC_SET_ADD_PEAK_CHUNK, nullptr, SF_FALSE);
        writeFrames(file.get(), audio, path);
        if (sf_close(file.release()) != 0) {
            throw HostError(path, "cannot finish writing the audio file");
        }
    }
    output.commit();
}
