#include "GifFile.h"

#include <cstring>
#include <limits>
#include <new>

namespace kinetile {
namespace {

// Reads until `count` bytes are in or the file ends; false on a read error.
bool ReadUpTo(GifFileHandle& file, uint8_t* buffer, size_t count, size_t& total) {
    total = 0;
    while (total < count) {
        size_t got = 0;
        if (!file.Read(buffer + total, count - total, got)) return false;
        if (got == 0) break;
        total += got;
    }
    return true;
}

int32_t ReadFailed(std::vector<uint8_t>& data) {
    data.clear();
    return kGifFileReadFailed;
}

}  // namespace

int32_t LoadGifFile(GifFileSystem& files, const std::string& path, std::vector<uint8_t>& data) {
    if (path.empty() || !files.IsFile(path)) return kGifFileMissing;
    std::unique_ptr<GifFileHandle> file = files.Open(path);
    if (!file) return kGifFileMissing;

    uint8_t signature[6];
    size_t got = 0;
    if (!ReadUpTo(*file, signature, sizeof signature, got)) return kGifFileMissing;
    // A file of fewer than six bytes cannot carry a signature.
    if (got < sizeof signature ||
        (std::memcmp(signature, "GIF87a", 6) != 0 && std::memcmp(signature, "GIF89a", 6) != 0))
        return kGifFileNotGif;

    uint64_t length = 0;
    // The result carries the length in 32 bits: a larger file cannot be
    // returned whole, which is the "reading it whole failed" case.
    if (!file->Length(length) || length > uint64_t{std::numeric_limits<int32_t>::max()})
        return ReadFailed(data);
    std::vector<uint8_t> bytes;
    try {
        bytes.resize(static_cast<size_t>(length));
    } catch (const std::exception&) {  // bad_alloc, or length_error on a 32-bit host
        return ReadFailed(data);
    }
    if (!file->Rewind() || !ReadUpTo(*file, bytes.data(), bytes.size(), got) || got != bytes.size())
        return ReadFailed(data);
    data = std::move(bytes);
    return static_cast<int32_t>(data.size());
}

int32_t LoadGifFile(const std::string& path, std::vector<uint8_t>& data) {
    return LoadGifFile(NativeFileSystem(), path, data);
}

}  // namespace kinetile
