#include "tools/render/TempoMap.h"

#include <algorithm>

namespace render {

namespace {

using Wide = unsigned __int128;

// Rounds numerator / denominator to the nearest integer, halves up, and
// saturates where a frame count would stop being meaningful.
int64_t roundedQuotient(Wide numerator, Wide denominator) {
    const Wide quotient = (numerator + denominator / 2) / denominator;
    return quotient > static_cast<Wide>(TempoMap::kFrameLimit) ? TempoMap::kFrameLimit
                                                               : static_cast<int64_t>(quotient);
}

}  // namespace

TempoMap TempoMap::fromFile(const MidiFile& file) {
    std::vector<TempoChange> changes;
    for (const MidiTrack& track : file.tracks) {
        for (const MidiEvent& event : track.events) {
            if (event.kind == MidiEventKind::Meta && event.metaType == kMetaTempo && event.payload.size() == 3) {
                const uint32_t tempo = (uint32_t{event.payload[0]} << 16) | (uint32_t{event.payload[1]} << 8) |
                                       uint32_t{event.payload[2]};
                changes.push_back({event.tick, tempo});
            }
        }
    }
    return TempoMap(file.division, std::move(changes));
}

TempoMap::TempoMap(const MidiDivision& division, std::vector<TempoChange> changes) : division_(division) {
    // Stable, so that of two changes at one tick the one read later stays later.
    std::stable_sort(changes.begin(), changes.end(),
                     [](const TempoChange& a, const TempoChange& b) { return a.tick < b.tick; });
    segments_.push_back({0, kDefaultMicrosecondsPerQuarter, 0});
    for (const TempoChange& change : changes) {
        if (change.microsecondsPerQuarter == 0) continue;  // a quarter note must last some time
        Segment& last = segments_.back();
        if (change.tick == last.tick) {
            last.microsecondsPerQuarter = change.microsecondsPerQuarter;
            continue;
        }
        const Wide elapsed = last.elapsed + static_cast<Wide>(change.tick - last.tick) * last.microsecondsPerQuarter;
        segments_.push_back({change.tick, change.microsecondsPerQuarter, elapsed});
    }
}

const TempoMap::Segment& TempoMap::segmentAt(uint64_t tick) const {
    // The last segment that starts at or before the tick.
    auto after = std::upper_bound(segments_.begin(), segments_.end(), tick,
                                  [](uint64_t value, const Segment& segment) { return value < segment.tick; });
    return *(after - 1);
}

int64_t TempoMap::frameAt(uint64_t tick, uint32_t sampleRate) const {
    if (division_.smpte) return smpteFrameAt(tick, sampleRate);
    const Segment& segment = segmentAt(tick);
    const Wide elapsed = segment.elapsed + static_cast<Wide>(tick - segment.tick) * segment.microsecondsPerQuarter;
    // elapsed / (ticksPerQuarter * 1e6) seconds, times the rate.
    const Wide denominator = static_cast<Wide>(division_.ticksPerQuarter) * 1000000u;
    if (elapsed > (~Wide{0} >> 32)) return kFrameLimit;  // the product below would overflow
    return roundedQuotient(elapsed * sampleRate, denominator);
}

int64_t TempoMap::smpteFrameAt(uint64_t tick, uint32_t sampleRate) const {
    // 29 stands for 29.97 frames a second: 30000 frames every 1001 seconds.
    const bool dropFrame = division_.smpteFramesPerSecond == 29;
    const Wide framesNumerator = dropFrame ? 30000u : division_.smpteFramesPerSecond;
    const Wide framesDenominator = dropFrame ? 1001u : 1u;
    const Wide numerator = static_cast<Wide>(tick) * sampleRate * framesDenominator;
    return roundedQuotient(numerator, framesNumerator * division_.ticksPerSmpteFrame);
}

}  // namespace render
