#pragma once
// gifinfo --render: frames 0..n composed into a frame buffer exactly as the
// control composes them, written as a 24-bit BMP (Windows builds only).
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "GifTypes.h"

namespace kinetile {

constexpr bool kCanRender =
#ifdef _WIN32
    true;
#else
    false;
#endif

// Returns an empty string on success, else what went wrong.
std::string RenderFramesToBmp(std::span<const uint8_t> data, const std::vector<GifFrame>& frames,
                              const GifScreen& screen, int32_t globalTableSize, int32_t lastFrame,
                              const std::string& outPath);

}  // namespace kinetile
