// The audio path against a model that applies the frame rule one slot at a time, as plainly as
// it can be written: any block, any state, the same outputs and the same loop, bit for bit.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "tests/loop/loop_effect_probe.h"

namespace {

struct ModelState {
    std::vector<float> loop;
    int32_t position = 0;
    float level = 0.0f;
    bool recording = false;
    bool reverse = false;
};

void modelBlock(ModelState& s, int channels, const std::vector<std::vector<float>>& in,
                std::vector<std::vector<float>>& out, int32_t frames, float feedback,
                float loopMix, float dryMix) {
    const auto length = static_cast<int32_t>(s.loop.size());
    for (int32_t i = 0; i < frames; ++i) {
        for (int ch = 0; ch < channels; ++ch) {
            float x = in[static_cast<size_t>(ch)][static_cast<size_t>(i)];
            x = std::isfinite(x) ? x : 0.0f;
            float& slot = s.loop[static_cast<size_t>(s.position)];
            out[static_cast<size_t>(ch)][static_cast<size_t>(i)] = loopMix * slot + dryMix * x;
            if (s.recording) {
                if (ch == 0 && s.level < 1.0f) {
                    s.level += 0.005f;
                }
                slot = x * s.level + feedback * slot;
            } else if (ch == 0 && s.level > 0.0f) {
                s.level -= 0.005f;
                slot = s.level * x + feedback * slot;
            }
            s.position = (s.position + (s.reverse ? -1 : 1) + length) % length;
        }
        if (channels == 1) {
            out[1][static_cast<size_t>(i)] = out[0][static_cast<size_t>(i)];
        }
    }
}

TEST(LoopEngineModel, AnyBlockInAnyStateMatchesTheModel) {
    std::mt19937 random(20261211);
    std::uniform_real_distribution<float> sample(-1.0f, 1.0f);
    for (int trial = 0; trial < 300; ++trial) {
        const int channels = 1 + trial % 2;
        const auto length = static_cast<int32_t>(1 + random() % 700);
        LoopEffect effect(nullptr);
        LoopEffectProbe probe(effect);
        effect.connectInput(1, channels == 2);
        ModelState model;
        model.loop.resize(static_cast<size_t>(length));
        for (float& slot : model.loop) {
            slot = sample(random);
        }
        probe.setLoop(model.loop);
        model.position = static_cast<int32_t>(random() % static_cast<uint32_t>(length));
        probe.setPosition(model.position);
        const float feedback = 0.9f;
        const float loopMix = 0.8f;
        const float dryMix = 0.3f;
        probe.setGains(feedback, loopMix, dryMix);

        for (int block = 0; block < 12; ++block) {
            if (random() % 3 == 0) {
                model.recording = !model.recording;
            }
            if (random() % 4 == 0) {
                model.reverse = !model.reverse;
            }
            probe.setRecording(model.recording);
            probe.setReverse(model.reverse);
            const auto frames = static_cast<int32_t>(random() % 900);
            std::vector<std::vector<float>> in(2, std::vector<float>(static_cast<size_t>(frames) + 1));
            for (auto& channel : in) {
                for (float& value : channel) {
                    value = sample(random);
                }
            }
            std::vector<std::vector<float>> expected(2, std::vector<float>(in[0].size()));
            std::vector<std::vector<float>> actual(2, std::vector<float>(in[0].size()));
            modelBlock(model, channels, in, expected, frames, feedback, loopMix, dryMix);
            float* ins[] = {in[0].data(), in[1].data()};
            float* outs[] = {actual[0].data(), actual[1].data()};
            effect.processReplacing(ins, outs, frames);

            const size_t bytes = static_cast<size_t>(frames) * sizeof(float);
            ASSERT_EQ(std::memcmp(expected[0].data(), actual[0].data(), bytes), 0) << trial;
            ASSERT_EQ(std::memcmp(expected[1].data(), actual[1].data(), bytes), 0) << trial;
            ASSERT_EQ(std::memcmp(model.loop.data(), probe.buffer(),
                                  model.loop.size() * sizeof(float)), 0) << trial;
            ASSERT_EQ(probe.position(), model.position) << trial;
            ASSERT_EQ(probe.recordLevel(), model.level) << trial;
        }
    }
}

}  // namespace
