// Turns tick times into sample frames. With a division in ticks per quarter
// note the tempo events decide how long a tick lasts from one change to the
// next; with an SMPTE division every tick has the same length and tempo
// events only describe the music.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/render/MidiFile.h"

namespace render {

class TempoMap {
public:
    // Collects the tempo events of every track. Two changes at the same tick:
    // the later one in track order wins.
    static TempoMap fromFile(const MidiFile& file);

    struct TempoChange {
        uint64_t tick;
        uint32_t microsecondsPerQuarter;
    };
    TempoMap(const MidiDivision& division, std::vector<TempoChange> changes);

    // The frame at which an event of this tick sounds: its time in seconds
    // times the rate, rounded to the nearest frame (halves round up), computed
    // exactly in integers so no error builds up over a long piece. Times too
    // far out to count in frames give kFrameLimit.
    int64_t frameAt(uint64_t tick, uint32_t sampleRate) const;

    static constexpr int64_t kFrameLimit = int64_t{1} << 62;

private:
    // One stretch of constant tempo. `elapsed` is the time from the start of
    // the piece to `tick`, in microseconds times ticks per quarter note, so it
    // stays an exact integer.
    struct Segment {
        uint64_t tick;
        uint32_t microsecondsPerQuarter;
        unsigned __int128 elapsed;
    };
    const Segment& segmentAt(uint64_t tick) const;
    int64_t smpteFrameAt(uint64_t tick, uint32_t sampleRate) const;

    MidiDivision division_;
    std::vector<Segment> segments_;  // never empty; the first starts at tick 0
};

}  // namespace render
