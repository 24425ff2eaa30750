// Frame pictures from the system's picture loader.
#include <gtest/gtest.h>
#include <windows.h>
#include <olectl.h>

#include "DibCanvas.h"
#include "FrameGif.h"
#include "FramePicture.h"
#include "GdiHandles.h"
#include "GifFile.h"
#include "GifIndex.h"
#include "GifWriter.h"
#include "MessageBox.h"

namespace kinetile {
namespace {

struct Shown {
    std::wstring text, title;
    UINT style;
};

HBITMAP BitmapOf(IPicture* picture) {
    OLE_HANDLE handle = 0;
    picture->get_Handle(&handle);
    return static_cast<HBITMAP>(LongToHandle(static_cast<LONG>(handle)));
}

int32_t PixelOf(HBITMAP bitmap, int x, int y) {
    MemoryDC dc(nullptr);
    SelectedObject selected(dc.get(), bitmap);
    COLORREF c = GetPixel(dc.get(), x, y);
    return static_cast<int32_t>(c);
}

TEST(PictureFromBytes, EmptyInputIsReportedAsASubscriptError) {
    std::vector<Shown> shown;
    ScopedMessageBoxHandler capture([&](HWND, const std::wstring& text, const std::wstring& title, UINT style) {
        shown.push_back({text, title, style});
        return IDOK;
    });
    EXPECT_FALSE(PictureFromBytes({}));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, L"9 - 下标越界");
    EXPECT_EQ(shown[0].title, L"KinetileLib");
    EXPECT_EQ(shown[0].style, static_cast<UINT>(MB_OK));
}

TEST(PictureFromBytes, BytesTheLoaderCannotDecodeGiveNoPictureAndNoMessage) {
    int messages = 0;
    ScopedMessageBoxHandler capture([&](HWND, const std::wstring&, const std::wstring&, UINT) { return ++messages, IDOK; });
    const std::vector<std::vector<uint8_t>> junk = {{1}, {'G', 'I', 'F', '8', '9', 'a'}, std::vector<uint8_t>(100, 0xEE)};
    for (const auto& bytes : junk) EXPECT_FALSE(PictureFromBytes(bytes));
    EXPECT_EQ(messages, 0);
}

void ExpectFramePicturesFit(const std::vector<uint8_t>& original, const char* what) {
    std::vector<uint8_t> data = original;
    std::vector<GifFrame> frames;
    GifScreen screen;
    int32_t tableSize = 0;
    ASSERT_GT(IndexGifFrames(data, frames, screen, tableSize, true), 0) << what;
    for (size_t i = 0; i < frames.size(); ++i) {
        std::vector<uint8_t> single;
        BuildFrameGif(data, frames[i], tableSize, single);
        ComPtr<IPicture> picture = PictureFromBytes(single);
        ASSERT_TRUE(picture) << what << " frame " << i;
        SHORT type = 0;
        picture->get_Type(&type);
        EXPECT_EQ(type, PICTYPE_BITMAP);
        BITMAP info{};
        GetObjectA(BitmapOf(picture.get()), sizeof info, &info);
        EXPECT_EQ(info.bmWidth, frames[i].Width) << what << " frame " << i;
        EXPECT_EQ(info.bmHeight, frames[i].Height) << what << " frame " << i;
    }
}

TEST(PictureFromBytes, EveryFrameOfRealAnimationsBecomesABitmapOfTheFrameSize) {
    for (const char* name : {"anim-89x98.gif", "local-tables.gif", "still87a.gif"}) {
        std::vector<uint8_t> data;
        ASSERT_GT(LoadGifFile(std::string(KINETILE_TEST_DATA_DIR) + "/" + name, data), 0);
        ExpectFramePicturesFit(data, name);
    }
    ExpectFramePicturesFit(test::TypicalAnimation({.width = 17, .height = 9, .frames = 5, .transparentIndex = 1}),
                           "writer");
}

TEST(PictureFromBytes, TransparentPixelsCarryTheFixedTransparentColour) {
    // Index 1 is transparent and duplicated by index 2, so the fix-up rewrites it.
    const std::vector<test::Rgb> table = {{10, 20, 30}, {200, 100, 50}, {200, 100, 50}, {0, 0, 0}};
    const std::vector<uint8_t> pixels = {0, 1, 2, 3, 1, 1, 0, 2, 3, 3, 1, 0};
    std::vector<uint8_t> data = test::GifWriter().Signature().Screen(4, 3, table)
        .GraphicControl(0, 0, 1).Image(0, 0, 4, 3, pixels).Trailer().Bytes();
    std::vector<GifFrame> frames;
    GifScreen screen;
    int32_t tableSize = 0;
    ASSERT_EQ(IndexGifFrames(data, frames, screen, tableSize, true), 1);
    const int32_t key = frames[0].TransColor;
    ASSERT_NE(key, table[2].Value());
    std::vector<uint8_t> single;
    BuildFrameGif(data, frames[0], tableSize, single);
    ComPtr<IPicture> picture = PictureFromBytes(single);
    ASSERT_TRUE(picture);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) {
            const uint8_t index = pixels[static_cast<size_t>(y * 4 + x)];
            const int32_t expected = index == 1 ? key : table[index].Value();
            EXPECT_EQ(PixelOf(BitmapOf(picture.get()), x, y), expected) << x << "," << y;
        }
}

}  // namespace
}  // namespace kinetile
