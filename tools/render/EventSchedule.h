// The events of a MIDI file as the plug-in will receive them: all tracks
// merged into one list in time order, each event at the sample frame where it
// sounds, and handed out block by block with its offset inside the block.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/host/EventList.h"
#include "tools/render/MidiFile.h"

namespace render {

struct ScheduledEvent {
    int64_t frame = 0;
    bool isSysEx = false;
    uint8_t status = 0;
    uint8_t data1 = 0;
    uint8_t data2 = 0;
    std::vector<uint8_t> sysEx;  // the whole message, from its 0xF0
};

class EventSchedule {
public:
    // Merges the tracks by time; events at the same tick keep the order of
    // their tracks, and within a track the order of the file. Notes still held
    // when the piece ends get their note-offs at its end. Fails, with `error`
    // set, for a piece longer than the renderer accepts.
    static std::optional<EventSchedule> build(const MidiFile& file, uint32_t sampleRate, std::string& error);

    const std::vector<ScheduledEvent>& events() const { return events_; }
    // The frame at which the piece ends: its last event or its last
    // end-of-track mark, whichever comes later.
    int64_t endFrame() const { return endFrame_; }
    // How many note-offs the end of the piece added for notes left held.
    std::size_t releasedAtEnd() const { return releasedAtEnd_; }

    // Puts the events of frames blockStart to blockStart + frames - 1 into
    // `list` with their offsets inside the block. Blocks must be asked for in
    // order; an event earlier than the block (none, when they are) goes at offset 0.
    void fillBlock(int64_t blockStart, int32_t frames, vsthost::EventList& list);
    bool finished() const { return next_ >= events_.size(); }

    // The longest piece the renderer plays.
    static constexpr int64_t kLongestPieceSeconds = 24 * 60 * 60;

private:
    void releaseHeldNotes();

    std::vector<ScheduledEvent> events_;
    int64_t endFrame_ = 0;
    std::size_t releasedAtEnd_ = 0;
    std::size_t next_ = 0;
};

}  // namespace render
