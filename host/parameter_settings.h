// `--set NAME=VALUE` and `--program N`: choosing a program and setting parameters before a render.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class Plugin;

struct ParameterSetting {
    std::string parameter;  // a name, or an index in decimal
    float value = 0.0f;     // the plug-in's normalised value, 0..1
};

ParameterSetting parseParameterSetting(const std::string& text);

// The index of the parameter with that name (exact, else ignoring case and surrounding blanks),
// or the index itself when given as a number.
int32_t findParameter(Plugin& plugin, const std::string& nameOrIndex);

void applyParameterSettings(Plugin& plugin, const std::vector<ParameterSetting>& settings);
void selectProgram(Plugin& plugin, int32_t program);
