// Malformed files by the thousand, made from valid ones by a seeded random
// generator so every run sees the same corpus: the reader must refuse each
// with a message or read it, and whatever it reads must schedule in order.
// Run under the sanitizers, this also shows that no read goes past a buffer.
#include <gtest/gtest.h>

#include <random>

#include "tests/render/MidiBytes.h"
#include "tools/render/EventSchedule.h"
#include "tools/render/MidiFileReader.h"

using midibytes::Bytes;
using midibytes::Track;

namespace {

std::vector<Bytes> seedFiles() {
    Track notes;
    notes.event(0, {0x90, 60, 100}).event(96, {64, 90}).event(96, {60, 0}).event(0, {64, 0});
    notes.event(0, {0xE0, 0x00, 0x40}).event(10, {0xB0, 64, 127}).event(0, {0xC0, 3}).end(20);
    Track tempo;
    tempo.tempo(0, 400000).event(0, {0xFF, 0x58, 0x04, 4, 2, 24, 8}).tempo(192, 600000).end();
    Track sysex;
    sysex.event(5, {0xF0, 0x04, 0x7E, 0x7F, 0x09, 0xF7}).event(0, {0xF7, 0x01, 0xF8}).event(1, {0x91, 1, 1}).end();
    return {midibytes::file(0, 96, {notes}), midibytes::file(1, 480, {tempo, notes, sysex}),
            midibytes::file(1, midibytes::smpteDivision(25, 40), {sysex, notes})};
}

// A well-formed file of random events: any status, running status, meta
// events with tempo changes, system-exclusive messages and long delta times.
Bytes randomFile(std::mt19937& random) {
    auto below = [&](uint32_t limit) { return static_cast<uint32_t>(random() % limit); };
    std::vector<Track> tracks(1 + below(3));
    for (Track& track : tracks) {
        uint8_t running = 0;
        for (uint32_t i = 0, n = below(40); i < n; ++i) {
            const uint32_t delta = below(8) == 0 ? below(1u << 20) : below(200);
            const uint32_t kind = below(10);
            if (kind < 7) {
                const auto status = static_cast<uint8_t>(0x80 | below(0x70));
                const auto d1 = static_cast<uint8_t>(below(128));
                const auto d2 = static_cast<uint8_t>(below(128));
                const bool oneByte = (status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0;
                if (status == running) {
                    oneByte ? track.event(delta, {d1}) : track.event(delta, {d1, d2});
                } else {
                    oneByte ? track.event(delta, {status, d1}) : track.event(delta, {status, d1, d2});
                }
                running = status;
            } else if (kind == 7) {
                track.tempo(delta, 1 + below(0xFFFFFF));
            } else if (kind == 8) {
                track.event(delta, {0xF0, 0x03, 0x7D, static_cast<uint8_t>(below(128)), 0xF7});
            } else {
                track.event(delta, {0xFF, static_cast<uint8_t>(below(0x50)), 0x01, 0x20});
            }
        }
        if (below(4) != 0) track.end(below(100));
    }
    const uint16_t division =
        below(4) == 0 ? midibytes::smpteDivision(24 + static_cast<int>(below(2)), 1 + static_cast<int>(below(120)))
                      : static_cast<uint16_t>(1 + below(960));
    return midibytes::file(static_cast<uint16_t>(below(2)), division, tracks);
}

Bytes mutate(const Bytes& seed, std::mt19937& random) {
    Bytes bytes = seed;
    auto position = [&](std::size_t size) { return std::uniform_int_distribution<std::size_t>(0, size - 1)(random); };
    auto byte = [&] { return static_cast<uint8_t>(random() & 0xFF); };
    switch (random() % 5) {
        case 0:  // a few flipped bits
            for (int i = 0, n = 1 + static_cast<int>(random() % 8); i < n; ++i) {
                bytes[position(bytes.size())] ^= static_cast<uint8_t>(1u << (random() % 8));
            }
            break;
        case 1:  // cut short
            bytes.resize(position(bytes.size()));
            break;
        case 2:  // a run of random bytes over lengths, counts and events alike
            for (std::size_t at = position(bytes.size()), i = 0; i < 4 && at + i < bytes.size(); ++i) {
                bytes[at + i] = byte();
            }
            break;
        case 3:  // random bytes inserted
            for (int i = 0, n = 1 + static_cast<int>(random() % 6); i < n; ++i) {
                bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(position(bytes.size())), byte());
            }
            break;
        default:  // a valid header followed by noise
            bytes.resize(14);
            for (int i = 0, n = static_cast<int>(random() % 64); i < n; ++i) bytes.push_back(byte());
            break;
    }
    return bytes;
}

void checkReadFile(const render::MidiFile& file) {
    std::string error;
    std::optional<render::EventSchedule> schedule = render::EventSchedule::build(file, 44100, error);
    if (!schedule) {
        EXPECT_FALSE(error.empty());
        return;
    }
    int64_t previous = 0;
    for (const render::ScheduledEvent& event : schedule->events()) {
        EXPECT_GE(event.frame, previous);
        EXPECT_LE(event.frame, schedule->endFrame());
        previous = event.frame;
    }
}

}  // namespace

TEST(MidiFuzz, MalformedFilesAreReadOrRefusedWithAMessage) {
    std::mt19937 random(20240611);
    const std::vector<Bytes> seeds = seedFiles();
    int refused = 0;
    constexpr int kFiles = 20000;
    for (int i = 0; i < kFiles; ++i) {
        // A third each: mutated seeds, random well-formed files, and those mutated.
        Bytes bytes;
        switch (i % 3) {
            case 0:
                bytes = mutate(seeds[static_cast<std::size_t>(i / 3) % seeds.size()], random);
                break;
            case 1:
                bytes = randomFile(random);
                break;
            default:
                bytes = mutate(randomFile(random), random);
                break;
        }
        std::string error;
        std::optional<render::MidiFile> file = render::parseMidiFile(bytes.data(), bytes.size(), error);
        if (file) {
            checkReadFile(*file);
        } else {
            ++refused;
            EXPECT_FALSE(error.empty());
        }
    }
    // Both outcomes must be common, or the corpus tests only one of them.
    EXPECT_GT(refused, kFiles / 10);
    EXPECT_LT(refused, kFiles * 9 / 10);
}

TEST(MidiFuzz, AnEndlessPieceIsRefusedInsteadOfRenderedForYears) {
    // Sixteen of the longest delta times at one tick per quarter note and the
    // slowest tempo: some 140 years of silence in 80 bytes.
    Track track;
    track.tempo(0, 0xFFFFFF);
    for (int i = 0; i < 16; ++i) track.event(0x0FFFFFFF, {0x90, 60, 0});
    std::string error;
    const Bytes bytes = midibytes::file(0, 1, {track.end()});
    std::optional<render::MidiFile> file = render::parseMidiFile(bytes.data(), bytes.size(), error);
    ASSERT_TRUE(file) << error;
    EXPECT_FALSE(render::EventSchedule::build(*file, 44100, error));
    EXPECT_NE(error.find("the renderer plays at most 24"), std::string::npos) << error;
}
