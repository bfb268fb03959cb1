#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <span>

// Positions of the twelve parameters in the block.
enum ParameterIndex : int32_t {
    kAMode = 0,
    kATone = 1,
    kADecay = 2,
    kAVel = 3,
    kBMode = 4,
    kBTone = 5,
    kBDecay = 6,
    kBVel = 7,
    kDecay = 8,
    kVelocity = 9,
    kVolume = 10,
    kChorus = 11,
};

// The twelve live parameter values. The user-interface thread writes them while
// the audio thread reads them, so each is a relaxed atomic float: a reader sees
// either the old or the new value of a slot, never a torn one. The memory image
// is exactly twelve contiguous 4-byte floats, because the instrument hands the
// host this block's memory as its 48-byte program chunk and copies program
// records into it bit for bit.
class ParameterBlock {
public:
    static constexpr int kCount = 12;
    static constexpr float kInitialValue = 0.1f;

    ParameterBlock();
    ParameterBlock(const ParameterBlock&) = delete;
    ParameterBlock& operator=(const ParameterBlock&) = delete;

    // An index outside 0..11 reads as 0 and is ignored when written.
    float get(int index) const;
    void set(int index, float value);

    // All twelve values at once, slot by slot.
    void load(std::span<float, kCount> values) const;
    void store(std::span<const float, kCount> values);

    void* data() { return values_.data(); }
    const void* data() const { return values_.data(); }

private:
    std::array<std::atomic<float>, kCount> values_;
};

static_assert(std::atomic<float>::is_always_lock_free);
static_assert(sizeof(std::atomic<float>) == 4 && alignof(std::atomic<float>) == 4);
static_assert(sizeof(ParameterBlock) == 48, "the block is the 48-byte program chunk image");
