#include "host/info_report.h"

#include <cmath>
#include <cstdio>
#include <sstream>

namespace {

std::string hexId(int32_t id) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08x", static_cast<uint32_t>(id));
    return text;
}

std::string fixed(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.4f", static_cast<double>(value));
    return text;
}

std::string joined(const std::vector<std::string>& words) {
    std::string text;
    for (const std::string& word : words) {
        text += (text.empty() ? "" : " ") + word;
    }
    return text.empty() ? "(none)" : text;
}

std::string padded(const std::string& text, size_t width) {
    return text.size() >= width ? text : text + std::string(width - text.size(), ' ');
}

// Bytes above 127 are taken as Latin-1, so that any name a plug-in gives makes valid JSON.
std::string jsonString(const std::string& text) {
    std::string quoted = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (byte < 0x20 || byte >= 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            quoted += escaped;
        } else {
            quoted += c;
        }
    }
    return quoted + "\"";
}

std::string jsonNumber(float value) {
    if (!std::isfinite(value)) {
        return "null";
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
    return text;
}

void writeTextParameters(std::ostream& out, const PluginInfo& info) {
    out << "parameters:     " << info.parameters.size() << "\n";
    for (const ParameterInfo& parameter : info.parameters) {
        out << "  " << padded(std::to_string(parameter.index), 4) << padded(parameter.name, 16)
            << padded(fixed(parameter.value), 8) << "  " << padded(parameter.display, 10) << " "
            << parameter.label << "\n";
    }
}

void writeTextPrograms(std::ostream& out, const PluginInfo& info) {
    out << "programs:       " << info.programs.size() << " (current " << info.currentProgram
        << ")\n";
    for (const ProgramInfo& program : info.programs) {
        out << "  " << padded(std::to_string(program.index), 4) << program.name << "\n";
    }
}

void writeJsonParameters(std::ostream& out, const PluginInfo& info) {
    out << "  \"parameters\": [";
    for (size_t i = 0; i < info.parameters.size(); ++i) {
        const ParameterInfo& parameter = info.parameters[i];
        out << (i == 0 ? "\n" : ",\n") << "    {\"index\": " << parameter.index
            << ", \"name\": " << jsonString(parameter.name)
            << ", \"value\": " << jsonNumber(parameter.value)
            << ", \"display\": " << jsonString(parameter.display)
            << ", \"label\": " << jsonString(parameter.label) << "}";
    }
    out << (info.parameters.empty() ? "],\n" : "\n  ],\n");
}

void writeJsonPrograms(std::ostream& out, const PluginInfo& info) {
    out << "  \"currentProgram\": " << info.currentProgram << ",\n  \"programs\": [";
    for (size_t i = 0; i < info.programs.size(); ++i) {
        out << (i == 0 ? "\n" : ",\n") << "    {\"index\": " << info.programs[i].index
            << ", \"name\": " << jsonString(info.programs[i].name) << "}";
    }
    out << (info.programs.empty() ? "],\n" : "\n  ],\n");
}

void writeJsonCapabilities(std::ostream& out, const PluginInfo& info) {
    out << "  \"canDo\": {";
    for (size_t i = 0; i < info.capabilities.size(); ++i) {
        out << (i == 0 ? "\n" : ",\n") << "    " << jsonString(info.capabilities[i].query) << ": "
            << jsonString(capabilityWord(info.capabilities[i].answer));
    }
    out << (info.capabilities.empty() ? "}\n" : "\n  }\n");
}

}  // namespace

std::string textReport(const PluginInfo& info) {
    std::ostringstream out;
    out << "plug-in:        " << info.path << "\n"
        << "effect:         " << info.effectName << "\n"
        << "vendor:         " << info.vendor << "\n"
        << "product:        " << info.product << "\n"
        << "vendor version: " << info.vendorVersion << "\n"
        << "unique id:      '" << fourCharacters(info.uniqueId) << "' (" << hexId(info.uniqueId)
        << ")\n"
        << "VST version:    " << info.vstVersion << "\n"
        << "category:       " << categoryName(info.category) << "\n"
        << "inputs:         " << info.inputs << "\n"
        << "outputs:        " << info.outputs << "\n"
        << "initial delay:  " << info.initialDelay << "\n"
        << "flags:          " << joined(flagNames(info.flags)) << "\n";
    writeTextParameters(out, info);
    writeTextPrograms(out, info);
    out << "can do:\n";
    for (const CapabilityAnswer& capability : info.capabilities) {
        out << "  " << padded(capability.query, 22) << capabilityWord(capability.answer) << "\n";
    }
    return out.str();
}

std::string jsonReport(const PluginInfo& info) {
    std::ostringstream out;
    out << "{\n"
        << "  \"path\": " << jsonString(info.path) << ",\n"
        << "  \"effectName\": " << jsonString(info.effectName) << ",\n"
        << "  \"vendor\": " << jsonString(info.vendor) << ",\n"
        << "  \"product\": " << jsonString(info.product) << ",\n"
        << "  \"vendorVersion\": " << info.vendorVersion << ",\n"
        << "  \"uniqueId\": {\"chars\": " << jsonString(fourCharacters(info.uniqueId))
        << ", \"hex\": " << jsonString(hexId(info.uniqueId))
        << ", \"value\": " << static_cast<uint32_t>(info.uniqueId) << "},\n"
        << "  \"vstVersion\": " << info.vstVersion << ",\n"
        << "  \"category\": " << jsonString(categoryName(info.category)) << ",\n"
        << "  \"inputs\": " << info.inputs << ",\n"
        << "  \"outputs\": " << info.outputs << ",\n"
        << "  \"initialDelay\": " << info.initialDelay << ",\n"
        << "  \"flags\": [";
    const std::vector<std::string> flags = flagNames(info.flags);
    for (size_t i = 0; i < flags.size(); ++i) {
        out << (i == 0 ? "" : ", ") << jsonString(flags[i]);
    }
    out << "],\n";
    writeJsonParameters(out, info);
    writeJsonPrograms(out, info);
    writeJsonCapabilities(out, info);
    out << "}\n";
    return out.str();
}
