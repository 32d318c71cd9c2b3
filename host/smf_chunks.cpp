#include "host/smf_chunks.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr size_t kChunkHeaderSize = 8;  // four-character type, 32-bit big-endian length
constexpr size_t kLongestNumber = 4;    // bytes of a variable-length number
constexpr unsigned char kMeta = 0xFF;
constexpr unsigned char kEndOfTrack = 0x2F;

uint32_t bigEndian32(const unsigned char* bytes) {
    return static_cast<uint32_t>(bytes[0]) << 24 | static_cast<uint32_t>(bytes[1]) << 16 |
           static_cast<uint32_t>(bytes[2]) << 8 | static_cast<uint32_t>(bytes[3]);
}

// Walks the events of one track chunk, checking only that each lies inside it.
class TrackWalk {
public:
    TrackWalk(const unsigned char* data_, size_t size_) : data(data_), size(size_) {}

    std::optional<std::string> check() {
        while (true) {
            uint32_t delta = 0;
            if (!number(delta) || at >= size) {
                return "a track ends without its end-of-track event";
            }
            const std::optional<bool> ended = event();
            if (!ended) {
                return "an event runs past the end of its track";
            }
            if (*ended) {
                return std::nullopt;
            }
        }
    }

private:
    bool number(uint32_t& value) {
        value = 0;
        for (size_t i = 0; i < kLongestNumber && at < size; ++i) {
            const unsigned char byte = data[at++];
            value = value << 7 | (byte & 0x7Fu);
            if ((byte & 0x80) == 0) {
                return true;
            }
        }
        return false;
    }

    bool skip(size_t count) {
        if (count > size - at) {
            return false;
        }
        at += count;
        return true;
    }

    // One event after its time: whether it ended the track, or nothing when it runs past the end.
    std::optional<bool> event() {
        unsigned char status = data[at];
        if (status & 0x80) {
            ++at;
        } else {
            status = runningStatus;  // libsmf itself refuses data bytes without a status
        }
        uint32_t length = 0;
        if (status == kMeta) {
            if (at >= size) {
                return std::nullopt;
            }
            const unsigned char type = data[at++];
            if (!number(length) || !skip(length)) {
                return std::nullopt;
            }
            return type == kEndOfTrack;
        }
        if (status == 0xF0 || status == 0xF7) {
            if (!number(length) || !skip(length)) {
                return std::nullopt;
            }
            return false;
        }
        runningStatus = status;
        const size_t dataBytes = (status & 0xE0) == 0xC0 ? 1 : 2;  // program change, pressure
        if (!skip(dataBytes)) {
            return std::nullopt;
        }
        return false;
    }

    const unsigned char* data;
    size_t size;
    size_t at = 0;
    unsigned char runningStatus = 0;
};

}  // namespace

SmfChunks checkSmfChunks(const std::vector<unsigned char>& bytes) {
    size_t at = 0;
    while (bytes.size() - at >= kChunkHeaderSize) {
        const unsigned char* chunk = bytes.data() + at;
        const uint32_t length = bigEndian32(chunk + 4);
        if (length > bytes.size() - at - kChunkHeaderSize) {
            return {at, "a chunk of " + std::to_string(length) +
                            " bytes runs past the end of the file"};
        }
        if (std::memcmp(chunk, "MTrk", 4) == 0) {
            if (auto problem = TrackWalk(chunk + kChunkHeaderSize, length).check()) {
                return {at, problem};
            }
        }
        at += kChunkHeaderSize + length;
    }
    return {at, std::nullopt};
}
