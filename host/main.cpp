// kestrune: a command-line host for VST 2 plug-ins (KestruneVSTi by default).
// Subcommands: info, render, demo, live. Errors: one message on stderr, exit status 2.
#include <CLI/CLI.hpp>

#include <iostream>

#include "host/demo.h"
#include "host/info_command.h"
#include "host/live.h"
#include "host/plugin_search.h"
#include "host/render_job.h"

namespace {

constexpr int kFailure = 2;

struct InfoOptions {
    std::string plugin = kDefaultPluginName;
    bool json = false;
};

struct DemoOptions {
    std::filesystem::path output = "demo.wav";
    std::optional<std::filesystem::path> plot;
    bool quiet = false;
};

void addInfoCommand(CLI::App& app, InfoOptions& options) {
    CLI::App* info = app.add_subcommand("info", "Show what a host sees of a plug-in");
    info->add_option("PLUGIN", options.plugin, "Plug-in path or name")
        ->capture_default_str();
    info->add_flag("--json", options.json, "Print JSON");
}

void addRenderCommand(CLI::App& app, RenderJob& job) {
    CLI::App* render = app.add_subcommand("render", "Render an audio file through a plug-in");
    render->add_option("PLUGIN", job.plugin, "Plug-in path or name")->capture_default_str();
    render->add_option("-i,--input", job.input, "Input audio file")->required();
    render->add_option("-o,--output", job.output, "Output audio file (.wav, .flac, .aif)")
        ->required();
    render->add_option("--midi", job.midiFile, "Standard MIDI File with commands");
    render->add_option("--cue", job.cue, "Cue sheet file, or cue lines separated by ';'");
    render->add_option("--block", job.blockSize, "Block size in frames")
        ->check(CLI::Range(1, 1 << 20))
        ->capture_default_str();
    render->add_option("--tail", job.tailSeconds, "Seconds of silence rendered after the input")
        ->check(CLI::NonNegativeNumber)
        ->capture_default_str();
    render->add_option("--set", job.settings, "Set a parameter: NAME=VALUE (VALUE 0..1)")
        ->allow_extra_args(false);
    render->add_option("--program", job.program, "Program number to select first")
        ->check(CLI::NonNegativeNumber);
    render->add_option("--plot", job.plot, "Draw input, output and commands into a PNG");
    render->add_flag("-q,--quiet", job.quiet, "No progress bar, no warnings");
}

void addDemoCommand(CLI::App& app, DemoOptions& options) {
    CLI::App* demo = app.add_subcommand("demo", "Render the built-in looper demo");
    demo->add_option("-o,--output", options.output, "Output audio file")->capture_default_str();
    demo->add_option("--plot", options.plot, "Draw input, output and commands into a PNG");
    demo->add_flag("-q,--quiet", options.quiet, "No progress bar");
}

void addLiveCommand(CLI::App& app, LiveOptions& options) {
    CLI::App* live = app.add_subcommand("live", "Play a plug-in in real time as a JACK client");
    live->add_option("PLUGIN", options.plugin, "Plug-in path or name")->capture_default_str();
    live->add_option("--name", options.clientName, "JACK client name")->capture_default_str();
    live->add_flag("--stereo-in", options.stereoIn, "Two audio inputs (in_1, in_2)");
    live->add_flag("--connect", options.connect,
                   "Connect to the system's capture, playback and MIDI ports");
    live->add_option("--set", options.settings, "Set a parameter: NAME=VALUE (VALUE 0..1)")
        ->allow_extra_args(false);
    live->add_option("--program", options.program, "Program number to select first")
        ->check(CLI::NonNegativeNumber);
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app("kestrune: renders audio through VST 2 plug-ins, KestruneVSTi by default");
    app.require_subcommand(1);
    InfoOptions info;
    RenderJob render;
    DemoOptions demo;
    addInfoCommand(app, info);
    addRenderCommand(app, render);
    addDemoCommand(app, demo);
    LiveOptions live;
    addLiveCommand(app, live);
    try {
        app.parse(argc, argv);
    } catch (const CLI::Success& help) {
        return app.exit(help);
    } catch (const CLI::ParseError& error) {
        std::cerr << "kestrune: " << error.what() << " (kestrune --help lists the options)\n";
        return kFailure;
    }
    try {
        if (app.got_subcommand("info")) {
            runInfo(info.plugin, info.json);
        } else if (app.got_subcommand("render")) {
            runRender(render);
        } else if (app.got_subcommand("live")) {
            runLive(live);
        } else {
            runDemo(demo.output, demo.plot, demo.quiet);
        }
    } catch (const std::exception& error) {
        std::cerr << "kestrune: " << error.what() << "\n";
        return kFailure;
    }
    return 0;
}
