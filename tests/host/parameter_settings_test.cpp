#include "host/parameter_settings.h"

#include <gtest/gtest.h>

#include "host/host_error.h"
#include "host/plugin.h"
#include "tests/host/host_test_support.h"

namespace {

TEST(ParameterSetting, ReadsNameAndValue) {
    const std::vector<std::tuple<std::string, std::string, float>> cases{
        {"Dry Mix=0.5", "Dry Mix", 0.5f},
        {" Feedback = 0.25 ", "Feedback", 0.25f},
        {"2=1", "2", 1.0f},
        {"a=b=0", "a=b", 0.0f},
    };
    for (const auto& [text, name, value] : cases) {
        const ParameterSetting setting = parseParameterSetting(text);
        EXPECT_EQ(setting.parameter, name) << text;
        EXPECT_EQ(setting.value, value) << text;
    }
}

TEST(ParameterSetting, RefusesWhatIsNotNameEqualsValueFromZeroToOne) {
    for (const char* text : {"Dry Mix", "=0.5", "x=", "x=abc", "x=1.5", "x=-0.1", "x=nan", "x=0.5x"}) {
        try {
            parseParameterSetting(text);
            ADD_FAILURE() << "accepted " << text;
        } catch (const HostError& error) {
            EXPECT_EQ(std::string(error.what()).rfind("--set: ", 0), 0u) << error.what();
        }
    }
}

TEST(ParameterSetting, FindsParametersByNameIgnoringCaseOrByIndex) {
    Plugin probe(host_test::testPlugin("EventProbe"));
    EXPECT_EQ(findParameter(probe, "Gain"), 0);
    EXPECT_EQ(findParameter(probe, "tone"), 1);
    EXPECT_EQ(findParameter(probe, "1"), 1);
}

TEST(ParameterSetting, AnUnknownParameterIsReportedWithThoseThereAre) {
    Plugin probe(host_test::testPlugin("EventProbe"));
    const std::string prefix = host_test::testPlugin("EventProbe") + ": ";
    const std::vector<std::pair<std::string, std::string>> cases{
        {"Volume", "no parameter named 'Volume' (it has: Gain, Tone)"},
        {"2", "no parameter 2 (it has 2)"},
        {"-1", "no parameter -1 (it has 2)"},
    };
    for (const auto& [name, problem] : cases) {
        try {
            findParameter(probe, name);
            ADD_FAILURE() << "found " << name;
        } catch (const HostError& error) {
            EXPECT_EQ(std::string(error.what()), prefix + problem);
        }
    }
}

TEST(ParameterSetting, AProgramOutOfRangeIsRefused) {
    Plugin probe(host_test::testPlugin("EventProbe"));
    EXPECT_THROW(selectProgram(probe, 0), HostError);
}

}  // namespace
