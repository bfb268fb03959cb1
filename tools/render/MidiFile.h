// A Standard MIDI File as the reader hands it over: the header's format and
// time division, and every track's events with absolute tick times.
#pragma once

#include <cstdint>
#include <vector>

namespace render {

// How ticks become time: either a number of ticks per quarter note, whose
// length the tempo map sets, or SMPTE frames per second with ticks per frame,
// which fixes the length of a tick once and for all.
struct MidiDivision {
    bool smpte = false;
    uint16_t ticksPerQuarter = 0;
    uint8_t smpteFramesPerSecond = 0;  // 24, 25, 29 (that is 29.97, drop-frame) or 30
    uint8_t ticksPerSmpteFrame = 0;
};

enum class MidiEventKind : uint8_t {
    Channel,  // note, controller, program, pressure or bend message of one channel
    SysEx,    // 0xF0 message or 0xF7 escape, bytes in `payload` as stored after the length
    Meta,     // file information (tempo, end of track, texts); `metaType` says which
};

struct MidiEvent {
    uint64_t tick = 0;  // from the start of the piece
    MidiEventKind kind = MidiEventKind::Channel;
    uint8_t status = 0;    // the channel status byte, 0xF0 or 0xF7, or 0xFF for meta events
    uint8_t data1 = 0;     // channel messages only
    uint8_t data2 = 0;     // channel messages of two data bytes only
    uint8_t dataSize = 0;  // 1 or 2 for channel messages
    uint8_t metaType = 0;
    std::vector<uint8_t> payload;
};

struct MidiTrack {
    std::vector<MidiEvent> events;  // in file order, so ticks never decrease
    uint64_t endTick = 0;           // the end-of-track event's tick, or the last event's
};

struct MidiFile {
    uint16_t format = 0;
    MidiDivision division;
    std::vector<MidiTrack> tracks;
};

// Meta event types the renderer acts on.
constexpr uint8_t kMetaEndOfTrack = 0x2F;
constexpr uint8_t kMetaTempo = 0x51;

// The tempo a piece plays at until its first tempo event: 120 quarter notes a minute.
constexpr uint32_t kDefaultMicrosecondsPerQuarter = 500000;

}  // namespace render
