#include "RegionRuns.h"

namespace kinetile {

std::vector<PixelRun> FindOpaqueRuns(std::span<const uint8_t> bits, int width, int height, int stride,
                                     int transparent) {
    std::vector<PixelRun> runs;
    if (width <= 0 || height <= 0 || stride < width) return runs;
    for (int y = 0; y < height; ++y) {
        const size_t rowStart = static_cast<size_t>(y) * static_cast<size_t>(stride);
        if (rowStart + static_cast<size_t>(width) > bits.size()) break;
        const uint8_t* row = bits.data() + rowStart;
        int x = 0;
        while (x < width) {
            if (row[x] == transparent) {
                ++x;
                continue;
            }
            const int x0 = x;
            while (x < width && row[x] != transparent) ++x;
            runs.push_back({y, x0, x - 1});
        }
    }
    return runs;
}

}  // namespace kinetile
