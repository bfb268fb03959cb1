#include <gtest/gtest.h>

#include "tests/render/MidiBytes.h"
#include "tools/render/EventSchedule.h"
#include "tools/render/MidiFileReader.h"

using midibytes::Track;
using render::EventSchedule;
using render::ScheduledEvent;

namespace {

EventSchedule scheduleOf(const std::vector<Track>& tracks, uint16_t format = 1, uint16_t division = 480,
                         uint32_t rate = 44100) {
    const midibytes::Bytes bytes = midibytes::file(format, division, tracks);
    std::string error;
    std::optional<render::MidiFile> file = render::parseMidiFile(bytes.data(), bytes.size(), error);
    EXPECT_TRUE(file) << error;
    std::optional<EventSchedule> schedule = EventSchedule::build(file.value_or(render::MidiFile{}), rate, error);
    EXPECT_TRUE(schedule) << error;
    return std::move(schedule).value();
}

}  // namespace

TEST(EventSchedule, MergesTracksByTimeKeepingTrackOrderAtEqualTimes) {
    Track tempo;
    tempo.tempo(0, 1000000).end();  // a second a quarter note: tick 480 is frame 44100
    // Controller messages, whose second byte tells them apart.
    Track first;
    first.event(480, {0xB0, 1, 10}).event(480, {0xB0, 3, 10}).end();
    Track second;
    second.event(0, {0xB1, 0, 10}).event(480, {0xB1, 2, 10}).event(0, {0xB1, 4, 10}).end();
    const EventSchedule schedule = scheduleOf({tempo, first, second});
    // Tick 0: key 0; tick 480: key 1 (first track) before keys 2 and 4 (second track, in file order).
    const std::vector<uint8_t> keys{0, 1, 2, 4, 3};
    const std::vector<int64_t> frames{0, 44100, 44100, 44100, 88200};
    ASSERT_EQ(schedule.events().size(), keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i) {
        EXPECT_EQ(schedule.events()[i].data1, keys[i]) << i;
        EXPECT_EQ(schedule.events()[i].frame, frames[i]) << i;
    }
}

TEST(EventSchedule, TempoEventsInAnyTrackShapeTheWholePiece) {
    Track notes;
    notes.event(480, {0x90, 60, 1}).event(480, {0x80, 60, 0}).end();
    Track tempo;
    tempo.tempo(480, 250000).end();  // from the second quarter on, a quarter lasts 0.25 s
    const EventSchedule schedule = scheduleOf({notes, tempo});
    EXPECT_EQ(schedule.events()[0].frame, 22050);
    EXPECT_EQ(schedule.events()[1].frame, 22050 + 11025);
}

TEST(EventSchedule, PassesChannelMessagesAndSysExButNotMetaEvents) {
    Track track;
    track.event(0, {0xFF, 0x03, 0x01, 'x'}).event(0, {0xF0, 0x03, 0x7E, 0x01, 0xF7}).event(0, {0xF7, 0x01, 0xF8});
    track.event(0, {0xB5, 7, 100}).event(0, {0xD5, 3}).event(0, {0xE5, 0, 64}).end();
    const EventSchedule schedule = scheduleOf({track}, 0);
    ASSERT_EQ(schedule.events().size(), 4u);
    EXPECT_TRUE(schedule.events()[0].isSysEx);
    // The stored message lacks its 0xF0; the plug-in gets the whole message.
    EXPECT_EQ(schedule.events()[0].sysEx, (std::vector<uint8_t>{0xF0, 0x7E, 0x01, 0xF7}));
    EXPECT_EQ(schedule.events()[1].status, 0xB5);
    EXPECT_EQ(schedule.events()[2].status, 0xD5);
    EXPECT_EQ(schedule.events()[3].status, 0xE5);
}

TEST(EventSchedule, EndsAtTheLastEndOfTrackAndReleasesNotesStillHeld) {
    Track melody;  // key 60 ends, key 64 is struck twice and released once, key 67 never ends
    melody.event(0, {0x90, 60, 90}).event(0, {64, 90}).event(0, {67, 90}).event(480, {60, 0}).event(0, {64, 80});
    melody.event(0, {0x80, 64, 0}).end(480);
    Track bass;  // on another channel: key 36 never ends
    bass.event(0, {0x93, 36, 90}).end(1440);
    const EventSchedule schedule = scheduleOf({melody, bass});
    EXPECT_EQ(schedule.endFrame(), 66150);  // the bass track's end: three quarters at 120 bpm
    EXPECT_EQ(schedule.releasedAtEnd(), 3u);
    const auto& events = schedule.events();
    ASSERT_EQ(events.size(), 10u);
    struct Release {
        uint8_t status;
        uint8_t key;
    };
    const Release releases[] = {{0x80, 64}, {0x80, 67}, {0x83, 36}};
    for (std::size_t i = 0; i < 3; ++i) {
        const ScheduledEvent& event = events[7 + i];
        EXPECT_EQ(event.frame, 66150);
        EXPECT_EQ(event.status, releases[i].status);
        EXPECT_EQ(event.data1, releases[i].key);
        EXPECT_EQ(event.data2, 64);
    }
}

TEST(EventSchedule, HandsOutEachBlocksEventsWithTheirOffsets) {
    // Events at frames 0, 511, 512, 1000 and 1000, in blocks of 512.
    Track track;
    track.event(0, {0xB0, 1, 1}).event(511, {0xB0, 2, 1}).event(1, {0xB0, 3, 1}).event(488, {0xB0, 4, 1});
    track.event(0, {0xB0, 5, 1}).end();
    // 25 SMPTE frames of 40 ticks make 1000 ticks a second: a tick is a frame at 1000 Hz.
    EventSchedule schedule = scheduleOf({track}, 0, midibytes::smpteDivision(25, 40), 1000);
    vsthost::EventList list;
    struct Expect {
        int64_t start;
        std::vector<VstInt32> offsets;
    };
    for (const Expect& block : {Expect{0, {0, 511}}, Expect{512, {0, 488, 488}}, Expect{1024, {}}}) {
        schedule.fillBlock(block.start, 512, list);
        VstEvents* events = list.events();
        ASSERT_EQ(events->numEvents, static_cast<VstInt32>(block.offsets.size())) << block.start;
        for (std::size_t i = 0; i < block.offsets.size(); ++i) {
            EXPECT_EQ(events->events[i]->deltaFrames, block.offsets[i]) << block.start;
        }
    }
    EXPECT_TRUE(schedule.finished());
}
