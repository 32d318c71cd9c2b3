#include "fuzz/fuzz_signal.h"

#include <algorithm>

namespace {

enum class Shape : uint8_t { Silence, Constant, Noise, SpikedNoise, Impulse, Count };

class Noise {
public:
    explicit Noise(uint16_t seed) : state(seed + 1u) {}
    uint32_t next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }
    // Uniform in [-1, 1).
    float sample() { return static_cast<float>(next() >> 8) / 8388608.0f - 1.0f; }

private:
    uint32_t state;
};

void fillNoise(FuzzInput& input, float* samples, int32_t frames) {
    Noise noise(input.uint16());
    const float gain = input.float32();
    for (int32_t i = 0; i < frames; ++i) {
        samples[i] = gain * noise.sample();
    }
}

// Noise in which about one sample in `spacing` is a value no host should send.
void fillSpikedNoise(FuzzInput& input, float* samples, int32_t frames) {
    Noise noise(input.uint16());
    const uint32_t spacing = input.byte() + 1u;
    for (int32_t i = 0; i < frames; ++i) {
        const uint32_t draw = noise.next();
        samples[i] = draw % spacing == 0 ? specialFloat(draw >> 16) : noise.sample();
    }
}

void fillImpulse(FuzzInput& input, float* samples, int32_t frames) {
    const uint16_t at = input.uint16();
    const float value = input.float32();
    std::fill(samples, samples + frames, 0.0f);
    if (at < frames) {
        samples[at] = value;
    }
}

}  // namespace

void fillSignal(FuzzInput& input, float* samples, int32_t frames) {
    switch (static_cast<Shape>(input.byte() % static_cast<uint8_t>(Shape::Count))) {
    case Shape::Silence: std::fill(samples, samples + frames, 0.0f); break;
    case Shape::Constant: std::fill(samples, samples + frames, input.float32()); break;
    case Shape::Noise: fillNoise(input, samples, frames); break;
    case Shape::SpikedNoise: fillSpikedNoise(input, samples, frames); break;
    case Shape::Impulse: fillImpulse(input, samples, frames); break;
    case Shape::Count: break;
    }
}
