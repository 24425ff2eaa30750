#include <gtest/gtest.h>

#include "FrameGif.h"
#include "GifIndex.h"
#include "GifWriter.h"

namespace kinetile {
namespace {

using test::DistinctPalette;
using test::GifWriter;
using test::TypicalAnimation;

struct Indexed {
    std::vector<uint8_t> data;
    std::vector<GifFrame> frames;
    GifScreen screen;
    int32_t tableSize = 0;
};

Indexed IndexOf(std::vector<uint8_t> data) {
    Indexed r;
    r.data = std::move(data);
    IndexGifFrames(r.data, r.frames, r.screen, r.tableSize, true);
    return r;
}

TEST(BuildFrameGif, FrameZeroIsHeaderTableAndFrameBytesThenTrailer) {
    Indexed a = IndexOf(TypicalAnimation({.frames = 3, .transparentIndex = 1}));
    ASSERT_EQ(a.frames.size(), 3u);
    const GifFrame& f = a.frames[0];
    std::vector<uint8_t> out{9, 9, 9};  // previous content is discarded
    BuildFrameGif(a.data, f, a.tableSize, out);

    std::vector<uint8_t> expected(a.data.begin(), a.data.begin() + 13 + a.tableSize);
    expected.insert(expected.end(), a.data.begin() + f.StartPos, a.data.begin() + f.StartPos + f.Size);
    expected.push_back(0x3B);
    EXPECT_EQ(out, expected);
}

TEST(BuildFrameGif, WithoutGlobalTableTheFileIsScreenFrameAndTrailer) {
    std::vector<uint8_t> data = GifWriter().Signature("GIF87a").Screen(4, 4).GraphicControl(5)
        .SolidImage(0, 0, 4, 4, 1, DistinctPalette(2)).Trailer().Bytes();
    Indexed a = IndexOf(data);
    ASSERT_EQ(a.frames.size(), 1u);
    std::vector<uint8_t> out;
    BuildFrameGif(a.data, a.frames[0], a.tableSize, out);
    ASSERT_EQ(out.size(), 13u + static_cast<size_t>(a.frames[0].Size) + 1);
    EXPECT_EQ(std::string(out.begin(), out.begin() + 6), "GIF87a");
    EXPECT_EQ(out[10] & 0x80, 0);
}

TEST(BuildFrameGif, EachBuiltFrameIndexesAsThatFrameAlone) {
    Indexed a = IndexOf(TypicalAnimation({.frames = 4, .disposal = 2, .transparentIndex = 3}));
    for (const GifFrame& f : a.frames) {
        std::vector<uint8_t> out;
        BuildFrameGif(a.data, f, a.tableSize, out);
        Indexed single = IndexOf(out);
        ASSERT_EQ(single.frames.size(), 1u);
        GifFrame moved = f;
        moved.StartPos = 13 + a.tableSize;
        EXPECT_EQ(single.frames[0], moved);
        EXPECT_EQ(single.screen, a.screen);
    }
}

TEST(BuildFrameGif, RecordsOutsideTheDataGiveNothing) {
    Indexed a = IndexOf(TypicalAnimation({.frames = 1}));
    const int32_t n = static_cast<int32_t>(a.data.size());
    struct Case {
        int32_t start, size, table;
    } cases[] = {{n - 5, 6, a.tableSize}, {-1, 5, a.tableSize}, {n + 1, 1, a.tableSize},
                 {0, 0, a.tableSize}, {20, 5, n}, {20, 5, -3}, {1, 0x7FFFFFFF, 0}};
    for (const Case& c : cases) {
        GifFrame f;
        f.StartPos = c.start;
        f.Size = c.size;
        std::vector<uint8_t> out{1, 2, 3};
        BuildFrameGif(a.data, f, c.table, out);
        EXPECT_TRUE(out.empty()) << c.start << " " << c.size << " " << c.table;
    }
}

}  // namespace
}  // namespace kinetile
