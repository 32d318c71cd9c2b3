#include "host/cue_sheet.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "host/host_error.h"
#include "host/midi_commands.h"

namespace {

class CueLine {
public:
    CueLine(std::string_view text, const std::string& sourceName, int number)
        : source(sourceName), lineNumber(number) {
        std::istringstream words{std::string(text)};
        for (std::string word; words >> word;) {
            fields.push_back(word);
        }
    }

    bool isEmpty() const { return fields.empty(); }

    TimedMessage message() const {
        const double seconds = time();
        return {seconds, command()};
    }

private:
    [[noreturn]] void fail(const std::string& problem) const {
        throw HostError(source, "line " + std::to_string(lineNumber) + ": " + problem);
    }

    double time() const {
        double seconds = 0.0;
        const std::string& word = fields[0];
        const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), seconds);
        if (error != std::errc{} || end != word.data() + word.size() || !std::isfinite(seconds) ||
            seconds < 0.0) {
            fail("'" + word + "' is not a time in seconds (a number 0 or above)");
        }
        return seconds;
    }

    // The byte argument at `field`, 0..127.
    uint8_t byteAt(size_t field, const std::string& what) const {
        if (field >= fields.size()) {
            fail("'" + fields[1] + "' needs " + what + " (0..127)");
        }
        const std::string& word = fields[field];
        int value = -1;
        const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
        if (error != std::errc{} || end != word.data() + word.size() || value < 0 || value > 127) {
            fail("'" + word + "' is not " + what + " (0..127)");
        }
        return static_cast<uint8_t>(value);
    }

    void expectArguments(size_t count) const {
        if (fields.size() > 2 + count) {
            fail("'" + fields[1] + "' takes " +
                 (count == 0 ? std::string("no value") : std::to_string(count) + " value(s)") +
                 ", got '" + fields[2 + count] + "'");
        }
    }

    MidiMessage command() const {
        if (fields.size() < 2) {
            fail("a time needs a command after it");
        }
        const std::string& name = fields[1];
        if (const auto note = looperNote(name)) {
            expectArguments(0);
            return MidiMessage::noteOn(*note, kCommandVelocity);
        }
        if (name == "sustain") {
            expectArguments(1);
            return MidiMessage::controller(kSustainController, byteAt(2, "a pedal value"));
        }
        if (name == "loop-length") {
            expectArguments(1);
            return MidiMessage::controller(kLoopLengthController, byteAt(2, "a length in seconds"));
        }
        if (name == "note") {
            expectArguments(2);
            const uint8_t note = byteAt(2, "a note number");
            const uint8_t velocity = fields.size() > 3 ? byteAt(3, "a velocity") : kCommandVelocity;
            return MidiMessage::noteOn(note, velocity);
        }
        if (name == "note-off") {
            expectArguments(1);
            return {{0x80, byteAt(2, "a note number"), 0}};
        }
        if (name == "cc") {
            expectArguments(2);
            const uint8_t number = byteAt(2, "a controller number");
            return MidiMessage::controller(number, byteAt(3, "a controller value"));
        }
        fail("unknown command '" + name + "'");
    }

    const std::string& source;
    int lineNumber;
    std::vector<std::string> fields;
};

std::string_view withoutComment(std::string_view line) {
    return line.substr(0, line.find('#'));
}

std::string readWholeFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    if (!file) {
        throw HostError(path, "cannot read the cue sheet");
    }
    return text.str();
}

}  // namespace

std::vector<TimedMessage> parseCueSheet(std::string_view text, const std::string& sourceName) {
    std::vector<TimedMessage> messages;
    int lineNumber = 0;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        ++lineNumber;
        const CueLine cue(withoutComment(line), sourceName, lineNumber);
        if (!cue.isEmpty()) {
            messages.push_back(cue.message());
        }
    }
    return messages;
}

std::vector<TimedMessage> loadCueSheet(const std::string& fileOrText) {
    const std::filesystem::path path(fileOrText);
    std::error_code error;
    if (std::filesystem::is_regular_file(path, error)) {
        return parseCueSheet(readWholeFile(path), path.string());
    }
    if (std::filesystem::exists(path, error)) {
        throw HostError(path, "not a cue sheet file");
    }
    if (fileOrText.find_first_of(" \t;\n") == std::string::npos) {
        throw HostError(path, "no such cue sheet file");
    }
    std::string lines = fileOrText;
    std::replace(lines.begin(), lines.end(), ';', '\n');
    return parseCueSheet(lines, "cue text");
}
