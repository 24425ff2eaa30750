// Drawing many times leaves the process's GDI object count where it was.
#include <gtest/gtest.h>
#include <windows.h>

#include "DibCanvas.h"
#include "Drawing.h"
#include "FrameGif.h"
#include "FramePicture.h"
#include "FrameRender.h"
#include "GifIndex.h"
#include "GifWriter.h"
#include "Scene.h"

namespace kinetile {
namespace {

TEST(HandleBalance, TenThousandRoundsOfDrawingCreateNoLastingObject) {
    std::vector<uint8_t> data = test::TypicalAnimation({.width = 12, .height = 10, .frames = 3, .disposal = 2,
                                                        .transparentIndex = 1});
    std::vector<GifFrame> frames;
    GifScreen screen;
    int32_t tableSize = 0;
    ASSERT_EQ(IndexGifFrames(data, frames, screen, tableSize, true), 3);
    std::vector<uint8_t> single;
    BuildFrameGif(data, frames[1], tableSize, single);
    ComPtr<IPicture> picture = PictureFromBytes(single);
    ASSERT_TRUE(picture);
    test::DibCanvas canvas(16, 12), source(12, 10);

    auto round = [&](int i) {
        m_TransBltMode = 1 + (i & 1);  // the system's keyed blit and the masked fallback in turn
        DrawFrame(canvas.dc(), picture.get(), frames[1], 0x00FF00, frames[0], 2, 1);
        TransparentBltMasked(canvas.dc(), 1, 1, 12, 10, source.dc(), 0, 0, 0);
        DrawBorder(canvas.dc(), 0x808080, 1 + (i & 1), 16, 12);
    };
    round(0);
    round(1);  // anything the system allocates once, on first use
    const int before = test::FreeGdiSlots();
    for (int i = 0; i < 10000; ++i) round(i);
    EXPECT_EQ(test::FreeGdiSlots(), before);
    m_TransBltMode = 0;
}

TEST(HandleBalance, FramesComposedIntoScenesCreateNoLastingObject) {
    std::vector<uint8_t> data = test::TypicalAnimation({.width = 12, .height = 10, .frames = 3, .disposal = 2,
                                                        .transparentIndex = 1});
    std::vector<GifFrame> frames;
    GifScreen screen;
    int32_t tableSize = 0;
    IndexGifFrames(data, frames, screen, tableSize, true);
    const FrameSet set{data, frames, screen, tableSize};
    test::DibCanvas reference(4, 4);
    auto round = [&] {
        Scene scene;
        scene.BackColor(frames[0].TransColor);
        scene.CreateScene(reference.dc(), screen.Width, screen.Height);
        for (int32_t n = 0; n < 3; ++n) ComposeFrame(scene, set, n);
        scene.CreateScene(reference.dc(), screen.Width, screen.Height);  // a second buffer
    };
    round();
    const int before = test::FreeGdiSlots();
    for (int i = 0; i < 500; ++i) round();
    EXPECT_EQ(test::FreeGdiSlots(), before);
}

}  // namespace
}  // namespace kinetile
