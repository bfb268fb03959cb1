#include "instrument/ProgramBank.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

struct ExpectedProgram {
    const char* name;
    const char* valueBits;  // twelve single-precision bit patterns in hex, parameter order
};

// The factory programs as the bank chunk has always carried them.
const ExpectedProgram kExpectedPrograms[] = {
    {"Ballad", "3C23D70A 3EA8F5B8 3F5D7098 3F55C282 00000000 3E147AD8 3F800000 3F30A3DC 3F800000 3EF0A3C8 3EB33328 3F7AE138"},
    {"Intimate", "00000000 3E147AD8 3F747AD2 3F13332A 3F800000 3EB33328 3F547AD4 3F800000 3F800000 3EA147A4 3E91EB7C 3EDEB864"},
    {"Compact", "3F800000 3F0147B0 3F800000 3F7FFFF0 3C23D70A 3ED70A50 3F800000 3EFAE138 3F6F5C20 3F347AE6 3EC28F50 3E87AE0C"},
    {"Plucky", "3C23D70A 3E8CCCC4 3D851EB0 3C23D70A 00000000 3E0A3D68 3DCCCCC0 3F0A3D68 3F199990 3EF851DC 3EB5C284 3F0147B6"},
    {"Bad Grand", "3F800000 3EFAE138 3F800000 3F5851DE 3F800000 3F451EBC 3F800000 3F7FFFF0 3F7FFFF2 3F800000 3EB851E0 3F547AE1"},
    {"Softy", "3F800000 3DA3D700 3F800000 3C23D70A 3F800000 3EC7AE08 3F23D704 3F3851E0 3F7FFFF6 3F170A3C 3EA8F5B8 3F27AE0A"},
    {"Better Grand", "3F800000 3F800000 3F800000 00000000 3F800000 3F200006 3F800000 00000000 3F800000 3DF5C288 3E828F54 3ECCCCC0"},
    {"Jazzy", "3F800000 3DFFFFF0 3F7FFFFC 3F370A3A 3C23D70A 3D0F5C20 3F800000 3C23D70A 3F800000 3F13333A 3EC51EAC 3F35C294"},
};

void appendLittleEndian(std::vector<unsigned char>& bytes, uint32_t word)
{
    for (int shift = 0; shift < 32; shift += 8)
        bytes.push_back(static_cast<unsigned char>(word >> shift));
}

std::vector<unsigned char> expectedFactoryImage()
{
    std::vector<unsigned char> bytes;
    for (const ExpectedProgram& program : kExpectedPrograms) {
        const std::string name = program.name;
        bytes.insert(bytes.end(), name.begin(), name.end());
        bytes.resize(bytes.size() + (24 - name.size()), 0);
        const char* cursor = program.valueBits;
        for (int i = 0; i < 12; ++i) {
            char* end = nullptr;
            appendLittleEndian(bytes, static_cast<uint32_t>(std::strtoul(cursor, &end, 16)));
            cursor = end;
        }
        appendLittleEndian(bytes, 0xBAADF00D);
    }
    return bytes;
}

TEST(ProgramBank, HoldsEightProgramsOfTwelveValuesIn608Bytes)
{
    ProgramBank bank;
    EXPECT_EQ(bank.programCount(), 8);
    EXPECT_EQ(bank.parameterCount(), 12);
    EXPECT_EQ(bank.byteSize(), 608);
    for (int32_t p = 0; p < 8; ++p)
        EXPECT_EQ(reinterpret_cast<unsigned char*>(&bank.record(p)), bank.data() + 76 * p) << "program " << p;
}

TEST(ProgramBank, StartsWithTheFactoryImageByteForByte)
{
    const ProgramBank bank;
    const std::vector<unsigned char> expected = expectedFactoryImage();
    ASSERT_EQ(expected.size(), 608u);
    for (size_t offset = 0; offset < expected.size(); ++offset) {
        ASSERT_EQ(bank.data()[offset], expected[offset])
            << "program " << offset / 76 << ", byte " << offset % 76 << " of its record";
    }
}

TEST(ProgramBank, KeepsNearlyRoundValuesAsStored)
{
    const ProgramBank bank;
    uint32_t compactAVel = 0;
    std::memcpy(&compactAVel, &bank.record(2).values[3], sizeof compactAVel);
    EXPECT_EQ(compactAVel, 0x3F7FFFF0u);  // just below 1.0, not 1.0 itself
    EXPECT_NE(bank.record(2).values[3], 1.0f);

    const unsigned char reservedBytes[] = {0x0D, 0xF0, 0xAD, 0xBA};
    EXPECT_EQ(std::memcmp(bank.data() + 72, reservedBytes, 4), 0);
}

TEST(ProgramBank, NamesAreZeroPaddedToTheirField)
{
    const ProgramBank bank;
    EXPECT_STREQ(bank.record(5).name, "Softy");
    EXPECT_STREQ(bank.record(7).name, "Jazzy");
    const char* betterGrand = bank.record(6).name;
    EXPECT_EQ(std::string(betterGrand, 12), "Better Grand");
    for (int i = 12; i < 24; ++i)
        EXPECT_EQ(betterGrand[i], '\0') << "byte " << i;
}

// The chunk hands the host the records' own memory, so an edit to a record
// must show in the image at once.
TEST(ProgramBank, RecordEditsAppearInTheImage)
{
    ProgramBank bank;
    bank.record(3).values[0] = 0.5f;
    const unsigned char half[] = {0x00, 0x00, 0x00, 0x3F};
    EXPECT_EQ(std::memcmp(bank.data() + 3 * 76 + 24, half, 4), 0);
}

class OutsideTheBank : public ::testing::TestWithParam<int32_t> {};

TEST_P(OutsideTheBank, GetsADetachedEmptyRecord)
{
    ProgramBank bank;
    const std::vector<unsigned char> before(bank.data(), bank.data() + bank.byteSize());

    ProgramRecord& stray = bank.record(GetParam());
    const auto* strayBytes = reinterpret_cast<const unsigned char*>(&stray);
    EXPECT_TRUE(strayBytes + sizeof stray <= bank.data() || strayBytes >= bank.data() + bank.byteSize());
    EXPECT_EQ(stray.name[0], '\0');
    std::memset(stray.name, 'x', sizeof stray.name);
    stray.values[0] = 1.0f;

    EXPECT_EQ(std::vector<unsigned char>(bank.data(), bank.data() + bank.byteSize()), before);
    EXPECT_EQ(bank.record(GetParam()).values[0], 0.0f);  // nothing written earlier comes back
    EXPECT_EQ(std::as_const(bank).record(GetParam()).name[0], '\0');
}

INSTANTIATE_TEST_SUITE_P(Numbers, OutsideTheBank, ::testing::Values(-1, 8, INT32_MIN, INT32_MAX));

} // namespace
