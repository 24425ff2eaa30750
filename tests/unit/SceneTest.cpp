// The frame buffer and hit region on real GDI.
#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <utility>

#include "DibCanvas.h"
#include "GdiHandles.h"
#include "Scene.h"

namespace kinetile {
namespace {

using Pixel = std::pair<int, int>;
using test::DibCanvas;

// An 8-bit device-dependent bitmap with the given rows (padded to the word
// boundary that such bitmaps keep in memory).
BitmapHandle EightBitBitmap(int width, int height, const std::vector<uint8_t>& values) {
    const int stride = (width + 1) & ~1;
    std::vector<uint8_t> rows(static_cast<size_t>(stride * height), 0xEE);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            rows[static_cast<size_t>(y * stride + x)] = values[static_cast<size_t>(y * width + x)];
    return BitmapHandle(CreateBitmap(width, height, 1, 8, rows.data()));
}

std::set<Pixel> Covered(HRGN region, int width, int height) {
    std::set<Pixel> pixels;
    for (int y = -2; y < height + 2; ++y)
        for (int x = -2; x < width + 2; ++x)
            if (PtInRegion(region, x, y)) pixels.insert({x, y});
    return pixels;
}

std::vector<RECT> Rectangles(HRGN region) {
    DWORD size = GetRegionData(region, 0, nullptr);
    std::vector<char> buffer(size);
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    GetRegionData(region, size, data);
    const RECT* r = reinterpret_cast<const RECT*>(data->Buffer);
    return std::vector<RECT>(r, r + data->rdh.nCount);
}

constexpr uint8_t T = 5, A = 9;

TEST(SceneRegion, CoversExactlyTheNonTransparentPixelsAtTheOffset) {
    struct Case {
        const char* what;
        int width, height;
        std::vector<uint8_t> values;
        int x, y;
        std::set<Pixel> covered;
    } cases[] = {
        {"T A A T", 4, 1, {T, A, A, T}, 10, 20, {{11, 20}, {12, 20}}},
        {"T T T A", 4, 1, {T, T, T, A}, 0, 0, {{3, 0}}},
        {"A T A twice", 3, 2, {A, T, A, A, T, A}, 0, 0, {{0, 0}, {2, 0}, {0, 1}, {2, 1}}},
        {"odd width, padded rows", 3, 3, {A, A, T, T, A, T, A, T, A}, 1, 1, {{1, 1}, {2, 1}, {2, 2}, {1, 3}, {3, 3}}},
    };
    DibCanvas reference(4, 4);
    for (const Case& c : cases) {
        Scene scene;
        scene.CreateScene(reference.dc(), 8, 8);
        scene.X(c.x);
        scene.Y(c.y);
        BitmapHandle bitmap = EightBitBitmap(c.width, c.height, c.values);
        BITMAP info{};
        GetObjectA(bitmap.get(), sizeof info, &info);
        ASSERT_EQ(info.bmBitsPixel, 8) << c.what;
        scene.CreateRegion(bitmap.get(), T);
        ASSERT_NE(scene.hRegion(), nullptr) << c.what;
        EXPECT_EQ(Covered(scene.hRegion(), 40, 40), c.covered) << c.what;
    }
}

TEST(SceneRegion, OneRunIsOneRectangleWithExclusiveEdges) {
    DibCanvas reference(4, 4);
    Scene scene;
    scene.CreateScene(reference.dc(), 4, 1);
    scene.X(3);
    scene.Y(2);
    BitmapHandle bitmap = EightBitBitmap(4, 1, {T, A, A, T});
    scene.CreateRegion(bitmap.get(), T);
    std::vector<RECT> rects = Rectangles(scene.hRegion());
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_EQ(rects[0].left, 4);
    EXPECT_EQ(rects[0].top, 2);
    EXPECT_EQ(rects[0].right, 6);  // X + 3
    EXPECT_EQ(rects[0].bottom, 3);
    // Moving the buffer afterwards does not move the region.
    scene.X(50);
    EXPECT_EQ(Rectangles(scene.hRegion())[0].left, 4);
}

TEST(SceneRegion, AllTransparentGivesAnEmptyRegionAndOtherDepthsNone) {
    DibCanvas reference(4, 4);
    Scene scene;
    scene.CreateScene(reference.dc(), 4, 4);
    BitmapHandle clear = EightBitBitmap(2, 2, {T, T, T, T});
    scene.CreateRegion(clear.get(), T);
    ASSERT_NE(scene.hRegion(), nullptr);
    RECT box;
    EXPECT_EQ(GetRgnBox(scene.hRegion(), &box), NULLREGION);

    Scene deep;
    deep.CreateScene(reference.dc(), 4, 4);
    DibCanvas thirtyTwo(3, 3);
    BitmapHandle twentyFour(CreateBitmap(3, 3, 1, 24, nullptr));
    deep.CreateRegion(thirtyTwo.bitmap(), 0);
    deep.CreateRegion(twentyFour.get(), 0);
    deep.CreateRegion(nullptr, 0);
    EXPECT_EQ(deep.hRegion(), nullptr);
}

TEST(Scene, BufferHasTheControlsFormatAndTheRequestedSize) {
    DibCanvas reference(4, 4);
    Scene scene;
    EXPECT_EQ(scene.hdc(), nullptr);
    scene.CreateScene(reference.dc(), 89, 98);
    ASSERT_NE(scene.hdc(), nullptr);
    BITMAP info{};
    GetObjectA(GetCurrentObject(scene.hdc(), OBJ_BITMAP), sizeof info, &info);
    EXPECT_EQ(info.bmWidth, 89);
    EXPECT_EQ(info.bmHeight, 98);
    EXPECT_EQ(info.bmBitsPixel, 32);
}

TEST(Scene, ASecondBufferReleasesTheFirstBufferAndItsRegion) {
    DibCanvas reference(4, 4);
    Scene scene;
    scene.CreateScene(reference.dc(), 10, 10);
    BitmapHandle bitmap = EightBitBitmap(2, 1, {A, T});
    scene.CreateRegion(bitmap.get(), T);
    HDC firstDC = scene.hdc();
    HGDIOBJ firstBitmap = GetCurrentObject(firstDC, OBJ_BITMAP);
    HRGN firstRegion = scene.hRegion();
    ASSERT_NE(firstRegion, nullptr);

    scene.CreateScene(reference.dc(), 20, 20);
    EXPECT_EQ(scene.hRegion(), nullptr);
    EXPECT_EQ(GetObjectType(firstBitmap), 0u) << "the first buffer bitmap is deleted";
    EXPECT_EQ(GetObjectType(firstRegion), 0u) << "the region is deleted";
    if (scene.hdc() != firstDC) {
        EXPECT_EQ(GetObjectType(firstDC), 0u) << "the first DC is deleted";
    }
}

}  // namespace
}  // namespace kinetile
