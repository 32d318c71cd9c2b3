// The fuzzer's bytes, read front to back as the fields of host actions. Reading from the front
// keeps the format plain enough to write seeds by hand (fuzz/write_seeds.sh). Past the end every
// read gives zeros, so any input is a valid sequence of actions.
#pragma once

#include <cstddef>
#include <cstdint>

class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : bytes(data), count(size) {}

    bool exhausted() const { return next >= count; }

    uint8_t byte();
    uint16_t uint16();
    int32_t int32();
    // A tag byte picks a special value (NaN, infinities, subnormals, extremes), a plain value in
    // 0..2.23 in steps of 0.01, or, after a tag of 0xF0 or more, any 32-bit pattern.
    float float32();
    // Small numbers, negative ones included, from one byte; after the tag 0x80 any 32-bit value.
    int32_t index();
    // Copies the next `size` bytes (zeros past the end).
    void fill(char* destination, size_t size);

private:
    const uint8_t* bytes;
    size_t count;
    size_t next = 0;
};

// Values that hosts should never send and sometimes do.
float specialFloat(uint32_t choice);
