#include "host/render.h"

#include <algorithm>

#include "host/host_error.h"
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
    Renderer(Plugin& hosted, const AudioBuffer& audio, const std::vector<ScheduledMessage>& list,
             const RenderSettings& renderSettings)
        : plugin(hosted), input(audio), messages(list), settings(renderSettings),
          totalFrames(audio.frames() + renderSettings.tailFrames),
          inputs(inputCount(hosted, audio), renderSettings.blockSize),
          outputs(static_cast<size_t>(hosted.record().numOutputs), renderSettings.blockSize) {
        result.output.sampleRate = audio.sampleRate;
        result.output.channels.assign(outputs.channelCount(), {});
        for (auto& channel : result.output.channels) {
            channel.reserve(static_cast<size_t>(totalFrames));
        }
    }

    RenderResult run(const ProgressReport& progress) {
        plugin.configure(static_cast<float>(input.sampleRate), settings.blockSize);
        plugin.connectInputs(static_cast<int32_t>(input.channels.size()));
        plugin.start();
        for (int64_t frame = 0; frame < totalFrames;) {
            sendMessagesDueAt(frame);
            const int64_t end = segmentEnd(frame);
            processSegment(frame, static_cast<int32_t>(end - frame));
            frame = end;
            if (progress) {
                progress(static_cast<double>(frame) / static_cast<double>(totalFrames));
            }
        }
        plugin.stop();
        result.messagesAfterEnd = messages.size() - nextMessage;
        return std::move(result);
    }

private:
    // A mono file feeds every input the plug-in declares; otherwise each file channel feeds one.
    static size_t inputCount(const Plugin& plugin, const AudioBuffer& audio) {
        return std::max<size_t>({static_cast<size_t>(std::max(plugin.record().numInputs, 0)),
                                 audio.channels.size(), 1});
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
        const int64_t blockEnd = (frame / settings.blockSize + 1) * settings.blockSize;
        int64_t end = std::min(blockEnd, totalFrames);
        if (nextMessage < messages.size()) {
            end = std::min(end, messages[nextMessage].frame);
        }
        return end;
    }

    void fillInputs(int64_t start, int32_t frames) {
        const size_t fileChannels = input.channels.size();
        for (size_t ch = 0; ch < inputs.channelCount(); ++ch) {
            std::vector<float>& block = inputs.channel(ch);
            std::fill_n(block.begin(), frames, 0.0f);
            const size_t source = fileChannels == 1 ? 0 : ch;
            if (source >= fileChannels || start >= input.frames()) {
                continue;
            }
            const auto available = std::min<int64_t>(frames, input.frames() - start);
            const auto& samples = input.channels[source];
            std::copy_n(samples.begin() + start, available, block.begin());
        }
    }

    void processSegment(int64_t start, int32_t frames) {
        fillInputs(start, frames);
        for (size_t ch = 0; ch < outputs.channelCount(); ++ch) {
            std::fill_n(outputs.channel(ch).begin(), frames, 0.0f);
        }
        plugin.process(inputs.data(), outputs.data(), frames,
                       static_cast<int32_t>(outputs.channelCount()));
        for (size_t ch = 0; ch < outputs.channelCount(); ++ch) {
            const auto& block = outputs.channel(ch);
            result.output.channels[ch].insert(result.output.channels[ch].end(), block.begin(),
                                              block.begin() + frames);
        }
    }

    Plugin& plugin;
    const AudioBuffer& input;
    const std::vector<ScheduledMessage>& messages;
    const RenderSettings& settings;
    int64_t totalFrames;
    BlockBuffers inputs;
    BlockBuffers outputs;
    size_t nextMessage = 0;
    std::vector<MidiMessage> due;
    RenderResult result;
};

}  // namespace

RenderResult render(Plugin& plugin, const AudioBuffer& input,
                    const std::vector<ScheduledMessage>& messages, const RenderSettings& settings,
                    const ProgressReport& progress) {
    if (plugin.record().numOutputs < 1) {
        throw HostError(plugin.path(), "the plug-in has no audio outputs");
    }
    if (settings.blockSize < 1) {
        throw HostError("--block", "the block size must be 1 or more");
    }
    return Renderer(plugin, input, messages, settings).run(progress);
}
