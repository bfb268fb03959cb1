// Builds Standard MIDI File bytes for the tests, event by event, so that a
// test can say exactly which bytes a file holds, corrupt ones included.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace midibytes {

using Bytes = std::vector<uint8_t>;

inline Bytes variableLength(uint32_t value) {
    Bytes out{static_cast<uint8_t>(value & 0x7F)};
    for (value >>= 7; value > 0; value >>= 7) out.insert(out.begin(), static_cast<uint8_t>(0x80 | (value & 0x7F)));
    return out;
}

inline void append(Bytes& to, const Bytes& from) { to.insert(to.end(), from.begin(), from.end()); }

inline Bytes bigEndian(uint32_t value, int bytes) {
    Bytes out;
    for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
    return out;
}

// The events of one track, each after its delta time, as raw bytes.
class Track {
public:
    Track& event(uint32_t delta, std::initializer_list<uint8_t> data) {
        append(body_, variableLength(delta));
        body_.insert(body_.end(), data);
        return *this;
    }
    Track& tempo(uint32_t delta, uint32_t microsecondsPerQuarter) {
        return event(delta, {0xFF, 0x51, 0x03, static_cast<uint8_t>(microsecondsPerQuarter >> 16),
                             static_cast<uint8_t>(microsecondsPerQuarter >> 8),
                             static_cast<uint8_t>(microsecondsPerQuarter)});
    }
    Track& end(uint32_t delta = 0) { return event(delta, {0xFF, 0x2F, 0x00}); }
    Track& raw(std::initializer_list<uint8_t> data) {
        body_.insert(body_.end(), data);
        return *this;
    }

    Bytes chunk() const { return chunkOf("MTrk", body_); }
    static Bytes chunkOf(const std::string& type, const Bytes& body) {
        Bytes out(type.begin(), type.end());
        append(out, bigEndian(static_cast<uint32_t>(body.size()), 4));
        append(out, body);
        return out;
    }

private:
    Bytes body_;
};

// Ticks per quarter note; an SMPTE division is (-framesPerSecond << 8) | ticksPerFrame.
inline Bytes header(uint16_t format, uint16_t tracks, uint16_t division) {
    Bytes body = bigEndian(format, 2);
    append(body, bigEndian(tracks, 2));
    append(body, bigEndian(division, 2));
    return Track::chunkOf("MThd", body);
}

inline Bytes file(uint16_t format, uint16_t division, const std::vector<Track>& tracks) {
    Bytes out = header(format, static_cast<uint16_t>(tracks.size()), division);
    for (const Track& track : tracks) append(out, track.chunk());
    return out;
}

inline uint16_t smpteDivision(int framesPerSecond, int ticksPerFrame) {
    return static_cast<uint16_t>(((-framesPerSecond) & 0xFF) << 8 | ticksPerFrame);
}

}  // namespace midibytes
