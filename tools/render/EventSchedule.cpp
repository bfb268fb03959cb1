#include "tools/render/EventSchedule.h"

#include <algorithm>
#include <array>

#include "tools/render/TempoMap.h"

namespace render {

namespace {

constexpr uint8_t kReleaseVelocity = 64;  // the neutral note-off velocity

struct EventRef {
    const MidiEvent* event;
};

// Every event of every track, by tick; stable, so equal ticks keep track
// order and then file order.
std::vector<EventRef> mergeTracks(const MidiFile& file) {
    std::vector<EventRef> merged;
    for (const MidiTrack& track : file.tracks) {
        for (const MidiEvent& event : track.events) merged.push_back({&event});
    }
    std::stable_sort(merged.begin(), merged.end(),
                     [](const EventRef& a, const EventRef& b) { return a.event->tick < b.event->tick; });
    return merged;
}

// Meta events describe the file and 0xF7 packets continue or escape data the
// plug-in cannot take as one message; the plug-in gets channel messages and
// complete system-exclusive messages.
bool reachesPlugin(const MidiEvent& event) {
    return event.kind == MidiEventKind::Channel || (event.kind == MidiEventKind::SysEx && event.status == 0xF0);
}

ScheduledEvent toScheduled(const MidiEvent& event, int64_t frame) {
    ScheduledEvent scheduled;
    scheduled.frame = frame;
    if (event.kind == MidiEventKind::SysEx) {
        scheduled.isSysEx = true;
        scheduled.sysEx.reserve(event.payload.size() + 1);
        scheduled.sysEx.push_back(0xF0);
        scheduled.sysEx.insert(scheduled.sysEx.end(), event.payload.begin(), event.payload.end());
        return scheduled;
    }
    scheduled.status = event.status;
    scheduled.data1 = event.data1;
    scheduled.data2 = event.data2;
    return scheduled;
}

}  // namespace

std::optional<EventSchedule> EventSchedule::build(const MidiFile& file, uint32_t sampleRate, std::string& error) {
    const TempoMap tempo = TempoMap::fromFile(file);
    uint64_t endTick = 0;
    for (const MidiTrack& track : file.tracks) endTick = std::max(endTick, track.endTick);

    EventSchedule schedule;
    schedule.endFrame_ = tempo.frameAt(endTick, sampleRate);
    if (schedule.endFrame_ / sampleRate > kLongestPieceSeconds) {
        error = "the piece would last " + std::to_string(schedule.endFrame_ / sampleRate / 3600) +
                " hours or more; the renderer plays at most " + std::to_string(kLongestPieceSeconds / 3600);
        return std::nullopt;
    }
    for (const EventRef& ref : mergeTracks(file)) {
        if (reachesPlugin(*ref.event)) {
            schedule.events_.push_back(toScheduled(*ref.event, tempo.frameAt(ref.event->tick, sampleRate)));
        }
    }
    schedule.releaseHeldNotes();
    return schedule;
}

void EventSchedule::releaseHeldNotes() {
    // Note-ons not yet matched by a note-off, per channel and key. A piece that
    // leaves notes held would otherwise sound on for as long as the plug-in
    // lets them.
    std::array<std::array<uint32_t, 128>, 16> held{};
    for (const ScheduledEvent& event : events_) {
        if (event.isSysEx) continue;
        const uint8_t kind = event.status & 0xF0;
        uint32_t& count = held[event.status & 0x0F][event.data1];
        if (kind == 0x90 && event.data2 > 0) {
            ++count;
        } else if ((kind == 0x80 || kind == 0x90) && count > 0) {
            --count;
        }
    }
    for (uint8_t channel = 0; channel < 16; ++channel) {
        for (uint8_t key = 0; key < 128; ++key) {
            for (uint32_t i = 0; i < held[channel][key]; ++i) {
                ScheduledEvent release;
                release.frame = endFrame_;
                release.status = static_cast<uint8_t>(0x80 | channel);
                release.data1 = key;
                release.data2 = kReleaseVelocity;
                events_.push_back(release);
                ++releasedAtEnd_;
            }
        }
    }
}

void EventSchedule::fillBlock(int64_t blockStart, int32_t frames, vsthost::EventList& list) {
    list.clear();
    const int64_t blockEnd = blockStart + frames;
    for (; next_ < events_.size() && events_[next_].frame < blockEnd; ++next_) {
        const ScheduledEvent& event = events_[next_];
        const auto offset = static_cast<VstInt32>(std::max<int64_t>(event.frame - blockStart, 0));
        if (event.isSysEx) {
            list.addSysex(offset, event.sysEx);
        } else {
            list.addMidi(offset, event.status, event.data1, event.data2);
        }
    }
}

}  // namespace render
