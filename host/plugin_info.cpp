#include "host/plugin_info.h"

#include <array>
#include <cstdio>
#include <utility>

#include "frame/vst2.h"
#include "host/plugin.h"

namespace {

constexpr std::array<const char*, 8> kCommonCapabilities{
    "sendVstEvents",      "sendVstMidiEvent", "receiveVstEvents", "receiveVstMidiEvent",
    "receiveVstTimeInfo", "offline",          "midiProgramNames", "bypass",
};

constexpr std::array<std::pair<int32_t, const char*>, 10> kFlagNames{{
    {effFlagsHasEditor, "hasEditor"},
    {effFlagsHasClip, "hasClip"},
    {effFlagsHasVu, "hasVu"},
    {effFlagsCanMono, "canMono"},
    {effFlagsCanReplacing, "canReplacing"},
    {effFlagsProgramChunks, "programChunks"},
    {effFlagsIsSynth, "isSynth"},
    {effFlagsNoSoundInStop, "noSoundInStop"},
    {effFlagsExtIsAsync, "extIsAsync"},
    {effFlagsExtHasBuffer, "extHasBuffer"},
}};

constexpr std::array<const char*, 12> kCategoryNames{
    "unknown",    "effect",     "synth",   "analysis", "mastering", "spatializer",
    "room fx",    "surround fx", "restoration", "offline", "shell",     "generator",
};

std::vector<ParameterInfo> describeParameters(Plugin& plugin) {
    std::vector<ParameterInfo> parameters;
    for (int32_t index = 0; index < plugin.record().numParams; ++index) {
        parameters.push_back({index, plugin.text(effGetParamName, index), plugin.parameter(index),
                              plugin.text(effGetParamDisplay, index),
                              plugin.text(effGetParamLabel, index)});
    }
    return parameters;
}

// Asks by index where the plug-in can; otherwise selects each program in turn and restores the
// current one afterwards.
std::vector<ProgramInfo> describePrograms(Plugin& plugin) {
    std::vector<ProgramInfo> programs;
    const int32_t count = plugin.record().numPrograms;
    bool byIndex = true;
    for (int32_t index = 0; index < count && byIndex; ++index) {
        Plugin::TextAnswer name = plugin.askText(effGetProgramNameIndexed, index, -1);
        byIndex = name.answer != 0;
        programs.push_back({index, std::move(name.text)});
    }
    if (byIndex) {
        return programs;
    }
    programs.clear();
    const intptr_t current = plugin.dispatch(effGetProgram);
    for (int32_t index = 0; index < count; ++index) {
        plugin.dispatch(effSetProgram, 0, index);
        programs.push_back({index, plugin.text(effGetProgramName)});
    }
    if (count > 0) {
        plugin.dispatch(effSetProgram, 0, current);
    }
    return programs;
}

std::vector<CapabilityAnswer> askCapabilities(Plugin& plugin) {
    std::vector<CapabilityAnswer> answers;
    for (const char* query : kCommonCapabilities) {
        std::string text = query;
        answers.push_back({query, plugin.dispatch(effCanDo, 0, 0, text.data())});
    }
    return answers;
}

}  // namespace

PluginInfo describePlugin(Plugin& plugin) {
    const AEffect& record = plugin.record();
    PluginInfo info;
    info.path = plugin.path().string();
    info.effectName = plugin.text(effGetEffectName);
    info.vendor = plugin.text(effGetVendorString);
    info.product = plugin.text(effGetProductString);
    info.vendorVersion = plugin.dispatch(effGetVendorVersion);
    info.uniqueId = record.uniqueID;
    info.vstVersion = plugin.dispatch(effGetVstVersion);
    info.category = plugin.dispatch(effGetPlugCategory);
    info.inputs = record.numInputs;
    info.outputs = record.numOutputs;
    info.initialDelay = record.initialDelay;
    info.flags = record.flags;
    info.parameters = describeParameters(plugin);
    info.programs = describePrograms(plugin);
    info.currentProgram = plugin.dispatch(effGetProgram);
    info.capabilities = askCapabilities(plugin);
    return info;
}

std::vector<std::string> flagNames(int32_t flags) {
    std::vector<std::string> names;
    auto remaining = static_cast<uint32_t>(flags);
    for (const auto& [bit, name] : kFlagNames) {
        if ((remaining & static_cast<uint32_t>(bit)) != 0) {
            names.emplace_back(name);
            remaining &= ~static_cast<uint32_t>(bit);
        }
    }
    if (remaining != 0) {
        char text[16];
        std::snprintf(text, sizeof text, "0x%x", remaining);
        names.emplace_back(text);
    }
    return names;
}

std::string categoryName(intptr_t category) {
    if (category >= 0 && static_cast<size_t>(category) < kCategoryNames.size()) {
        return kCategoryNames[static_cast<size_t>(category)];
    }
    return "category " + std::to_string(category);
}

std::string fourCharacters(int32_t id) {
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const auto byte = static_cast<unsigned char>(static_cast<uint32_t>(id) >> shift);
        text.push_back(byte >= 0x20 && byte < 0x7F ? static_cast<char>(byte) : '.');
    }
    return text;
}

std::string capabilityWord(intptr_t answer) {
    if (answer > 0) {
        return "yes";
    }
    return answer < 0 ? "no" : "don't know";
}
