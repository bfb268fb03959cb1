// Program switching, names and the two state chunks, through the record.
#include "tests/instrument/OrreluneFixture.h"

namespace {

std::vector<unsigned char> chunk(vsthost::Plugin& plugin, bool program) {
    void* data = nullptr;
    const VstIntPtr size = plugin.dispatch(effGetChunk, program ? 1 : 0, 0, &data);
    const auto* bytes = static_cast<const unsigned char*>(data);
    return std::vector<unsigned char>(bytes, bytes + size);
}

uint32_t wordAt(const std::vector<unsigned char>& bytes, std::size_t offset) {
    return static_cast<uint32_t>(bytes[offset]) | static_cast<uint32_t>(bytes[offset + 1]) << 8 |
           static_cast<uint32_t>(bytes[offset + 2]) << 16 | static_cast<uint32_t>(bytes[offset + 3]) << 24;
}

}  // namespace

using ProgramsTest = OrreluneFixture;

TEST_F(ProgramsTest, EditsStayWithTheProgramTheyWereMadeIn) {
    plugin->setParameter(10, 0.75f);
    plugin->dispatch(effSetProgram, 0, 3);
    EXPECT_EQ(plugin->dispatch(effGetProgram), 3);
    EXPECT_NE(plugin->getParameter(10), 0.75f);
    plugin->dispatch(effSetProgram, 0, 0);
    EXPECT_EQ(plugin->getParameter(10), 0.75f);
}

TEST_F(ProgramsTest, ProgramNumbersOutsideTheBankAreIgnored) {
    plugin->dispatch(effSetProgram, 0, 4);
    plugin->dispatch(effSetProgram, 0, 8);
    plugin->dispatch(effSetProgram, 0, -1);
    EXPECT_EQ(plugin->dispatch(effGetProgram), 4);
}

TEST_F(ProgramsTest, FactoryBankChunkIsTheRecordImage) {
    const auto bank = chunk(*plugin, false);
    ASSERT_EQ(bank.size(), 608u);  // 8 records of 76 bytes
    for (std::size_t p = 0; p < 8; ++p) {
        EXPECT_EQ(wordAt(bank, p * 76 + 72), 0xBAADF00Du) << "reserved word of program " << p;
    }
    // "Better Grand": 12 characters, then zeros to the end of the 24-byte field.
    EXPECT_EQ(std::memcmp(&bank[6 * 76], "Better Grand", 12), 0);
    for (std::size_t i = 12; i < 24; ++i) EXPECT_EQ(bank[6 * 76 + i], 0);
    // "A Vel" of "Compact" is a little below 1.0 in the factory table.
    EXPECT_EQ(wordAt(bank, 2 * 76 + 24 + 3 * 4), 0x3F7FFFF0u);
}

TEST_F(ProgramsTest, ProgramChunkHoldsTheLiveValuesAndSavesThem) {
    plugin->setParameter(1, 0.5f);
    const auto values = chunk(*plugin, true);
    ASSERT_EQ(values.size(), 48u);
    EXPECT_EQ(wordAt(values, 4), bitsOf(0.5f));
    // Asking for the chunk saved the edit into program 0's record too.
    const auto bank = chunk(*plugin, false);
    EXPECT_EQ(wordAt(bank, 24 + 4), bitsOf(0.5f));
}

TEST_F(ProgramsTest, ChunkShapesAcceptedOrRefused) {
    struct Case {
        std::size_t size;
        bool programFlag;
        bool nullData;
        VstIntPtr answer;
    };
    const Case cases[] = {
        {48, true, false, 48},    {608, false, false, 608}, {608, true, false, 608},  // a bank whatever the flag
        {48, false, false, 0},    {0, true, false, 0},      {47, true, false, 0},
        {49, true, false, 0},     {607, false, false, 0},   {4096, false, false, 0},
        {48, true, true, 0},      {608, false, true, 0},
    };
    for (const Case& c : cases) {
        std::vector<unsigned char> data(c.size + 1, 0);
        host.clearRequests();
        const VstIntPtr answer = plugin->dispatch(effSetChunk, c.programFlag ? 1 : 0, static_cast<VstIntPtr>(c.size),
                                                  c.nullData ? nullptr : data.data());
        EXPECT_EQ(answer, c.answer) << "size " << c.size << " flag " << c.programFlag;
        const std::size_t refusals = host.requestsWith(audioMasterUpdateDisplay).size();
        EXPECT_EQ(refusals, c.answer == 0 ? 1u : 0u) << "size " << c.size;
    }
}

TEST_F(ProgramsTest, BankChunkRoundTripsByteForByteWithForeignReservedWords) {
    auto bank = chunk(*plugin, false);
    for (std::size_t p = 0; p < 8; ++p) {
        bank[p * 76 + 72] = static_cast<unsigned char>(p);  // reserved words the instrument never reads
    }
    bank[5 * 76 + 24 + 10 * 4 + 3] = 0x3F;  // some value of program 5
    ASSERT_EQ(plugin->dispatch(effSetChunk, 0, static_cast<VstIntPtr>(bank.size()), bank.data()), 608);
    EXPECT_EQ(chunk(*plugin, false), bank);

    auto other = newInstance();
    ASSERT_EQ(other->dispatch(effSetChunk, 0, static_cast<VstIntPtr>(bank.size()), bank.data()), 608);
    EXPECT_EQ(chunk(*other, false), bank);
}

TEST_F(ProgramsTest, ProgramChunkReplacesTheCurrentValuesOnly) {
    plugin->dispatch(effSetProgram, 0, 2);
    std::vector<float> values(12, 0.25f);
    ASSERT_EQ(plugin->dispatch(effSetChunk, 1, 48, values.data()), 48);
    for (int i = 0; i < 12; ++i) EXPECT_EQ(plugin->getParameter(i), 0.25f);
    EXPECT_EQ(plugin->text(effGetProgramName), "Compact");
}

TEST_F(ProgramsTest, ChunkValuesThatCannotBePlayedAreHeldInRange) {
    std::vector<float> values(12, 0.5f);
    values[8] = std::numeric_limits<float>::quiet_NaN();
    values[10] = -3.0f;
    values[1] = 1e30f;
    ASSERT_EQ(plugin->dispatch(effSetChunk, 1, 48, values.data()), 48);
    EXPECT_EQ(plugin->getParameter(8), 0.0f);
    EXPECT_EQ(plugin->getParameter(10), 0.0f);
    EXPECT_EQ(plugin->getParameter(1), 1.0f);
}

TEST_F(ProgramsTest, LongProgramNamesKeepTheirFirst24Characters) {
    char name[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcd";  // 30 characters
    plugin->dispatch(effSetProgramName, 0, 0, name);
    char buffer[40];
    std::memset(buffer, '#', sizeof buffer);
    plugin->dispatch(effGetProgramName, 0, 0, buffer);
    EXPECT_EQ(std::string(buffer, 24), std::string(name, 24));
    EXPECT_EQ(buffer[24], 0);
    EXPECT_EQ(buffer[25], '#');
    // The stored field has no terminating zero: the bank chunk shows all 24 characters.
    const auto bank = chunk(*plugin, false);
    EXPECT_EQ(std::memcmp(bank.data(), name, 24), 0);
    EXPECT_EQ(wordAt(bank, 24), 0x3C23D70Au);  // the values start right after the name
}

TEST_F(ProgramsTest, ParameterWritesAreHeldToTheirRange) {
    struct Case {
        VstInt32 index;
        float value;
        float stored;
    };
    const float before = plugin->getParameter(4);
    const Case cases[] = {{3, 0.3f, 0.3f}, {3, 1.5f, 1.0f}, {3, -0.5f, 0.0f},
                          {3, std::numeric_limits<float>::infinity(), 1.0f},
                          {3, std::numeric_limits<float>::quiet_NaN(), 1.0f}};  // NaN leaves the value as it was
    for (const Case& c : cases) {
        plugin->setParameter(c.index, c.value);
        EXPECT_EQ(plugin->getParameter(c.index), c.stored) << c.value;
    }
    plugin->setParameter(12, 0.9f);
    plugin->setParameter(-1, 0.9f);
    EXPECT_EQ(plugin->getParameter(12), 0.0f);
    EXPECT_EQ(plugin->getParameter(-1), 0.0f);
    EXPECT_EQ(plugin->getParameter(4), before);
}
