#pragma once
// Finding the runs of non-transparent pixels from which the hit region is
// made: portable, so it is tested without GDI.
#include <cstdint>
#include <span>
#include <vector>

namespace kinetile {

struct PixelRun {
    int y;
    int x0;  // first column of the run
    int x1;  // last column, inclusive

    bool operator==(const PixelRun&) const = default;
};

// Rows of an 8-bit bitmap, `stride` bytes apart (the bitmap's own padded row
// length), scanned top to bottom and left to right. `transparent` may be any
// 16-bit value; above 255 it matches no pixel. Rows that the data does not
// hold completely are not read.
std::vector<PixelRun> FindOpaqueRuns(std::span<const uint8_t> bits, int width, int height, int stride,
                                     int transparent);

}  // namespace kinetile
