#pragma once
// Reading a whole GIF file into a byte array, after checking that the file
// exists and carries a GIF signature.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kinetile {

// Result codes of LoadGifFile.
constexpr int32_t kGifFileNotGif = -2;     // exists, but no GIF87a/GIF89a signature
constexpr int32_t kGifFileMissing = -1;    // no such file, or it cannot be opened or read
constexpr int32_t kGifFileReadFailed = 0;  // a GIF, but reading it whole failed

// An open file, as much as the reader needs of it.
class GifFileHandle {
public:
    virtual ~GifFileHandle() = default;
    // Reads up to `count` bytes from the current position; false on an error.
    virtual bool Read(uint8_t* buffer, size_t count, size_t& got) = 0;
    virtual bool Length(uint64_t& length) = 0;
    virtual bool Rewind() = 0;
};

// The file system as the reader sees it, so that each platform answers with
// its own rules (on Windows hidden, read-only and system files count).
class GifFileSystem {
public:
    virtual ~GifFileSystem() = default;
    // True when the path names a file; directories do not count.
    virtual bool IsFile(const std::string& path) = 0;
    virtual std::unique_ptr<GifFileHandle> Open(const std::string& path) = 0;
};

// The platform's own file system (Win32 API on Windows, POSIX elsewhere).
GifFileSystem& NativeFileSystem();

// Returns the file length (> 0) with `data` holding the whole file, or one of
// the codes above. `data` is only changed when the code is the length or 0.
// `path` is UTF-8.
int32_t LoadGifFile(GifFileSystem& files, const std::string& path, std::vector<uint8_t>& data);
int32_t LoadGifFile(const std::string& path, std::vector<uint8_t>& data);

}  // namespace kinetile
