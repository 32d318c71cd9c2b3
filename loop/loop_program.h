// One program of the bank: the three parameter values and a name of at most 23 characters.
#pragma once

struct LoopProgram {
    static constexpr int kNameSize = 24;

    float feedback = 0.95f;
    float loopMix = 1.0f;
    float dryMix = 0.0f;
    char name[kNameSize] = "Basic";
};
