#include <gtest/gtest.h>

#include "loop/loop_entry.h"
#include "tests/support/plugin_host.h"

namespace {

intptr_t VST_CALL versionZeroHost(AEffect*, int32_t, int32_t, intptr_t, void*, float) { return 0; }

TEST(PluginLibrary, MainAsksTheHostForItsVersionFirst) {
    PluginLibrary library;
    FakeHost host;
    AEffect* effect = library.entry()(FakeHost::callback);
    ASSERT_NE(effect, nullptr);
    ASSERT_FALSE(host.calls.empty());
    EXPECT_EQ(host.calls[0].opcode, audioMasterVersion);
    EXPECT_EQ(host.calls[0].effect, nullptr);
    EXPECT_EQ(host.calls.size(), 1u);
    EXPECT_EQ(effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f), 1);
}

TEST(PluginLibrary, MainRefusesAHostWithoutVersionOrCallback) {
    PluginLibrary library;
    EXPECT_EQ(library.entry()(versionZeroHost), nullptr);
    EXPECT_EQ(library.entry()(nullptr), nullptr);
}

TEST(PluginLibrary, ExportsOnlyMain) {
    PluginLibrary library;
    EXPECT_NE(library.symbol("main"), nullptr);
    // Neither the functions behind `main` nor the Windows load hook are visible to a host.
    for (const char* hidden : {"openLoopEffect", "dispatcherEntry", "pluginMain", "DllMain"}) {
        EXPECT_EQ(library.symbol(hidden), nullptr) << hidden;
    }
}

TEST(PluginLibrary, ResumeAsksForMidiEveryTime) {
    PluginLibrary library;
    FakeHost host;
    HostedEffect hosted(library, FakeHost::callback);
    hosted.dispatch(effMainsChanged, 0, 1);
    hosted.dispatch(effMainsChanged, 0, 0);
    hosted.dispatch(effMainsChanged, 0, 1);
    const auto wantMidi = host.callsOf(audioMasterWantMidi);
    ASSERT_EQ(wantMidi.size(), 2u);
    EXPECT_EQ(wantMidi[0].value, 1);
    EXPECT_EQ(wantMidi[0].effect, hosted.effect);
}

TEST(PluginLibrary, ManyEffectsLiveSideBySide) {
    PluginLibrary library;
    FakeHost host;
    HostedEffect first(library, FakeHost::callback);
    HostedEffect second(library, FakeHost::callback);
    EXPECT_NE(first.effect, second.effect);
    first.dispatch(effSetProgram, 0, 3);
    EXPECT_EQ(first.dispatch(effGetProgram), 3);
    EXPECT_EQ(second.dispatch(effGetProgram), 0);
}

}  // namespace
