#pragma once
// Cuts one frame out of an indexed GIF stream as a stand-alone single-image
// GIF file: header, screen and global table, the frame's own bytes, trailer.
#include <cstdint>
#include <span>
#include <vector>

#include "GifTypes.h"

namespace kinetile {

// `out` is replaced by 13 + globalTableSize + frame.Size + 1 bytes. A record
// whose ranges do not lie inside `data` (one not made by IndexGifFrames for
// these bytes) gives an empty `out` instead of reading outside the data.
void BuildFrameGif(std::span<const uint8_t> data, const GifFrame& frame, int32_t globalTableSize,
                   std::vector<uint8_t>& out);

}  // namespace kinetile
