// The instrument's eight programs, held back to back as one memory image.
//
// That image is what the host saves and restores as the bank chunk, so the
// records are kept exactly as the chunk carries them.
#pragma once

#include "instrument/ProgramRecord.h"

#include <array>
#include <cstdint>

class ProgramBank {
public:
    static constexpr int32_t kProgramCount = 8;
    static constexpr int32_t kByteSize = kProgramCount * kProgramRecordSize;  // 608

    // Filled with the factory programs.
    ProgramBank();

    int32_t programCount() const { return kProgramCount; }
    int32_t parameterCount() const { return kProgramValueCount; }
    bool hasProgram(int32_t program) const { return program >= 0 && program < kProgramCount; }

    // Program `program`'s record, 76 bytes from the previous one. A number
    // outside the bank gets a detached all-zero record instead, so a stray
    // index can neither read nor overwrite memory beyond the bank.
    ProgramRecord& record(int32_t program);
    const ProgramRecord& record(int32_t program) const;

    // The whole bank as bytes: names, little-endian values and reserved words.
    unsigned char* data();
    const unsigned char* data() const;
    int32_t byteSize() const { return kByteSize; }

private:
    std::array<ProgramRecord, kProgramCount> records;
    ProgramRecord detached{};

    static_assert(sizeof(records) == kByteSize, "records must follow each other without gaps");
};
