// Writes small Standard MIDI Files for the tests through libsmf.
#pragma once

#include <smf.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <vector>

namespace host_test {

struct MidiFileEvent {
    int track;  // 0-based
    int pulses;
    std::array<uint8_t, 3> bytes;
};

struct TempoChange {
    int pulses;
    int microsecondsPerQuarter;
};

// Tempo changes go into track 0; each event into its track. `tracks` above 1 gives a type 1 file.
inline void writeMidiFile(const std::filesystem::path& path, int tracks, int ppqn,
                          const std::vector<TempoChange>& tempos,
                          const std::vector<MidiFileEvent>& events) {
    smf_t* smf = smf_new();
    if (smf_set_ppqn(smf, ppqn) != 0) {
        throw std::runtime_error("smf_set_ppqn");
    }
    std::vector<smf_track_t*> trackList;
    for (int i = 0; i < tracks; ++i) {
        trackList.push_back(smf_track_new());
        smf_add_track(smf, trackList.back());
    }
    for (const TempoChange& tempo : tempos) {
        const auto us = static_cast<unsigned>(tempo.microsecondsPerQuarter);
        unsigned char meta[6] = {0xFF, 0x51, 0x03, static_cast<unsigned char>(us >> 16),
                                 static_cast<unsigned char>(us >> 8), static_cast<unsigned char>(us)};
        smf_event_t* event = smf_event_new_from_pointer(meta, 6);
        smf_track_add_event_pulses(trackList[0], event, tempo.pulses);
    }
    for (const MidiFileEvent& entry : events) {
        const int length = (entry.bytes[0] & 0xF0) == 0xC0 || (entry.bytes[0] & 0xF0) == 0xD0 ? 2 : 3;
        smf_event_t* event = smf_event_new_from_pointer(const_cast<uint8_t*>(entry.bytes.data()), length);
        smf_track_add_event_pulses(trackList[static_cast<size_t>(entry.track)], event, entry.pulses);
    }
    const int saved = smf_save(smf, path.c_str());
    smf_delete(smf);
    if (saved != 0) {
        throw std::runtime_error("smf_save failed");
    }
}

}  // namespace host_test
