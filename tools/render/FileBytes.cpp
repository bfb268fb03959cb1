#include "tools/render/FileBytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

namespace render {

namespace {

// Files larger than this are not MIDI files or presets anyone wrote by hand,
// and reading them whole would only waste memory.
constexpr off_t kLargestReadableFile = off_t{1} << 30;

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool readAll(int fd, std::vector<uint8_t>& bytes) {
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        const ssize_t got = ::read(fd, bytes.data() + filled, bytes.size() - filled);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return got == 0;
        filled += static_cast<std::size_t>(got);
    }
    return true;
}

bool writeAll(int fd, const std::vector<uint8_t>& bytes) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t put = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return false;
        written += static_cast<std::size_t>(put);
    }
    return true;
}

}  // namespace

std::string systemReason() { return std::strerror(errno); }

std::optional<std::vector<uint8_t>> readFileBytes(const std::string& path, std::string& error) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = path + ": cannot open (" + systemReason() + ")";
        return std::nullopt;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        error = path + ": not a regular file";
        ::close(fd);
        return std::nullopt;
    }
    if (info.st_size > kLargestReadableFile) {
        error = path + ": too large (" + std::to_string(info.st_size) + " bytes)";
        ::close(fd);
        return std::nullopt;
    }
    std::vector<uint8_t> bytes(static_cast<std::size_t>(info.st_size));
    const bool complete = readAll(fd, bytes);
    ::close(fd);
    if (!complete) {
        error = path + ": cannot read (" + systemReason() + ")";
        return std::nullopt;
    }
    return bytes;
}

int createTemporaryNextTo(const std::string& target, std::string& tempPath, std::string& error) {
    static std::atomic<unsigned> counter{0};
    struct stat info {};
    if (::stat(target.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
        error = target + ": is a folder, not a file name";
        return -1;
    }
    const std::string folder = folderOf(target);
    for (int attempt = 0; attempt < 100; ++attempt) {
        // A hidden name in the same folder, so the final rename stays on one file system.
        tempPath = folder + "/." + nameOf(target) + "." + std::to_string(::getpid()) + "." +
                   std::to_string(counter++) + ".part";
        const int fd = ::open(tempPath.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) return fd;
        if (errno != EEXIST) {
            error = target + ": cannot write in " + folder + " (" + systemReason() + ")";
            return -1;
        }
    }
    error = target + ": cannot find a free temporary name in " + folder;
    return -1;
}

bool replaceWithTemporary(const std::string& tempPath, const std::string& target, std::string& error) {
    if (::rename(tempPath.c_str(), target.c_str()) != 0) {
        error = target + ": cannot replace the file (" + systemReason() + ")";
        ::unlink(tempPath.c_str());
        return false;
    }
    return true;
}

bool writeFileReplacing(const std::string& path, const std::vector<uint8_t>& bytes, std::string& error) {
    std::string tempPath;
    const int fd = createTemporaryNextTo(path, tempPath, error);
    if (fd < 0) return false;
    const bool written = writeAll(fd, bytes);
    const std::string reason = written ? std::string() : systemReason();
    if (::close(fd) != 0 || !written) {
        error = path + ": cannot write (" + (written ? systemReason() : reason) + ")";
        ::unlink(tempPath.c_str());
        return false;
    }
    return replaceWithTemporary(tempPath, path, error);
}

}  // namespace render
