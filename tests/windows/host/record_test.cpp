// The effect record as a Windows host reads it: the version probe, every field
// at the offset this platform's interface puts it, identity, instances and close.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "tests/windows/host/LibraryFixture.h"

namespace {

// The probe must reach the host before any instance exists.
struct ProbeLog {
    static inline std::vector<vsthost::HostRequest> requests;
    static inline VstIntPtr versionAnswer = 2400;
    static VstIntPtr VSTCALLBACK callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                          void* ptr, float opt) {
        requests.push_back({effect, opcode, index, value, ptr, opt});
        return opcode == audioMasterVersion ? versionAnswer : 0;
    }
};

constexpr bool k64Bit = sizeof(void*) == 8;

// Offsets of the record's fields in this platform's layout, written out here
// rather than taken from our own declarations, so a layout slip shows.
struct FieldAt {
    const char* name;
    std::size_t offset32;
    std::size_t offset64;
    std::size_t offset() const { return k64Bit ? offset64 : offset32; }
};

int32_t int32At(const AEffect* record, const FieldAt& field) {
    int32_t value;
    std::memcpy(&value, reinterpret_cast<const uint8_t*>(record) + field.offset(), sizeof value);
    return value;
}

const void* pointerAt(const AEffect* record, const FieldAt& field) {
    const void* value;
    std::memcpy(&value, reinterpret_cast<const uint8_t*>(record) + field.offset(), sizeof value);
    return value;
}

}  // namespace

class RecordTest : public LibraryFixture {
protected:
    void SetUp() override {
        LibraryFixture::SetUp();
        ProbeLog::requests.clear();
        ProbeLog::versionAnswer = 2400;
    }
};

TEST_F(RecordTest, ProbesTheHostVersionBeforeCreating) {
    AEffect* effect = library->entryPoint()(&ProbeLog::callback);
    ASSERT_NE(effect, nullptr);
    ASSERT_FALSE(ProbeLog::requests.empty());
    const vsthost::HostRequest& probe = ProbeLog::requests.front();
    EXPECT_EQ(probe.effect, nullptr);
    EXPECT_EQ(probe.opcode, audioMasterVersion);
    EXPECT_EQ(probe.index, 0);
    EXPECT_EQ(probe.value, 0);
    EXPECT_EQ(probe.ptr, nullptr);
    EXPECT_EQ(probe.opt, 0.0f);
    EXPECT_EQ(effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f), 1);
}

TEST_F(RecordTest, AHostAnsweringVersionZeroGetsNoInstance) {
    ProbeLog::versionAnswer = 0;
    EXPECT_EQ(library->entryPoint()(&ProbeLog::callback), nullptr);
    ProbeLog::versionAnswer = 1;  // any other answer will do
    AEffect* effect = library->entryPoint()(&ProbeLog::callback);
    ASSERT_NE(effect, nullptr);
    effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
}

TEST_F(RecordTest, FieldsSitWhereThisPlatformsHostsReadThem) {
    auto plugin = newInstance();
    ASSERT_TRUE(plugin);
    const AEffect* record = plugin->effect();
    struct Expected {
        FieldAt field;
        int32_t value;
    };
    const Expected integers[] = {
        {{"magic", 0, 0}, 0x56737450},  // 'VstP'
        {{"numPrograms", 20, 40}, 8},
        {{"numParams", 24, 44}, 12},
        {{"numInputs", 28, 48}, 0},
        {{"numOutputs", 32, 52}, 2},
        {{"flags", 36, 56}, 0x131},  // editor, replacing, program chunks, synth
        {{"initialDelay", 48, 80}, 0},
        {{"uniqueID", 72, 112}, 0x51564F52},  // 'QVOR'
        {{"version", 76, 116}, 1},
    };
    for (const Expected& expected : integers) {
        EXPECT_EQ(int32At(record, expected.field), expected.value) << expected.field.name;
    }
    const float ioRatio = [&] {
        float value;
        std::memcpy(&value, reinterpret_cast<const uint8_t*>(record) + FieldAt{"ioRatio", 60, 92}.offset(), 4);
        return value;
    }();
    EXPECT_EQ(ioRatio, 1.0f);

    const FieldAt entries[] = {{"dispatcher", 4, 8},         {"process", 8, 16},
                               {"setParameter", 12, 24},     {"getParameter", 16, 32},
                               {"processReplacing", 80, 120}, {"processDoubleReplacing", 84, 128}};
    for (const FieldAt& entry : entries) {
        EXPECT_TRUE(insideModule(pointerAt(record, entry))) << entry.name;
    }
    EXPECT_NE(pointerAt(record, {"object", 64, 96}), nullptr);
    EXPECT_EQ(pointerAt(record, {"user", 68, 104}), nullptr);
    EXPECT_EQ(pointerAt(record, {"resvd1", 40, 64}), nullptr);
    EXPECT_EQ(pointerAt(record, {"resvd2", 44, 72}), nullptr);
    const std::size_t futureOffset = FieldAt{"future", 88, 136}.offset();
    const auto* future = reinterpret_cast<const uint8_t*>(record) + futureOffset;
    for (std::size_t i = 0; i < 56; ++i) EXPECT_EQ(future[i], 0) << "future byte " << i;
}

TEST_F(RecordTest, IdentifiesItself) {
    auto plugin = newInstance();
    ASSERT_TRUE(plugin);
    EXPECT_EQ(plugin->text(effGetEffectName), "Orrelune");
    EXPECT_EQ(plugin->text(effGetProductString), "QV's Orrelune");
    EXPECT_EQ(plugin->text(effGetVendorString), "Quorvel");
    EXPECT_EQ(plugin->dispatch(effGetVendorVersion), 1000);
    EXPECT_EQ(plugin->dispatch(effGetVstVersion), 2400);
    EXPECT_EQ(plugin->dispatch(effGetPlugCategory), kPlugCategSynth);
}

TEST_F(RecordTest, ClosingOneInstanceLeavesAnotherPlaying) {
    auto first = newInstance();
    auto second = newInstance();
    ASSERT_TRUE(first && second);
    EXPECT_NE(first->effect(), second->effect());
    EXPECT_EQ(first->close(), 1);

    second->setSampleRate(44100.0f);
    second->setBlockSize(256);
    second->resume();
    vsthost::EventList events;
    events.addMidi(0, 0x90, 60, 100);
    second->sendEvents(events);
    std::vector<float> left(256), right(256);
    float* outputs[2] = {left.data(), right.data()};
    second->processReplacing(nullptr, outputs, 256);
    float peak = 0.0f;
    for (float sample : left) peak = std::max(peak, std::abs(sample));
    EXPECT_GT(peak, 0.0f);
}
