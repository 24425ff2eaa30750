#pragma once
// Composing one frame of an indexed GIF into a Scene's buffer: cut it out,
// have the system decode it, draw it over the previous frame's disposal.
#include <cstdint>
#include <span>
#include <vector>

#include "ComPtr.h"
#include "FramePicture.h"
#include "GifTypes.h"
#include "Scene.h"

namespace kinetile {

struct FrameSet {
    std::span<const uint8_t> data;
    const std::vector<GifFrame>& frames;
    GifScreen screen;
    int32_t globalTableSize;
};

// Draws frame `n` into `scene` (frame 0 over the pseudo previous frame, which
// clears the whole buffer to the key colour) and returns its picture, or none
// when it could not be decoded or `n` names no frame.
ComPtr<IPicture> ComposeFrame(Scene& scene, const FrameSet& set, int32_t n);

}  // namespace kinetile
