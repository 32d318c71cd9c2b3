// One effect of a loaded plug-in, owned: created through the library's entry point and checked to
// be a VST 2 record, switched off and closed (effMainsChanged 0, effClose) when it goes away.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "frame/vst2.h"
#include "host/host_callback.h"
#include "host/midi_message.h"
#include "host/plugin_library.h"

class Plugin {
public:
    explicit Plugin(const std::filesystem::path& path);
    ~Plugin();
    Plugin(const Plugin&) = delete;
    Plugin& operator=(const Plugin&) = delete;

    const AEffect& record() const { return *effect; }
    const std::filesystem::path& path() const { return library.path(); }

    intptr_t dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                      float opt = 0.0f);
    struct TextAnswer {
        intptr_t answer = 0;
        std::string text;
    };
    // A text the plug-in writes into a buffer of ours (names, labels, display texts).
    TextAnswer askText(int32_t opcode, int32_t index = 0, intptr_t value = 0);
    std::string text(int32_t opcode, int32_t index = 0) { return askText(opcode, index).text; }

    void configure(float sampleRate, int32_t maxBlockSize);
    // Tells the plug-in that inputs 1..channels-1 carry audio.
    void connectInputs(int32_t channels);
    void start();
    void stop();

    float parameter(int32_t index) const;
    void setParameter(int32_t index, float value);

    // Sends the messages as one event list, all at the start of the next block.
    void sendMidi(std::span<const MidiMessage> messages);
    // Runs one block: processReplacing, or the accumulating process on cleared outputs.
    void process(float** inputs, float** outputs, int32_t frames, int32_t outputCount);

private:
    PluginLibrary library;
    HostContext context;
    AEffect* effect = nullptr;
    std::unique_ptr<HostContextBinding> binding;
    bool running = false;
    std::vector<VstMidiEvent> midiEvents;
    std::vector<intptr_t> eventListStorage;
};
