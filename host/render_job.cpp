#include "host/render_job.h"

#include <cmath>
#include <iostream>

#include "host/audio_file.h"
#include "host/audio_file_reader.h"
#include "host/audio_file_writer.h"
#include "host/cue_sheet.h"
#include "host/host_error.h"
#include "host/memory_audio.h"
#include "host/midi_commands.h"
#include "host/midi_file.h"
#include "host/plot.h"
#include "host/plugin.h"
#include "host/progress_bar.h"
#include "host/render.h"
#include "host/timeline.h"

namespace {

// Also true for two names of one file (a link, "./x" and "x").
bool samePath(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code error;
    if (std::filesystem::equivalent(a, b, error)) {
        return true;
    }
    std::error_code errorA;
    std::error_code errorB;
    const std::filesystem::path canonicalA = std::filesystem::weakly_canonical(a, errorA);
    const std::filesystem::path canonicalB = std::filesystem::weakly_canonical(b, errorB);
    if (errorA || errorB) {
        return a.lexically_normal() == b.lexically_normal();
    }
    return canonicalA == canonicalB;
}

void checkFolderExists(const std::filesystem::path& file) {
    const std::filesystem::path folder = file.parent_path();
    std::error_code error;
    if (!folder.empty() && !std::filesystem::is_directory(folder, error)) {
        throw HostError(file, "the folder " + folder.string() + " does not exist");
    }
}

std::vector<TimedMessage> readMessages(const RenderJob& job) {
    std::vector<TimedMessage> messages;
    if (job.midiFile) {
        messages = readMidiFile(*job.midiFile);
    }
    if (job.cue) {
        const std::vector<TimedMessage> cues = loadCueSheet(*job.cue);
        messages.insert(messages.end(), cues.begin(), cues.end());
    }
    return messages;
}

std::vector<PlotMarker> markersFor(const std::vector<TimedMessage>& messages) {
    std::vector<PlotMarker> markers;
    for (const TimedMessage& timed : messages) {
        if (!isNoteOff(timed.message)) {
            markers.push_back({timed.seconds, describeMessage(timed.message)});
        }
    }
    return markers;
}

void prepare(Plugin& plugin, const RenderPlan& plan) {
    if (plan.program) {
        selectProgram(plugin, *plan.program);
    }
    applyParameterSettings(plugin, plan.settings);
}

RenderSettings renderSettingsFor(const RenderPlan& plan) {
    RenderSettings settings;
    settings.blockSize = plan.blockSize;
    settings.tailFrames = static_cast<int64_t>(std::llround(plan.tailSeconds * plan.input->sampleRate()));
    return settings;
}

void warnAboutLateMessages(const RenderPlan& plan, size_t late) {
    if (late > 0 && !plan.quiet) {
        std::cerr << "kestrune: " << late
                  << " command(s) come after the end of the render and were not sent"
                     " (--tail renders longer)\n";
    }
}

}  // namespace

void checkOutputPath(const std::filesystem::path& output,
                     const std::optional<std::filesystem::path>& input) {
    if (input && samePath(output, *input)) {
        throw HostError(output, "the output would overwrite the input; choose another output file");
    }
    outputFormatFor(output);
    checkFolderExists(output);
    std::error_code error;
    if (std::filesystem::is_directory(output, error)) {
        throw HostError(output, "is a folder, not an output file");
    }
}

void checkPlotPath(const std::optional<std::filesystem::path>& plot,
                   const std::filesystem::path& output,
                   const std::optional<std::filesystem::path>& input) {
    if (!plot) {
        return;
    }
    if ((input && samePath(*plot, *input)) || samePath(*plot, output)) {
        throw HostError(*plot, "the plot would overwrite the input or the output");
    }
    checkFolderExists(*plot);
}

void runRender(const RenderJob& job) {
    checkOutputPath(job.output, job.input);
    checkPlotPath(job.plot, job.output, job.input);
    if (!std::isfinite(job.tailSeconds) || job.tailSeconds < 0.0) {
        throw HostError("--tail", "the tail must be 0 seconds or more");
    }
    RenderPlan plan;
    for (const std::string& setting : job.settings) {
        plan.settings.push_back(parseParameterSetting(setting));
    }
    plan.input = std::make_unique<AudioFileReader>(job.input);
    plan.messages = readMessages(job);
    plan.plugin = findPlugin(job.plugin, pluginSearchFolders(executableFolder()));
    plan.blockSize = job.blockSize;
    plan.tailSeconds = job.tailSeconds;
    plan.program = job.program;
    plan.output = job.output;
    plan.plot = job.plot;
    plan.quiet = job.quiet;
    runRenderPlan(plan);
}

// Streams the input through the plug-in into the output file; with a plot, renders in memory,
// since the picture needs the whole of both.
void runRenderPlan(RenderPlan& plan) {
    const std::vector<ScheduledMessage> scheduled =
        scheduleMessages(plan.messages, plan.input->sampleRate());
    Plugin plugin(plan.plugin);
    prepare(plugin, plan);
    const RenderSettings settings = renderSettingsFor(plan);
    checkRenderable(plugin, settings);
    ProgressBar progressBar(!plan.quiet && ProgressBar::stderrIsTerminal());
    const ProgressReport progress = [&progressBar](double fraction) { progressBar.update(fraction); };
    const auto outputs = static_cast<size_t>(plugin.record().numOutputs);
    if (!plan.plot) {
        AudioFileWriter writer(plan.output, plan.input->sampleRate(), outputs);
        const size_t late = render(plugin, *plan.input, writer, scheduled, settings, progress);
        warnAboutLateMessages(plan, late);
        writer.finish();
        return;
    }
    MemorySource input(readAll(*plan.input));
    MemorySink output(input.sampleRate(), outputs);
    const size_t late = render(plugin, input, output, scheduled, settings, progress);
    warnAboutLateMessages(plan, late);
    writeAudioFile(plan.output, output.audio());
    plotWaveforms(*plan.plot, input.audio(), output.audio(), markersFor(plan.messages));
}
