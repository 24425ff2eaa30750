// Drawing primitives on real GDI, checked pixel by pixel.
#include <gtest/gtest.h>
#include <windows.h>

#include <random>

#include "DibCanvas.h"
#include "Drawing.h"
#include "FramePicture.h"
#include "GifIndex.h"
#include "GifWriter.h"
#include "FrameGif.h"
#include "ShadeColor.h"

namespace kinetile {
namespace {

using test::DibCanvas;

constexpr int32_t kSentinel = 0x123456;

// Which of the light (bottom, right) and dark (top, left) edges a pixel of
// a w x h 3D border belongs to, or neither.
enum class Edge { None, Light, Dark };
Edge SunkenEdge(int x, int y, int w, int h) {
    if (y == h - 1 || x == w - 1) {
        // (w-1, 0) is the end of the right edge, drawn over by the dark top edge.
        return (x == w - 1 && y == 0) ? Edge::Dark : Edge::Light;
    }
    if (y == 0 || x == 0) return Edge::Dark;
    return Edge::None;
}

TEST(DrawBorder, SunkenFrameLightensBottomRightAndDarkensTopLeft) {
    const int32_t color = 128 + 128 * 256 + 128 * 65536;
    const int32_t light = ShadeColor(color, 0.75f);
    const int32_t dark = ShadeColor(color, -0.45f);
    ASSERT_EQ(light, 223 * 0x010101);
    ASSERT_EQ(dark, 58 * 0x010101);
    for (auto [w, h] : {std::pair{3, 3}, {5, 4}, {2, 7}, {40, 2}}) {
        DibCanvas canvas(w, h);
        canvas.Fill(kSentinel);
        DrawBorder(canvas.dc(), color, kBorder3D, w, h);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const Edge edge = SunkenEdge(x, y, w, h);
                const int32_t expected = edge == Edge::Light ? light : edge == Edge::Dark ? dark : kSentinel;
                EXPECT_EQ(canvas.At(x, y), expected) << w << "x" << h << " at " << x << "," << y;
            }
        }
    }
}

TEST(DrawBorder, FlatDrawsOnlyTheOutermostRing) {
    const int32_t color = 0x00C0FF;
    for (auto [w, h] : {std::pair{3, 3}, {5, 4}, {9, 6}}) {
        DibCanvas canvas(w, h);
        canvas.Fill(kSentinel);
        DrawBorder(canvas.dc(), color, kBorderFlat, w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const bool ring = x == 0 || y == 0 || x == w - 1 || y == h - 1;
                EXPECT_EQ(canvas.At(x, y), ring ? color : kSentinel) << x << "," << y;
            }
    }
}

TEST(DrawBorder, OtherStylesDrawNothingAndNoStyleLeavesAPenBehind) {
    for (int32_t style : {0, 3, -1, 99}) {
        DibCanvas canvas(6, 6);
        canvas.Fill(kSentinel);
        DrawBorder(canvas.dc(), 0xFF, style, 6, 6);
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 6; ++x) EXPECT_EQ(canvas.At(x, y), kSentinel);
    }
    DibCanvas canvas(6, 6);
    HGDIOBJ pen = GetCurrentObject(canvas.dc(), OBJ_PEN);
    HGDIOBJ brush = GetCurrentObject(canvas.dc(), OBJ_BRUSH);
    for (int32_t style : {kBorder3D, kBorderFlat}) {
        DrawBorder(canvas.dc(), 0xFF, style, 6, 6);
        EXPECT_EQ(GetCurrentObject(canvas.dc(), OBJ_PEN), pen);
        EXPECT_EQ(GetCurrentObject(canvas.dc(), OBJ_BRUSH), brush);
    }
}

TEST(HasGdiTransparentBlt, FindsTheSystemCall) {
    EXPECT_EQ(HasGdiTransparentBlt(), 1);
    EXPECT_NE(SystemTransparentBlt(), nullptr);
}

// Random images over a few colours, so the key colour occurs often.
void FillRandom(DibCanvas& canvas, std::mt19937& rng, const std::vector<int32_t>& colors) {
    std::uniform_int_distribution<size_t> pick(0, colors.size() - 1);
    for (int y = 0; y < canvas.Height(); ++y)
        for (int x = 0; x < canvas.Width(); ++x) canvas.Set(x, y, colors[pick(rng)]);
}

TEST(TransparentBltMasked, LeavesExactlyThePixelsTheSystemCallLeaves) {
    std::mt19937 rng(20261211);
    const std::vector<int32_t> colors = {0x000000, 0xFFFFFF, 0x0000FF, 0x00FF00, 0x808080, 0x010000, 0xFEFCFC};
    for (int round = 0; round < 12; ++round) {
        const int w = 1 + static_cast<int>(rng() % 40), h = 1 + static_cast<int>(rng() % 30);
        const int32_t key = colors[rng() % colors.size()];
        DibCanvas source(w, h), masked(w + 10, h + 8), system(w + 10, h + 8);
        FillRandom(source, rng, colors);
        FillRandom(masked, rng, colors);
        for (int y = 0; y < masked.Height(); ++y)
            for (int x = 0; x < masked.Width(); ++x) system.Set(x, y, masked.At(x, y));
        DibCanvas before(w + 10, h + 8);
        BitBlt(before.dc(), 0, 0, w + 10, h + 8, masked.dc(), 0, 0, SRCCOPY);

        TransparentBltMasked(masked.dc(), 5, 3, w, h, source.dc(), 0, 0, key);
        SystemTransparentBlt()(system.dc(), 5, 3, w, h, source.dc(), 0, 0, w, h, static_cast<UINT>(key));

        ASSERT_TRUE(masked.SameAs(system)) << "round " << round << ", " << w << "x" << h;
        for (int y = 0; y < masked.Height(); ++y)
            for (int x = 0; x < masked.Width(); ++x) {
                const bool inside = x >= 5 && y >= 3 && x < 5 + w && y < 3 + h;
                const int32_t expected = inside && source.At(x - 5, y - 3) != key ? source.At(x - 5, y - 3) : before.At(x, y);
                ASSERT_EQ(masked.At(x, y), expected) << x << "," << y;
            }
    }
}

TEST(TransparentBltMasked, KeepsTheSourceBackgroundColour) {
    DibCanvas source(4, 4), dest(4, 4);
    SetBkColor(source.dc(), 0x00ABCDEF);
    TransparentBltMasked(dest.dc(), 0, 0, 4, 4, source.dc(), 0, 0, 0x000000);
    EXPECT_EQ(GetBkColor(source.dc()), 0x00ABCDEFu);
}

// Pictures of frames made by the test writer, whose pixels the test knows.
struct Animation {
    std::vector<uint8_t> data;
    std::vector<GifFrame> frames;
    GifScreen screen;
    int32_t tableSize = 0;

    explicit Animation(std::vector<uint8_t> bytes) : data(std::move(bytes)) {
        IndexGifFrames(data, frames, screen, tableSize, true);
    }
    ComPtr<IPicture> Picture(size_t i) const {
        std::vector<uint8_t> single;
        BuildFrameGif(data, frames[i], tableSize, single);
        return PictureFromBytes(single);
    }
};

const std::vector<test::Rgb> kPalette = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}};

// Frame 0: 6 x 4 at (0, 0), all index 0 (red), disposal 2.
// Frame 1: 2 x 2 at (3, 1), indices 1, 2 / 2, 3 with 3 transparent, disposal from the caller.
Animation TwoFrames(int secondDisposal) {
    return Animation(test::GifWriter().Signature().Screen(6, 4, kPalette)
        .GraphicControl(10, 2).SolidImage(0, 0, 6, 4, 0)
        .GraphicControl(10, secondDisposal, 3).Image(3, 1, 2, 2, {1, 2, 2, 3})
        .GraphicControl(10, 1).Image(0, 0, 1, 1, {2}).Trailer().Bytes());
}

TEST(DrawFrame, FirstFrameClearsTheWholeScreenToTheBackground) {
    Animation a = TwoFrames(1);
    DibCanvas canvas(8, 6);
    canvas.Fill(kSentinel);
    GifFrame small = a.frames[2];  // a 1 x 1 frame over a 6 x 4 screen
    DrawFrame(canvas.dc(), a.Picture(2).get(), small, 0x00FF00FF, PseudoPreviousFrame(6, 4), 1, 1);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x) {
            const bool screen = x >= 1 && y >= 1 && x < 7 && y < 5;
            const int32_t expected = (x == 1 && y == 1) ? 0xFF0000 /* blue */ : screen ? 0xFF00FF : kSentinel;
            EXPECT_EQ(canvas.At(x, y), expected) << x << "," << y;
        }
}

TEST(DrawFrame, RestoreToBackgroundFillsThePreviousRectangleOnly) {
    Animation a = TwoFrames(2);
    for (int mode : {1, 2}) {
        m_TransBltMode = mode;
        DibCanvas canvas(6, 4);
        canvas.Fill(kSentinel);
        // Frame 1 (2 x 2 at 3, 1) was shown with disposal 2; frame 2 is 1 x 1 at 0, 0.
        DrawFrame(canvas.dc(), a.Picture(2).get(), a.frames[2], 0x777777, a.frames[1], 0, 0);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 6; ++x) {
                const bool restored = x >= 3 && x < 5 && y >= 1 && y < 3;
                const int32_t expected = (x == 0 && y == 0) ? 0xFF0000 : restored ? 0x777777 : kSentinel;
                EXPECT_EQ(canvas.At(x, y), expected) << "mode " << mode << " at " << x << "," << y;
            }
    }
    m_TransBltMode = 0;
}

TEST(DrawFrame, OtherDisposalsLeaveTheCanvasAndTransparentPixelsShowThrough) {
    for (int disposal : {0, 1, 3}) {
        Animation a = TwoFrames(disposal);
        for (int mode : {1, 2}) {  // the system's keyed blit and the masked fallback
            m_TransBltMode = mode;
            DibCanvas canvas(6, 4);
            canvas.Fill(kSentinel);
            DrawFrame(canvas.dc(), a.Picture(1).get(), a.frames[1], 0x777777, a.frames[1], 0, 0);
            EXPECT_EQ(canvas.At(3, 1), 0x00FF00) << disposal;
            EXPECT_EQ(canvas.At(4, 1), 0xFF0000);
            EXPECT_EQ(canvas.At(3, 2), 0xFF0000);
            EXPECT_EQ(canvas.At(4, 2), kSentinel) << "transparent pixel, mode " << mode;
            EXPECT_EQ(canvas.At(0, 0), kSentinel);
        }
    }
    m_TransBltMode = 0;
}

TEST(DrawFrame, WithoutAPictureOnlyTheDisposalHappens) {
    Animation a = TwoFrames(2);
    DibCanvas canvas(6, 4);
    canvas.Fill(kSentinel);
    DrawFrame(canvas.dc(), nullptr, a.frames[2], 0x777777, a.frames[1], 0, 0);
    EXPECT_EQ(canvas.At(3, 1), 0x777777);
    EXPECT_EQ(canvas.At(0, 0), kSentinel);
}

}  // namespace
}  // namespace kinetile
