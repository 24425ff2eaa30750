#include "FrameRender.h"

#include "Drawing.h"
#include "FrameGif.h"

namespace kinetile {

ComPtr<IPicture> ComposeFrame(Scene& scene, const FrameSet& set, int32_t n) {
    if (n < 0 || static_cast<size_t>(n) >= set.frames.size()) return nullptr;
    std::vector<uint8_t> single;
    BuildFrameGif(set.data, set.frames[static_cast<size_t>(n)], set.globalTableSize, single);
    ComPtr<IPicture> picture = PictureFromBytes(single);
    const GifFrame previous =
        n > 0 ? set.frames[static_cast<size_t>(n) - 1] : PseudoPreviousFrame(set.screen.Width, set.screen.Height);
    DrawFrame(scene.hdc(), picture.get(), set.frames[static_cast<size_t>(n)], scene.BackColor(), previous, 0, 0);
    return picture;
}

}  // namespace kinetile
