#include "host/render.h"

#include <gtest/gtest.h>

#include "host/host_error.h"
#include "host/memory_audio.h"
#include "host/plugin.h"
#include "tests/host/host_test_support.h"

namespace {

constexpr int64_t kFrames = 10000;

ScheduledMessage noteAt(int64_t frame, uint8_t note) {
    return {frame, MidiMessage::noteOn(note, 100)};
}

RenderResult renderProbe(const AudioBuffer& input, const std::vector<ScheduledMessage>& messages,
                         int32_t blockSize, int64_t tailFrames = 0) {
    Plugin probe(host_test::testPlugin("EventProbe"));
    return render(probe, input, messages, {blockSize, tailFrames});
}


class RenderBlockSize : public testing::TestWithParam<int32_t> {};

// Messages on and either side of block edges, two in one frame, one at the first and one at the
// last frame: each acts at its own frame, whatever the block size.
TEST_P(RenderBlockSize, EveryMessageActsAtItsExactFrame) {
    const std::vector<ScheduledMessage> messages{
        noteAt(0, 10),   noteAt(1, 11),   noteAt(63, 12),   noteAt(64, 13),   noteAt(65, 14),
        noteAt(4095, 15), noteAt(4096, 16), noteAt(4096, 17), noteAt(7777, 18), noteAt(kFrames - 1, 19)};
    const RenderResult result = renderProbe(host_test::tone(1, kFrames), messages, GetParam());
    const std::vector<std::pair<int64_t, float>> expected{
        {0, 10.0f},    {1, 11.0f},    {63, 12.0f},   {64, 13.0f},   {65, 14.0f},
        {4095, 15.0f}, {4096, 17.0f}, {7777, 18.0f}, {kFrames - 1, 19.0f}};
    EXPECT_EQ(host_test::stepsOf(result.output.channels[2]), expected);
    EXPECT_EQ(result.messagesAfterEnd, 0u);
}

TEST_P(RenderBlockSize, GivesTheSameSamplesAsOneFrameBlocks) {
    const AudioBuffer input = host_test::tone(2, kFrames);
    const std::vector<ScheduledMessage> messages{noteAt(100, 1), noteAt(5000, 2), noteAt(5001, 3)};
    const RenderResult reference = renderProbe(input, messages, 1, 300);
    const RenderResult result = renderProbe(input, messages, GetParam(), 300);
    EXPECT_EQ(result.output.channels, reference.output.channels);
}

INSTANTIATE_TEST_SUITE_P(Sizes, RenderBlockSize, testing::Values(1, 7, 64, 512, 4096, 20000));

TEST(Render, KeepsTheInputRateAndGivesThePluginsOutputsWithTheTailAfterTheInput) {
    AudioBuffer input = host_test::tone(1, 1000, 48000);
    const RenderResult result = renderProbe(input, {}, 64, 500);
    EXPECT_EQ(result.output.sampleRate, 48000);
    ASSERT_EQ(result.output.channels.size(), 3u);
    EXPECT_EQ(result.output.frames(), 1500);
    const std::vector<float>& passed = result.output.channels[0];
    EXPECT_EQ(std::vector<float>(passed.begin(), passed.begin() + 1000), input.channels[0]);
    EXPECT_EQ(std::vector<float>(passed.begin() + 1000, passed.end()), std::vector<float>(500, 0.0f));
}

TEST(Render, ConnectsTheSecondInputOnlyForStereoFiles) {
    const AudioBuffer stereo = host_test::tone(2, 256);
    EXPECT_EQ(renderProbe(stereo, {}, 64).output.channels[1], stereo.channels[1]);
    const AudioBuffer mono = host_test::tone(1, 256);
    EXPECT_EQ(renderProbe(mono, {}, 64).output.channels[1], std::vector<float>(256, 0.0f));
}

TEST(Render, CountsMessagesAfterTheEndAndDoesNotSendThem) {
    const RenderResult result =
        renderProbe(host_test::tone(1, 100), {noteAt(99, 1), noteAt(100, 2), noteAt(5000, 3)}, 64);
    EXPECT_EQ(result.messagesAfterEnd, 2u);
    EXPECT_EQ(result.output.channels[2].back(), 1.0f);
}

// A stream whose header misstates its length (some encoders write 0 or leave it out).
class MisstatedSource : public MemorySource {
public:
    MisstatedSource(AudioBuffer audio, int64_t declared) : MemorySource(std::move(audio)), declared(declared) {}
    int64_t declaredFrames() const override { return declared; }

private:
    int64_t declared;
};

TEST(Render, GoesByTheFramesTheInputDeliversNotByItsDeclaredLength) {
    const AudioBuffer input = host_test::tone(1, 1000);
    for (const int64_t declared : {int64_t{0}, int64_t{600}, int64_t{5000}}) {
        Plugin probe(host_test::testPlugin("EventProbe"));
        MisstatedSource source(input, declared);
        MemorySink sink(input.sampleRate, 3);
        std::vector<double> reports;
        const size_t late = render(probe, source, sink, {noteAt(999, 1), noteAt(1200, 2)}, {256, 200},
                                   [&reports](double fraction) { reports.push_back(fraction); });
        const std::vector<float>& passed = sink.audio().channels[0];
        ASSERT_EQ(passed.size(), 1200u) << "declared " << declared;
        EXPECT_EQ(std::vector<float>(passed.begin(), passed.begin() + 1000), input.channels[0]);
        EXPECT_EQ(late, 1u) << "declared " << declared;
        for (const double fraction : reports) {
            EXPECT_LE(fraction, 1.0) << "declared " << declared;
        }
    }
}

TEST(Render, ReportsProgressUpToTheEnd) {
    Plugin probe(host_test::testPlugin("EventProbe"));
    std::vector<double> reports;
    render(probe, host_test::tone(1, 1000), {}, {256, 0},
           [&reports](double fraction) { reports.push_back(fraction); });
    ASSERT_EQ(reports.size(), 4u);
    EXPECT_DOUBLE_EQ(reports.back(), 1.0);
}

}  // namespace
