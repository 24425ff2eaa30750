#include "FramePicture.h"

#include <olectl.h>

#include <cstring>
#include <utility>

#include "MessageBox.h"

namespace kinetile {

const wchar_t* const kControlMessageTitle = L"KinetileLib";

namespace {

// A movable global block; the stream made over it takes it over.
class GlobalBlock {
public:
    explicit GlobalBlock(size_t size) : handle_(GlobalAlloc(GMEM_MOVEABLE, size)) {}
    ~GlobalBlock() {
        if (handle_) GlobalFree(handle_);
    }
    GlobalBlock(const GlobalBlock&) = delete;
    GlobalBlock& operator=(const GlobalBlock&) = delete;
    HGLOBAL get() const { return handle_; }
    HGLOBAL release() { return std::exchange(handle_, nullptr); }

private:
    HGLOBAL handle_;
};

}  // namespace

ComPtr<IPicture> PictureFromBytes(std::span<const uint8_t> bytes) {
    if (bytes.empty()) {
        // Indexing the first byte of an empty array is the subscript error.
        ShowMessageBox(nullptr, L"9 - 下标越界", kControlMessageTitle, MB_OK);
        return nullptr;
    }
    GlobalBlock block(bytes.size());
    if (!block.get()) return nullptr;
    void* memory = GlobalLock(block.get());
    if (!memory) return nullptr;
    std::memcpy(memory, bytes.data(), bytes.size());
    GlobalUnlock(block.get());

    ComPtr<IStream> stream;
    if (FAILED(CreateStreamOnHGlobal(block.get(), TRUE, stream.put()))) return nullptr;
    block.release();  // freed with the stream from here on

    IID pictureId;
    if (FAILED(CLSIDFromString(L"{7BF80980-BF32-101A-8BBB-00AA00300CAB}", &pictureId))) return nullptr;
    ComPtr<IPicture> picture;
    // The loader's return code is not examined: what it hands back is the result.
    OleLoadPicture(stream.get(), static_cast<LONG>(bytes.size()), FALSE, pictureId, picture.put_void());
    return picture;
}

}  // namespace kinetile
