#pragma once
// Indexing of a GIF byte stream: one forward pass that finds every image and
// records where its bytes lie, without decoding anything.
#include <cstdint>
#include <span>
#include <vector>

#include "GifTypes.h"

namespace kinetile {

// Size in bytes of a colour table announced by a packed byte (0 when its 0x80
// bit is clear).
int32_t ColorTableSize(uint8_t packed);

// Fills `frames`, `screen` and `globalTableSize` from `data` and returns the
// number of images. A wrong signature returns 0 and leaves the outputs as they
// were. With `fixTransparent`, each transparent frame's colour-table entry is
// made unique in `data` itself, so the caller must keep the rewritten bytes.
int32_t IndexGifFrames(std::span<uint8_t> data, std::vector<GifFrame>& frames, GifScreen& screen,
                       int32_t& globalTableSize, bool fixTransparent);

// Makes entry `index` of the colour table at `tablePos` (`tableSize` bytes)
// differ from every other entry, rewriting its three bytes when needed, and
// returns its colour as red + 256 * green + 65536 * blue.
int32_t FixTransparentColor(std::span<uint8_t> data, int32_t tableSize, int32_t tablePos, uint8_t index);

}  // namespace kinetile
