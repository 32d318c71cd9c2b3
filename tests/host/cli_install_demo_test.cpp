// The installed layout and the demo, run as a user would.
#include <gtest/gtest.h>

#include "tests/host/cli_test_support.h"

namespace {

TEST(KestruneInstall, FindsThePluginInTheInstalledLibVstFolder) {
    host_test::TempFolder prefix;
    const auto install = host_test::runProgram(
        CMAKE_COMMAND, {"--install", PROJECT_BINARY_DIR, "--prefix", prefix.path().string()});
    ASSERT_EQ(install.status, 0) << install.out << install.err;
    ASSERT_TRUE(std::filesystem::exists(prefix / "lib/vst/KestruneVSTi.so"));
    host_test::TempFolder home;
    const auto run = host_test::runProgram((prefix / "bin/kestrune").string(), {"info", "--json"},
                                           host_test::scratchHome(home));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("\"path\": \"" + (prefix / "lib/vst/KestruneVSTi.so").string() + "\""),
              std::string::npos)
        << run.out;
}

TEST(KestruneDemo, RendersTheDemoAndItsPlot) {
    host_test::TempFolder folder;
    const auto run = host_test::runKestrune({"demo", "-o", (folder / "demo.wav").string(), "--plot",
                                             (folder / "demo.png").string()});
    ASSERT_EQ(run.status, 0) << run.err;
    const AudioBuffer demo = readAudioFile(folder / "demo.wav");
    EXPECT_EQ(demo.sampleRate, 44100);
    EXPECT_EQ(demo.channels.size(), 2u);
    EXPECT_EQ(demo.frames(), 18 * 44100);
    EXPECT_EQ(host_test::readText(folder / "demo.png").substr(1, 3), "PNG");
}

}  // namespace
