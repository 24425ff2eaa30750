#include <gtest/gtest.h>

#include <memory>

#include "GifIndex.h"
#include "GifWriter.h"

namespace kinetile {
namespace {

using test::AnimationSpec;
using test::DistinctPalette;
using test::GifWriter;
using test::Rgb;
using test::TypicalAnimation;

struct Indexed {
    int32_t count = -1;
    std::vector<GifFrame> frames;
    GifScreen screen;
    int32_t tableSize = -1;
};

Indexed Index(std::vector<uint8_t>& data, bool fix = false) {
    Indexed r;
    r.count = IndexGifFrames(data, r.frames, r.screen, r.tableSize, fix);
    return r;
}

TEST(IndexGifFrames, OnlyTheTwoExactSignaturesAreAccepted) {
    struct Case {
        const char* signature;
        bool accepted;
    } cases[] = {{"GIF87a", true}, {"GIF89a", true}, {"GIF88a", false},
                 {"gif89a", false}, {"GIF89A", false}, {"PNG\x89\r\n", false}};
    for (const Case& c : cases) {
        std::vector<uint8_t> data = GifWriter().Signature(c.signature).Screen(4, 4).SolidImage(0, 0, 4, 4, 0).Trailer().Bytes();
        // Outputs hold sentinels that a rejected stream must leave alone.
        std::vector<GifFrame> frames(2);
        frames[0].Delay = 77;
        GifScreen screen;
        screen.Width = 999;
        int32_t tableSize = 42;
        int32_t n = IndexGifFrames(data, frames, screen, tableSize, true);
        SCOPED_TRACE(c.signature);
        if (c.accepted) {
            EXPECT_EQ(n, 1);
            EXPECT_EQ(frames.size(), 1u);
        } else {
            EXPECT_EQ(n, 0);
            EXPECT_EQ(frames.size(), 2u);
            EXPECT_EQ(frames[0].Delay, 77);
            EXPECT_EQ(screen.Width, 999);
            EXPECT_EQ(tableSize, 42);
        }
    }
}

TEST(IndexGifFrames, DataTooShortForASignatureIsRejected) {
    const std::string signature = "GIF89a";
    for (size_t len = 0; len < 6; ++len) {
        std::vector<uint8_t> data(signature.begin(), signature.begin() + static_cast<long>(len));
        std::vector<GifFrame> frames(1);
        GifScreen screen;
        int32_t tableSize = 42;
        EXPECT_EQ(IndexGifFrames(data, frames, screen, tableSize, false), 0);
        EXPECT_EQ(frames.size(), 1u);
        EXPECT_EQ(tableSize, 42);
    }
}

TEST(IndexGifFrames, SignatureWithoutCompleteScreenGivesEmptyScreenAndNoFrames) {
    std::vector<uint8_t> full = GifWriter().Signature().Screen(100, 50, DistinctPalette(2)).Bytes();
    for (size_t len = 6; len < 13; ++len) {
        std::vector<uint8_t> data(full.begin(), full.begin() + static_cast<long>(len));
        std::vector<GifFrame> frames(3);
        GifScreen screen;
        screen.Width = 7;
        int32_t tableSize = 42;
        EXPECT_EQ(IndexGifFrames(data, frames, screen, tableSize, false), 0) << len;
        EXPECT_TRUE(frames.empty());
        EXPECT_EQ(screen, GifScreen{});
        EXPECT_EQ(tableSize, 0);
    }
}

TEST(IndexGifFrames, ScreenAndGlobalTableSizeAreRead) {
    for (int entries : {2, 4, 8, 16, 32, 64, 128, 256}) {
        std::vector<uint8_t> data =
            GifWriter().Signature().Screen(0x1234, 0x0102, DistinctPalette(entries), 5, 49).Trailer().Bytes();
        Indexed r = Index(data);
        EXPECT_EQ(r.count, 0);
        EXPECT_EQ(r.tableSize, 3 * entries);
        EXPECT_EQ(r.screen.Width, 0x1234);
        EXPECT_EQ(r.screen.Height, 0x0102);
        EXPECT_EQ(r.screen.Flags, data[10]);
        EXPECT_EQ(r.screen.BackIndex, 5);
        EXPECT_EQ(r.screen.Aspect, 49);
    }
}

TEST(IndexGifFrames, SingleImageWithoutExtensionsStartsAtItsDescriptor) {
    GifWriter w;
    w.Signature("GIF87a").Screen(10, 8, DistinctPalette(4));
    const int32_t at = w.Position();
    w.Image(2, 3, 5, 4, std::vector<uint8_t>(20, 1));
    const int32_t end = w.Position();
    std::vector<uint8_t> data = w.Trailer().Bytes();

    Indexed r = Index(data, true);
    ASSERT_EQ(r.count, 1);
    GifFrame expected;
    expected.StartPos = at;
    expected.Size = end - at;
    expected.Width = 5;
    expected.Height = 4;
    expected.Left = 2;
    expected.Top = 3;
    EXPECT_EQ(r.frames[0], expected);
}

TEST(IndexGifFrames, TypicalAnimationFramesStartAtTheirExtensionsAndTileTheStream) {
    std::vector<uint8_t> data = TypicalAnimation({.width = 9, .height = 7, .frames = 5, .delayHundredths = 7, .disposal = 2});
    Indexed r = Index(data);
    ASSERT_EQ(r.count, 5);
    ASSERT_EQ(r.frames.size(), 5u);
    for (size_t i = 0; i < r.frames.size(); ++i) {
        const GifFrame& f = r.frames[i];
        EXPECT_EQ(data[static_cast<size_t>(f.StartPos)], 0x21);
        EXPECT_EQ(data[static_cast<size_t>(f.StartPos) + 1], 0xF9);
        EXPECT_EQ(f.Delay, 70);
        EXPECT_EQ(f.Disposal(), 2);
        EXPECT_EQ(f.Width, 9);
        EXPECT_EQ(f.Height, 7);
        if (i + 1 < r.frames.size()) {
            EXPECT_EQ(f.StartPos + f.Size, r.frames[i + 1].StartPos);
        }
    }
    // The loop extension is skipped whole; the last frame ends at the trailer.
    EXPECT_EQ(r.frames[0].StartPos, 13 + 12 + 19);
    EXPECT_EQ(r.frames.back().StartPos + r.frames.back().Size, static_cast<int32_t>(data.size()) - 1);
}

TEST(IndexGifFrames, GraphicControlBelongsToTheNextImageOnly) {
    GifWriter w;
    w.Signature().Screen(4, 4, DistinctPalette(2)).GraphicControl(25, 1, 1).SolidImage(0, 0, 4, 4, 0);
    const int32_t second = w.Position();
    std::vector<uint8_t> data = w.SolidImage(0, 0, 4, 4, 1).Trailer().Bytes();
    Indexed r = Index(data);
    ASSERT_EQ(r.count, 2);
    EXPECT_EQ(r.frames[0].Delay, 250);
    EXPECT_TRUE(r.frames[0].IsTransparent());
    EXPECT_EQ(r.frames[1].StartPos, second);
    EXPECT_EQ(r.frames[1].Delay, 0);
    EXPECT_EQ(r.frames[1].Flags, 0);
    EXPECT_EQ(r.frames[1].TransColor, 0);
    EXPECT_EQ(r.frames[1].TransIndex, 0);
}

TEST(IndexGifFrames, PlainTextDiscardsThePendingGraphicControl) {
    GifWriter w;
    w.Signature().Screen(4, 4, DistinctPalette(2)).GraphicControl(50, 2, 1).PlainText("hello");
    const int32_t image = w.Position();
    std::vector<uint8_t> data = w.SolidImage(0, 0, 4, 4, 1).Trailer().Bytes();
    Indexed r = Index(data, true);
    ASSERT_EQ(r.count, 1);
    EXPECT_EQ(r.frames[0].StartPos, image);
    EXPECT_EQ(r.frames[0].Delay, 0);
    EXPECT_EQ(r.frames[0].Flags, 0);
    EXPECT_FALSE(r.frames[0].IsTransparent());
}

TEST(IndexGifFrames, ExtensionsBetweenGraphicControlAndImageBelongToTheFrame) {
    GifWriter w;
    w.Signature().Screen(4, 4, DistinctPalette(2));
    const int32_t start = w.Position();
    w.GraphicControl(3).Comment(std::string(300, 'c')).Extension(0x7A, {{1, 2, 3}, {4}});
    std::vector<uint8_t> data = w.SolidImage(0, 0, 4, 4, 1).Trailer().Bytes();
    Indexed r = Index(data);
    ASSERT_EQ(r.count, 1);
    EXPECT_EQ(r.frames[0].StartPos, start);
    EXPECT_EQ(r.frames[0].Delay, 30);
    EXPECT_EQ(r.frames[0].StartPos + r.frames[0].Size, static_cast<int32_t>(data.size()) - 1);
}

TEST(IndexGifFrames, ZeroBytesAfterTheTerminatorBelongToTheFrame) {
    GifWriter w;
    w.Signature().Screen(4, 4, DistinctPalette(2));
    w.Image(0, 0, 2, 2, {0, 1, 1, 0}, {}, 3);
    const int32_t second = w.Position();
    std::vector<uint8_t> data = w.GraphicControl(1).SolidImage(0, 0, 2, 2, 1).Trailer().Bytes();
    Indexed r = Index(data);
    ASSERT_EQ(r.count, 2);
    EXPECT_EQ(r.frames[0].StartPos + r.frames[0].Size, second);
    EXPECT_EQ(data[static_cast<size_t>(second) - 1], 0);
    EXPECT_EQ(r.frames[1].StartPos, second);
}

TEST(IndexGifFrames, DelayIsHundredthsTimesTenAndSaturatesAtTheFieldLimit) {
    struct Case {
        uint16_t hundredths;
        int16_t ms;
    } cases[] = {{0, 0}, {10, 100}, {1, 10}, {3276, 32760}, {3277, 32767}, {65535, 32767}};
    for (const Case& c : cases) {
        std::vector<uint8_t> data = TypicalAnimation({.frames = 1, .delayHundredths = c.hundredths});
        Indexed r = Index(data);
        ASSERT_EQ(r.count, 1);
        EXPECT_EQ(r.frames[0].Delay, c.ms) << c.hundredths;
    }
}

TEST(IndexGifFrames, ImageSizesAreSigned16BitWidened) {
    GifWriter w;
    w.Signature().Screen(4, 4, DistinctPalette(2));
    // A declared size larger than the data is only recorded, never decoded.
    std::vector<uint8_t> data = w.Image(0xFFFF, 3, 0x8000, 0xFFFF, {0}).Trailer().Bytes();
    Indexed r = Index(data);
    ASSERT_EQ(r.count, 1);
    EXPECT_EQ(r.frames[0].Width, -32768);
    EXPECT_EQ(r.frames[0].Height, -1);
    EXPECT_EQ(r.frames[0].Left, -1);
    EXPECT_EQ(r.frames[0].Top, 3);
}

// The table of the worked example: white, black, black, (10, 0, 0).
std::vector<Rgb> ExampleTable() { return {{255, 255, 255}, {0, 0, 0}, {0, 0, 0}, {10, 0, 0}}; }

std::vector<uint8_t> TransparentFrameWith(const std::vector<Rgb>& global, const std::vector<Rgb>& local, uint8_t index) {
    return GifWriter().Signature().Screen(2, 2, global).GraphicControl(0, 0, index)
        .SolidImage(0, 0, 2, 2, 0, local).Trailer().Bytes();
}

TEST(IndexGifFrames, FixUpRewritesADuplicatedTransparentEntryToTheMidpoint) {
    std::vector<uint8_t> data = TransparentFrameWith(ExampleTable(), {}, 1);
    std::vector<uint8_t> expected = data;
    expected[16] = 4, expected[17] = 0, expected[18] = 128;  // entry 1 of the global table
    Indexed r = Index(data, true);
    ASSERT_EQ(r.count, 1);
    EXPECT_EQ(r.frames[0].TransIndex, 1);
    EXPECT_EQ(r.frames[0].TransColor, 8388612);
    EXPECT_EQ(data, expected);

    // Indexing the rewritten bytes again finds the entry already unique.
    EXPECT_EQ(Index(data, true).frames[0].TransColor, 8388612);
    EXPECT_EQ(data, expected);
}

TEST(IndexGifFrames, WithoutFixUpTheDuplicatedColourIsReportedAndBytesKept) {
    std::vector<uint8_t> data = TransparentFrameWith(ExampleTable(), {}, 1);
    const std::vector<uint8_t> original = data;
    Indexed r = Index(data, false);
    EXPECT_EQ(r.frames[0].TransColor, 0);
    EXPECT_EQ(data, original);
    std::vector<uint8_t> distinct = TransparentFrameWith({{0, 0, 0}, {1, 2, 3}}, {}, 1);
    EXPECT_EQ(Index(distinct, false).frames[0].TransColor, 1 + 2 * 256 + 3 * 65536);
}

TEST(IndexGifFrames, FixUpLeavesAUniqueEntryAlone) {
    std::vector<uint8_t> data = TransparentFrameWith(DistinctPalette(4), {}, 2);
    const std::vector<uint8_t> original = data;
    EXPECT_EQ(Index(data, true).frames[0].TransColor, DistinctPalette(4)[2].Value());
    EXPECT_EQ(data, original);
}

TEST(IndexGifFrames, FixUpUsesTheLocalTableWhenTheImageHasOne) {
    std::vector<Rgb> local = {{9, 9, 9}, {200, 0, 0}, {9, 9, 9}, {100, 0, 0}};
    std::vector<uint8_t> data = TransparentFrameWith(DistinctPalette(2), local, 0);
    std::vector<uint8_t> expected = data;
    const size_t localPos = 13 + 6 + 8 + 10;  // after the global table, extension and descriptor
    // Two entries share the largest value (9, 9, 9) = 592137, so the plain
    // midpoint would be that visible colour; the entry gets the nearest free one.
    expected[localPos] = 8;
    Indexed r = Index(data, true);
    EXPECT_EQ(r.frames[0].TransColor, 592136);
    EXPECT_EQ(data, expected);
}

TEST(FixTransparentColor, NewColourDiffersFromEveryOtherEntry) {
    // Tables whose two largest values are fewer than 2 apart.
    const std::vector<std::vector<Rgb>> tables = {
        {{0, 0, 0}, {0, 0, 0}},
        {{255, 255, 255}, {255, 255, 255}},
        {{255, 255, 255}, {254, 255, 255}, {254, 255, 255}, {0, 0, 0}},
        {{5, 0, 0}, {5, 0, 0}, {4, 0, 0}, {3, 0, 0}},
    };
    for (const auto& table : tables) {
        std::vector<uint8_t> bytes;
        for (const Rgb& c : table) bytes.insert(bytes.end(), {c.r, c.g, c.b});
        for (uint8_t index = 0; index < table.size(); ++index) {
            std::vector<uint8_t> data = bytes;
            int32_t color = FixTransparentColor(data, static_cast<int32_t>(data.size()), 0, index);
            for (size_t k = 0; k < table.size(); ++k) {
                int32_t v = data[3 * k] + 256 * data[3 * k + 1] + 65536 * data[3 * k + 2];
                if (k == index) EXPECT_EQ(v, color);
                else EXPECT_NE(v, color) << "entry " << k << " of a table, index " << int{index};
            }
        }
    }
}

TEST(FixTransparentColor, IndexOutsideTheTableNamesNoColourAndWritesNothing) {
    std::vector<uint8_t> data = {1, 2, 3, 1, 2, 3, 7, 7, 7};
    const std::vector<uint8_t> original = data;
    EXPECT_EQ(FixTransparentColor(data, 6, 0, 2), 0);
    EXPECT_EQ(FixTransparentColor(data, 6, 6, 0), 0);  // table past the data
    EXPECT_EQ(data, original);
}

TEST(IndexGifFrames, TransparentIndexWithoutUsableTableGivesColourZero) {
    // No table at all, and an index past the end of a two-entry table.
    std::vector<uint8_t> none = TransparentFrameWith({}, {}, 3);
    std::vector<uint8_t> beyond = TransparentFrameWith({{1, 1, 1}, {1, 1, 1}}, {}, 200);
    for (auto* data : {&none, &beyond}) {
        for (bool fix : {false, true}) {
            const std::vector<uint8_t> original = *data;
            Indexed r = Index(*data, fix);
            ASSERT_EQ(r.count, 1);
            EXPECT_TRUE(r.frames[0].IsTransparent());
            EXPECT_EQ(r.frames[0].TransColor, 0);
            EXPECT_EQ(*data, original);
        }
    }
    EXPECT_EQ(Index(beyond).frames[0].TransIndex, 200);
}

TEST(IndexGifFrames, OutputsHoldOnlyTheLatestStream) {
    std::vector<GifFrame> frames;
    GifScreen screen;
    int32_t tableSize = 0;
    std::vector<uint8_t> first = TypicalAnimation({.frames = 4});
    ASSERT_EQ(IndexGifFrames(first, frames, screen, tableSize, false), 4);
    EXPECT_EQ(tableSize, 12);
    std::vector<uint8_t> second = GifWriter().Signature().Screen(3, 3).SolidImage(0, 0, 3, 3, 0).Trailer().Bytes();
    ASSERT_EQ(IndexGifFrames(second, frames, screen, tableSize, false), 1);
    EXPECT_EQ(frames.size(), 1u);
    EXPECT_EQ(tableSize, 0);
    EXPECT_EQ(screen.Width, 3);
}

// Exactly `len` bytes on the heap, so that a read past the end is caught by
// AddressSanitizer.
struct ExactBytes {
    explicit ExactBytes(const std::vector<uint8_t>& from, size_t len) : bytes(new uint8_t[len]), size(len) {
        std::copy(from.begin(), from.begin() + static_cast<long>(len), bytes.get());
    }
    std::span<uint8_t> Span() { return {bytes.get(), size}; }
    std::unique_ptr<uint8_t[]> bytes;
    size_t size;
};

TEST(IndexGifFrames, TruncatedStreamsKeepOnlyTheCompletedFrames) {
    std::vector<uint8_t> full = TypicalAnimation({.frames = 4, .transparentIndex = 2});
    std::vector<GifFrame> all;
    GifScreen screen;
    int32_t tableSize = 0;
    ASSERT_EQ(IndexGifFrames(full, all, screen, tableSize, false), 4);
    for (size_t len = 1; len <= full.size(); ++len) {
        ExactBytes cut(full, len);
        std::vector<GifFrame> frames;
        int32_t n = IndexGifFrames(cut.Span(), frames, screen, tableSize, true);
        // A frame counts when its bytes, through the data terminator, are in.
        size_t expected = 0;
        while (expected < all.size() && static_cast<size_t>(all[expected].StartPos) + static_cast<size_t>(all[expected].Size) <= len)
            ++expected;
        ASSERT_EQ(static_cast<size_t>(n), expected) << "length " << len;
        for (size_t i = 0; i < frames.size(); ++i) {
            EXPECT_EQ(frames[i].StartPos, all[i].StartPos);
            EXPECT_LE(static_cast<size_t>(frames[i].StartPos + frames[i].Size), len);
        }
    }
}

TEST(IndexGifFrames, UnknownBlockEndsTheScanKeepingEarlierFrames) {
    std::vector<uint8_t> data = GifWriter().Signature().Screen(2, 2, DistinctPalette(2))
        .SolidImage(0, 0, 2, 2, 0).Raw({0x99, 0x2C}).SolidImage(0, 0, 2, 2, 1).Trailer().Bytes();
    EXPECT_EQ(Index(data).count, 1);
}

TEST(IndexGifFrames, ATrailerEndsTheScan) {
    std::vector<uint8_t> data = GifWriter().Signature().Screen(2, 2, DistinctPalette(2))
        .SolidImage(0, 0, 2, 2, 0).Trailer().SolidImage(0, 0, 2, 2, 1).Trailer().Bytes();
    EXPECT_EQ(Index(data).count, 1);
}

TEST(IndexGifFrames, ExtensionLengthsRunningPastTheEndStopTheScan) {
    // Each of these extension heads claims more bytes than follow it.
    const std::vector<std::vector<uint8_t>> tails = {
        {0x21}, {0x21, 0xFF, 11, 'N'}, {0x21, 0xFE, 200, 1, 2}, {0x21, 0xF9, 4, 1},
        {0x21, 0x01, 12, 0, 0}, {0x21, 0x42, 0xFF}, {0x2C, 0, 0, 0, 0, 2, 0, 2, 0},
        {0x2C, 0, 0, 0, 0, 2, 0, 2, 0, 0x87, 1, 2, 3}, {0x2C, 0, 0, 0, 0, 2, 0, 2, 0, 0, 2, 5, 1}};
    for (const auto& tail : tails) {
        GifWriter w;
        std::vector<uint8_t> data = w.Signature().Screen(2, 2, DistinctPalette(2)).SolidImage(0, 0, 2, 2, 0).Raw(tail).Bytes();
        ExactBytes exact(data, data.size());
        std::vector<GifFrame> frames;
        GifScreen screen;
        int32_t tableSize = 0;
        EXPECT_EQ(IndexGifFrames(exact.Span(), frames, screen, tableSize, true), 1);
    }
}

}  // namespace
}  // namespace kinetile
