-- ardour7-lua make_session.lua SESSION_DIR SESSION_NAME
-- Builds the session that plays into KestruneVSTi: a mono audio track "Source" whose output feeds
-- the audio input of a MIDI track "Loop" that hosts the plug-in. The regions come later, from
-- add_regions.py.
local session_dir, session_name = arg[1], arg[2]
assert(session_dir and session_name, "usage: make_session.lua SESSION_DIR SESSION_NAME")

local backend = AudioEngine:set_backend("None (Dummy)", "", "")
assert(backend, "no dummy audio backend")
backend:set_device_name("Silence")
backend:set_sample_rate(44100)
backend:set_buffer_size(1024)
assert(AudioEngine:start(false) == 0, "the audio engine does not start")
assert(create_session(session_dir, session_name, 44100), "cannot create the session")

local order = ARDOUR.PresentationInfo.max_order
-- One output, so that no panner changes the level on the way to the loop.
local source = Session:new_audio_track(1, 1, nil, 1, "Source", order, ARDOUR.TrackMode.Normal,
                                       true):front()

-- One MIDI and one audio input, made at creation: adding a port to a MIDI track later crashes 7.3.
local inputs = ARDOUR.ChanCount(ARDOUR.DataType("midi"), 1)
inputs:set(ARDOUR.DataType("audio"), 1)
local outputs = ARDOUR.ChanCount(ARDOUR.DataType("audio"), 2)
-- Strict I/O off, or only one of the plug-in's two outputs is mapped.
local loop = Session:new_midi_track(inputs, outputs, false, ARDOUR.PluginInfo(), nil, nil, 1,
                                    "Loop", order, ARDOUR.TrackMode.Normal, true, false):front()
assert(loop, "cannot create the MIDI track")

-- Found by its unique identifier 'WvMh', as Ardour lists it: a decimal number.
local unique_id = tostring(0x57764D68)
local plugin = ARDOUR.LuaAPI.new_plugin(Session, unique_id, ARDOUR.PluginType.LXVST, "")
assert(not plugin:isnil(), "KestruneVSTi is not among the scanned plug-ins")
assert(loop:add_processor_by_index(plugin, 0, nil, true) == 0, "cannot add KestruneVSTi")

-- The loop track hears the source track only; the source track is heard only through the loop.
source:output():disconnect_all(nil)
loop:input():disconnect_all(nil)
assert(source:output():audio(0):connect(loop:input():audio(0):name()) == 0,
       "cannot connect Source to Loop")

assert(Session:save_state("", false, false, false, false, false) == 0, "cannot save the session")
close_session()
