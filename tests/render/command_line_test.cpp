#include <gtest/gtest.h>

#include "tools/render/CommandLine.h"

using render::CommandLine;
using render::OutputFormat;

namespace {

CommandLine parseOk(const std::vector<std::string>& arguments) {
    std::string error;
    std::optional<CommandLine> line = render::parseCommandLine(arguments, error);
    EXPECT_TRUE(line) << error;
    return line.value_or(CommandLine{});
}

}  // namespace

TEST(CommandLine, TwoFilesRenderWithTheDefaults) {
    const CommandLine line = parseOk({"song.mid", "song.wav"});
    EXPECT_EQ(line.midiPath, "song.mid");
    EXPECT_EQ(line.outputPath, "song.wav");
    EXPECT_EQ(line.sampleRate, 44100u);
    EXPECT_EQ(line.blockSize, 512);
    EXPECT_FALSE(line.tailSeconds);
    EXPECT_FALSE(line.format);
    EXPECT_FALSE(line.pluginPath);
}

TEST(CommandLine, TakesEveryOptionInBothSpellings) {
    const CommandLine line =
        parseOk({"--plugin", "x.so", "--program=Jazzy", "--param", "A Decay=0.25", "--param=Volume=1", "-r", "48000",
                 "--block=64", "-f", "flac16", "--tail", "1.5", "--preset", "in.fxp", "--save-preset=out.fxb", "-q",
                 "--stats", "a.mid", "b.flac"});
    EXPECT_EQ(line.pluginPath, "x.so");
    EXPECT_EQ(line.sound.program, "Jazzy");
    ASSERT_EQ(line.sound.parameters.size(), 2u);
    EXPECT_EQ(line.sound.parameters[0].name, "A Decay");
    EXPECT_EQ(line.sound.parameters[0].value, 0.25f);
    EXPECT_EQ(line.sound.parameters[1].name, "Volume");
    EXPECT_EQ(line.sound.parameters[1].value, 1.0f);
    EXPECT_EQ(line.sampleRate, 48000u);
    EXPECT_EQ(line.blockSize, 64);
    EXPECT_EQ(line.format, OutputFormat::Flac16);
    EXPECT_EQ(line.tailSeconds, 1.5);
    EXPECT_EQ(line.sound.presetPath, "in.fxp");
    EXPECT_EQ(line.savePresetPath, "out.fxb");
    EXPECT_TRUE(line.quiet);
    EXPECT_TRUE(line.stats);
}

TEST(CommandLine, ListsAndSavesPresetsWithoutFiles) {
    EXPECT_TRUE(parseOk({"--list"}).list);
    EXPECT_FALSE(parseOk({"--save-preset", "x.fxp"}).renders());
    EXPECT_TRUE(parseOk({"--help"}).help);
    // After "--" a name that looks like an option is a file.
    EXPECT_EQ(parseOk({"--", "-odd.mid", "out.wav"}).midiPath, "-odd.mid");
}

TEST(CommandLine, RefusesWhatItCannotUse) {
    struct Case {
        std::vector<std::string> arguments;
        const char* message;
    };
    const Case cases[] = {
        {{"--loud", "a.mid", "b.wav"}, "unknown option --loud"},
        {{"a.mid", "b.wav", "--rate"}, "--rate needs a value"},
        {{"--rate", "1000", "a.mid", "b.wav"}, "--rate 1000: expected a whole number from 8000 to 384000"},
        {{"--rate", "44.1k", "a.mid", "b.wav"}, "--rate 44.1k: expected a whole number"},
        {{"--block", "0", "a.mid", "b.wav"}, "--block 0: expected a whole number from 1 to 16384"},
        {{"--format", "mp3", "a.mid", "b.wav"}, "--format mp3: expected one of wav16, wav24, wav32f, flac16, flac24"},
        {{"--tail", "-1", "a.mid", "b.wav"}, "--tail -1: expected a number of seconds from 0 to 3600"},
        {{"--tail", "nan", "a.mid", "b.wav"}, "--tail nan: expected a number of seconds"},
        {{"--param", "Volume", "a.mid", "b.wav"}, "--param \"Volume\": expected NAME=VALUE"},
        {{"--param", "=1", "a.mid", "b.wav"}, "expected NAME=VALUE"},
        {{"--param", "Volume=2", "a.mid", "b.wav"}, "the value \"2\" is not a number from 0 to 1"},
        {{"--param", "Volume=loud", "a.mid", "b.wav"}, "the value \"loud\" is not a number from 0 to 1"},
        {{"--quiet=yes", "a.mid", "b.wav"}, "--quiet takes no value"},
        {{"a.mid"}, "no output file"},
        {{}, "no MIDI file"},
        {{"a.mid", "b.wav", "c.wav"}, "too many files"},
        {{"--list", "a.mid", "b.wav"}, "--list prints"},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_FALSE(render::parseCommandLine(c.arguments, error)) << c.message;
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
    }
}

TEST(CommandLine, FormatFollowsTheFileNameUnlessGiven) {
    EXPECT_EQ(render::outputFormatForPath("x.wav"), OutputFormat::Wav24);
    EXPECT_EQ(render::outputFormatForPath("x.FLAC"), OutputFormat::Flac24);
    EXPECT_EQ(render::outputFormatForPath("flac"), OutputFormat::Wav24);
}
