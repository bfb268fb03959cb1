// One stored program: a name and the twelve parameter values.
//
// Bank chunks are these records exactly as they sit in memory, so the layout
// is a file format: every field at a fixed offset, floats and the reserved
// word little-endian, no padding.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <type_traits>

inline constexpr int32_t kProgramNameSize = 24;      // bytes; a full-length name has no terminating zero
inline constexpr int32_t kProgramValueCount = 12;    // one value per parameter, in parameter order
inline constexpr int32_t kProgramRecordSize = 76;    // bytes from one record to the next
inline constexpr uint32_t kProgramReservedWord = 0xBAADF00D;  // bytes 0D F0 AD BA in every factory record

struct ProgramRecord {
    char name[kProgramNameSize];       // zero-padded to the end of the field
    float values[kProgramValueCount];
    uint32_t reserved;                 // never read by the instrument; bank chunks carry it unchanged
};

static_assert(sizeof(ProgramRecord) == kProgramRecordSize);
static_assert(offsetof(ProgramRecord, name) == 0);
static_assert(offsetof(ProgramRecord, values) == 24);
static_assert(offsetof(ProgramRecord, reserved) == 72);
static_assert(std::is_standard_layout_v<ProgramRecord> && std::is_trivially_copyable_v<ProgramRecord>);
static_assert(std::endian::native == std::endian::little,
              "bank chunks expose records as they are in memory, and their format is little-endian");
static_assert(std::numeric_limits<float>::is_iec559 && sizeof(float) == 4,
              "parameter values are stored as IEEE-754 single-precision bit patterns");
