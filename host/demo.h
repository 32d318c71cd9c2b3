// `kestrune demo`: a short phrase synthesised in code, played into the looper under a built-in
// cue sheet that records it, overdubs a second phrase, and plays the loop reversed, at half speed
// and doubled.
#pragma once

#include <filesystem>
#include <optional>
#include <vector>

#include "host/audio_buffer.h"
#include "host/parameter_settings.h"

inline constexpr int32_t kDemoSampleRate = 44100;

AudioBuffer synthesiseDemoPhrase(int32_t sampleRate);
const char* demoCueSheet();
// Dry and loop both heard, the loop fading slowly while overdubbing (by index: 0 Feedback,
// 1 Loop Mix, 2 Dry Mix).
std::vector<ParameterSetting> demoParameterSettings();

void runDemo(const std::filesystem::path& output, const std::optional<std::filesystem::path>& plot,
             bool quiet);
