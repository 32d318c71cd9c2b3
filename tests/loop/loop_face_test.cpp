// What a host sees of the loop effect through the record and the dispatcher: parameters, program
// names, pins, identity and capabilities.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/support/plugin_host.h"

namespace {

constexpr char kSentinel = '#';
constexpr int32_t kNumPrograms = 32;

// A host text buffer filled with the sentinel, to see exactly which bytes the effect writes.
struct HostText {
    HostText() { std::memset(bytes, kSentinel, sizeof bytes); }
    std::string text() const { return std::string(bytes, strnlen(bytes, sizeof bytes)); }
    bool untouched() const { return countUntouched(0) == sizeof bytes; }
    // The text, its terminator and nothing after it.
    bool holdsOnly(const std::string& expected) const {
        return text() == expected && bytes[expected.size()] == '\0' &&
               countUntouched(expected.size() + 1) == sizeof bytes - expected.size() - 1;
    }
    size_t countUntouched(size_t from) const {
        size_t count = 0;
        for (size_t i = from; i < sizeof bytes; ++i) {
            count += bytes[i] == kSentinel ? 1u : 0u;
        }
        return count;
    }
    char bytes[64];
};

class LoopFace : public ::testing::Test {
protected:
    float getParameter(int32_t index) {
        return hosted.effect->getParameter(hosted.effect, index);
    }
    void setParameter(int32_t index, float value) {
        hosted.effect->setParameter(hosted.effect, index, value);
    }
    // Runs one text opcode into a fresh sentinel-filled buffer.
    HostText textOf(int32_t opcode, int32_t index = 0, intptr_t value = 0,
                    intptr_t* answer = nullptr) {
        HostText buffer;
        const intptr_t result = hosted.dispatch(opcode, index, value, buffer.bytes);
        if (answer != nullptr) {
            *answer = result;
        }
        return buffer;
    }
    std::string programName(int32_t index) {
        return textOf(effGetProgramNameIndexed, index).text();
    }
    void setProgram(int32_t program) { hosted.dispatch(effSetProgram, 0, program); }
    void renameCurrentProgram(const std::string& name) {
        std::vector<char> text(name.begin(), name.end());
        text.push_back('\0');
        EXPECT_EQ(hosted.dispatch(effSetProgramName, 0, 0, text.data()), 0);
        EXPECT_EQ(std::string(text.data()), name) << "the host's text is only read";
    }

    PluginLibrary library;
    FakeHost host;
    HostedEffect hosted{library, FakeHost::callback};
};

TEST_F(LoopFace, NewEffectShowsItsThreeParameters) {
    const struct {
        int32_t index;
        float value;
        const char* name;
        const char* display;
    } cases[] = {
        {0, 0.95f, "Feedback", "0.949999"},
        {1, 1.0f, "Loop Mix", "1.000000"},
        {2, 0.0f, "Dry Mix", "0.000000"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(getParameter(c.index), c.value) << c.index;
        intptr_t answer = -1;
        EXPECT_TRUE(textOf(effGetParamName, c.index, 0, &answer).holdsOnly(c.name)) << c.index;
        EXPECT_EQ(answer, 0);
        EXPECT_TRUE(textOf(effGetParamLabel, c.index, 0, &answer).holdsOnly("%")) << c.index;
        EXPECT_EQ(answer, 0);
        EXPECT_TRUE(textOf(effGetParamDisplay, c.index, 0, &answer).holdsOnly(c.display))
            << c.index;
        EXPECT_EQ(answer, 0);
    }
}

TEST_F(LoopFace, UnknownParameterIndexes) {
    for (int32_t index : {3, -1, 1000, INT32_MIN}) {
        EXPECT_EQ(getParameter(index), 0.0f) << index;
        EXPECT_TRUE(textOf(effGetParamName, index).untouched()) << index;
        EXPECT_TRUE(textOf(effGetParamLabel, index).untouched()) << index;
        EXPECT_TRUE(textOf(effGetParamDisplay, index).holdsOnly("")) << index;
        setParameter(index, 0.25f);
    }
    EXPECT_EQ(getParameter(0), 0.95f);
    EXPECT_EQ(getParameter(1), 1.0f);
    EXPECT_EQ(getParameter(2), 0.0f);
}

TEST_F(LoopFace, ParametersAreStoredAsGivenAndDisplayedAsNumbers) {
    const struct {
        int32_t index;
        float value;
        const char* display;
    } cases[] = {
        {0, 2.0f, "2.000000"},
        {1, -0.5f, "-0.50000"},
        {2, 0.25f, "0.250000"},
        {0, 1.0e9f, " Huge!  "},
        {1, 12345678.0f, "12345678"},
    };
    for (const auto& c : cases) {
        setParameter(c.index, c.value);
        EXPECT_EQ(getParameter(c.index), c.value) << c.index;
        EXPECT_TRUE(textOf(effGetParamDisplay, c.index).holdsOnly(c.display)) << c.value;
    }
}

TEST_F(LoopFace, ParameterChangeBelongsToTheCurrentProgram) {
    setParameter(1, 0.5f);
    setProgram(5);
    EXPECT_EQ(getParameter(1), 1.0f);
    setParameter(0, 0.3f);
    setProgram(0);
    EXPECT_EQ(getParameter(1), 0.5f);
    EXPECT_EQ(getParameter(0), 0.95f);
    setProgram(5);
    EXPECT_EQ(getParameter(0), 0.3f);
    EXPECT_EQ(getParameter(1), 1.0f);
}

TEST_F(LoopFace, EveryProgramStartsAsBasic) {
    for (int32_t index = 0; index < kNumPrograms; ++index) {
        intptr_t answer = 0;
        EXPECT_TRUE(textOf(effGetProgramNameIndexed, index, 0, &answer).holdsOnly("Basic"))
            << index;
        EXPECT_EQ(answer, 1) << index;
    }
    EXPECT_TRUE(textOf(effGetProgramName).holdsOnly("Basic"));
}

TEST_F(LoopFace, ProgramNameIndexedIgnoresTheCategoryAndRefusesUnknownPrograms) {
    const struct {
        int32_t index;
        intptr_t category;
        intptr_t answer;
    } cases[] = {
        {0, 0, 1},  {31, 0, 1},  {0, 7, 1},  {31, -3, 1},
        {-1, 0, 0}, {32, 0, 0},  {-1, 7, 0}, {32, 1, 0}, {INT32_MIN, 0, 0}, {1000, 0, 0},
    };
    for (const auto& c : cases) {
        intptr_t answer = -1;
        const HostText text = textOf(effGetProgramNameIndexed, c.index, c.category, &answer);
        EXPECT_EQ(answer, c.answer) << c.index << " in category " << c.category;
        EXPECT_TRUE(c.answer == 1 ? text.holdsOnly("Basic") : text.untouched()) << c.index;
    }
}

TEST_F(LoopFace, RenamingTouchesOnlyTheCurrentProgram) {
    setProgram(4);
    renameCurrentProgram("Drone");
    EXPECT_TRUE(textOf(effGetProgramName).holdsOnly("Drone"));
    for (int32_t index = 0; index < kNumPrograms; ++index) {
        EXPECT_EQ(programName(index), index == 4 ? "Drone" : "Basic") << index;
    }
    setProgram(0);
    EXPECT_EQ(textOf(effGetProgramName).text(), "Basic");
    setProgram(4);
    EXPECT_EQ(textOf(effGetProgramName).text(), "Drone");
}

TEST_F(LoopFace, ProgramNamesKeepAtMostTwentyThreeCharacters) {
    const std::string twentyThree = "abcdefghijklmnopqrstuvw";
    const struct {
        std::string given;
        std::string kept;
    } cases[] = {
        {"", ""},
        {twentyThree, twentyThree},
        {twentyThree + "x", twentyThree},
        {twentyThree + "xyz0123456789 and on and on", twentyThree},
    };
    for (const auto& c : cases) {
        setProgram(30);
        renameCurrentProgram(c.given);
        EXPECT_TRUE(textOf(effGetProgramName).holdsOnly(c.kept)) << c.given;
        EXPECT_EQ(programName(30), c.kept);
        EXPECT_EQ(programName(31), "Basic") << "the next program's name is intact";
        EXPECT_EQ(programName(29), "Basic");
        setProgram(31);
        EXPECT_EQ(getParameter(0), 0.95f) << "the next program's values are intact";
        EXPECT_EQ(getParameter(1), 1.0f);
        EXPECT_EQ(getParameter(2), 0.0f);
    }
}

TEST_F(LoopFace, CopyProgramCopiesTheCurrentOneWholeAndKeepsItCurrent) {
    setProgram(2);
    setParameter(0, 0.5f);
    setParameter(1, 0.25f);
    setParameter(2, 0.75f);
    renameCurrentProgram("Two");
    EXPECT_EQ(hosted.dispatch(effCopyProgram, 7), 1);
    EXPECT_EQ(hosted.dispatch(effGetProgram), 2);
    EXPECT_EQ(programName(7), "Two");
    EXPECT_EQ(programName(6), "Basic");
    EXPECT_EQ(programName(8), "Basic");
    setProgram(7);
    EXPECT_EQ(getParameter(0), 0.5f);
    EXPECT_EQ(getParameter(1), 0.25f);
    EXPECT_EQ(getParameter(2), 0.75f);
}

TEST_F(LoopFace, CopyProgramOntoItselfOrNowhere) {
    setProgram(3);
    setParameter(0, 0.5f);
    renameCurrentProgram("Three");
    EXPECT_EQ(hosted.dispatch(effCopyProgram, 3), 1);
    for (int32_t destination : {-1, 32, INT32_MIN, INT32_MAX}) {
        EXPECT_EQ(hosted.dispatch(effCopyProgram, destination), 0) << destination;
    }
    EXPECT_EQ(hosted.dispatch(effGetProgram), 3);
    EXPECT_EQ(getParameter(0), 0.5f);
    for (int32_t index = 0; index < kNumPrograms; ++index) {
        EXPECT_EQ(programName(index), index == 3 ? "Three" : "Basic") << index;
    }
    setProgram(0);
    EXPECT_EQ(getParameter(0), 0.95f);
}

// The host's pin record is longer than the part the effect fills; bytes past it must stay.
struct HostPin {
    HostPin() { std::memset(bytes(), kSentinel, sizeof *this); }
    const char* bytes() const { return reinterpret_cast<const char*>(this); }
    char* bytes() { return reinterpret_cast<char*>(this); }
    bool untouchedFrom(size_t from) const {
        for (size_t i = from; i < sizeof *this; ++i) {
            if (bytes()[i] != kSentinel) {
                return false;
            }
        }
        return true;
    }
    VstPinProperties pin;
    char restOfTheHostsRecord[60];
};

TEST_F(LoopFace, OutputPins) {
    const struct {
        int32_t index;
        const char* label;
    } pins[] = {{0, "Vstx 1"}, {1, "Vstx 2"}, {-1, "Vstx 0"}};
    for (const auto& pin : pins) {
        HostPin record;
        EXPECT_EQ(hosted.dispatch(effGetOutputProperties, pin.index, 0, &record.pin), 1);
        EXPECT_STREQ(record.pin.label, pin.label);
        const size_t labelEnd = std::strlen(pin.label) + 1;
        const size_t labelSize = sizeof record.pin.label;
        EXPECT_EQ(std::string(record.pin.label + labelEnd, record.pin.label + labelSize),
                  std::string(labelSize - labelEnd, kSentinel))
            << "the rest of the label field";
        EXPECT_EQ(record.pin.flags, 3);
        EXPECT_TRUE(record.untouchedFrom(offsetof(VstPinProperties, flags) + sizeof(int32_t)));
    }
    for (int32_t index : {2, 3, 1000, INT32_MAX}) {
        HostPin record;
        EXPECT_EQ(hosted.dispatch(effGetOutputProperties, index, 0, &record.pin), 0);
        EXPECT_TRUE(record.untouchedFrom(0)) << index;
    }
    HostPin input;
    EXPECT_EQ(hosted.dispatch(effGetInputProperties, 0, 0, &input.pin), 0);
    EXPECT_TRUE(input.untouchedFrom(0));
}

TEST_F(LoopFace, Identity) {
    const struct {
        int32_t opcode;
        const char* text;
    } cases[] = {
        {effGetEffectName, "KestruneVST vTavix"},
        {effGetVendorString, "Kestrune Lab"},
        {effGetProductString, "KestruneVST Tavix Version"},
    };
    for (const auto& c : cases) {
        intptr_t answer = 0;
        EXPECT_TRUE(textOf(c.opcode, 0, 0, &answer).holdsOnly(c.text)) << c.opcode;
        EXPECT_EQ(answer, 1) << c.opcode;
    }
    EXPECT_EQ(std::strlen("Kestrune Lab"), 12u);
    EXPECT_EQ(hosted.dispatch(effGetVendorVersion), 1);
}

TEST_F(LoopFace, CanDoAnswersOnlyTheExactTexts) {
    const struct {
        const char* text;
        intptr_t answer;
    } cases[] = {
        {"receiveVstEvents", 1},
        {"receiveVstMidiEvent", 1},
        {"", -1},
        {"ReceiveVstEvents", -1},
        {"RECEIVEVSTMIDIEVENT", -1},
        {"receiveVstEvent", -1},
        {"receiveVstMidiEvents", -1},
        {"receiveVstEvents ", -1},
        {"receive", -1},
        {"sendVstEvents", -1},
        {"sendVstMidiEvent", -1},
        {"bypass", -1},
    };
    for (const auto& c : cases) {
        std::vector<char> text(c.text, c.text + std::strlen(c.text) + 1);
        EXPECT_EQ(hosted.dispatch(effCanDo, 0, 0, text.data()), c.answer) << '"' << c.text << '"';
    }
}

// A host that passes no buffer gets an answer and no crash.
TEST_F(LoopFace, NullBuffersAreLeftAlone) {
    const struct {
        int32_t opcode;
        int32_t index;
        intptr_t answer;
    } cases[] = {
        {effSetProgramName, 0, 0},       {effGetProgramName, 0, 0},
        {effGetParamLabel, 0, 0},        {effGetParamDisplay, 1, 0},
        {effGetParamName, 2, 0},         {effGetProgramNameIndexed, 0, 0},
        {effGetOutputProperties, 0, 0},  {effGetInputProperties, 0, 0},
        {effGetEffectName, 0, 0},        {effGetVendorString, 0, 0},
        {effGetProductString, 0, 0},     {effCanDo, 0, -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(hosted.dispatch(c.opcode, c.index, 0, nullptr), c.answer) << c.opcode;
    }
    EXPECT_EQ(programName(0), "Basic");
}

}  // namespace
