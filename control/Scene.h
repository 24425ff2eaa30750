#pragma once
// The control's off-screen frame buffer: a memory DC with a bitmap the size
// of the image, the key colour that stands for transparent pixels in it, where
// it is copied onto the control, and (where the system lacks
// GdiTransparentBlt) the hit region of the first frame's painted pixels.
#include <windows.h>

#include <cstdint>
#include <optional>

#include "GdiHandles.h"

namespace kinetile {

class Scene {
public:
    Scene() = default;
    ~Scene() { ReleaseScene(); }
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    HRGN hRegion() const { return m_hRegion.get(); }
    int32_t Y() const { return m_Y; }
    void Y(int32_t vData) { m_Y = vData; }
    int32_t X() const { return m_X; }
    void X(int32_t vData) { m_X = vData; }
    int32_t BackColor() const { return m_BackColor; }
    void BackColor(int32_t vData) { m_BackColor = vData; }

    // Makes the buffer in the format of `hdcDec` (the control's DC),
    // releasing any earlier buffer and region first.
    void CreateScene(HDC hdcDec, int32_t lWidth, int32_t lHeight);
    // Builds the hit region from an 8-bit bitmap: every pixel whose index is
    // not `Trans`, shifted by (X, Y) as they are now. Other depths build none.
    void CreateRegion(HBITMAP hBmp, int16_t Trans);
    HDC hdc() const { return m_hDC.get(); }

private:
    void ReleaseScene();
    void BuildRegion(const BITMAP& description, HBITMAP hBmp, int16_t Trans);

    int32_t m_BackColor = 0;
    int32_t m_X = 0;
    int32_t m_Y = 0;
    RegionHandle m_hRegion;
    // Declared so that destruction puts the old bitmap back into the DC,
    // then deletes the DC, then the buffer bitmap.
    BitmapHandle m_hBitmap;
    MemoryDC m_hDC;
    std::optional<SelectedObject> m_hOldBitmap;
};

}  // namespace kinetile
