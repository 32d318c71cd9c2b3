// Bad input: one message on stderr naming the file and the problem, exit status 2, and nothing in
// the folder written, changed or left behind.
#include <gtest/gtest.h>

#include <fstream>

#include "tests/host/cli_test_support.h"

namespace {

// Long enough for the loader to read a whole header and find it is not one.
const std::string kNotALibrary(256, '#');

using host_test::runKestrune;

struct ErrorCase {
    const char* what;
    std::vector<std::string> arguments;  // "@" stands for the test's folder
    std::string message;                 // stderr after "kestrune: ", "@" again the folder
};

void PrintTo(const ErrorCase& error, std::ostream* out) {
    *out << error.what;
}

std::string inFolder(std::string text, const std::filesystem::path& folder) {
    for (size_t at = text.find('@'); at != std::string::npos; at = text.find('@', at)) {
        text.replace(at, 1, folder.string());
        at += folder.string().size();
    }
    return text;
}

const std::string kProbe = host_test::testPlugin("EventProbe");
const std::string kRender = "render";

class KestruneError : public testing::TestWithParam<ErrorCase> {
protected:
    void SetUp() override {
        writeAudioFile(folder / "in.wav", host_test::tone(1, 4410));
        host_test::writeText(folder / "keep.wav", "an earlier take, not to be lost");
        host_test::writeText(folder / "notes.txt", "words, not sound\n");
        host_test::writeText(folder / "bad.mid", "MThd but nothing more");
        // A track cut off before its end-of-track event, which libsmf would stop the program on.
        std::ofstream(folder / "cut.mid", std::ios::binary)
            << std::string("MThd\0\0\0\6\0\0\0\1\0\x60MTrk\0\0\0\4\0\x90\x24\x64", 26);
        host_test::writeText(folder / "cues.txt", "# cues\n1 record\n2 recrod\n");
        host_test::writeText(folder / "Text.so", kNotALibrary);
        writeBrokenFlac(folder / "broken.flac");
    }

    // Sound for its first half, then bytes the decoder loses its way in: found only while the
    // render is already streaming it through the plug-in.
    static void writeBrokenFlac(const std::filesystem::path& path) {
        writeAudioFile(path, host_test::tone(1, 3 * 44100));
        std::string bytes = host_test::readText(path);
        std::fill(bytes.begin() + static_cast<std::ptrdiff_t>(bytes.size() / 2),
                  bytes.begin() + static_cast<std::ptrdiff_t>(bytes.size() / 2 + bytes.size() / 8), '\x55');
        std::ofstream(path, std::ios::binary) << bytes;
    }

    host_test::TempFolder folder;
};

TEST_P(KestruneError, SaysWhatIsWrongWithWhichFileAndKeepsEveryFile) {
    const auto before = host_test::filesIn(folder.path());
    const std::string inBefore = host_test::readText(folder / "in.wav");
    std::vector<std::string> arguments;
    for (const std::string& argument : GetParam().arguments) {
        arguments.push_back(inFolder(argument, folder.path()));
    }
    const auto run = runKestrune(arguments);
    EXPECT_EQ(run.status, 2) << run.err;
    const std::string expected = inFolder(GetParam().message, folder.path());
    EXPECT_EQ(run.err.rfind("kestrune: " + expected, 0), 0u) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(host_test::filesIn(folder.path()), before);
    EXPECT_EQ(host_test::readText(folder / "keep.wav"), "an earlier take, not to be lost");
    EXPECT_EQ(host_test::readText(folder / "in.wav"), inBefore);
}

INSTANTIATE_TEST_SUITE_P(
    BadInput, KestruneError,
    testing::Values(
        ErrorCase{"missing input", {kRender, "-i", "@/missing.wav", "-o", "@/keep.wav"},
                  "@/missing.wav: no such audio file"},
        ErrorCase{"input not audio", {kRender, "-i", "@/notes.txt", "-o", "@/keep.wav"},
                  "@/notes.txt: not an audio file that can be read ("},
        ErrorCase{"input that goes bad midway",
                  {kRender, "-i", "@/broken.flac", "-o", "@/keep.wav"},
                  "@/broken.flac: cannot read audio: "},
        ErrorCase{"corrupt MIDI file",
                  {kRender, "-i", "@/in.wav", "-o", "@/keep.wav", "--midi", "@/bad.mid"},
                  "@/bad.mid: not a readable Standard MIDI File"},
        ErrorCase{"MIDI track cut short",
                  {kRender, "-i", "@/in.wav", "-o", "@/keep.wav", "--midi", "@/cut.mid"},
                  "@/cut.mid: not a readable Standard MIDI File (a track ends without its "
                  "end-of-track event)"},
        ErrorCase{"missing MIDI file",
                  {kRender, "-i", "@/in.wav", "-o", "@/keep.wav", "--midi", "@/none.mid"},
                  "@/none.mid: no such MIDI file"},
        ErrorCase{"unknown cue command",
                  {kRender, "-i", "@/in.wav", "-o", "@/keep.wav", "--cue", "@/cues.txt"},
                  "@/cues.txt: line 3: unknown command 'recrod'"},
        ErrorCase{"unknown inline cue command",
                  {kRender, "-i", "@/in.wav", "-o", "@/keep.wav", "--cue", "1 record; 2 nope"},
                  "cue text: line 2: unknown command 'nope'"},
        ErrorCase{"plug-in that will not load",
                  {kRender, "@/Text.so", "-i", "@/in.wav", "-o", "@/keep.wav"},
                  "@/Text.so: the plug-in cannot be loaded: @/Text.so: invalid ELF header"},
        ErrorCase{"wrong magic",
                  {kRender, host_test::testPlugin("BadMagic"), "-i", "@/in.wav", "-o", "@/keep.wav"},
                  host_test::testPlugin("BadMagic") +
                      ": not a VST 2 plug-in record (magic 0x4e6f7065, expected 'VstP')"},
        ErrorCase{"wrong magic, info", {"info", host_test::testPlugin("BadMagic")},
                  host_test::testPlugin("BadMagic") + ": not a VST 2 plug-in record"},
        ErrorCase{"no entry point", {"info", host_test::testPlugin("NoEntry")},
                  host_test::testPlugin("NoEntry") +
                      ": not a VST 2 plug-in: it exports neither VSTPluginMain nor main"},
        ErrorCase{"unknown plug-in name", {"info", "NoSuchPlugin"},
                  "NoSuchPlugin: no such plug-in (looked in "},
        ErrorCase{"unknown parameter",
                  {kRender, kProbe, "-i", "@/in.wav", "-o", "@/keep.wav", "--set", "Volume=0.5"},
                  kProbe + ": no parameter named 'Volume' (it has: Gain, Tone)"},
        ErrorCase{"malformed --set",
                  {kRender, kProbe, "-i", "@/in.wav", "-o", "@/keep.wav", "--set", "Volume"},
                  "--set: 'Volume' is not NAME=VALUE"},
        ErrorCase{"program out of range",
                  {kRender, kProbe, "-i", "@/in.wav", "-o", "@/keep.wav", "--program", "5"},
                  kProbe + ": no program 5 (it has 0, from 0)"},
        ErrorCase{"output is the input", {kRender, "-i", "@/in.wav", "-o", "@/in.wav"},
                  "@/in.wav: the output would overwrite the input; choose another output file"},
        ErrorCase{"output is the input by another name",
                  {kRender, "-i", "@/in.wav", "-o", "@/./in.wav"},
                  "@/./in.wav: the output would overwrite the input"},
        ErrorCase{"plot over the input",
                  {kRender, "-i", "@/in.wav", "-o", "@/new.wav", "--plot", "@/in.wav"},
                  "@/in.wav: the plot would overwrite the input or the output"},
        ErrorCase{"unknown output format", {kRender, "-i", "@/in.wav", "-o", "@/out.mp3"},
                  "@/out.mp3: unknown output format '.mp3' (use .wav, .flac, .aif or .aiff)"},
        ErrorCase{"missing output folder", {kRender, "-i", "@/in.wav", "-o", "@/no/out.wav"},
                  "@/no/out.wav: the folder @/no does not exist"},
        ErrorCase{"block size 0", {kRender, "-i", "@/in.wav", "-o", "@/keep.wav", "--block", "0"},
                  "--block: Value 0 not in range 1 to 1048576"},
        ErrorCase{"no subcommand", {}, "A subcommand is required"}),
    [](const testing::TestParamInfo<ErrorCase>& info) {
        std::string name = info.param.what;
        std::replace_if(name.begin(), name.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
        return name;
    });

}  // namespace
