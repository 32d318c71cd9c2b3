#include "host/plugin.h"

#include <gtest/gtest.h>

#include "host/host_error.h"
#include "tests/host/host_test_support.h"

namespace {

// Long enough for the loader to read a whole header and find it is not one.
const std::string kNotALibrary(256, '#');

TEST(Plugin, LoadsThroughVSTPluginMainAndThroughMain) {
    const Plugin probe(host_test::testPlugin("EventProbe"));
    EXPECT_EQ(probe.record().numOutputs, 3);
    const Plugin looper(KESTRUNE_PLUGIN_PATH);
    EXPECT_EQ(looper.record().numInputs, 1);
    EXPECT_EQ(looper.record().numOutputs, 2);
}

struct BadPlugin {
    std::string path;
    const char* problem;
};

void PrintTo(const BadPlugin& plugin, std::ostream* out) {
    *out << plugin.problem;
}

class PluginError : public testing::TestWithParam<BadPlugin> {};

TEST_P(PluginError, NamesTheFileAndTheReason) {
    host_test::TempFolder folder;
    host_test::writeText(folder / "Text.so", kNotALibrary);
    const std::string path = GetParam().path.empty() ? (folder / "Text.so").string() : GetParam().path;
    try {
        const Plugin plugin(path);
        FAIL() << "loaded " << path;
    } catch (const HostError& error) {
        const std::string message = error.what();
        EXPECT_EQ(message.rfind(path + ": ", 0), 0u) << message;
        EXPECT_NE(message.find(GetParam().problem), std::string::npos) << message;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Libraries, PluginError,
    testing::Values(
        BadPlugin{"", "the plug-in cannot be loaded: "},  // the loader's reason follows
        BadPlugin{"/nonexistent/Thing.so", "no such plug-in file"},
        BadPlugin{host_test::testPlugin("NoEntry"), "exports neither VSTPluginMain nor main"},
        BadPlugin{host_test::testPlugin("BadMagic"),
                  "not a VST 2 plug-in record (magic 0x4e6f7065, expected 'VstP')"}));

TEST(Plugin, PassesTheLoadersOwnReason) {
    host_test::TempFolder folder;
    host_test::writeText(folder / "Text.so", kNotALibrary);
    try {
        const Plugin plugin(folder / "Text.so");
        FAIL();
    } catch (const HostError& error) {
        EXPECT_NE(std::string(error.what()).find("invalid ELF header"), std::string::npos)
            << error.what();
    }
}

TEST(Plugin, ReadsTextsIntoItsOwnBuffer) {
    Plugin probe(host_test::testPlugin("EventProbe"));
    EXPECT_EQ(probe.text(effGetEffectName), "Event Probe");
    EXPECT_EQ(probe.text(effGetParamName, 1), "Tone");
    EXPECT_EQ(probe.text(effGetVendorString), "");
}

}  // namespace
