#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "tools/render/PresetFile.h"

using render::PresetFile;
using render::PresetForm;
using render::PresetKind;
using render::ProgramPreset;

namespace {

constexpr int32_t kPluginId = 0x51564F52;  // 'QVOR'

std::string textAt(const std::vector<uint8_t>& bytes, std::size_t offset, std::size_t size = 4) {
    return std::string(bytes.begin() + static_cast<std::ptrdiff_t>(offset),
                       bytes.begin() + static_cast<std::ptrdiff_t>(offset + size));
}

uint32_t wordAt(const std::vector<uint8_t>& bytes, std::size_t offset) {
    return (uint32_t{bytes[offset]} << 24) | (uint32_t{bytes[offset + 1]} << 16) | (uint32_t{bytes[offset + 2]} << 8) |
           bytes[offset + 3];
}

PresetFile programWithValues() {
    PresetFile preset;
    preset.pluginId = kPluginId;
    preset.pluginVersion = 1;
    preset.parameterCount = 2;
    preset.programs = {ProgramPreset{"Soft", {0.5f, 1.0f}}};
    return preset;
}

PresetFile bankChunk() {
    PresetFile preset;
    preset.kind = PresetKind::Bank;
    preset.form = PresetForm::Chunk;
    preset.pluginId = kPluginId;
    preset.pluginVersion = 7;
    preset.formatVersion = 2;
    preset.currentProgram = 5;
    preset.programCount = 8;
    preset.chunk = {1, 2, 3, 4, 5};
    return preset;
}

std::optional<PresetFile> parse(const std::vector<uint8_t>& bytes, std::string& error) {
    return render::parsePresetFile(bytes.data(), bytes.size(), error);
}

}  // namespace

TEST(PresetFile, ProgramOfValuesHasTheStandardLayout) {
    const std::vector<uint8_t> bytes = render::serializePresetFile(programWithValues());
    // 56 bytes of header and name, then one 4-byte value per parameter.
    ASSERT_EQ(bytes.size(), 64u);
    EXPECT_EQ(textAt(bytes, 0), "CcnK");
    EXPECT_EQ(wordAt(bytes, 4), 56u);  // everything after the size field
    EXPECT_EQ(textAt(bytes, 8), "FxCk");
    EXPECT_EQ(wordAt(bytes, 12), 1u);
    EXPECT_EQ(wordAt(bytes, 16), 0x51564F52u);
    EXPECT_EQ(wordAt(bytes, 20), 1u);
    EXPECT_EQ(wordAt(bytes, 24), 2u);
    EXPECT_EQ(textAt(bytes, 28, 5), std::string("Soft\0", 5));
    EXPECT_EQ(wordAt(bytes, 56), 0x3F000000u);  // 0.5, big-endian
    EXPECT_EQ(wordAt(bytes, 60), 0x3F800000u);  // 1.0
}

TEST(PresetFile, BankChunkHasTheStandardLayout) {
    const std::vector<uint8_t> bytes = render::serializePresetFile(bankChunk());
    // 156 bytes of header with its 128 reserved, the chunk's size, the chunk.
    ASSERT_EQ(bytes.size(), 165u);
    EXPECT_EQ(textAt(bytes, 8), "FBCh");
    EXPECT_EQ(wordAt(bytes, 4), 157u);
    EXPECT_EQ(wordAt(bytes, 12), 2u);
    EXPECT_EQ(wordAt(bytes, 24), 8u);
    EXPECT_EQ(wordAt(bytes, 28), 5u);  // the current program
    EXPECT_EQ(wordAt(bytes, 156), 5u);
    EXPECT_EQ(bytes[160], 1);
    EXPECT_EQ(bytes[164], 5);
}

TEST(PresetFile, EveryFormReadsBackAsWritten) {
    PresetFile programChunk = programWithValues();
    programChunk.form = PresetForm::Chunk;
    programChunk.programs[0].values.clear();
    programChunk.chunk = {9, 8, 7};
    PresetFile bankOfValues = programWithValues();
    bankOfValues.kind = PresetKind::Bank;
    bankOfValues.formatVersion = 2;
    bankOfValues.currentProgram = 1;
    bankOfValues.programCount = 2;
    bankOfValues.programs.push_back(ProgramPreset{"Bright", {0.25f, -3.0f}});

    for (const PresetFile& original : {programWithValues(), programChunk, bankChunk(), bankOfValues}) {
        std::string error;
        const std::vector<uint8_t> bytes = render::serializePresetFile(original);
        std::optional<PresetFile> read = parse(bytes, error);
        ASSERT_TRUE(read) << error;
        EXPECT_EQ(read->kind, original.kind);
        EXPECT_EQ(read->form, original.form);
        EXPECT_EQ(read->pluginId, original.pluginId);
        EXPECT_EQ(read->pluginVersion, original.pluginVersion);
        EXPECT_EQ(read->chunk, original.chunk);
        ASSERT_EQ(read->programs.size(), original.programs.size());
        for (std::size_t i = 0; i < original.programs.size(); ++i) {
            EXPECT_EQ(read->programs[i].name, original.programs[i].name);
            EXPECT_EQ(read->programs[i].values, original.programs[i].values);
        }
        if (original.kind == PresetKind::Bank) {
            EXPECT_EQ(read->currentProgram, original.currentProgram);
        }
        EXPECT_EQ(render::serializePresetFile(*read), bytes);
    }
}

TEST(PresetFile, BanksOfTheFirstVersionStartAtProgramZero) {
    PresetFile old = bankChunk();
    old.formatVersion = 1;
    std::string error;
    std::optional<PresetFile> read = parse(render::serializePresetFile(old), error);
    ASSERT_TRUE(read) << error;
    EXPECT_EQ(read->currentProgram, 0);
}

TEST(PresetFile, NamesLongerThanTheFieldAreCut) {
    PresetFile preset = programWithValues();
    preset.programs[0].name = std::string(40, 'x');
    std::string error;
    std::optional<PresetFile> read = parse(render::serializePresetFile(preset), error);
    ASSERT_TRUE(read) << error;
    EXPECT_EQ(read->programs[0].name, std::string(27, 'x'));  // the field keeps a terminating zero
}

struct BadPreset {
    const char* what;
    std::function<void(std::vector<uint8_t>&)> spoil;
    const char* message;
};

class BadPresetFile : public ::testing::TestWithParam<BadPreset> {};

TEST_P(BadPresetFile, IsRefusedWithAMessageThatSaysWhy) {
    PresetFile bank = bankChunk();
    bank.form = PresetForm::Parameters;
    bank.programCount = 2;
    bank.programs = {ProgramPreset{"A", {0.1f}}, ProgramPreset{"B", {0.2f}}};
    std::vector<uint8_t> bytes = render::serializePresetFile(bank);
    GetParam().spoil(bytes);
    std::string error;
    EXPECT_FALSE(parse(bytes, error));
    EXPECT_NE(error.find(GetParam().message), std::string::npos) << error;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadPresetFile,
    ::testing::Values(
        BadPreset{"NotAPreset", [](auto& b) { b[0] = 'X'; }, "does not begin with 'CcnK'"},
        BadPreset{"Empty", [](auto& b) { b.clear(); }, "does not begin with 'CcnK'"},
        BadPreset{"CutInHeader", [](auto& b) { b.resize(20); }, "ends inside its preset header"},
        BadPreset{"CutShort", [](auto& b) { b.resize(b.size() - 1); }, "announces 276 bytes but only 275"},
        BadPreset{"UnknownType", [](auto& b) { b[8] = 'Q'; }, "unknown preset type 'QxBk'"},
        BadPreset{"WrongProgramType", [](auto& b) { b[156 + 9] = 'P'; }, "program 0 of the bank: 'FPCk'"},
        BadPreset{"NegativeCount", [](auto& b) { b[24] = 0xFF; }, "the bank announces -"},
        BadPreset{"TooManyValues", [](auto& b) { b[156 + 60 + 27] = 9; },
                  "program 1 of the bank: the header announces 9 parameter values"}),
    [](const ::testing::TestParamInfo<BadPreset>& info) { return std::string(info.param.what); });

TEST(PresetFile, ChunkLargerThanTheFileIsRefused) {
    std::vector<uint8_t> bytes = render::serializePresetFile(bankChunk());
    bytes[159] = 200;  // the chunk's size field claims 200 bytes; 5 follow
    std::string error;
    EXPECT_FALSE(parse(bytes, error));
    EXPECT_EQ(error, "the chunk claims 200 bytes but only 5 follow");
}

TEST(PresetFile, DamagedFilesAreReadOrRefusedWithAMessage) {
    // Seeded, so every run sees the same damage: bytes changed or cut away
    // in each of the four forms.
    PresetFile bankOfValues = programWithValues();
    bankOfValues.kind = PresetKind::Bank;
    bankOfValues.programCount = 2;
    bankOfValues.programs.push_back(ProgramPreset{"Second", {0.0f, 1.0f}});
    PresetFile programChunk = bankChunk();
    programChunk.kind = PresetKind::Program;
    const std::vector<std::vector<uint8_t>> seeds{
        render::serializePresetFile(programWithValues()), render::serializePresetFile(programChunk),
        render::serializePresetFile(bankChunk()), render::serializePresetFile(bankOfValues)};
    std::mt19937 random(7);
    for (int i = 0; i < 5000; ++i) {
        std::vector<uint8_t> bytes = seeds[static_cast<std::size_t>(i) % seeds.size()];
        if (random() % 3 == 0) bytes.resize(random() % bytes.size());
        for (int n = static_cast<int>(random() % 4); n >= 0 && !bytes.empty(); --n) {
            bytes[random() % bytes.size()] = static_cast<uint8_t>(random());
        }
        std::string error;
        if (!parse(bytes, error)) {
            EXPECT_FALSE(error.empty());
        }
    }
}
