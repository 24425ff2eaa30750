// The POSIX file system, for the native builds of the tools and tests.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "GifFile.h"

namespace kinetile {
namespace {

class PosixFile final : public GifFileHandle {
public:
    explicit PosixFile(int fd) : fd_(fd) {}
    ~PosixFile() override { ::close(fd_); }
    PosixFile(const PosixFile&) = delete;
    PosixFile& operator=(const PosixFile&) = delete;

    bool Read(uint8_t* buffer, size_t count, size_t& got) override {
        ssize_t n;
        do n = ::read(fd_, buffer, count);
        while (n < 0 && errno == EINTR);
        if (n < 0) return false;
        got = static_cast<size_t>(n);
        return true;
    }
    bool Length(uint64_t& length) override {
        struct stat info;
        if (::fstat(fd_, &info) != 0) return false;
        length = static_cast<uint64_t>(info.st_size);
        return true;
    }
    bool Rewind() override { return ::lseek(fd_, 0, SEEK_SET) == 0; }

private:
    int fd_;
};

class PosixFileSystem final : public GifFileSystem {
public:
    bool IsFile(const std::string& path) override {
        struct stat info;
        return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
    }
    std::unique_ptr<GifFileHandle> Open(const std::string& path) override {
        int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) return nullptr;
        return std::make_unique<PosixFile>(fd);
    }
};

}  // namespace

GifFileSystem& NativeFileSystem() {
    static PosixFileSystem files;
    return files;
}

}  // namespace kinetile
