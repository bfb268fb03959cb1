// 32-bit hosts built with other compilers keep the stack only 4-byte aligned
// when they call the plug-in. The DLL's SSE arithmetic must neither fault nor
// change a sample when it starts on such a stack.
#include <cstring>

#include "tests/windows/host/LibraryFixture.h"
#include "tests/windows/host/MisalignedCall.h"

#if defined(ORRELUNE_CAN_MISALIGN_STACK)

namespace {

constexpr VstInt32 kBlock = 512;
constexpr int kBlocks = 20;

// A note played through the record, with each audio call made by `process`.
template <typename Process>
std::vector<float> playNote(vsthost::Plugin& plugin, Process process) {
    plugin.setSampleRate(44100.0f);
    plugin.setBlockSize(kBlock);
    plugin.resume();
    vsthost::EventList events;
    events.addMidi(5, 0x90, 69, 127);
    plugin.sendEvents(events);
    std::vector<float> all;
    std::vector<float> left(kBlock), right(kBlock);
    for (int block = 0; block < kBlocks; ++block) {
        float* outputs[2] = {left.data(), right.data()};
        process(plugin.effect(), outputs);
        all.insert(all.end(), left.begin(), left.end());
        all.insert(all.end(), right.begin(), right.end());
    }
    return all;
}

}  // namespace

class StackAlignmentTest : public LibraryFixture, public ::testing::WithParamInterface<int> {};

TEST_P(StackAlignmentTest, AudioIsTheSameOnAMisalignedStack) {
    auto aligned = newInstance();
    auto misaligned = newInstance();
    ASSERT_TRUE(aligned && misaligned);
    const int offset = GetParam();
    const auto expected = playNote(*aligned, [](AEffect* effect, float** outputs) {
        effect->processReplacing(effect, nullptr, outputs, kBlock);
    });
    const auto played = playNote(*misaligned, [offset](AEffect* effect, float** outputs) {
        processWithStackOffset(effect->processReplacing, offset, effect, nullptr, outputs, kBlock);
    });
    ASSERT_EQ(played.size(), expected.size());
    EXPECT_EQ(std::memcmp(played.data(), expected.data(), played.size() * sizeof(float)), 0);
}

// Every 4-byte step off a 16-byte boundary, and the boundary itself.
INSTANTIATE_TEST_SUITE_P(StackOffsets, StackAlignmentTest, ::testing::Values(0, 4, 8, 12));

#endif
