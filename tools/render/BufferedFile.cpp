#include "tools/render/BufferedFile.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace render {

BufferedFile::BufferedFile(int fd) : fd_(fd) { pending_.reserve(kFlushSize); }

BufferedFile::~BufferedFile() {
    if (fd_ >= 0) ::close(fd_);
}

void BufferedFile::fail() {
    if (failure_.empty()) failure_ = std::strerror(errno);
}

int64_t BufferedFile::length() const {
    return std::max(writtenLength_, pendingStart_ + static_cast<int64_t>(pending_.size()));
}

bool BufferedFile::flush() {
    const auto start = std::chrono::steady_clock::now();
    std::size_t done = 0;
    while (done < pending_.size()) {
        const ssize_t put = ::pwrite(fd_, pending_.data() + done, pending_.size() - done,
                                     static_cast<off_t>(pendingStart_ + static_cast<int64_t>(done)));
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) {
            if (put == 0) errno = ENOSPC;
            fail();
            return false;
        }
        done += static_cast<std::size_t>(put);
    }
    writtenLength_ = std::max(writtenLength_, pendingStart_ + static_cast<int64_t>(pending_.size()));
    systemSeconds_ += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    pending_.clear();
    pendingStart_ = position_;
    return true;
}

int64_t BufferedFile::write(const void* data, int64_t count) {
    if (count <= 0) return 0;
    // Only writes that continue the pending bytes can join them.
    if (!pending_.empty() && position_ != pendingStart_ + static_cast<int64_t>(pending_.size()) && !flush()) return 0;
    if (pending_.empty()) pendingStart_ = position_;
    const auto* bytes = static_cast<const uint8_t*>(data);
    pending_.insert(pending_.end(), bytes, bytes + count);
    position_ += count;
    if (pending_.size() >= kFlushSize && !flush()) return 0;
    return count;
}

int64_t BufferedFile::read(void* data, int64_t count) {
    if (!flush()) return 0;
    int64_t done = 0;
    while (done < count) {
        const ssize_t got = ::pread(fd_, static_cast<uint8_t*>(data) + done, static_cast<std::size_t>(count - done),
                                    static_cast<off_t>(position_ + done));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) fail();
        if (got <= 0) break;
        done += got;
    }
    position_ += done;
    return done;
}

int64_t BufferedFile::seek(int64_t offset, int whence) {
    int64_t target = offset;
    if (whence == SEEK_CUR) target = position_ + offset;
    if (whence == SEEK_END) target = length() + offset;
    if (target < 0) return -1;
    position_ = target;
    return position_;
}

bool BufferedFile::close() {
    bool ok = flush();
    if (::close(fd_) != 0 && ok) {
        fail();
        ok = false;
    }
    fd_ = -1;
    return ok;
}

}  // namespace render
