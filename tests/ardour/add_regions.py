"""Puts the phrase into a session that make_session.lua built: the noise burst as an audio region on
the track "Source", the loop commands as a MIDI region on the track "Loop", the session range, and
the plug-in's parameters (loop only, no dry signal).

Ardour 7.3's Lua has no import, so this writes the media files into the session's interchange
folder and the Source, Region and Playlist entries into its XML file.

usage: add_regions.py SESSION_DIR SESSION_NAME
"""

import sys
import wave
import xml.etree.ElementTree as ET
from pathlib import Path

import mido
import numpy as np

import phrase

AUDIO_FILE = "burst.wav"
MIDI_FILE = "commands.mid"


def write_audio(path):
    samples = np.round(phrase.input_signal() * 32768).astype("<i2")
    with wave.open(str(path), "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(phrase.RATE)
        out.writeframes(samples.tobytes())


def write_midi(path):
    record = mido.Message("note_on", note=67, velocity=100)
    release = mido.Message("note_off", note=67, velocity=0)
    events = [
        (phrase.LOOP_LENGTH_TICK,
         mido.Message("control_change", control=127, value=phrase.LOOP_SECONDS)),
        (phrase.RECORD_ON_TICK, record),
        (phrase.RECORD_ON_TICK + phrase.NOTE_TICKS, release),
        (phrase.RECORD_OFF_TICK, record),
        (phrase.RECORD_OFF_TICK + phrase.NOTE_TICKS, release),
    ]
    track = mido.MidiTrack()
    now = 0
    for tick, message in events:
        track.append(message.copy(time=tick - now))
        now = tick
    track.append(mido.MetaMessage("end_of_track", time=phrase.MIDI_TICKS - now))
    song = mido.MidiFile(type=0, ticks_per_beat=phrase.TICKS_PER_BEAT)
    song.tracks.append(track)
    song.save(str(path))


class Ids:
    """Hands out object ids above the session's counter and moves the counter on."""

    def __init__(self, session):
        self.session = session
        self.next = int(session.get("id-counter")) + 1000

    def take(self):
        taken = self.next
        self.next += 1
        self.session.set("id-counter", str(self.next))
        return str(taken)


def route(session, name):
    for node in session.iter("Route"):
        if node.get("name") == name:
            return node
    raise SystemExit(f"session has no track {name}")


def playlist_of(session, track):
    for node in session.find("Playlists"):
        if node.get("orig-track-id") == track.get("id"):
            return node
    raise SystemExit(f"track {track.get('name')} has no playlist")


def add_source(session, ids, name, kind):
    source = ET.SubElement(session.find("Sources"), "Source", {
        "name": name, "type": kind, "flags": "", "id": ids.take(), "origin": "",
    })
    if kind == "audio":
        source.set("channel", "0")
    return source.get("id")


def region_attributes(ids, name, kind, source_id, length):
    """A region from the start of its source, at the start of the timeline. Ardour 7 keeps the
    position inside the length: "<distance>@<position>", "a" for audio time, "b" for beats."""
    unit = length[0]
    return {
        "name": name, "type": kind, "id": ids.take(), "source-0": source_id,
        "master-source-0": source_id, "channels": "1", "start": f"{unit}0",
        "length": f"{length}@{unit}0", "sync-position": f"{unit}0", "whole-file": "0",
        "muted": "0", "opaque": "1", "locked": "0", "layering-index": "0",
    }


def add_region(session, ids, playlist, name, kind, source_id, length):
    whole = region_attributes(ids, name, kind, source_id, length)
    whole["whole-file"] = "1"
    ET.SubElement(session.find("Regions"), "Region", whole)
    ET.SubElement(playlist, "Region", region_attributes(ids, name + ".1", kind, source_id, length))


def set_session_range(session, ids):
    end = phrase.samples_to_superclocks(phrase.SESSION_SAMPLES)
    ET.SubElement(session.find("Locations"), "Location", {
        "id": ids.take(), "name": "session", "start": "a0", "end": f"a{end}",
        "flags": "IsSessionRange", "locked": "0", "timestamp": "0", "cue": "0",
    })


def set_plugin_parameters(track, values):
    """Parameter values as Ardour restores them into the plug-in when it loads the session."""
    plugin = next(node for node in track.iter("Processor") if node.get("type") == "lxvst")
    parameters = plugin.find("lxvst/parameters")
    for index, value in values.items():
        parameters.set(f"param-{index}", str(value))
    for control in plugin.findall("Controllable"):
        if control.get("parameter") in {str(index) for index in values}:
            control.set("value", str(values[int(control.get("parameter"))]))


def main():
    session_dir = Path(sys.argv[1])
    name = sys.argv[2]
    interchange = session_dir / "interchange" / name
    write_audio(interchange / "audiofiles" / AUDIO_FILE)
    write_midi(interchange / "midifiles" / MIDI_FILE)

    xml_path = session_dir / f"{name}.ardour"
    tree = ET.parse(xml_path)
    session = tree.getroot()
    ids = Ids(session)
    source_track = route(session, "Source")
    loop_track = route(session, "Loop")

    audio_id = add_source(session, ids, AUDIO_FILE, "audio")
    audio_length = f"a{phrase.samples_to_superclocks(phrase.SESSION_SAMPLES)}"
    add_region(session, ids, playlist_of(session, source_track), "burst", "audio", audio_id,
               audio_length)

    midi_id = add_source(session, ids, MIDI_FILE, "midi")
    add_region(session, ids, playlist_of(session, loop_track), "commands", "midi", midi_id,
               f"b{phrase.MIDI_TICKS}")

    set_session_range(session, ids)
    set_plugin_parameters(loop_track, {0: 0.95, 1: 1.0, 2: 0.0})
    tree.write(xml_path, encoding="UTF-8", xml_declaration=True)


if __name__ == "__main__":
    main()
