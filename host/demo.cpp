#include "host/demo.h"

#include <array>
#include <cmath>
#include <numbers>

#include "host/cue_sheet.h"
#include "host/memory_audio.h"
#include "host/plugin_search.h"
#include "host/render_job.h"

namespace {

constexpr double kDemoSeconds = 18.0;

struct Note {
    double start;     // seconds
    double midiNote;  // 69 = A 440 Hz
    double length;    // seconds
};

// First bar: a rising and falling figure in A minor, in eighths at 120 beats a minute.
constexpr std::array<Note, 8> kFirstPhrase{{
    {0.00, 57, 0.25}, {0.25, 60, 0.25}, {0.50, 64, 0.25}, {0.75, 69, 0.25},
    {1.00, 67, 0.25}, {1.25, 64, 0.25}, {1.50, 62, 0.25}, {1.75, 60, 0.25},
}};

// Third bar: a slower answer an octave up, overdubbed onto the loop.
constexpr std::array<Note, 4> kSecondPhrase{{
    {4.00, 76, 0.5}, {4.50, 74, 0.5}, {5.00, 72, 0.5}, {5.50, 69, 0.5},
}};

double frequencyOf(double midiNote) {
    return 440.0 * std::pow(2.0, (midiNote - 69.0) / 12.0);
}

// A plucked tone: a few harmonics under a fast attack and an exponential decay.
void addPluck(std::vector<float>& samples, int32_t sampleRate, const Note& note) {
    const double frequency = frequencyOf(note.midiNote);
    const auto first = static_cast<size_t>(note.start * sampleRate);
    const auto count = static_cast<size_t>(note.length * 1.6 * sampleRate);
    for (size_t i = 0; i < count && first + i < samples.size(); ++i) {
        const double t = static_cast<double>(i) / sampleRate;
        const double envelope = std::min(1.0, t * 200.0) * std::exp(-t * 6.0);
        double tone = 0.0;
        for (int harmonic = 1; harmonic <= 4; ++harmonic) {
            tone += std::sin(2.0 * std::numbers::pi * frequency * harmonic * t) / (harmonic * harmonic);
        }
        samples[first + i] += static_cast<float>(0.25 * envelope * tone);
    }
}

}  // namespace

AudioBuffer synthesiseDemoPhrase(int32_t sampleRate) {
    AudioBuffer audio;
    audio.sampleRate = sampleRate;
    audio.channels.assign(1, std::vector<float>(static_cast<size_t>(kDemoSeconds * sampleRate)));
    for (const Note& note : kFirstPhrase) {
        addPluck(audio.channels[0], sampleRate, note);
    }
    for (const Note& note : kSecondPhrase) {
        addPluck(audio.channels[0], sampleRate, note);
    }
    return audio;
}

const char* demoCueSheet() {
    return R"(# A two-second loop: recorded, overdubbed, then reversed, slowed and doubled.
0.0   loop-length 2
0.0   record        # record the first phrase
2.0   record        # stop: the loop plays it back
4.0   record        # overdub the answer
6.0   record
8.0   reverse       # the loop backwards
10.0  reverse
10.0  half-speed    # stretched to twice its length, an octave down
14.0  half-speed
14.0  double        # the loop followed by a copy of itself
)";
}

std::vector<ParameterSetting> demoParameterSettings() {
    return {{"0", 0.9f}, {"1", 0.8f}, {"2", 0.8f}};
}

void runDemo(const std::filesystem::path& output, const std::optional<std::filesystem::path>& plot,
             bool quiet) {
    checkOutputPath(output, std::nullopt);
    checkPlotPath(plot, output, std::nullopt);
    RenderPlan plan;
    plan.plugin = findPlugin(kDefaultPluginName, pluginSearchFolders(executableFolder()));
    plan.input = std::make_unique<MemorySource>(synthesiseDemoPhrase(kDemoSampleRate));
    plan.messages = parseCueSheet(demoCueSheet(), "demo cue sheet");
    plan.settings = demoParameterSettings();
    plan.output = output;
    plan.plot = plot;
    plan.quiet = quiet;
    runRenderPlan(plan);
}
