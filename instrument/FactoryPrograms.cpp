#include "instrument/FactoryPrograms.h"

#include <algorithm>
#include <array>
#include <bit>
#include <string_view>

namespace {

struct FactoryProgram {
    std::string_view name;
    // Exact single-precision bit patterns. Several sit a few units in the last
    // place away from the round decimal they are close to (0x3F7FFFF0 rather
    // than 1.0); saved songs and banks hold these exact values, so they stay.
    std::array<uint32_t, kProgramValueCount> valueBits;
};

//  "A Mode"    "A Tone"    "A Decay"   "A Vel"     "B Mode"    "B Tone"
//  "B Decay"   "B Vel"     "Decay"     "Velocity"  "Volume"    "Chorus"
constexpr std::array<FactoryProgram, kFactoryProgramCount> kFactoryPrograms{{
    {"Ballad",
     {0x3C23D70A, 0x3EA8F5B8, 0x3F5D7098, 0x3F55C282, 0x00000000, 0x3E147AD8,
      0x3F800000, 0x3F30A3DC, 0x3F800000, 0x3EF0A3C8, 0x3EB33328, 0x3F7AE138}},
    {"Intimate",
     {0x00000000, 0x3E147AD8, 0x3F747AD2, 0x3F13332A, 0x3F800000, 0x3EB33328,
      0x3F547AD4, 0x3F800000, 0x3F800000, 0x3EA147A4, 0x3E91EB7C, 0x3EDEB864}},
    {"Compact",
     {0x3F800000, 0x3F0147B0, 0x3F800000, 0x3F7FFFF0, 0x3C23D70A, 0x3ED70A50,
      0x3F800000, 0x3EFAE138, 0x3F6F5C20, 0x3F347AE6, 0x3EC28F50, 0x3E87AE0C}},
    {"Plucky",
     {0x3C23D70A, 0x3E8CCCC4, 0x3D851EB0, 0x3C23D70A, 0x00000000, 0x3E0A3D68,
      0x3DCCCCC0, 0x3F0A3D68, 0x3F199990, 0x3EF851DC, 0x3EB5C284, 0x3F0147B6}},
    {"Bad Grand",
     {0x3F800000, 0x3EFAE138, 0x3F800000, 0x3F5851DE, 0x3F800000, 0x3F451EBC,
      0x3F800000, 0x3F7FFFF0, 0x3F7FFFF2, 0x3F800000, 0x3EB851E0, 0x3F547AE1}},
    {"Softy",
     {0x3F800000, 0x3DA3D700, 0x3F800000, 0x3C23D70A, 0x3F800000, 0x3EC7AE08,
      0x3F23D704, 0x3F3851E0, 0x3F7FFFF6, 0x3F170A3C, 0x3EA8F5B8, 0x3F27AE0A}},
    {"Better Grand",
     {0x3F800000, 0x3F800000, 0x3F800000, 0x00000000, 0x3F800000, 0x3F200006,
      0x3F800000, 0x00000000, 0x3F800000, 0x3DF5C288, 0x3E828F54, 0x3ECCCCC0}},
    {"Jazzy",
     {0x3F800000, 0x3DFFFFF0, 0x3F7FFFFC, 0x3F370A3A, 0x3C23D70A, 0x3D0F5C20,
      0x3F800000, 0x3C23D70A, 0x3F800000, 0x3F13333A, 0x3EC51EAC, 0x3F35C294}},
}};

constexpr bool namesFitTheirField()
{
    for (const FactoryProgram& program : kFactoryPrograms) {
        if (program.name.size() > static_cast<size_t>(kProgramNameSize))
            return false;
    }
    return true;
}
static_assert(namesFitTheirField());

void writeRecord(const FactoryProgram& program, ProgramRecord& record)
{
    std::fill(std::begin(record.name), std::end(record.name), '\0');
    std::copy(program.name.begin(), program.name.end(), record.name);
    for (int32_t i = 0; i < kProgramValueCount; ++i)
        record.values[i] = std::bit_cast<float>(program.valueBits[i]);
    record.reserved = kProgramReservedWord;
}

} // namespace

void writeFactoryPrograms(std::span<ProgramRecord, kFactoryProgramCount> records)
{
    for (int32_t p = 0; p < kFactoryProgramCount; ++p)
        writeRecord(kFactoryPrograms[p], records[p]);
}
