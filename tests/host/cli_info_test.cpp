// `kestrune info` on our own plug-in, on the test probe and on plug-ins from Debian's packages.
#include <gtest/gtest.h>

#include "tests/host/cli_test_support.h"

namespace {

using host_test::runKestrune;

struct InfoCase {
    std::string plugin;
    std::string expectedLine;  // a line the text report must contain
    std::string expectedJson;  // a piece of the JSON report
};

void PrintTo(const InfoCase& info, std::ostream* out) {
    *out << std::filesystem::path(info.plugin).stem().string();
}

class KestruneInfo : public testing::TestWithParam<InfoCase> {};

TEST_P(KestruneInfo, PrintsWhatAHostSeesAsTextAndAsJson) {
    host_test::TempFolder home;
    const auto text = runKestrune({"info", GetParam().plugin}, host_test::scratchHome(home));
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_NE(text.out.find(GetParam().expectedLine), std::string::npos) << text.out;
    for (const char* heading : {"unique id:", "parameters:", "programs:", "flags:", "can do:"}) {
        EXPECT_NE(text.out.find(heading), std::string::npos) << heading;
    }
    const auto json = runKestrune({"info", "--json", GetParam().plugin}, host_test::scratchHome(home));
    ASSERT_EQ(json.status, 0) << json.err;
    EXPECT_TRUE(host_test::isJson(json.out)) << json.out;
    EXPECT_NE(json.out.find(GetParam().expectedJson), std::string::npos) << json.out;
}

INSTANTIATE_TEST_SUITE_P(
    Plugins, KestruneInfo,
    testing::Values(
        // By name: found beside the program in the build tree.
        InfoCase{"KestruneVSTi", "outputs:        2", "\"inputs\": 1"},
        InfoCase{KESTRUNE_PLUGIN_PATH, "inputs:         1", "\"outputs\": 2"},
        InfoCase{host_test::testPlugin("EventProbe"), "unique id:      'Prob' (0x50726f62)",
                 "\"parameters\": [\n    {\"index\": 0, \"name\": \"Gain\""},
        // Debian's plug-ins by name, from /usr/lib/vst: an effect and an instrument.
        InfoCase{"MaFreeverb-vst", "effect:         MaFreeverb", "\"category\": \"effect\""},
        InfoCase{"ZynAddSubFX", "flags:          canReplacing programChunks isSynth",
                 "\"category\": \"synth\""}));

TEST(KestruneInfo, DefaultsToTheLooper) {
    const auto run = runKestrune({"info"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("/KestruneVSTi.so\n"), std::string::npos) << run.out;
}

TEST(KestruneInfo, FindsAPluginByNameThroughVstPath) {
    const auto run = runKestrune({"info", "EventProbe"}, {{"VST_PATH", "/nonexistent:" TEST_PLUGIN_DIR}});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("effect:         Event Probe"), std::string::npos) << run.out;
}

TEST(KestruneInfo, FindsAPluginInTheHomeVstFolder) {
    host_test::TempFolder home;
    std::filesystem::create_directory(home / ".vst");
    std::filesystem::copy_file(host_test::testPlugin("EventProbe"), home / ".vst" / "Probe.so");
    const auto run = runKestrune({"info", "Probe"}, host_test::scratchHome(home));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find((home / ".vst" / "Probe.so").string()), std::string::npos) << run.out;
}

}  // namespace
