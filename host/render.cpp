#include "host/render.h"

#include <algorithm>
#include <limits>
#include <optional>

#include "host/host_error.h"
#include "host/memory_audio.h"
#include "host/plugin.h"

namespace {

// Per-channel buffers of one block and the pointer array a plug-in takes.
class BlockBuffers {
public:
    BlockBuffers(size_t channels, int32_t blockSize)
        : samples(channels, std::vector<float>(static_cast<size_t>(blockSize))) {
        for (auto& channel : samples) {
            pointers.push_back(channel.data());
        }
    }

    float** data() { return pointers.data(); }
    std::vector<float>& channel(size_t index) { return samples[index]; }
    size_t channelCount() const { return samples.size(); }

private:
    std::vector<std::vector<float>> samples;
    std::vector<float*> pointers;
};

class Renderer {
public:
    Renderer(Plugin& hosted, AudioSource& source, AudioSink& sink,
             const std::vector<ScheduledMessage>& list, const RenderSettings& renderSettings)
        : plugin(hosted), input(source), output(sink), messages(list), settings(renderSettings),
          inputs(inputCount(hosted, source), renderSettings.blockSize),
          outputs(static_cast<size_t>(hosted.record().numOutputs), renderSettings.blockSize) {}

    size_t run(const ProgressReport& progress) {
        plugin.configure(static_cast<float>(input.sampleRate()), settings.blockSize);
        plugin.connectInputs(static_cast<int32_t>(input.channelCount()));
        plugin.start();
        const double expectedFrames =
            static_cast<double>(std::max<int64_t>(input.declaredFrames(), 0) + settings.tailFrames);
        for (int64_t frame = 0;;) {
            if (!inputEnd && input.exhausted()) {
                inputEnd = frame;
            }
            const int64_t last =
                inputEnd ? *inputEnd + settings.tailFrames : std::numeric_limits<int64_t>::max();
            if (frame >= last) {
                break;
            }
            sendMessagesDueAt(frame);
            const int32_t frames =
                fillInputs(frame, static_cast<int32_t>(std::min(segmentEnd(frame), last) - frame));
            processSegment(frames);
            frame += frames;
            if (progress) {
                progress(std::min(1.0, static_cast<double>(frame) / expectedFrames));
            }
        }
        plugin.stop();
        return messages.size() - nextMessage;
    }

private:
    // A mono source feeds every input the plug-in declares; otherwise each source channel feeds one.
    static size_t inputCount(const Plugin& plugin, const AudioSource& source) {
        return std::max<size_t>({static_cast<size_t>(std::max(plugin.record().numInputs, 0)),
                                 source.channelCount(), 1});
    }

    void sendMessagesDueAt(int64_t frame) {
        const size_t first = nextMessage;
        while (nextMessage < messages.size() && messages[nextMessage].frame <= frame) {
            ++nextMessage;
        }
        due.clear();
        for (size_t i = first; i < nextMessage; ++i) {
            due.push_back(messages[i].message);
        }
        plugin.sendMidi(due);
    }

    // The end of the block that `frame` lies in, or the next message's frame if that comes first.
    int64_t segmentEnd(int64_t frame) const {
        int64_t end = (frame / settings.blockSize + 1) * settings.blockSize;
        if (nextMessage < messages.size()) {
            end = std::min(end, messages[nextMessage].frame);
        }
        return end;
    }

    // Reads the input from `frame` on, silence after its end, into a segment of at most `wanted`
    // frames. Answers the segment's length: shorter only where the render ends.
    int32_t fillInputs(int64_t frame, int32_t wanted) {
        const size_t sourceChannels = input.channelCount();
        int32_t read = 0;
        if (!inputEnd) {
            read = static_cast<int32_t>(input.read(inputs.data(), wanted));
            if (read < wanted) {
                inputEnd = frame + read;
            }
        }
        const auto frames = static_cast<int32_t>(
            inputEnd ? std::min<int64_t>(wanted, *inputEnd + settings.tailFrames - frame) : wanted);
        for (size_t ch = 0; ch < inputs.channelCount(); ++ch) {
            std::vector<float>& block = inputs.channel(ch);
            if (ch < sourceChannels) {
                std::fill(block.begin() + read, block.begin() + frames, 0.0f);
            } else if (sourceChannels == 1) {
                std::copy_n(inputs.channel(0).begin(), frames, block.begin());
            } else {
                std::fill_n(block.begin(), frames, 0.0f);
            }
        }
        return frames;
    }

    void processSegment(int32_t frames) {
        for (size_t ch = 0; ch < outputs.channelCount(); ++ch) {
            std::fill_n(outputs.channel(ch).begin(), frames, 0.0f);
        }
        plugin.process(inputs.data(), outputs.data(), frames,
                       static_cast<int32_t>(outputs.channelCount()));
        output.write(outputs.data(), frames);
    }

    Plugin& plugin;
    AudioSource& input;
    AudioSink& output;
    const std::vector<ScheduledMessage>& messages;
    const RenderSettings& settings;
    BlockBuffers inputs;
    BlockBuffers outputs;
    std::optional<int64_t> inputEnd;  // the frame after the input's last, once it is known
    size_t nextMessage = 0;
    std::vector<MidiMessage> due;
};

}  // namespace

void checkRenderable(const Plugin& plugin, const RenderSettings& settings) {
    if (plugin.record().numOutputs < 1) {
        throw HostError(plugin.path(), "the plug-in has no audio outputs");
    }
    if (settings.blockSize < 1) {
        throw HostError("--block", "the block size must be 1 or more");
    }
}

size_t render(Plugin& plugin, AudioSource& input, AudioSink& output,
              const std::vector<ScheduledMessage>& messages, const RenderSettings& settings,
              const ProgressReport& progress) {
    checkRenderable(plugin, settings);
    return Renderer(plugin, input, output, messages, settings).run(progress);
}

RenderResult render(Plugin& plugin, const AudioBuffer& input,
                    const std::vector<ScheduledMessage>& messages, const RenderSettings& settings,
                    const ProgressReport& progress) {
    checkRenderable(plugin, settings);
    MemorySource source(input);
    MemorySink sink(input.sampleRate, static_cast<size_t>(plugin.record().numOutputs));
    RenderResult result;
    result.messagesAfterEnd = render(plugin, source, sink, messages, settings, progress);
    result.output = std::move(sink.audio());
    return result;
}
