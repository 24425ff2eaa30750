#pragma once
// A 32-bit top-down DIB section selected into a memory DC: a drawing surface
// whose pixels can be read and written directly.
#include <windows.h>

#include <cstdint>
#include <optional>

#include "GdiHandles.h"

namespace kinetile {

class DibSurface {
public:
    DibSurface(int width, int height);
    DibSurface(const DibSurface&) = delete;
    DibSurface& operator=(const DibSurface&) = delete;

    HDC dc() const { return dc_.get(); }
    HBITMAP bitmap() const { return bitmap_.get(); }
    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Valid() const { return bits_ != nullptr; }

    // Colours as RGB values (red + 256 * green + 65536 * blue).
    int32_t At(int x, int y) const;
    void Set(int x, int y, int32_t color);
    void Fill(int32_t color);
    bool SameAs(const DibSurface& other) const;
    // Raw pixels (0x00RRGGBB), for loops over the whole surface.
    uint32_t* Pixels() { return bits_; }
    const uint32_t* Pixels() const { return bits_; }

private:
    int width_, height_;
    uint32_t* bits_ = nullptr;
    BitmapHandle bitmap_;
    MemoryDC dc_;
    std::optional<SelectedObject> selected_;
};

}  // namespace kinetile
