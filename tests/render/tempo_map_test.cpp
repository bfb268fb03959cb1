#include <gtest/gtest.h>

#include "tools/render/TempoMap.h"

using render::MidiDivision;
using render::TempoMap;

namespace {

MidiDivision ppq(uint16_t ticksPerQuarter) {
    MidiDivision division;
    division.ticksPerQuarter = ticksPerQuarter;
    return division;
}

MidiDivision smpte(uint8_t framesPerSecond, uint8_t ticksPerFrame) {
    MidiDivision division;
    division.smpte = true;
    division.smpteFramesPerSecond = framesPerSecond;
    division.ticksPerSmpteFrame = ticksPerFrame;
    return division;
}

}  // namespace

TEST(TempoMap, PlaysAt120BeatsPerMinuteUntilTheFirstTempoEvent) {
    const TempoMap map(ppq(480), {});
    // A quarter note lasts half a second: 22050 frames at 44100 Hz, 24000 at 48000 Hz.
    EXPECT_EQ(map.frameAt(0, 44100), 0);
    EXPECT_EQ(map.frameAt(480, 44100), 22050);
    EXPECT_EQ(map.frameAt(480, 48000), 24000);
    EXPECT_EQ(map.frameAt(4800, 44100), 220500);
}

TEST(TempoMap, EachTempoChangeCountsFromWhereItStarts) {
    // 120 bpm for one quarter, then 60 bpm (a second a quarter), then 240 bpm from tick 960.
    const TempoMap map(ppq(480), {{480, 1000000}, {960, 250000}});
    EXPECT_EQ(map.frameAt(480, 44100), 22050);
    EXPECT_EQ(map.frameAt(720, 44100), 22050 + 22050);         // half a second-long quarter
    EXPECT_EQ(map.frameAt(960, 44100), 22050 + 44100);
    EXPECT_EQ(map.frameAt(1440, 44100), 22050 + 44100 + 11025);  // a quarter of a second
}

TEST(TempoMap, OfTwoChangesAtOneTickTheLaterWins) {
    const TempoMap map(ppq(96), {{0, 1000000}, {0, 250000}});
    EXPECT_EQ(map.frameAt(96, 44100), 11025);
}

TEST(TempoMap, ChangesArriveInAnyTrackOrder) {
    // Tempo events from several tracks are merged by tick before use.
    const TempoMap map(ppq(480), {{960, 250000}, {480, 1000000}});
    EXPECT_EQ(map.frameAt(1440, 44100), 22050 + 44100 + 11025);
}

TEST(TempoMap, RoundsToTheNearestFrameWithHalvesUp) {
    // One tick at 480 per quarter and 120 bpm lasts 22050/480 = 45.9375 frames.
    const TempoMap map(ppq(480), {});
    EXPECT_EQ(map.frameAt(1, 44100), 46);
    EXPECT_EQ(map.frameAt(2, 44100), 92);   // 91.875
    EXPECT_EQ(map.frameAt(3, 44100), 138);  // 137.8125
    // At 1000 Hz a tick of 96 per quarter lasts 5.208333 frames; 48 ticks are exactly 250.
    const TempoMap coarse(ppq(96), {});
    EXPECT_EQ(coarse.frameAt(48, 1000), 250);
    // 3 ticks of 500000/96 us at 8000 Hz: 125 frames; 1 tick at 8000 Hz: 41.666 -> 42.
    EXPECT_EQ(coarse.frameAt(3, 8000), 125);
    EXPECT_EQ(coarse.frameAt(1, 8000), 42);
    // One tick per quarter note of 12.5 ms is half a frame at 40 Hz.
    const TempoMap halves(ppq(1), {{0, 12500}});
    EXPECT_EQ(halves.frameAt(1, 40), 1);
    EXPECT_EQ(halves.frameAt(3, 40), 2);  // 1.5 rounds up
}

TEST(TempoMap, LongPiecesStayExact) {
    // Ten hours of quarter notes at 500000 us: 72000 quarters, 1587600000 frames, no drift.
    const TempoMap map(ppq(480), {});
    EXPECT_EQ(map.frameAt(480ull * 72000, 44100), 1587600000);
}

TEST(TempoMap, SmpteTicksHaveAFixedLengthWhateverTheTempo) {
    struct Case {
        uint8_t framesPerSecond;
        uint8_t ticksPerFrame;
        uint64_t tick;
        int64_t frame;  // at 48000 Hz
    };
    // 25 x 40 is a millisecond a tick; 30 x 80: 1/2400 s; 24 x 4: 1/96 s.
    // 29.97 frames a second: 100 ticks of 1/(29.97 x 100) s = 1001/30000 s = 1601.6 frames.
    for (const Case& c : {Case{25, 40, 1, 48}, Case{25, 40, 1000, 48000}, Case{30, 80, 2400, 48000},
                          Case{24, 4, 96, 48000}, Case{24, 4, 1, 500}, Case{29, 100, 100, 1602},
                          Case{29, 100, 30000, 480480}}) {
        const TempoMap map(smpte(c.framesPerSecond, c.ticksPerFrame), {{0, 250000}});
        EXPECT_EQ(map.frameAt(c.tick, 48000), c.frame)
            << int{c.framesPerSecond} << " fps, " << int{c.ticksPerFrame} << " ticks a frame, tick " << c.tick;
    }
}

TEST(TempoMap, TimesBeyondCountingSaturate) {
    const TempoMap map(ppq(1), {{0, 0xFFFFFF}});
    EXPECT_EQ(map.frameAt(~uint64_t{0}, 384000), TempoMap::kFrameLimit);
}
