#include "host/audio_file.h"

#include <sndfile.h>

#include <algorithm>
#include <cctype>
#include <string>

#include "host/audio_file_reader.h"
#include "host/audio_file_writer.h"
#include "host/host_error.h"
#include "host/memory_audio.h"

namespace {

std::string lowerCaseExtension(const std::filesystem::path& path) {
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

}  // namespace

AudioBuffer readAudioFile(const std::filesystem::path& path) {
    AudioFileReader reader(path);
    return readAll(reader);
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
    AudioFileWriter writer(path, audio.sampleRate, audio.channels.size());
    std::vector<const float*> channels;
    for (const auto& channel : audio.channels) {
        channels.push_back(channel.data());
    }
    writer.write(channels.data(), audio.frames());
    writer.finish();
}
