// Frames composed into a Scene, compared with a plain model of the GIF rules
// that the frame buffer follows.
#include <gtest/gtest.h>
#include <windows.h>

#include "DibCanvas.h"
#include "Drawing.h"
#include "FrameRender.h"
#include "GifIndex.h"
#include "GifWriter.h"
#include "Scene.h"

namespace kinetile {
namespace {

struct FrameSpec {
    uint16_t left, top, width, height;
    int disposal;
    std::optional<uint8_t> transparent;
    std::vector<uint8_t> pixels;
};

// The model: a canvas cleared to the key colour, each frame after the
// previous one's disposal (2 restores its rectangle to the key, others keep).
class Model {
public:
    Model(int w, int h, int32_t key) : w_(w), h_(h), key_(key), pixels_(static_cast<size_t>(w * h), key) {}
    void Draw(const FrameSpec& f, const std::vector<int32_t>& palette, const FrameSpec* previous) {
        if (previous && previous->disposal == 2) Fill(*previous, key_);
        for (int y = 0; y < f.height; ++y)
            for (int x = 0; x < f.width; ++x) {
                const uint8_t index = f.pixels[static_cast<size_t>(y * f.width + x)];
                if (f.transparent && index == *f.transparent) continue;
                Set(f.left + x, f.top + y, palette[index]);
            }
    }
    int32_t At(int x, int y) const { return pixels_[static_cast<size_t>(y * w_ + x)]; }

private:
    void Fill(const FrameSpec& f, int32_t color) {
        for (int y = f.top; y < f.top + f.height; ++y)
            for (int x = f.left; x < f.left + f.width; ++x) Set(x, y, color);
    }
    void Set(int x, int y, int32_t color) {
        if (x >= 0 && y >= 0 && x < w_ && y < h_) pixels_[static_cast<size_t>(y * w_ + x)] = color;
    }
    int w_, h_;
    int32_t key_;
    std::vector<int32_t> pixels_;
};

std::vector<uint8_t> Pattern(int count, uint8_t a, uint8_t b, uint8_t c) {
    std::vector<uint8_t> p;
    for (int i = 0; i < count; ++i) p.push_back(i % 3 == 0 ? a : i % 3 == 1 ? b : c);
    return p;
}

TEST(ComposeFrame, BufferFollowsDisposalAndTransparencyFrameByFrame) {
    // Index 3 doubles index 0's colour, so the fix-up gives frame 0 a unique key.
    const std::vector<test::Rgb> table = {{0, 0, 0}, {250, 10, 10}, {10, 250, 10}, {0, 0, 0},
                                          {10, 10, 250}, {200, 200, 0}, {0, 200, 200}, {90, 90, 90}};
    const std::vector<FrameSpec> specs = {
        {2, 1, 8, 6, 1, 3, Pattern(48, 1, 3, 2)},
        {0, 0, 5, 5, 2, std::nullopt, Pattern(25, 4, 5, 6)},
        {4, 3, 6, 4, 3, 3, Pattern(24, 3, 7, 0)},
        {1, 2, 3, 3, 1, 5, Pattern(9, 5, 1, 2)},
    };
    test::GifWriter writer;
    writer.Signature().Screen(12, 9, table).Loop();
    for (const FrameSpec& f : specs)
        writer.GraphicControl(5, f.disposal, f.transparent).Image(f.left, f.top, f.width, f.height, f.pixels);
    std::vector<uint8_t> data = writer.Trailer().Bytes();

    std::vector<GifFrame> frames;
    GifScreen screen;
    int32_t tableSize = 0;
    ASSERT_EQ(IndexGifFrames(data, frames, screen, tableSize, true), 4);
    std::vector<int32_t> palette;  // as rewritten by the fix-up
    for (size_t k = 0; k < table.size(); ++k) palette.push_back(data[13 + 3 * k] + 256 * data[14 + 3 * k] + 65536 * data[15 + 3 * k]);
    const int32_t key = frames[0].TransColor;
    ASSERT_EQ(key, palette[3]);

    for (int mode : {1, 2}) {
        m_TransBltMode = mode;
        test::DibCanvas reference(4, 4), view(12, 9);
        Scene scene;
        scene.BackColor(key);
        scene.CreateScene(reference.dc(), 12, 9);
        Model model(12, 9, key);
        const FrameSet set{data, frames, screen, tableSize};
        for (size_t n = 0; n < specs.size(); ++n) {
            EXPECT_TRUE(ComposeFrame(scene, set, static_cast<int32_t>(n)));
            model.Draw(specs[n], palette, n ? &specs[n - 1] : nullptr);
            BitBlt(view.dc(), 0, 0, 12, 9, scene.hdc(), 0, 0, SRCCOPY);
            for (int y = 0; y < 9; ++y)
                for (int x = 0; x < 12; ++x)
                    ASSERT_EQ(view.At(x, y), model.At(x, y)) << "mode " << mode << ", frame " << n << " at " << x << "," << y;
        }
        // A new cycle starts clean: frame 0 again over the pseudo previous frame.
        ComposeFrame(scene, set, 0);
        Model fresh(12, 9, key);
        fresh.Draw(specs[0], palette, nullptr);
        BitBlt(view.dc(), 0, 0, 12, 9, scene.hdc(), 0, 0, SRCCOPY);
        for (int y = 0; y < 9; ++y)
            for (int x = 0; x < 12; ++x) ASSERT_EQ(view.At(x, y), fresh.At(x, y)) << x << "," << y;
    }
    m_TransBltMode = 0;
}

TEST(ComposeFrame, NamesNoFrameOutsideTheTable) {
    std::vector<uint8_t> data = test::TypicalAnimation({.frames = 2});
    std::vector<GifFrame> frames;
    GifScreen screen;
    int32_t tableSize = 0;
    IndexGifFrames(data, frames, screen, tableSize, true);
    test::DibCanvas reference(4, 4);
    Scene scene;
    scene.CreateScene(reference.dc(), 8, 6);
    const FrameSet set{data, frames, screen, tableSize};
    EXPECT_FALSE(ComposeFrame(scene, set, 2));
    EXPECT_FALSE(ComposeFrame(scene, set, -1));
    const std::vector<GifFrame> none;
    EXPECT_FALSE(ComposeFrame(scene, FrameSet{data, none, screen, tableSize}, 0));
}

}  // namespace
}  // namespace kinetile
