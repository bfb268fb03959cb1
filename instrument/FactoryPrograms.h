// The eight programs a new instrument starts with.
#pragma once

#include "instrument/ProgramRecord.h"

#include <cstdint>
#include <span>

inline constexpr int32_t kFactoryProgramCount = 8;

// Writes every factory program into its record, in program order: the name
// zero-padded to the full field, the exact value bit patterns and the
// reserved word.
void writeFactoryPrograms(std::span<ProgramRecord, kFactoryProgramCount> records);
