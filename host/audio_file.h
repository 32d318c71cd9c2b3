// Whole audio files read into memory and written from it (for plots and tests; renders stream
// through AudioFileReader and AudioFileWriter), and the output format an extension names.
#pragma once

#include <filesystem>

#include "host/audio_buffer.h"

AudioBuffer readAudioFile(const std::filesystem::path& path);

// The libsndfile format for an output file's extension: .wav or none (32-bit float WAV), .flac
// (24-bit), .aif/.aiff (32-bit float). Other extensions are an error.
int outputFormatFor(const std::filesystem::path& path);

// Writes to a temporary file beside `path` and renames it into place when all went well.
void writeAudioFile(const std::filesystem::path& path, const AudioBuffer& audio);
