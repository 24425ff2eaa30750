// Throughput of IndexGifFrames over a large synthetic animation, next to a
// plain copy of the same bytes. Prints a table; not a test.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

#include "GifIndex.h"
#include "GifWriter.h"

using namespace kinetile;
using Clock = std::chrono::steady_clock;

namespace {

std::vector<uint8_t> LargeAnimation(int frames) {
    test::GifWriter w;
    w.Signature().Screen(100, 100, test::DistinctPalette(256)).Loop();
    std::vector<uint8_t> pixels(100 * 100);
    for (int f = 0; f < frames; ++f) {
        for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint8_t>((i * 7 + static_cast<size_t>(f)) & 0xFF);
        w.GraphicControl(4, 1, static_cast<uint8_t>(f & 0xFF)).Image(0, 0, 100, 100, pixels);
    }
    return w.Trailer().Bytes();
}

// Best of several rounds, in seconds per pass.
template <typename F>
double BestSeconds(F&& pass, int rounds) {
    double best = 1e30;
    for (int r = 0; r < rounds; ++r) {
        auto start = Clock::now();
        pass();
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
    }
    return best;
}

}  // namespace

int main() {
    std::vector<uint8_t> data = LargeAnimation(1000);
    const double mb = static_cast<double>(data.size()) / 1e6;
    std::vector<uint8_t> copy(data.size());
    std::vector<GifFrame> frames;
    GifScreen screen;
    int32_t tableSize = 0;
    int32_t found = 0;

    const double copySeconds = BestSeconds([&] { std::memcpy(copy.data(), data.data(), data.size()); }, 20);
    const double indexSeconds = BestSeconds([&] { found = IndexGifFrames(data, frames, screen, tableSize, false); }, 20);
    const double fixSeconds = BestSeconds([&] { found = IndexGifFrames(data, frames, screen, tableSize, true); }, 20);

    std::printf("IndexGifFrames over %d frames, %.1f MB\n\n", found, mb);
    std::printf("%-28s %10s %12s\n", "pass", "MB/s", "vs memcpy");
    std::printf("%-28s %10.0f %12s\n", "memcpy of the same bytes", mb / copySeconds, "1.00");
    std::printf("%-28s %10.0f %11.2fx\n", "index, fix-up off", mb / indexSeconds, indexSeconds / copySeconds);
    std::printf("%-28s %10.0f %11.2fx\n", "index, fix-up on", mb / fixSeconds, fixSeconds / copySeconds);
    return found == 1000 ? 0 : 1;
}
