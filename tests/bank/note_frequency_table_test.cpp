#include "instrument/NoteFrequencyTable.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

class NoteFrequencyTableTest : public ::testing::Test {
protected:
    void SetUp() override { fillNoteFrequencyTable(); }
};

struct NoteCase {
    int32_t note;
    float hertz;
};

// A-notes land on exact powers of two times 55 Hz; middle C and the top note
// carry the rounding of the running product.
TEST_F(NoteFrequencyTableTest, HoldsTheTunedPitches)
{
    const NoteCase cases[] = {{0, static_cast<float>(8.175798915636872)},
                              {57, 220.0f}, {69, 440.0f}, {81, 880.0f},
                              {60, 261.62558f}, {127, 12543.8535f}};
    for (const NoteCase& c : cases) {
        EXPECT_EQ(NoteFrequencyTable[c.note].load(), c.hertz) << "note " << c.note;
        EXPECT_EQ(noteFrequency(c.note), c.hertz) << "note " << c.note;
    }
}

TEST_F(NoteFrequencyTableTest, RisesBySemitones)
{
    for (int32_t note = 1; note < kNoteCount; ++note)
        EXPECT_NEAR(noteFrequency(note) / noteFrequency(note - 1), 1.0594631f, 1e-6f) << "note " << note;
}

TEST_F(NoteFrequencyTableTest, RefillingGivesTheSameValues)
{
    const float before = noteFrequency(60);
    fillNoteFrequencyTable();
    EXPECT_EQ(noteFrequency(60), before);
}

TEST_F(NoteFrequencyTableTest, NotesOutsideTheTableReadItsEnds)
{
    EXPECT_EQ(noteFrequency(-1), noteFrequency(0));
    EXPECT_EQ(noteFrequency(INT32_MIN), noteFrequency(0));
    EXPECT_EQ(noteFrequency(128), noteFrequency(127));
    EXPECT_EQ(noteFrequency(INT32_MAX), noteFrequency(127));
}

} // namespace
