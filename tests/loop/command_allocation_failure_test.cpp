// Commands whose new buffer cannot be had: the loop state stays exactly as it was and the old loop
// plays on.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "tests/loop/loop_command_fixture.h"
#include "tests/support/failing_allocation.h"

namespace {

struct Command {
    std::string name;
    int32_t status;
    int32_t data1;
    int32_t data2;
    bool halfSpeed;
    int32_t channels;

    friend void PrintTo(const Command& command, std::ostream* out) { *out << command.name; }
};

class CommandWithoutMemory : public LoopCommandTest, public ::testing::TestWithParam<Command> {
protected:
    void run(const Command& command) {
        effect.processMidiMessage(command.status, command.data1, command.data2);
    }

    std::vector<float> playMono(int32_t frames) {
        std::vector<float> input(static_cast<size_t>(frames), 0.0f);
        std::vector<float> left(input.size());
        std::vector<float> right(input.size());
        float* inputs[] = {input.data(), nullptr};
        float* outputs[] = {left.data(), right.data()};
        effect.getAeffect()->processReplacing(effect.getAeffect(), inputs, outputs, frames);
        return left;
    }
};

TEST_P(CommandWithoutMemory, ChangesNothingAndTheOldLoopPlaysOn) {
    const Command& command = GetParam();
    setUpLoop(countingLoop(6), 4, 1, command.channels);
    probe.setHalfSpeed(command.halfSpeed);
    probe.setReverse(true);
    probe.setRecordLevel(0.5f);
    const LoopState before = probe.state();
    {
        AllocationBudget budget(0);
        run(command);
    }
    EXPECT_EQ(probe.state(), before);

    probe.setReverse(false);
    probe.setChannels(1);
    EXPECT_EQ(playMono(6), (std::vector<float>{5, 6, 1, 2, 3, 4}));

    // With memory the same command goes through.
    setUpLoop(countingLoop(6), 4, 1, command.channels);
    probe.setHalfSpeed(command.halfSpeed);
    const LoopState ready = probe.state();
    run(command);
    EXPECT_NE(probe.state(), ready);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, CommandWithoutMemory,
    ::testing::Values(Command{"HalfSpeedStretch", 0x90, midi::kHalfSpeed, 100, false, 1},
                      Command{"HalfSpeedStretchStereo", 0x90, midi::kHalfSpeed, 100, false, 2},
                      Command{"HalfSpeedHalve", 0x90, midi::kHalfSpeed, 100, true, 1},
                      Command{"HalfSpeedHalveStereo", 0x90, midi::kHalfSpeed, 100, true, 2},
                      Command{"Fold", 0x90, midi::kFold, 100, false, 1},
                      Command{"Double", 0x90, midi::kDouble, 100, false, 1},
                      Command{"Mirror", 0x90, midi::kMirror, 100, false, 1},
                      Command{"AddReverse", 0x90, midi::kAddReverse, 100, false, 1},
                      Command{"LoopLength", 0xB0, midi::kLoopLength, 1, false, 1},
                      Command{"LoopLengthStereo", 0xB0, midi::kLoopLength, 0, false, 2}),
    [](const ::testing::TestParamInfo<Command>& info) { return info.param.name; });

}  // namespace
