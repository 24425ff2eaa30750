// GIF files written by another encoder (see tests/data/README.md).
#include <gtest/gtest.h>

#include "FrameGif.h"
#include "GifFile.h"
#include "GifIndex.h"

namespace kinetile {
namespace {

struct Geometry {
    int32_t width, height;
    int16_t left, top;
};

struct RealFile {
    const char* name;
    const char* signature;
    int16_t delay;
    std::vector<Geometry> frames;
};

const RealFile kFiles[] = {
    {"anim-89x98.gif", "GIF89a", 80,
     {{39, 39, 25, 30}, {31, 41, 10, 10}, {56, 36, 30, 55}, {31, 31, 15, 15},
      {36, 36, 50, 60}, {21, 21, 50, 20}, {89, 11, 0, 0}, {51, 11, 20, 70}}},
    {"local-tables.gif", "GIF89a", 250, {{24, 16, 0, 0}, {24, 16, 0, 0}, {24, 16, 0, 0}}},
    {"still87a.gif", "GIF87a", 0, {{13, 7, 0, 0}}},
};

std::string DataPath(const char* name) { return std::string(KINETILE_TEST_DATA_DIR) + "/" + name; }

int32_t Entry(const std::vector<uint8_t>& d, size_t at) { return d[at] + 256 * d[at + 1] + 65536 * d[at + 2]; }

TEST(RealFiles, FrameTableMatchesWhatTheEncoderWrote) {
    for (const RealFile& file : kFiles) {
        SCOPED_TRACE(file.name);
        std::vector<uint8_t> data;
        ASSERT_GT(LoadGifFile(DataPath(file.name), data), 0);
        EXPECT_EQ(std::string(data.begin(), data.begin() + 6), file.signature);
        std::vector<GifFrame> frames;
        GifScreen screen;
        int32_t tableSize = 0;
        ASSERT_EQ(IndexGifFrames(data, frames, screen, tableSize, false), static_cast<int32_t>(file.frames.size()));
        for (size_t i = 0; i < frames.size(); ++i) {
            EXPECT_EQ(frames[i].Width, file.frames[i].width) << i;
            EXPECT_EQ(frames[i].Height, file.frames[i].height) << i;
            EXPECT_EQ(frames[i].Left, file.frames[i].left) << i;
            EXPECT_EQ(frames[i].Top, file.frames[i].top) << i;
            EXPECT_EQ(frames[i].Delay, file.delay) << i;
            if (i + 1 < frames.size()) {
                EXPECT_EQ(frames[i].StartPos + frames[i].Size, frames[i + 1].StartPos);
            }
        }
        EXPECT_EQ(frames.back().StartPos + frames.back().Size, static_cast<int32_t>(data.size()) - 1);
        EXPECT_EQ(data.back(), 0x3B);
    }
}

TEST(RealFiles, FixUpMakesEveryTransparentEntryUniqueInItsTable) {
    for (const RealFile& file : kFiles) {
        SCOPED_TRACE(file.name);
        std::vector<uint8_t> data;
        ASSERT_GT(LoadGifFile(DataPath(file.name), data), 0);
        std::vector<GifFrame> frames;
        GifScreen screen;
        int32_t tableSize = 0;
        IndexGifFrames(data, frames, screen, tableSize, true);
        for (const GifFrame& f : frames) {
            if (!f.IsTransparent()) continue;
            // The table in use: the local one right after the descriptor, else the global one.
            size_t descriptor = static_cast<size_t>(f.StartPos);
            while (data[descriptor] != 0x2C) descriptor += 8;  // only graphic control extensions precede it here
            const uint8_t packed = data[descriptor + 9];
            const size_t pos = ColorTableSize(packed) ? descriptor + 10 : 13;
            const size_t size = static_cast<size_t>(ColorTableSize(packed) ? ColorTableSize(packed) : tableSize);
            for (size_t k = 0; k < size; k += 3) {
                if (k == 3 * static_cast<size_t>(f.TransIndex)) {
                    EXPECT_EQ(Entry(data, pos + k), f.TransColor);
                } else {
                    EXPECT_NE(Entry(data, pos + k), f.TransColor) << "entry " << k / 3;
                }
            }
            std::vector<uint8_t> single;
            BuildFrameGif(data, f, tableSize, single);
            EXPECT_EQ(single.size(), 13u + static_cast<size_t>(tableSize) + static_cast<size_t>(f.Size) + 1);
        }
    }
}

}  // namespace
}  // namespace kinetile
