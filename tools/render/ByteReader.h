// A cursor over a byte range that never reads past its end: every read says
// whether the bytes were there, so a short or corrupt file becomes an error
// message instead of a read beyond the buffer.
#pragma once

#include <cstddef>
#include <cstdint>

namespace render {

class ByteReader {
public:
    // `base` is the offset of data[0] in the whole file, so that positions
    // reported to the user are file offsets.
    ByteReader(const uint8_t* data, std::size_t size, std::size_t base = 0) : data_(data), size_(size), base_(base) {}

    enum class VariableLength { Ok, Truncated, TooLong };

    bool atEnd() const { return position_ >= size_; }
    std::size_t remaining() const { return size_ - position_; }
    std::size_t fileOffset() const { return base_ + position_; }

    bool peekByte(uint8_t& value) const {
        if (atEnd()) return false;
        value = data_[position_];
        return true;
    }
    bool readByte(uint8_t& value) {
        if (!peekByte(value)) return false;
        ++position_;
        return true;
    }
    bool readUint16(uint16_t& value) {
        if (remaining() < 2) return false;
        value = static_cast<uint16_t>((data_[position_] << 8) | data_[position_ + 1]);
        position_ += 2;
        return true;
    }
    bool readUint32(uint32_t& value) {
        if (remaining() < 4) return false;
        value = (static_cast<uint32_t>(data_[position_]) << 24) | (static_cast<uint32_t>(data_[position_ + 1]) << 16) |
                (static_cast<uint32_t>(data_[position_ + 2]) << 8) | static_cast<uint32_t>(data_[position_ + 3]);
        position_ += 4;
        return true;
    }
    // A MIDI variable-length number: seven bits per byte, most significant
    // first, the top bit set on every byte but the last; at most four bytes.
    VariableLength readVariableLength(uint32_t& value) {
        value = 0;
        for (int count = 0; count < 4; ++count) {
            uint8_t byte = 0;
            if (!readByte(byte)) return VariableLength::Truncated;
            value = (value << 7) | (byte & 0x7Fu);
            if ((byte & 0x80u) == 0) return VariableLength::Ok;
        }
        return VariableLength::TooLong;
    }
    // Hands out the next `count` bytes in place.
    bool readBytes(std::size_t count, const uint8_t*& bytes) {
        if (remaining() < count) return false;
        bytes = data_ + position_;
        position_ += count;
        return true;
    }
    bool skip(std::size_t count) {
        const uint8_t* ignored = nullptr;
        return readBytes(count, ignored);
    }

private:
    const uint8_t* data_;
    std::size_t size_;
    std::size_t base_;
    std::size_t position_ = 0;
};

}  // namespace render
