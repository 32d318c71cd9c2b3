#include "host/plugin.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "host/host_error.h"

namespace {

// Plug-ins may write more than the 8 or 24 characters the interface allows; give them room.
constexpr size_t kTextBufferSize = 512;

std::string hex32(int32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08x", static_cast<uint32_t>(value));
    return text;
}

std::string printable(const char* text) {
    std::string result;
    for (const char* c = text; *c != '\0'; ++c) {
        const auto byte = static_cast<unsigned char>(*c);
        result.push_back(byte < 0x20 || byte == 0x7F ? '?' : *c);
    }
    return result;
}

AEffect* createEffect(const PluginLibrary& library, HostContext& context) {
    const PendingHostContext pending(context);
    AEffect* effect = library.entry()(hostCallback);
    if (effect == nullptr) {
        throw HostError(library.path(), "the plug-in's entry point returned no effect");
    }
    if (effect->magic != kEffectMagic) {
        throw HostError(library.path(), "not a VST 2 plug-in record (magic " +
                                            hex32(effect->magic) + ", expected 'VstP')");
    }
    return effect;
}

}  // namespace

Plugin::Plugin(const std::filesystem::path& path)
    : library(path), effect(createEffect(library, context)),
      binding(std::make_unique<HostContextBinding>(effect, context)) {
    dispatch(effOpen);
}

Plugin::~Plugin() {
    stop();
    dispatch(effClose);
    binding.reset();
}

intptr_t Plugin::dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

Plugin::TextAnswer Plugin::askText(int32_t opcode, int32_t index, intptr_t value) {
    std::vector<char> buffer(kTextBufferSize, '\0');
    const intptr_t answer = dispatch(opcode, index, value, buffer.data());
    buffer.back() = '\0';
    return {answer, printable(buffer.data())};
}

void Plugin::configure(float sampleRate, int32_t maxBlockSize) {
    binding->update({sampleRate, maxBlockSize});
    dispatch(effSetSampleRate, 0, 0, nullptr, sampleRate);
    dispatch(effSetBlockSize, 0, maxBlockSize);
}

void Plugin::connectInputs(int32_t channels) {
    for (int32_t input = 1; input < channels; ++input) {
        dispatch(effConnectInput, input, 1);
    }
}

void Plugin::start() {
    if (!running) {
        dispatch(effMainsChanged, 0, 1);
        running = true;
    }
}

void Plugin::stop() {
    // Only a running effect is switched off: some plug-ins complain when switched off twice.
    if (running) {
        dispatch(effMainsChanged, 0, 0);
        running = false;
    }
}

float Plugin::parameter(int32_t index) const {
    return effect->getParameter != nullptr ? effect->getParameter(effect, index) : 0.0f;
}

void Plugin::setParameter(int32_t index, float value) {
    if (effect->setParameter != nullptr) {
        effect->setParameter(effect, index, value);
    }
}

void Plugin::sendMidi(std::span<const MidiMessage> messages) {
    if (messages.empty()) {
        return;
    }
    midiEvents.assign(messages.size(), VstMidiEvent{});
    const size_t listBytes = offsetof(VstEvents, events) + messages.size() * sizeof(VstEvent*);
    eventListStorage.assign((listBytes + sizeof(intptr_t) - 1) / sizeof(intptr_t), 0);
    auto* listBytesStart = reinterpret_cast<unsigned char*>(eventListStorage.data());
    for (size_t i = 0; i < messages.size(); ++i) {
        VstMidiEvent& event = midiEvents[i];
        event.type = kVstMidiType;
        event.byteSize = sizeof(VstMidiEvent);
        for (size_t b = 0; b < 3; ++b) {
            event.midiData[b] = static_cast<char>(messages[i].bytes[b]);
        }
        VstEvent* pointer = reinterpret_cast<VstEvent*>(&event);
        std::memcpy(listBytesStart + offsetof(VstEvents, events) + i * sizeof(VstEvent*), &pointer,
                    sizeof pointer);
    }
    auto* list = reinterpret_cast<VstEvents*>(listBytesStart);
    list->numEvents = static_cast<int32_t>(messages.size());
    dispatch(effProcessEvents, 0, 0, list);
}

void Plugin::process(float** inputs, float** outputs, int32_t frames, int32_t outputCount) {
    if ((effect->flags & effFlagsCanReplacing) != 0 && effect->processReplacing != nullptr) {
        effect->processReplacing(effect, inputs, outputs, frames);
        return;
    }
    for (int32_t ch = 0; ch < outputCount; ++ch) {
        std::fill_n(outputs[ch], frames, 0.0f);
    }
    if (effect->process != nullptr) {
        effect->process(effect, inputs, outputs, frames);
    }
}
