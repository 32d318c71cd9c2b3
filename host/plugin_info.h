// What a host sees of a plug-in: identity, pins, flags, parameters, programs and capabilities.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class Plugin;

struct ParameterInfo {
    int32_t index = 0;
    std::string name;
    float value = 0.0f;
    std::string display;
    std::string label;
};

struct ProgramInfo {
    int32_t index = 0;
    std::string name;
};

// An effCanDo answer: 1 yes, -1 no, 0 don't know.
struct CapabilityAnswer {
    std::string query;
    intptr_t answer = 0;
};

struct PluginInfo {
    std::string path;
    std::string effectName;
    std::string vendor;
    std::string product;
    intptr_t vendorVersion = 0;
    int32_t uniqueId = 0;
    intptr_t vstVersion = 0;
    intptr_t category = 0;
    int32_t inputs = 0;
    int32_t outputs = 0;
    int32_t initialDelay = 0;
    int32_t flags = 0;
    std::vector<ParameterInfo> parameters;
    std::vector<ProgramInfo> programs;
    intptr_t currentProgram = 0;
    std::vector<CapabilityAnswer> capabilities;
};

PluginInfo describePlugin(Plugin& plugin);

// "hasEditor", "canReplacing", "isSynth", ...; bits without a name as "0x...".
std::vector<std::string> flagNames(int32_t flags);
std::string categoryName(intptr_t category);
// The identifier as its four characters, most significant byte first ('.' where not printable).
std::string fourCharacters(int32_t id);
std::string capabilityWord(intptr_t answer);
