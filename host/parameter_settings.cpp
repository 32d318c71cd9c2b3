#include "host/parameter_settings.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <optional>

#include "frame/vst2.h"
#include "host/host_error.h"
#include "host/plugin.h"

namespace {

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::optional<int32_t> asIndex(const std::string& text) {
    int32_t index = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), index);
    if (error != std::errc{} || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return index;
}

std::string parameterList(Plugin& plugin) {
    std::string list;
    for (int32_t index = 0; index < plugin.record().numParams; ++index) {
        list += (list.empty() ? "" : ", ") + trimmed(plugin.text(effGetParamName, index));
    }
    return list.empty() ? "it has none" : "it has: " + list;
}

}  // namespace

ParameterSetting parseParameterSetting(const std::string& text) {
    const size_t equals = text.rfind('=');
    if (equals == std::string::npos || trimmed(text.substr(0, equals)).empty()) {
        throw HostError("--set", "'" + text + "' is not NAME=VALUE");
    }
    const std::string valueText = trimmed(text.substr(equals + 1));
    float value = 0.0f;
    const auto [end, error] =
        std::from_chars(valueText.data(), valueText.data() + valueText.size(), value);
    if (error != std::errc{} || end != valueText.data() + valueText.size() || valueText.empty() ||
        !std::isfinite(value) || value < 0.0f || value > 1.0f) {
        throw HostError("--set", "'" + valueText + "' is not a parameter value from 0 to 1");
    }
    return {trimmed(text.substr(0, equals)), value};
}

int32_t findParameter(Plugin& plugin, const std::string& nameOrIndex) {
    const int32_t count = plugin.record().numParams;
    if (const auto index = asIndex(nameOrIndex)) {
        if (*index < 0 || *index >= count) {
            throw HostError(plugin.path(), "no parameter " + nameOrIndex + " (it has " +
                                               std::to_string(count) + ")");
        }
        return *index;
    }
    std::optional<int32_t> caseless;
    for (int32_t index = 0; index < count; ++index) {
        const std::string name = trimmed(plugin.text(effGetParamName, index));
        if (name == nameOrIndex) {
            return index;
        }
        if (!caseless && lowerCase(name) == lowerCase(nameOrIndex)) {
            caseless = index;
        }
    }
    if (caseless) {
        return *caseless;
    }
    throw HostError(plugin.path(),
                    "no parameter named '" + nameOrIndex + "' (" + parameterList(plugin) + ")");
}

void applyParameterSettings(Plugin& plugin, const std::vector<ParameterSetting>& settings) {
    for (const ParameterSetting& setting : settings) {
        plugin.setParameter(findParameter(plugin, setting.parameter), setting.value);
    }
}

void selectProgram(Plugin& plugin, int32_t program) {
    const int32_t count = plugin.record().numPrograms;
    if (program < 0 || program >= count) {
        throw HostError(plugin.path(), "no program " + std::to_string(program) + " (it has " +
                                           std::to_string(count) + ", from 0)");
    }
    plugin.dispatch(effSetProgram, 0, program);
}
