// A file written through a large buffer. The audio library writes a few
// kilobytes at a time; a system call for each of them would cost as much as a
// good part of the rendering itself, so writes collect here and reach the
// file a megabyte at a time. Seeks and reads (the library goes back to fill
// in its headers) write out what is pending first.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace render {

class BufferedFile {
public:
    // Takes over the open file descriptor.
    explicit BufferedFile(int fd);
    // Closes without writing out what is pending; use close() to keep it.
    ~BufferedFile();

    int64_t write(const void* data, int64_t count);
    int64_t read(void* data, int64_t count);
    // `whence` as for lseek; returns the new position or -1.
    int64_t seek(int64_t offset, int whence);
    int64_t tell() const { return position_; }
    int64_t length() const;

    // Writes out what is pending and closes the file; false on failure.
    bool close();
    // Why the first failed system call failed, or empty.
    const std::string& failure() const { return failure_; }
    // Time spent in the system's writes so far.
    double systemSeconds() const { return systemSeconds_; }

    BufferedFile(const BufferedFile&) = delete;
    BufferedFile& operator=(const BufferedFile&) = delete;

private:
    bool flush();
    void fail();

    static constexpr std::size_t kFlushSize = std::size_t{1} << 20;

    int fd_;
    std::vector<uint8_t> pending_;
    int64_t pendingStart_ = 0;  // file offset of pending_[0]
    int64_t position_ = 0;
    int64_t writtenLength_ = 0;  // the file's length without what is pending
    std::string failure_;
    double systemSeconds_ = 0.0;
};

}  // namespace render
