// Indexes arbitrary bytes (with and without the transparent fix-up) and cuts
// out every frame found. Sanitizers catch bad reads; the checks below catch
// frame tables that break their own invariants.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "FrameGif.h"
#include "GifIndex.h"

using namespace kinetile;

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

void IndexAndBuild(const uint8_t* bytes, size_t size, bool fix) {
    // An exact-size copy, so that a read one past the end is reported.
    std::unique_ptr<uint8_t[]> copy(new uint8_t[size ? size : 1]);
    if (size) std::memcpy(copy.get(), bytes, size);
    std::span<uint8_t> data(copy.get(), size);

    std::vector<GifFrame> frames;
    GifScreen screen;
    int32_t tableSize = -1;
    const int32_t n = IndexGifFrames(data, frames, screen, tableSize, fix);
    Check(n >= 0);
    if (n == 0) return;
    Check(static_cast<size_t>(n) == frames.size());

    int64_t previousEnd = 0;
    for (const GifFrame& f : frames) {
        Check(f.StartPos >= previousEnd && f.Size > 0);
        const int64_t end = int64_t{f.StartPos} + f.Size;
        Check(end <= static_cast<int64_t>(size));
        previousEnd = end;
        std::vector<uint8_t> single;
        BuildFrameGif(data, f, tableSize, single);
        Check(single.size() == 13 + static_cast<size_t>(tableSize) + static_cast<size_t>(f.Size) + 1);
        Check(single.back() == 0x3B);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    IndexAndBuild(bytes, size, false);
    IndexAndBuild(bytes, size, true);
    return 0;
}
