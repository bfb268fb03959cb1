#include "engine/ParameterBlock.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>

namespace {

TEST(ParameterBlock, StartsWithEveryValueAtOneTenth)
{
    const ParameterBlock block;
    for (int i = 0; i < ParameterBlock::kCount; ++i) {
        EXPECT_EQ(block.get(i), 0.1f) << "parameter " << i;
    }
}

TEST(ParameterBlock, ItsMemoryIsTwelveFloatsInParameterOrder)
{
    // The instrument hands this memory to the host as a 48-byte program chunk
    // and copies program records into it byte for byte.
    ParameterBlock block;
    for (int i = 0; i < ParameterBlock::kCount; ++i) {
        block.set(i, static_cast<float>(i) * 0.25f);
    }
    std::array<float, ParameterBlock::kCount> image{};
    std::memcpy(image.data(), block.data(), sizeof image);
    for (int i = 0; i < ParameterBlock::kCount; ++i) {
        EXPECT_EQ(image[i], static_cast<float>(i) * 0.25f);
    }

    const std::array<float, ParameterBlock::kCount> record = {0.9f, 0.8f, 0.7f, 0.6f, 0.5f, 0.4f,
                                                               0.3f, 0.2f, 0.1f, 0.0f, 1.0f, 0.05f};
    std::memcpy(block.data(), record.data(), sizeof record);
    for (int i = 0; i < ParameterBlock::kCount; ++i) {
        EXPECT_EQ(block.get(i), record[i]);
    }
}

TEST(ParameterBlock, LoadsAndStoresAllValuesAtOnce)
{
    ParameterBlock block;
    const std::array<float, ParameterBlock::kCount> values = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    block.store(values);
    std::array<float, ParameterBlock::kCount> read{};
    block.load(read);
    EXPECT_EQ(read, values);
}

TEST(ParameterBlock, IgnoresIndicesOutsideTheTwelve)
{
    ParameterBlock block;
    for (int index : {-1, 12, 100}) {
        block.set(index, 0.75f);
        EXPECT_EQ(block.get(index), 0.0f);
    }
    for (int i = 0; i < ParameterBlock::kCount; ++i) {
        EXPECT_EQ(block.get(i), 0.1f);
    }
}

}  // namespace
