#include "Scene.h"

#include <vector>

#include "RegionRuns.h"

namespace kinetile {

void Scene::ReleaseScene() {
    m_hOldBitmap.reset();
    m_hDC.reset();
    m_hBitmap.reset();
    m_hRegion.reset();
}

void Scene::CreateScene(HDC hdcDec, int32_t lWidth, int32_t lHeight) {
    ReleaseScene();
    m_hDC = MemoryDC(hdcDec);
    m_hBitmap.reset(CreateCompatibleBitmap(hdcDec, lWidth, lHeight));
    m_hOldBitmap.emplace(m_hDC.get(), m_hBitmap.get());
}

void Scene::CreateRegion(HBITMAP hBmp, int16_t Trans) {
    BITMAP description{};
    if (!hBmp || GetObjectA(hBmp, sizeof description, &description) != sizeof description) return;
    if (description.bmBitsPixel != 8) return;
    m_hRegion.reset();  // the control only asks when there is none; never leak one
    BuildRegion(description, hBmp, Trans);
}

void Scene::BuildRegion(const BITMAP& description, HBITMAP hBmp, int16_t Trans) {
    const int width = description.bmWidth;
    const int height = description.bmHeight;
    const int stride = description.bmWidthBytes;  // rows are padded in memory
    std::vector<uint8_t> bits(static_cast<size_t>(stride) * static_cast<size_t>(height > 0 ? height : 0));
    const LONG got = bits.empty() ? 0 : GetBitmapBits(hBmp, static_cast<LONG>(bits.size()), bits.data());
    bits.resize(static_cast<size_t>(got > 0 ? got : 0));

    RegionHandle region(CreateRectRgn(0, 0, 0, 0));
    for (const PixelRun& run : FindOpaqueRuns(bits, width, height, stride, Trans)) {
        RegionHandle rectangle(CreateRectRgn(m_X + run.x0, m_Y + run.y, m_X + run.x1 + 1, m_Y + run.y + 1));
        CombineRgn(region.get(), region.get(), rectangle.get(), RGN_OR);
    }
    m_hRegion = std::move(region);
}

}  // namespace kinetile
