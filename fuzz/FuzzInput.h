// Reads values from the fuzzer's bytes, front to back. When the bytes run
// out every read gives zero, so a target never needs to check the length.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

class FuzzInput {
public:
    FuzzInput(const uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool empty() const { return position_ >= size_; }
    std::size_t remaining() const { return empty() ? 0 : size_ - position_; }

    uint8_t byte() { return empty() ? 0 : data_[position_++]; }

    uint16_t u16() { return static_cast<uint16_t>(byte() | (byte() << 8)); }

    uint32_t u32() { return static_cast<uint32_t>(u16()) | (static_cast<uint32_t>(u16()) << 16); }

    // An integer in [low, high].
    int32_t range(int32_t low, int32_t high) {
        const uint32_t span = static_cast<uint32_t>(high - low) + 1u;
        return low + static_cast<int32_t>(span == 0 ? u32() : u32() % span);
    }

    // Any float bit pattern: NaN, infinities and denormals included.
    float anyFloat() {
        const uint32_t bits = u32();
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }

    // A float in [low, high].
    float between(float low, float high) { return low + (high - low) * (static_cast<float>(u16()) / 65535.0f); }

    std::vector<uint8_t> bytes(std::size_t count) {
        std::vector<uint8_t> out;
        while (count-- > 0 && !empty()) out.push_back(byte());
        return out;
    }

private:
    const uint8_t* data_;
    std::size_t size_;
    std::size_t position_ = 0;
};
