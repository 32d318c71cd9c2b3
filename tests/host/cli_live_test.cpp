// kestrune live end to end: each test starts its own JACK server (dummy backend, 44100 Hz,
// 1024-frame periods), runs the built kestrune against it, plays into it and records from it with
// JACK clients of its own, and stops everything by process id.
//
// The dummy backend reports xruns of its own whenever its sleep overshoots a period; the tests
// print the xruns kestrune reported and its own process times, but do not fail on xruns.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <iostream>
#include <memory>
#include <sstream>
#include <thread>

#include "tests/host/background_program.h"
#include "tests/host/host_test_support.h"
#include "tests/host/jack_test_clients.h"
#include "tests/host/jack_test_server.h"

namespace {

using host_test::BackgroundProgram;
using host_test::JackTestServer;
using host_test::Player;
using host_test::Recorder;

constexpr size_t kLoopFrames = 44100;  // loop length 1: one second, at the server's 44100 Hz
constexpr std::chrono::seconds kStartTimeout{15};
constexpr std::chrono::seconds kRunTimeout{30};
constexpr std::chrono::seconds kStopTimeout{10};
const std::string kStatusEnd = "(Ctrl-C stops)";

// A phrase whose every frame differs from its neighbours, never near silence: found one frame
// early or late, it no longer matches.
std::vector<float> phrase(size_t frames, uint32_t seed) {
    std::vector<float> samples(frames);
    uint32_t state = seed * 2654435761u + 12345u;
    for (float& sample : samples) {
        state = state * 1664525u + 1013904223u;
        const float magnitude = 0.05f + 0.45f * static_cast<float>(state >> 8) / 16777216.0f;
        sample = (state & 1u) != 0 ? magnitude : -magnitude;
    }
    return samples;
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        lines.push_back(line);
    }
    return lines;
}

size_t countLinesWith(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (const std::string& line : linesOf(text)) {
        count += line.find(part) != std::string::npos ? 1 : 0;
    }
    return count;
}

// What kestrune said about xruns and its own process calls, for the test's log.
void reportRun(const BackgroundProgram& live) {
    const std::string err = live.err();
    std::string summary;
    for (const std::string& line : linesOf(err)) {
        if (line.find("stopped after") != std::string::npos) {
            summary = line;
        }
    }
    std::cout << "[ live run ] xrun reports: " << countLinesWith(err, "JACK reported")
              << "; " << summary << std::endl;
}

// The frames kestrune said the server ran without it, from its closing line.
uint64_t framesMissedBy(const BackgroundProgram& live) {
    const std::string err = live.err();
    const std::string mark = " frames missed";
    const size_t end = err.rfind(mark);
    if (end == std::string::npos) {
        return 0;
    }
    const size_t begin = err.rfind(' ', end - 1) + 1;
    return std::stoull(err.substr(begin, end - begin));
}

// Whether `recorded` holds silence until the player started and then `sent`, frame after frame,
// up to its end. The player's signals are never near silence, so the first sound marks the start.
bool heardWhole(const std::vector<float>& recorded, const std::vector<float>& sent) {
    const auto first = std::find_if(recorded.begin(), recorded.end(), [](float s) { return s != 0.0f; });
    const auto heard = static_cast<size_t>(recorded.end() - first);
    return heard > 0 && heard <= sent.size() && std::equal(first, recorded.end(), sent.begin());
}

// One run of kestrune live between a player and a recorder of the test's own.
struct Take {
    std::unique_ptr<BackgroundProgram> live;
    std::unique_ptr<Player> player;
    std::unique_ptr<Recorder> recorder;
    int status = -1;  // kestrune's exit status
    // The recorder's channels from this one on hold the player's signals, in order.
    size_t firstSentChannel = 0;
    std::vector<std::vector<float>> sent;

    // A take in which the server left a client out of a cycle cannot be checked frame by frame.
    // The player's signals as recorded tell whether the rig lost a cycle; kestrune says whether
    // it did. (The clients' own frame-time counts are only logged: a client woken late reads the
    // next cycle's frame time and counts a gap where none was.)
    bool disturbed() const {
        bool rigWhole = true;
        for (size_t i = 0; i < sent.size(); ++i) {
            rigWhole = rigWhole && heardWhole(recorder->channel(firstSentChannel + i), sent[i]);
        }
        std::cout << "[ live run ] frames the player, the recorder and kestrune counted as missed: "
                  << player->missedFrames() << ", " << recorder->missedFrames() << ", "
                  << framesMissedBy(*live) << (rigWhole ? "" : "; the rig lost frames") << std::endl;
        return !rigWhole || framesMissedBy(*live) > 0;
    }
};

// Under heavy load the dummy server may leave a client out of a cycle now and then; such a take
// is recorded again, up to this many times in all.
constexpr int kAttempts = 5;

class LiveKestrune : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(server.reachable()) << "jackd did not come up:\n" << server.log(); }

    std::unique_ptr<BackgroundProgram> startLive(const std::vector<std::string>& options) {
        std::vector<std::string> arguments{"live"};
        arguments.insert(arguments.end(), options.begin(), options.end());
        auto live = std::make_unique<BackgroundProgram>(KESTRUNE_BINARY, arguments);
        EXPECT_TRUE(live->waitForOutput(kStatusEnd, kStartTimeout)) << live->out() << live->err();
        return live;
    }

    static int stop(BackgroundProgram& live, int signal) {
        live.signal(signal);
        const int status = live.waitForExit(kStopTimeout);
        reportRun(live);
        return status;
    }

    static bool waitUntil(const std::function<bool()>& done, std::chrono::seconds timeout) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline) {
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return true;
    }

    // Runs `record` until it gives a take the server did not disturb, at most kAttempts times.
    void recordUndisturbed(const std::function<void(Take&)>& record, std::unique_ptr<Take>& take) {
        for (int attempt = 1; attempt <= kAttempts; ++attempt) {
            take.reset();
            take = std::make_unique<Take>();
            ASSERT_NO_FATAL_FAILURE(record(*take));
            if (!take->disturbed()) {
                return;
            }
            std::cout << "[ live run ] the server left a client out of a cycle; recording again"
                      << std::endl;
        }
        FAIL() << "the server left a client out of a cycle in every one of " << kAttempts
               << " takes";
    }

    JackTestServer server;
};

// --- The looper played live --------------------------------------------------------------------

struct LooperCase {
    const char* what;
    bool stereo;
};

void PrintTo(const LooperCase& looper, std::ostream* out) {
    *out << looper.what;
}

constexpr int64_t kLoopLengthFrame = 2000;
constexpr int64_t kRecordFrame = 4077;  // within a block, not at its start

class LiveLooper : public LiveKestrune, public testing::WithParamInterface<LooperCase> {
protected:
    // Sets the loop to one second, records one second of the phrase and plays on for two loops.
    void recordLooper(bool stereo, Take& take) {
        const size_t channels = stereo ? 2 : 1;
        std::vector<std::string> options{"--name", "looper"};
        if (stereo) {
            options.push_back("--stereo-in");
        }
        take.live = startLive(options);
        ASSERT_TRUE(take.live->running());
        const size_t frames = kRecordFrame + 3 * kLoopFrames + 8192;
        std::vector<std::vector<float>> signals;
        for (size_t ch = 0; ch < channels; ++ch) {
            signals.push_back(phrase(frames, static_cast<uint32_t>(ch + 1)));
        }
        take.firstSentChannel = 2;
        take.sent = signals;
        take.player = std::make_unique<Player>(
            "kestrune-test-player", signals,
            std::vector<ScheduledMessage>{
                {kLoopLengthFrame, MidiMessage::controller(127, 1)},
                {kRecordFrame, MidiMessage::noteOn(67, 100)},
                {kRecordFrame + static_cast<int64_t>(kLoopFrames), MidiMessage::noteOn(67, 100)}});
        // Recorder channels: out_1, out_2, then the player's signals as kestrune received them.
        take.recorder = std::make_unique<Recorder>("kestrune-test-recorder", 2 + channels, frames);
        Player& player = *take.player;
        Recorder& recorder = *take.recorder;
        for (size_t ch = 0; ch < channels; ++ch) {
            const std::string port = "looper:in_" + std::to_string(ch + 1);
            ASSERT_TRUE(player.connect(player.portName(ch), port));
            ASSERT_TRUE(player.connect(player.portName(ch), recorder.portName(2 + ch)));
        }
        ASSERT_TRUE(player.connect(player.commandPort(), "looper:midi_in"));
        ASSERT_TRUE(player.connect(player.commandPort(), recorder.commandPort()));
        ASSERT_TRUE(recorder.connect("looper:out_1", recorder.portName(0)));
        ASSERT_TRUE(recorder.connect("looper:out_2", recorder.portName(1)));
        recorder.start();
        player.start();
        ASSERT_TRUE(waitUntil([&] { return recorder.full(); }, kRunTimeout))
            << recorder.framesRecorded() << " frames recorded";
        take.status = stop(*take.live, SIGINT);
    }
};

// Program 0 plays the loop at full level and no dry signal, so the output is the loop alone.
// Recording writes each input frame at the write gain, which rises by 0.005 a frame from the
// first frame; one loop later the loop plays that back, and again the loop after.
TEST_P(LiveLooper, TheRecordedPhraseComesBackOneLoopLater) {
    const bool stereo = GetParam().stereo;
    const size_t channels = stereo ? 2 : 1;
    std::unique_ptr<Take> take;
    ASSERT_NO_FATAL_FAILURE(
        recordUndisturbed([&](Take& next) { recordLooper(stereo, next); }, take));
    EXPECT_EQ(take->status, 0) << take->live->err();
    const Recorder& recorder = *take->recorder;
    const size_t frames = recorder.channel(0).size();
    std::vector<std::vector<float>> signals;
    for (size_t ch = 0; ch < channels; ++ch) {
        signals.push_back(phrase(frames, static_cast<uint32_t>(ch + 1)));
    }

    std::vector<int64_t> records;
    for (const ScheduledMessage& received : recorder.messages()) {
        if (received.message == MidiMessage::noteOn(67, 100)) {
            records.push_back(received.frame);
        }
    }
    ASSERT_EQ(records.size(), 2u);
    ASSERT_EQ(records[1] - records[0], static_cast<int64_t>(kLoopFrames));
    const auto start = static_cast<size_t>(records[0]);
    ASSERT_LE(start + 3 * kLoopFrames, frames);
    for (size_t ch = 0; ch < channels; ++ch) {
        // The rig itself: the audio kestrune got is aligned with the commands it got.
        ASSERT_EQ(recorder.channel(2 + ch)[start], signals[ch][kRecordFrame]) << "channel " << ch;
    }

    for (size_t ch = 0; ch < channels; ++ch) {
        const std::vector<float>& dry = recorder.channel(2 + ch);
        const std::vector<float>& out = recorder.channel(stereo ? ch : 0);
        for (size_t i = 0; i < start + kLoopFrames; ++i) {
            ASSERT_EQ(out[i], 0.0f) << "channel " << ch << ": sound before the loop came round, frame " << i;
        }
        float level = 0.0f;
        for (size_t k = 0; k < kLoopFrames; ++k) {
            if (level < 1.0f) {
                level += 0.005f;
            }
            const float expected = dry[start + k] * level;
            ASSERT_NEAR(out[start + kLoopFrames + k], expected, 1e-6f)
                << "channel " << ch << ", " << k << " frames into the second pass";
        }
        // After the fade that ends recording (about 200 frames), the loop repeats unchanged.
        for (size_t k = 300; k < kLoopFrames; ++k) {
            ASSERT_EQ(out[start + 2 * kLoopFrames + k], out[start + kLoopFrames + k])
                << "channel " << ch << ", " << k << " frames into the third pass";
        }
    }
    if (!stereo) {
        EXPECT_EQ(recorder.channel(1), recorder.channel(0)) << "a mono loop plays on both outputs";
    }
}

INSTANTIATE_TEST_SUITE_P(Inputs, LiveLooper,
                         testing::Values(LooperCase{"mono", false}, LooperCase{"stereo", true}));

// --- Following the server ----------------------------------------------------------------------

// The probe plug-in passes its input through and tells on stderr how the host treats it.
TEST_F(LiveKestrune, FollowsABufferSizeChangeWithoutLosingABlock) {
    constexpr uint32_t kChangedPeriod = 2 * JackTestServer::kPeriod;
    const auto record = [&](Take& take) {
        take.live = startLive({host_test::testPlugin("LifecycleProbe"), "--name", "probe"});
        ASSERT_TRUE(take.live->running());
        const size_t frames = 2 * kLoopFrames;
        take.firstSentChannel = 1;
        take.sent = {phrase(frames + 8192, 7)};
        take.player = std::make_unique<Player>("kestrune-test-player", take.sent,
                                               std::vector<ScheduledMessage>{});
        // Recorder channels: out_1, the signal as sent.
        take.recorder = std::make_unique<Recorder>("kestrune-test-recorder", 2, frames);
        Player& player = *take.player;
        Recorder& recorder = *take.recorder;
        ASSERT_TRUE(player.connect(player.portName(0), "probe:in_1"));
        ASSERT_TRUE(player.connect(player.portName(0), recorder.portName(1)));
        ASSERT_TRUE(recorder.connect("probe:out_1", recorder.portName(0)));
        recorder.start();
        player.start();
        ASSERT_TRUE(waitUntil([&] { return recorder.framesRecorded() >= frames / 2; }, kRunTimeout));
        ASSERT_EQ(jack_set_buffer_size(recorder.handle(), kChangedPeriod), 0);
        ASSERT_TRUE(waitUntil([&] { return recorder.full(); }, kRunTimeout));
        ASSERT_TRUE(waitUntil(
            [&] {
                return take.live->err().find("buffer size now " + std::to_string(kChangedPeriod)) !=
                       std::string::npos;
            },
            kStartTimeout))
            << take.live->err();
        take.status = stop(*take.live, SIGTERM);
        // Back to the server's own size for the next take.
        ASSERT_EQ(jack_set_buffer_size(recorder.handle(), JackTestServer::kPeriod), 0);
    };
    std::unique_ptr<Take> take;
    ASSERT_NO_FATAL_FAILURE(recordUndisturbed(record, take));
    EXPECT_EQ(take->status, 0) << take->live->err();
    const Recorder& recorder = *take->recorder;
    const BackgroundProgram& live = *take->live;

    EXPECT_EQ(recorder.channel(0), recorder.channel(1)) << "the input did not come through whole";
    std::vector<std::string> probeLines;
    for (const std::string& line : linesOf(live.err())) {
        if (line.rfind("probe: ", 0) == 0) {
            probeLines.push_back(line.substr(7));
        }
    }
    const std::vector<std::string> expected{
        "sample rate 44100", "block size " + std::to_string(JackTestServer::kPeriod), "mains 1",  // start
        "mains 0", "sample rate 44100", "block size " + std::to_string(kChangedPeriod), "mains 1",  // the change
        "mains 0"};                                                    // stop
    ASSERT_EQ(probeLines.size(), expected.size() + 1) << live.err();
    EXPECT_EQ(std::vector<std::string>(probeLines.begin(), probeLines.end() - 1), expected);
    EXPECT_NE(probeLines.back().find(", 0 while off, 0 longer than the block size"), std::string::npos)
        << probeLines.back();
}

// --- Connections and names ---------------------------------------------------------------------

TEST_F(LiveKestrune, ConnectLinksThePhysicalPortsAndCopesWithoutMidiDevices) {
    const auto live = startLive({"--name", "wired", "--stereo-in", "--connect"});
    ASSERT_TRUE(live->running());
    const host_test::PortObserver observer;
    const std::vector<std::pair<std::string, std::string>> links{
        {"system:capture_1", "wired:in_1"}, {"system:capture_2", "wired:in_2"},
        {"wired:out_1", "system:playback_1"}, {"wired:out_2", "system:playback_2"}};
    for (const auto& [source, destination] : links) {
        EXPECT_TRUE(observer.connected(source, destination)) << source << " -> " << destination;
    }
    EXPECT_NE(live->err().find("no physical MIDI ports"), std::string::npos) << live->err();
    EXPECT_EQ(stop(*live, SIGTERM), 0) << live->err();
}

TEST_F(LiveKestrune, ASecondClientOfTheSameNameIsRefusedAndTheFirstPlaysOn) {
    const auto first = startLive({"--name", "twin"});
    ASSERT_TRUE(first->running());
    const auto second = host_test::runKestrune({"live", "--name", "twin"});
    EXPECT_EQ(second.status, 2);
    EXPECT_EQ(second.err,
              "kestrune: a JACK client named 'twin' is already running; give this one another "
              "name with --name\n");
    EXPECT_TRUE(second.out.empty()) << second.out;
    EXPECT_TRUE(first->running());
    EXPECT_EQ(stop(*first, SIGINT), 0) << first->err();
}

TEST_F(LiveKestrune, SaysSoAndExitsWith2WhenTheServerStops) {
    const auto live = startLive({"--name", "orphan"});
    ASSERT_TRUE(live->running());
    server.stop();
    EXPECT_EQ(live->waitForExit(kStopTimeout), 2) << live->err();
    const std::vector<std::string> lines = linesOf(live->err());
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "kestrune: the JACK server stopped");
}

// --- Bad input, no server needed ---------------------------------------------------------------

struct LiveErrorCase {
    const char* what;
    std::vector<std::string> arguments;
    std::string message;  // part of the one line on stderr
};

void PrintTo(const LiveErrorCase& error, std::ostream* out) {
    *out << error.what;
}

class LiveError : public testing::TestWithParam<LiveErrorCase> {};

// The probe plug-in's own lines are its business, not the host's.
std::string withoutProbeLines(const std::string& text) {
    std::string kept;
    for (const std::string& line : linesOf(text)) {
        if (line.rfind("probe: ", 0) != 0) {
            kept += line + "\n";
        }
    }
    return kept;
}

TEST_P(LiveError, SaysWhatIsWrongInOneLineAndExitsWith2) {
    const host_test::Environment noServer{{"JACK_DEFAULT_SERVER", JackTestServer::uniqueName()}};
    const auto run = host_test::runKestrune(GetParam().arguments, noServer);
    const std::string err = withoutProbeLines(run.err);
    EXPECT_EQ(run.status, 2) << run.err;
    EXPECT_EQ(err.rfind("kestrune: ", 0), 0u) << run.err;
    EXPECT_NE(err.find(GetParam().message), std::string::npos) << run.err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << run.err;
    EXPECT_TRUE(run.out.empty()) << run.out;
}

const std::string kNoOutputs = host_test::testPlugin("NoOutputs");

INSTANTIATE_TEST_SUITE_P(
    Cases, LiveError,
    testing::Values(
        LiveErrorCase{"no server", {"live"}, "no JACK server running"},
        LiveErrorCase{"unknown plug-in", {"live", "NoSuchPlugin"}, "NoSuchPlugin: no such plug-in"},
        LiveErrorCase{"plug-in without outputs", {"live", kNoOutputs},
                      kNoOutputs + ": the plug-in has no audio outputs"},
        LiveErrorCase{"unknown parameter", {"live", "--set", "Wetness=0.5"},
                      "no parameter named 'Wetness'"},
        LiveErrorCase{"program out of range", {"live", "--program", "32"}, "no program 32"},
        LiveErrorCase{"name with a colon", {"live", "--name", "a:b"},
                      "--name: a JACK client name cannot contain ':'"},
        LiveErrorCase{"empty name", {"live", "--name", ""}, "--name: the JACK client name is empty"}));

}  // namespace
