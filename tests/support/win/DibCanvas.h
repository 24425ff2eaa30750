#pragma once
// A 32-bit top-down DIB section selected into a memory DC: a drawing target
// whose pixels a test reads directly, exactly as drawn.
#include <windows.h>

#include <cstdint>
#include <optional>

#include "GdiHandles.h"

namespace kinetile::test {

class DibCanvas {
public:
    DibCanvas(int width, int height);
    DibCanvas(const DibCanvas&) = delete;
    DibCanvas& operator=(const DibCanvas&) = delete;

    HDC dc() const { return dc_.get(); }
    HBITMAP bitmap() const { return bitmap_.get(); }
    int Width() const { return width_; }
    int Height() const { return height_; }

    // Colours as RGB values (red + 256 * green + 65536 * blue).
    int32_t At(int x, int y) const;
    void Set(int x, int y, int32_t color);
    void Fill(int32_t color);
    bool SameAs(const DibCanvas& other) const;

private:
    int width_, height_;
    uint32_t* bits_ = nullptr;
    BitmapHandle bitmap_;
    MemoryDC dc_;
    std::optional<SelectedObject> selected_;
};

// How many more GDI objects this process can create before the system
// refuses: a leak of one object shows as one less. Wine reports no count
// through GetGuiResources, so the objects are counted by creating them.
int FreeGdiSlots();

}  // namespace kinetile::test
