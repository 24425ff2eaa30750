// The Win32 file system: GetFileAttributesW counts hidden, read-only and
// system files as files and directories not, and the wide API takes any path.
#include <windows.h>

#include "GifFile.h"
#include "TextConvert.h"

namespace kinetile {
namespace {

class Win32File final : public GifFileHandle {
public:
    explicit Win32File(HANDLE handle) : handle_(handle) {}
    ~Win32File() override { CloseHandle(handle_); }
    Win32File(const Win32File&) = delete;
    Win32File& operator=(const Win32File&) = delete;

    bool Read(uint8_t* buffer, size_t count, size_t& got) override {
        DWORD chunk = count > 0x40000000 ? 0x40000000 : static_cast<DWORD>(count);
        DWORD read = 0;
        if (!ReadFile(handle_, buffer, chunk, &read, nullptr)) return false;
        got = read;
        return true;
    }
    bool Length(uint64_t& length) override {
        LARGE_INTEGER size;
        if (!GetFileSizeEx(handle_, &size)) return false;
        length = static_cast<uint64_t>(size.QuadPart);
        return true;
    }
    bool Rewind() override {
        LARGE_INTEGER zero{};
        return SetFilePointerEx(handle_, zero, nullptr, FILE_BEGIN) != 0;
    }

private:
    HANDLE handle_;
};

class Win32FileSystem final : public GifFileSystem {
public:
    bool IsFile(const std::string& path) override {
        DWORD attributes = GetFileAttributesW(Utf8ToWide(path).c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    }
    std::unique_ptr<GifFileHandle> Open(const std::string& path) override {
        HANDLE handle = CreateFileW(Utf8ToWide(path).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) return nullptr;
        return std::make_unique<Win32File>(handle);
    }
};

}  // namespace

GifFileSystem& NativeFileSystem() {
    static Win32FileSystem files;
    return files;
}

}  // namespace kinetile
