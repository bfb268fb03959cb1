// Playing the instrument through the record: resume, events, audio blocks.
#include <cmath>

#include "tests/instrument/OrreluneFixture.h"

namespace {

double energy(const std::vector<float>& samples, std::size_t from = 0, std::size_t to = SIZE_MAX) {
    double sum = 0.0;
    for (std::size_t i = from; i < std::min(to, samples.size()); ++i) sum += double(samples[i]) * samples[i];
    return sum;
}

bool allFinite(const std::vector<float>& samples) {
    for (float s : samples) {
        if (!std::isfinite(s)) return false;
    }
    return true;
}

}  // namespace

using AudioTest = OrreluneFixture;

TEST_F(AudioTest, EveryResumeAsksForMidi) {
    start();
    plugin->resume();  // hosts sometimes resume twice
    plugin->suspend();
    plugin->resume();
    auto requests = host.requestsWith(audioMasterWantMidi);
    ASSERT_EQ(requests.size(), 3u);
    for (const auto& request : requests) {
        EXPECT_EQ(request.value, 1);
        EXPECT_EQ(request.index, 0);
        EXPECT_EQ(request.ptr, nullptr);
    }
}

TEST_F(AudioTest, SilenceReplacesWhateverTheBuffersHeld) {
    start();
    std::vector<float> right;
    const auto left = render({}, 4, 512, &right);
    for (std::size_t i = 0; i < left.size(); ++i) {
        ASSERT_EQ(left[i], 0.0f) << i;
        ASSERT_EQ(right[i], 0.0f) << i;
    }
}

TEST_F(AudioTest, NoteSoundsFromItsOwnFrame) {
    start();
    std::vector<float> right;
    const auto left = render(noteOn(69, 127, 5), 1, 64, &right);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(left[i], 0.0f) << i;
    EXPECT_NE(left[5], 0.0f);
    EXPECT_GT(energy(left, 5), 0.0);
}

TEST_F(AudioTest, WithoutChorusBothOutputsAreTheSame) {
    plugin->setParameter(11, 0.0f);
    start();
    std::vector<float> right;
    const auto left = render(noteOn(60), 8, 512, &right);
    EXPECT_GT(energy(left), 0.0);
    EXPECT_EQ(left, right);
}

TEST_F(AudioTest, ChorusComesBackAfterItsDelay) {
    // The taps sit 1344 to 1472 samples behind at 44100 Hz, so the two
    // outputs differ only once the first note has travelled through the lines.
    plugin->setParameter(11, 1.0f);
    start();
    std::vector<float> right;
    const auto left = render(noteOn(60), 8, 512, &right);
    for (std::size_t i = 0; i < 1344; ++i) ASSERT_EQ(left[i], right[i]) << i;
    bool differs = false;
    for (std::size_t i = 1344; i < 1600; ++i) differs = differs || left[i] != right[i];
    EXPECT_TRUE(differs);
}

TEST_F(AudioTest, EveryFactoryProgramPlays) {
    for (int program = 0; program < 8; ++program) {
        auto instance = newInstance();
        instance->dispatch(effSetProgram, 0, program);
        instance->setSampleRate(44100.0f);
        instance->setBlockSize(256);
        instance->resume();
        vsthost::EventList events;
        events.addMidi(0, 0x90, 48, 100);
        events.addMidi(10, 0x91, 64, 80);
        events.addMidi(20, 0x9A, 76, 60);
        std::vector<float> left(256);
        std::vector<float> right(256);
        std::vector<float> all;
        for (int block = 0; block < 40; ++block) {
            instance->sendEvents(events);
            events.clear();
            float* outputs[2] = {left.data(), right.data()};
            instance->processReplacing(nullptr, outputs, 256);
            all.insert(all.end(), left.begin(), left.end());
        }
        EXPECT_TRUE(allFinite(all)) << "program " << program;
        EXPECT_GT(energy(all), 1e-3) << "program " << program;
    }
}

TEST_F(AudioTest, BlocksLongerThanAnnouncedRenderLikeAnnouncedOnes) {
    auto reference = newInstance();
    reference->setBlockSize(1024);
    reference->resume();
    start(44100.0f, 64);  // announces 64 frames, then sends 1000
    vsthost::EventList events;
    events.addMidi(3, 0x90, 60, 100);
    events.addMidi(700, 0x90, 67, 90);
    events.addMidi(900, 0x80, 60, 0);
    std::vector<float> a(1000, 1.0f), b(1000, 2.0f), c(1000, 3.0f), d(1000, 4.0f);
    float* small[2] = {a.data(), b.data()};
    float* large[2] = {c.data(), d.data()};
    plugin->sendEvents(events);
    plugin->processReplacing(nullptr, small, 1000);
    reference->sendEvents(events);
    reference->processReplacing(nullptr, large, 1000);
    EXPECT_EQ(a, c);
    EXPECT_EQ(b, d);
    EXPECT_GT(energy(a), 0.0);
}

TEST_F(AudioTest, CallsOutsideTheProtocolStaySafe) {
    // Before any resume there are no scratch buffers: the host hears silence.
    std::vector<float> left(128, 5.0f), right(128, 5.0f);
    float* outputs[2] = {left.data(), right.data()};
    vsthost::EventList note = noteOn(60);
    plugin->sendEvents(note);
    plugin->processReplacing(nullptr, outputs, 128);
    for (float s : left) ASSERT_EQ(s, 0.0f);
    // A negative or zero frame count writes nothing.
    std::fill(left.begin(), left.end(), 5.0f);
    start();
    plugin->processReplacing(nullptr, outputs, -5);
    plugin->processReplacing(nullptr, outputs, 0);
    for (float s : left) ASSERT_EQ(s, 5.0f);
    // After a suspend, silence again.
    plugin->suspend();
    plugin->processReplacing(nullptr, outputs, 128);
    for (float s : right) ASSERT_EQ(s, 0.0f);
}

TEST_F(AudioTest, LowestNotesAreIgnoredOnAndOff) {
    start();
    vsthost::EventList events;
    for (uint8_t note = 0; note < 12; ++note) events.addMidi(note, 0x90, note, 127);
    const auto left = render(events, 4, 256);
    EXPECT_EQ(energy(left), 0.0);
    vsthost::EventList offs;
    for (uint8_t note = 0; note < 12; ++note) offs.addMidi(0, 0x80, note, 0);
    EXPECT_EQ(energy(render(offs, 1, 256)), 0.0);
}

TEST_F(AudioTest, AllNotesOffSilencesAtOnce) {
    start();
    render(noteOn(60), 2, 256);
    vsthost::EventList off;
    off.addMidi(100, 0xB3, 123, 0);  // acts at once, not at its offset
    const auto left = render(off, 2, 256);
    EXPECT_EQ(energy(left), 0.0);
}

TEST_F(AudioTest, CentredBendChangesNothing) {
    start();
    auto other = newInstance();
    other->setBlockSize(512);
    other->resume();
    vsthost::EventList events = noteOn(64);
    vsthost::EventList bent = noteOn(64);
    bent.addMidi(0, 0xE0, 0x00, 0x40);  // 8192, the centre
    const auto plain = render(events, 4, 512);
    std::swap(plugin, other);
    const auto withBend = render(bent, 4, 512);
    EXPECT_EQ(plain, withBend);
}

TEST_F(AudioTest, OfflineRateRenders) {
    start(88200.0f, 4096);
    const auto left = render(noteOn(72), 4, 4096);
    EXPECT_TRUE(allFinite(left));
    EXPECT_GT(energy(left), 0.0);
}
