#include "host/midi_file.h"

#include <glib.h>
#include <smf.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <limits>
#include <memory>
#include <string>

#include "host/host_error.h"
#include "host/smf_chunks.h"

namespace {

// libsmf reports its parse errors through GLib's log; keep the last one for our own message
// instead of letting it print.
class LibraryLogCapture {
public:
    LibraryLogCapture() : previous(g_log_set_default_handler(&LibraryLogCapture::keep, this)) {}
    ~LibraryLogCapture() { g_log_set_default_handler(previous, nullptr); }
    LibraryLogCapture(const LibraryLogCapture&) = delete;
    LibraryLogCapture& operator=(const LibraryLogCapture&) = delete;

    const std::string& lastMessage() const { return last; }

private:
    static void keep(const gchar*, GLogLevelFlags, const gchar* message, gpointer self) {
        if (message != nullptr) {
            static_cast<LibraryLogCapture*>(self)->last = message;
        }
    }

    GLogFunc previous;
    std::string last;
};

struct SmfDeleter {
    void operator()(smf_t* smf) const { smf_delete(smf); }
};

bool isChannelMessage(const smf_event_t& event) {
    return event.midi_buffer_length >= 1 && event.midi_buffer[0] >= 0x80 &&
           event.midi_buffer[0] < 0xF0;
}

MidiMessage toMessage(const smf_event_t& event) {
    MidiMessage message;
    const int length = std::min(event.midi_buffer_length, 3);
    for (int i = 0; i < length; ++i) {
        message.bytes[static_cast<size_t>(i)] = event.midi_buffer[i];
    }
    return message;
}

std::vector<unsigned char> readBytes(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(file),
                                     std::istreambuf_iterator<char>()};
    if (!file.good() && !file.eof()) {
        throw HostError(path, "cannot read the MIDI file");
    }
    return bytes;
}

}  // namespace

std::vector<TimedMessage> readMidiFile(const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        throw HostError(path, std::filesystem::exists(path, error) ? "not a MIDI file"
                                                                     : "no such MIDI file");
    }
    const std::vector<unsigned char> bytes = readBytes(path);
    const SmfChunks chunks = checkSmfChunks(bytes);
    if (chunks.problem) {
        throw HostError(path, "not a readable Standard MIDI File (" + *chunks.problem + ")");
    }
    if (chunks.wholeChunkBytes > static_cast<size_t>(std::numeric_limits<int>::max())) {
        throw HostError(path, "too large for a MIDI file");
    }
    LibraryLogCapture log;
    std::unique_ptr<smf_t, SmfDeleter> smf(
        smf_load_from_memory(bytes.data(), static_cast<int>(chunks.wholeChunkBytes)));
    if (!smf) {
        std::string problem = "not a readable Standard MIDI File";
        if (!log.lastMessage().empty()) {
            problem += " (" + log.lastMessage() + ")";
        }
        throw HostError(path, problem);
    }
    if (smf->format != 0 && smf->format != 1) {
        throw HostError(path, "MIDI file type " + std::to_string(smf->format) +
                                  " is not supported (types 0 and 1 are)");
    }
    std::vector<TimedMessage> messages;
    while (const smf_event_t* event = smf_get_next_event(smf.get())) {
        if (!smf_event_is_metadata(event) && isChannelMessage(*event)) {
            messages.push_back({event->time_seconds, toMessage(*event)});
        }
    }
    return messages;
}
