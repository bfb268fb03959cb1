// The DLL plays every reference performance exactly as the Linux library
// does, sample for sample and bit for bit: the same sources, compiled for a
// different processor mode and linked against a different C runtime, must not
// change a single result.
#include <cstring>
#include <ostream>

#include "tests/windows/ReferencePerformance.h"
#include "tests/windows/host/LibraryFixture.h"

namespace {

uint32_t bitsOf(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

std::vector<float> referenceSamples(const reference::Performance& performance) {
    std::vector<uint8_t> bytes;
    const std::string path = checkSettings().referenceFolder + "/" + reference::audioFileName(performance);
    EXPECT_TRUE(reference::readFile(path, bytes)) << path;
    std::vector<float> samples(bytes.size() / sizeof(float));
    std::memcpy(samples.data(), bytes.data(), samples.size() * sizeof(float));
    return samples;
}

}  // namespace

namespace reference {
// Names the performance in GoogleTest's messages instead of dumping its bytes.
void PrintTo(const Performance& performance, std::ostream* out) { *out << performance.name; }
}  // namespace reference

class AudioEqualityTest : public LibraryFixture, public ::testing::WithParamInterface<reference::Performance> {};

TEST_P(AudioEqualityTest, MatchesTheLinuxBuildBitForBit) {
    const reference::Performance& performance = GetParam();
    const std::vector<float> expected = referenceSamples(performance);
    ASSERT_EQ(expected.size(), static_cast<std::size_t>(performance.frames) * 2);

    std::string error;
    const std::vector<float> played = reference::render(*library, performance, error);
    ASSERT_EQ(played.size(), expected.size()) << error;

    std::size_t differing = 0;
    std::size_t first = played.size();
    for (std::size_t i = 0; i < played.size(); ++i) {
        if (bitsOf(played[i]) != bitsOf(expected[i])) {
            if (differing++ == 0) first = i;
        }
    }
    ASSERT_EQ(differing, 0u) << "first at frame " << first / 2 << (first % 2 ? " right" : " left") << ": "
                             << played[first] << " here, " << expected[first] << " on Linux";
}

INSTANTIATE_TEST_SUITE_P(Performances, AudioEqualityTest, ::testing::ValuesIn(reference::performances()),
                         [](const ::testing::TestParamInfo<reference::Performance>& info) {
                             std::string name = info.param.name;
                             for (char& c : name) {
                                 if (c == '-') c = '_';
                             }
                             return name;
                         });
