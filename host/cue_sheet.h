// Cue sheets: plain text, one `TIME COMMAND [VALUE]` per line, time in seconds, `#` comments.
// Commands are the looper's names (record, reverse, ..., sustain VALUE, loop-length SECONDS) and
// the raw `note N [VELOCITY]`, `note-off N` and `cc N VALUE` that any plug-in understands.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "host/midi_message.h"

// Parses a cue sheet; errors name `sourceName` and the line.
std::vector<TimedMessage> parseCueSheet(std::string_view text, const std::string& sourceName);

// `fileOrText` names a cue file, or is the cue sheet itself with `;` between its lines.
std::vector<TimedMessage> loadCueSheet(const std::string& fileOrText);
