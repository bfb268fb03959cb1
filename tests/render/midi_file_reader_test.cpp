#include <gtest/gtest.h>

#include "tests/render/MidiBytes.h"
#include "tools/render/MidiFileReader.h"

using midibytes::Bytes;
using midibytes::Track;
using render::MidiEventKind;
using render::MidiFile;

namespace {

std::optional<MidiFile> parse(const Bytes& bytes, std::string& error) {
    return render::parseMidiFile(bytes.data(), bytes.size(), error);
}

MidiFile parseOk(const Bytes& bytes) {
    std::string error;
    std::optional<MidiFile> file = parse(bytes, error);
    EXPECT_TRUE(file) << error;
    return file.value_or(MidiFile{});
}

}  // namespace

TEST(MidiFileReader, RunningStatusRepeatsTheLastChannelStatus) {
    // Note-on, then two more note-ons and a note-off (velocity 0) without status bytes.
    Track track;
    track.event(0, {0x91, 60, 100}).event(10, {62, 90}).event(10, {64, 80}).event(5, {60, 0});
    track.event(0, {0xC1, 5}).event(3, {7});  // program change takes one data byte, also under running status
    const MidiFile file = parseOk(midibytes::file(0, 96, {track.end()}));
    ASSERT_EQ(file.tracks.size(), 1u);
    const auto& events = file.tracks[0].events;
    ASSERT_EQ(events.size(), 6u);
    const uint64_t ticks[] = {0, 10, 20, 25, 25, 28};
    const uint8_t data1[] = {60, 62, 64, 60, 5, 7};
    for (std::size_t i = 0; i < events.size(); ++i) {
        EXPECT_EQ(events[i].tick, ticks[i]) << i;
        EXPECT_EQ(events[i].data1, data1[i]) << i;
    }
    EXPECT_EQ(events[2].status, 0x91);
    EXPECT_EQ(events[2].data2, 80);
    EXPECT_EQ(events[5].status, 0xC1);
    EXPECT_EQ(events[5].dataSize, 1);
}

TEST(MidiFileReader, RunningStatusSurvivesMetaAndSysExEvents) {
    // Writers should restate the status after these, but files in the wild do not always.
    Track track;
    track.event(0, {0x90, 60, 100}).event(0, {0xFF, 0x01, 0x02, 'h', 'i'}).event(0, {0xF0, 0x02, 0x7E, 0xF7});
    track.event(4, {60, 0});
    const MidiFile file = parseOk(midibytes::file(0, 96, {track.end()}));
    const auto& events = file.tracks[0].events;
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[1].kind, MidiEventKind::Meta);
    EXPECT_EQ(events[2].kind, MidiEventKind::SysEx);
    EXPECT_EQ(events[2].payload, (Bytes{0x7E, 0xF7}));
    EXPECT_EQ(events[3].status, 0x90);
    EXPECT_EQ(events[3].tick, 4u);
}

TEST(MidiFileReader, EndOfTrackEndsTheTrackAndSetsItsLength) {
    Track track;
    track.event(0, {0x90, 60, 100}).end(300).raw({0x00, 0x90, 61, 100});  // after the end: not part of the track
    Track open;  // no end-of-track event: the track ends with its last event
    open.event(50, {0x80, 60, 0});
    const MidiFile file = parseOk(midibytes::file(1, 96, {track, open}));
    ASSERT_EQ(file.tracks.size(), 2u);
    EXPECT_EQ(file.tracks[0].events.size(), 1u);
    EXPECT_EQ(file.tracks[0].endTick, 300u);
    EXPECT_EQ(file.tracks[1].endTick, 50u);
}

TEST(MidiFileReader, ReadsHeaderFieldsAndSkipsUnknownChunks) {
    Bytes bytes = midibytes::header(1, 2, 480);
    midibytes::append(bytes, Track::chunkOf("XYZW", {1, 2, 3}));  // a chunk type the reader does not know
    midibytes::append(bytes, Track().event(0, {0x90, 1, 2}).end().chunk());
    midibytes::append(bytes, Track().end(7).chunk());
    const MidiFile file = parseOk(bytes);
    EXPECT_EQ(file.format, 1);
    EXPECT_FALSE(file.division.smpte);
    EXPECT_EQ(file.division.ticksPerQuarter, 480);
    ASSERT_EQ(file.tracks.size(), 2u);
    EXPECT_EQ(file.tracks[1].endTick, 7u);
}

TEST(MidiFileReader, ReadsSmpteDivisions) {
    struct Case {
        int framesPerSecond;
        int ticksPerFrame;
    };
    for (const Case& c : {Case{24, 4}, Case{25, 40}, Case{29, 80}, Case{30, 100}}) {
        const MidiFile file =
            parseOk(midibytes::file(0, midibytes::smpteDivision(c.framesPerSecond, c.ticksPerFrame), {Track().end()}));
        EXPECT_TRUE(file.division.smpte);
        EXPECT_EQ(file.division.smpteFramesPerSecond, c.framesPerSecond);
        EXPECT_EQ(file.division.ticksPerSmpteFrame, c.ticksPerFrame);
    }
}

TEST(MidiFileReader, ReadsLongVariableLengthNumbers) {
    // 0x0FFFFFFF, the largest four-byte number, as a delta time.
    Track track;
    track.raw({0xFF, 0xFF, 0xFF, 0x7F, 0x90, 60, 1});
    const MidiFile file = parseOk(midibytes::file(0, 96, {track.end()}));
    EXPECT_EQ(file.tracks[0].events[0].tick, 0x0FFFFFFFu);
}

struct CorruptCase {
    const char* what;
    Bytes bytes;
    const char* message;  // part of the error the reader must give
};

class CorruptMidiFile : public ::testing::TestWithParam<CorruptCase> {};

TEST_P(CorruptMidiFile, IsRefusedWithAMessageThatSaysWhy) {
    std::string error;
    EXPECT_FALSE(parse(GetParam().bytes, error));
    EXPECT_NE(error.find(GetParam().message), std::string::npos) << error;
}

Bytes withTrack(std::initializer_list<uint8_t> body, uint16_t format = 0, uint16_t division = 96) {
    Bytes bytes = midibytes::header(format, 1, division);
    midibytes::append(bytes, Track::chunkOf("MTrk", Bytes(body)));
    return bytes;
}

Bytes truncatedTrackChunk() {
    Bytes bytes = midibytes::header(0, 1, 96);
    midibytes::append(bytes, {'M', 'T', 'r', 'k', 0, 0, 0, 40, 0x00, 0x90, 60, 100});
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CorruptMidiFile,
    ::testing::Values(
        CorruptCase{"empty", {}, "the file is empty"},
        CorruptCase{"wave file", {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'}, "not a Standard MIDI File"},
        CorruptCase{"short header", {'M', 'T', 'h', 'd', 0, 0, 0, 4, 0, 0, 0, 1}, "MThd header is too short"},
        CorruptCase{"header cut off", {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0}, "ends inside its MThd header"},
        CorruptCase{"format 2", midibytes::header(2, 1, 96), "format 2"},
        CorruptCase{"format 7", midibytes::header(7, 1, 96), "unknown format 7"},
        CorruptCase{"no tracks", midibytes::header(1, 0, 96), "announces no tracks"},
        CorruptCase{"zero division", midibytes::header(0, 1, 0), "zero ticks per quarter note"},
        CorruptCase{"SMPTE rate", midibytes::header(0, 1, midibytes::smpteDivision(23, 4)), "23 frames per second"},
        CorruptCase{"SMPTE zero ticks", midibytes::header(0, 1, midibytes::smpteDivision(25, 0)),
                    "zero ticks per SMPTE frame"},
        CorruptCase{"missing track", midibytes::header(1, 2, 96), "announces 2 tracks but the file ends after 0"},
        CorruptCase{"chunk past the end", truncatedTrackChunk(), "claims 40 bytes but only 4 remain"},
        CorruptCase{"note cut off", withTrack({0x00, 0x90, 60}), "track 1: the event at byte 22 runs past the end"},
        CorruptCase{"delta cut off", withTrack({0x81}), "runs past the end of its track"},
        CorruptCase{"sysex too long", withTrack({0x00, 0xF0, 0x05, 1, 2}), "runs past the end of its track"},
        CorruptCase{"meta too long", withTrack({0x00, 0xFF, 0x01, 0x7F, 'a'}), "runs past the end of its track"},
        CorruptCase{"five-byte number", withTrack({0x80, 0x80, 0x80, 0x80, 0x00}), "longer than the four bytes"},
        CorruptCase{"data without status", withTrack({0x00, 0x40, 0x40}), "no earlier status to repeat"},
        CorruptCase{"status inside a message", withTrack({0x00, 0x90, 0x90, 0x40}), "status byte 0x90 at byte 24"},
        CorruptCase{"system common byte", withTrack({0x00, 0xF2, 0x00, 0x00}), "0xF2 at byte 23 is not an event"},
        CorruptCase{"tempo of two bytes", withTrack({0x00, 0xFF, 0x51, 0x02, 0x07, 0xA1}), "2 data bytes instead of 3"},
        CorruptCase{"tempo of zero", withTrack({0x00, 0xFF, 0x51, 0x03, 0, 0, 0}), "zero length"}),
    [](const ::testing::TestParamInfo<CorruptCase>& info) {
        std::string name;
        for (const char* c = info.param.what; *c; ++c) name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
        return name;
    });

TEST(MidiFileReader, FileErrorsNameTheFile) {
    std::string error;
    EXPECT_FALSE(render::readMidiFile("/nonexistent/song.mid", error));
    EXPECT_EQ(error.rfind("/nonexistent/song.mid: cannot open", 0), 0u) << error;
    EXPECT_FALSE(render::readMidiFile("/", error));
    EXPECT_EQ(error, "/: not a regular file");
}
