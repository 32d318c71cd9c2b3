// The offline render loop: feeds the input through a plug-in block by block and sends each MIDI
// message at its exact frame by splitting the block there. The only place that knows about blocks.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "host/audio_buffer.h"
#include "host/audio_stream.h"
#include "host/midi_message.h"

class Plugin;

struct RenderSettings {
    int32_t blockSize = 512;
    int64_t tailFrames = 0;  // silence rendered after the input ends
};

struct RenderResult {
    AudioBuffer output;
    size_t messagesAfterEnd = 0;  // messages due after the last frame, not sent
};

using ProgressReport = std::function<void(double fractionDone)>;

// Refuses a plug-in without outputs and a block size under 1.
void checkRenderable(const Plugin& plugin, const RenderSettings& settings);

// Streams `input` through the plug-in into `output`, which takes the plug-in's output count.
// `messages` in frame order. Answers the number of messages due after the last frame, not sent.
size_t render(Plugin& plugin, AudioSource& input, AudioSink& output,
              const std::vector<ScheduledMessage>& messages, const RenderSettings& settings,
              const ProgressReport& progress = {});

// The same in memory. The output has the input's rate and the plug-in's output count.
RenderResult render(Plugin& plugin, const AudioBuffer& input,
                    const std::vector<ScheduledMessage>& messages, const RenderSettings& settings,
                    const ProgressReport& progress = {});
