// What every message read from a MIDI file or a cue sheet must satisfy before the render uses it:
// a finite time from 0 on, a status byte, and a place on the render's timeline from frame 0 on.
#pragma once

#include <vector>

#include "host/midi_message.h"

void checkTimedMessages(const std::vector<TimedMessage>& messages, const char* source);
