#include "host/plugin_search.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include "host/host_error.h"
#include "tests/host/host_test_support.h"

namespace {

// Sets an environment variable for one test and puts the old value back.
class ScopedVariable {
public:
    ScopedVariable(const char* variableName, const std::string& value) : name(variableName) {
        if (const char* old = std::getenv(name)) {
            previous = old;
        }
        setenv(name, value.c_str(), 1);
    }
    ~ScopedVariable() {
        if (previous) {
            setenv(name, previous->c_str(), 1);
        } else {
            unsetenv(name);
        }
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const char* name;
    std::optional<std::string> previous;
};

TEST(PluginSearch, LooksBesideTheProgramThenInstalledThenVstPathThenTheUsualFolders) {
    const ScopedVariable vstPath("VST_PATH", "/first/vst::/second/vst");
    const ScopedVariable home("HOME", "/home/player");
    const std::vector<std::filesystem::path> expected{
        "/opt/kestrune/bin", "/opt/kestrune/lib/vst", "/first/vst", "/second/vst",
        "/home/player/.vst", "/usr/local/lib/vst", "/usr/lib/vst"};
    EXPECT_EQ(pluginSearchFolders("/opt/kestrune/bin"), expected);
}

TEST(PluginSearch, FindsANameWithOrWithoutItsSuffixInTheFirstFolderThatHasIt) {
    host_test::TempFolder early;
    host_test::TempFolder late;
    host_test::writeText(late / "Echo.so", "");
    host_test::writeText(late / "Plain", "");
    host_test::writeText(early / "Echo.so", "");
    const std::vector<std::filesystem::path> folders{early.path(), late.path()};
    EXPECT_EQ(findPlugin("Echo", folders), early / "Echo.so");
    EXPECT_EQ(findPlugin("Echo.so", folders), early / "Echo.so");
    EXPECT_EQ(findPlugin("Plain", folders), late / "Plain");
}

TEST(PluginSearch, TakesAPathAsItIs) {
    EXPECT_EQ(findPlugin("./missing/Thing.so", {}), std::filesystem::path("./missing/Thing.so"));
    EXPECT_EQ(findPlugin("/abs/Thing.so", {}), std::filesystem::path("/abs/Thing.so"));
}

TEST(PluginSearch, AnUnknownNameIsReportedWithTheFoldersSearched) {
    host_test::TempFolder folder;
    try {
        findPlugin("Nowhere", {folder.path(), "/usr/lib/vst"});
        FAIL();
    } catch (const HostError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Nowhere: no such plug-in (looked in " + folder.path().string() +
                      ", /usr/lib/vst)");
    }
}

}  // namespace
