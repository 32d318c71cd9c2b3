#include "fuzz/fuzz_input.h"

#include <bit>
#include <limits>

namespace {

constexpr float kSpecials[] = {
    0.0f,
    -0.0f,
    1.0f,
    -1.0f,
    std::numeric_limits<float>::quiet_NaN(),
    -std::numeric_limits<float>::quiet_NaN(),
    std::numeric_limits<float>::signaling_NaN(),
    std::numeric_limits<float>::infinity(),
    -std::numeric_limits<float>::infinity(),
    std::numeric_limits<float>::max(),
    std::numeric_limits<float>::lowest(),
    std::numeric_limits<float>::min(),
    std::numeric_limits<float>::denorm_min(),
    -std::numeric_limits<float>::denorm_min(),
    1e-39f,
    1e30f,
};
constexpr uint32_t kSpecialCount = sizeof kSpecials / sizeof kSpecials[0];
constexpr uint8_t kRawFloatTag = 0xF0;
constexpr uint8_t kRawIndexTag = 0x80;

}  // namespace

float specialFloat(uint32_t choice) { return kSpecials[choice % kSpecialCount]; }

uint8_t FuzzInput::byte() { return next < count ? bytes[next++] : 0; }

uint16_t FuzzInput::uint16() {
    const auto low = byte();
    return static_cast<uint16_t>(low | (byte() << 8));
}

int32_t FuzzInput::int32() {
    uint32_t value = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        value |= static_cast<uint32_t>(byte()) << shift;
    }
    return static_cast<int32_t>(value);
}

float FuzzInput::float32() {
    const uint8_t tag = byte();
    if (tag < kSpecialCount) {
        return kSpecials[tag];
    }
    if (tag >= kRawFloatTag) {
        return std::bit_cast<float>(int32());
    }
    return static_cast<float>(tag - kSpecialCount) / 100.0f;
}

int32_t FuzzInput::index() {
    const uint8_t tag = byte();
    return tag == kRawIndexTag ? int32() : static_cast<int8_t>(tag);
}

void FuzzInput::fill(char* destination, size_t size) {
    for (size_t i = 0; i < size; ++i) {
        destination[i] = static_cast<char>(byte());
    }
}
