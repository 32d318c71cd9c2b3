// Standard MIDI Files (types 0 and 1) read through libsmf, tempo changes included: every channel
// message of every track with its time in seconds.
#pragma once

#include <filesystem>
#include <vector>

#include "host/midi_message.h"

std::vector<TimedMessage> readMidiFile(const std::filesystem::path& path);
