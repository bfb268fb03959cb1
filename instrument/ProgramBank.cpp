#include "instrument/ProgramBank.h"

#include "instrument/FactoryPrograms.h"

static_assert(ProgramBank::kProgramCount == kFactoryProgramCount);

namespace {

const ProgramRecord kEmptyRecord{};

} // namespace

ProgramBank::ProgramBank()
{
    writeFactoryPrograms(records);
}

ProgramRecord& ProgramBank::record(int32_t program)
{
    if (hasProgram(program))
        return records[program];
    // Cleared on every hand-out so nothing written through a stray index earlier can be read back.
    detached = ProgramRecord{};
    return detached;
}

const ProgramRecord& ProgramBank::record(int32_t program) const
{
    return hasProgram(program) ? records[program] : kEmptyRecord;
}

unsigned char* ProgramBank::data()
{
    return reinterpret_cast<unsigned char*>(records.data());
}

const unsigned char* ProgramBank::data() const
{
    return reinterpret_cast<const unsigned char*>(records.data());
}
