// One time-ordered list of the messages from every source (MIDI file, cue sheet), in frames.
#pragma once

#include <cstdint>
#include <vector>

#include "host/midi_message.h"

// The frame nearest to `seconds` at `sampleRate`: a cue at 2.5 s acts at frame 2.5 × rate.
int64_t frameAt(double seconds, double sampleRate);

// Messages at the same frame keep the order in which they were given.
std::vector<ScheduledMessage> scheduleMessages(const std::vector<TimedMessage>& messages,
                                               double sampleRate);
