// The structure of a Standard MIDI File, checked before the file's bytes go to libsmf, which
// trusts every declared length and stops the program on a track that ends inside an event.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// How many leading bytes of `bytes` hold whole chunks (a few trailing bytes too short for a chunk
// header are left out), or the problem: a chunk that runs past the end of the file, or a track
// whose events run past the end of their chunk or never reach the end-of-track event.
struct SmfChunks {
    size_t wholeChunkBytes = 0;
    std::optional<std::string> problem;
};

SmfChunks checkSmfChunks(const std::vector<unsigned char>& bytes);
