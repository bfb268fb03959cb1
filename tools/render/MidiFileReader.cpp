#include "tools/render/MidiFileReader.h"

#include <cstdio>
#include <cstring>

#include "tools/render/ByteReader.h"
#include "tools/render/FileBytes.h"

namespace render {

namespace {

constexpr std::size_t kChunkHeaderSize = 8;  // four-letter type and 32-bit length
constexpr std::size_t kHeaderDataSize = 6;   // format, track count, division

std::string hexByte(uint8_t value) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", value);
    return text;
}

std::string atByte(std::size_t offset) { return " at byte " + std::to_string(offset); }

// Number of data bytes after a channel status byte: program change and
// channel pressure carry one, every other channel message two.
uint8_t channelDataSize(uint8_t status) {
    const uint8_t kind = status & 0xF0;
    return (kind == 0xC0 || kind == 0xD0) ? 1 : 2;
}

// Reads the events of one MTrk chunk.
class TrackParser {
public:
    TrackParser(ByteReader reader, std::size_t trackNumber) : reader_(reader), trackNumber_(trackNumber) {}

    bool parse(MidiTrack& track, std::string& error) {
        uint64_t tick = 0;
        while (!reader_.atEnd()) {
            const std::size_t eventStart = reader_.fileOffset();
            uint32_t delta = 0;
            if (!readLength(delta, eventStart, error)) return false;
            tick += delta;
            MidiEvent event;
            event.tick = tick;
            if (!parseEvent(event, eventStart, error)) return false;
            const bool endOfTrack = event.kind == MidiEventKind::Meta && event.metaType == kMetaEndOfTrack;
            if (!endOfTrack) track.events.push_back(std::move(event));
            track.endTick = tick;
            // Whatever follows the end of the track inside its chunk is not part of it.
            if (endOfTrack) break;
        }
        return true;
    }

private:
    bool parseEvent(MidiEvent& event, std::size_t eventStart, std::string& error) {
        uint8_t status = 0;
        const std::size_t statusOffset = reader_.fileOffset();
        if (!reader_.peekByte(status)) return pastEnd(eventStart, error);
        if (status & 0x80) {
            reader_.skip(1);
        } else if (runningStatus_ != 0) {
            // Running status: the previous channel message's status byte is implied.
            status = runningStatus_;
        } else {
            return fail("data byte " + hexByte(status) + atByte(statusOffset) +
                            " where an event should begin, with no earlier status to repeat",
                        error);
        }
        if (status < 0xF0) return parseChannel(event, status, eventStart, error);
        if (status == 0xF0 || status == 0xF7) return parseSysEx(event, status, eventStart, error);
        if (status == 0xFF) return parseMeta(event, eventStart, error);
        return fail("byte " + hexByte(status) + atByte(statusOffset) + " is not an event a MIDI file may hold", error);
    }

    bool parseChannel(MidiEvent& event, uint8_t status, std::size_t eventStart, std::string& error) {
        event.kind = MidiEventKind::Channel;
        event.status = status;
        event.dataSize = channelDataSize(status);
        uint8_t data[2] = {0, 0};
        for (uint8_t i = 0; i < event.dataSize; ++i) {
            const std::size_t offset = reader_.fileOffset();
            if (!reader_.readByte(data[i])) return pastEnd(eventStart, error);
            if (data[i] & 0x80) {
                return fail("status byte " + hexByte(data[i]) + atByte(offset) + " inside the message that starts" +
                                atByte(eventStart),
                            error);
            }
        }
        event.data1 = data[0];
        event.data2 = data[1];
        runningStatus_ = status;
        return true;
    }

    bool parseSysEx(MidiEvent& event, uint8_t status, std::size_t eventStart, std::string& error) {
        event.kind = MidiEventKind::SysEx;
        event.status = status;
        return readPayload(event, eventStart, error);
    }

    bool parseMeta(MidiEvent& event, std::size_t eventStart, std::string& error) {
        event.kind = MidiEventKind::Meta;
        event.status = 0xFF;
        if (!reader_.readByte(event.metaType)) return pastEnd(eventStart, error);
        if (!readPayload(event, eventStart, error)) return false;
        if (event.metaType == kMetaTempo) return checkTempo(event, eventStart, error);
        return true;
    }

    bool checkTempo(const MidiEvent& event, std::size_t eventStart, std::string& error) {
        if (event.payload.size() != 3) {
            return fail("the tempo event" + atByte(eventStart) + " has " + std::to_string(event.payload.size()) +
                            " data bytes instead of 3",
                        error);
        }
        if (event.payload[0] == 0 && event.payload[1] == 0 && event.payload[2] == 0) {
            return fail("the tempo event" + atByte(eventStart) + " sets a quarter note of zero length", error);
        }
        return true;
    }

    bool readPayload(MidiEvent& event, std::size_t eventStart, std::string& error) {
        uint32_t length = 0;
        if (!readLength(length, eventStart, error)) return false;
        const uint8_t* bytes = nullptr;
        if (!reader_.readBytes(length, bytes)) return pastEnd(eventStart, error);
        event.payload.assign(bytes, bytes + length);
        return true;
    }

    bool readLength(uint32_t& value, std::size_t eventStart, std::string& error) {
        const std::size_t offset = reader_.fileOffset();
        switch (reader_.readVariableLength(value)) {
            case ByteReader::VariableLength::Ok:
                return true;
            case ByteReader::VariableLength::Truncated:
                return pastEnd(eventStart, error);
            case ByteReader::VariableLength::TooLong:
                break;
        }
        return fail("the number" + atByte(offset) + " is longer than the four bytes a MIDI file allows", error);
    }

    bool pastEnd(std::size_t eventStart, std::string& error) {
        return fail("the event" + atByte(eventStart) + " runs past the end of its track", error);
    }

    bool fail(const std::string& problem, std::string& error) {
        error = "track " + std::to_string(trackNumber_) + ": " + problem;
        return false;
    }

    ByteReader reader_;
    std::size_t trackNumber_;
    uint8_t runningStatus_ = 0;
};

bool parseDivision(uint16_t raw, MidiDivision& division, std::string& error) {
    if ((raw & 0x8000) == 0) {
        division.ticksPerQuarter = raw;
        if (raw == 0) {
            error = "the header sets zero ticks per quarter note";
            return false;
        }
        return true;
    }
    // The high byte is the negative frame rate, the low byte the ticks per frame.
    division.smpte = true;
    const int framesPerSecond = -static_cast<int8_t>(raw >> 8);
    division.ticksPerSmpteFrame = static_cast<uint8_t>(raw & 0xFF);
    if (framesPerSecond != 24 && framesPerSecond != 25 && framesPerSecond != 29 && framesPerSecond != 30) {
        error = "the header's SMPTE rate of " + std::to_string(framesPerSecond) +
                " frames per second is not one of 24, 25, 29.97 and 30";
        return false;
    }
    division.smpteFramesPerSecond = static_cast<uint8_t>(framesPerSecond);
    if (division.ticksPerSmpteFrame == 0) {
        error = "the header sets zero ticks per SMPTE frame";
        return false;
    }
    return true;
}

bool parseHeader(ByteReader& reader, MidiFile& file, uint16_t& trackCount, std::string& error) {
    if (reader.atEnd()) {
        error = "the file is empty";
        return false;
    }
    const uint8_t* type = nullptr;
    if (!reader.readBytes(4, type) || std::memcmp(type, "MThd", 4) != 0) {
        error = "not a Standard MIDI File (it does not begin with an MThd header)";
        return false;
    }
    uint32_t length = 0;
    uint16_t division = 0;
    if (!reader.readUint32(length) || length < kHeaderDataSize) {
        error = "the MThd header is too short";
        return false;
    }
    if (!reader.readUint16(file.format) || !reader.readUint16(trackCount) || !reader.readUint16(division) ||
        !reader.skip(length - kHeaderDataSize)) {
        error = "the file ends inside its MThd header";
        return false;
    }
    if (file.format == 2) {
        error = "format 2 (a set of independent sequences) is not supported; formats 0 and 1 are";
        return false;
    }
    if (file.format > 2) {
        error = "unknown format " + std::to_string(file.format) + " in the MThd header";
        return false;
    }
    if (trackCount == 0) {
        error = "the header announces no tracks";
        return false;
    }
    return parseDivision(division, file.division, error);
}

// Finds the next MTrk chunk, skipping chunks of other types as the format asks.
bool nextTrackChunk(ByteReader& reader, std::size_t trackNumber, uint16_t trackCount, ByteReader& track,
                    std::string& error) {
    for (;;) {
        const std::size_t chunkStart = reader.fileOffset();
        const uint8_t* type = nullptr;
        uint32_t length = 0;
        if (reader.remaining() < kChunkHeaderSize) {
            error = "the header announces " + std::to_string(trackCount) + " tracks but the file ends after " +
                    std::to_string(trackNumber - 1);
            return false;
        }
        reader.readBytes(4, type);
        reader.readUint32(length);
        const uint8_t* body = nullptr;
        if (!reader.readBytes(length, body)) {
            error = "track " + std::to_string(trackNumber) + ": the chunk" + atByte(chunkStart) + " claims " +
                    std::to_string(length) + " bytes but only " + std::to_string(reader.remaining()) + " remain";
            return false;
        }
        if (std::memcmp(type, "MTrk", 4) == 0) {
            track = ByteReader(body, length, chunkStart + kChunkHeaderSize);
            return true;
        }
    }
}

}  // namespace

std::optional<MidiFile> parseMidiFile(const uint8_t* data, std::size_t size, std::string& error) {
    ByteReader reader(data, size);
    MidiFile file;
    uint16_t trackCount = 0;
    if (!parseHeader(reader, file, trackCount, error)) return std::nullopt;
    for (std::size_t number = 1; number <= trackCount; ++number) {
        ByteReader chunk(nullptr, 0);
        if (!nextTrackChunk(reader, number, trackCount, chunk, error)) return std::nullopt;
        MidiTrack track;
        if (!TrackParser(chunk, number).parse(track, error)) return std::nullopt;
        file.tracks.push_back(std::move(track));
    }
    return file;
}

std::optional<MidiFile> readMidiFile(const std::string& path, std::string& error) {
    std::optional<std::vector<uint8_t>> bytes = readFileBytes(path, error);
    if (!bytes) return std::nullopt;
    std::optional<MidiFile> file = parseMidiFile(bytes->data(), bytes->size(), error);
    if (!file) error = path + ": " + error;
    return file;
}

}  // namespace render
