#include "FrameGif.h"

namespace kinetile {

void BuildFrameGif(std::span<const uint8_t> data, const GifFrame& frame, int32_t globalTableSize,
                   std::vector<uint8_t>& out) {
    out.clear();
    if (globalTableSize < 0 || frame.StartPos < 0 || frame.Size <= 0) return;
    const size_t head = 13 + static_cast<size_t>(globalTableSize);
    const size_t start = static_cast<size_t>(frame.StartPos);
    const size_t size = static_cast<size_t>(frame.Size);
    if (head > data.size() || start > data.size() || size > data.size() - start) return;

    out.reserve(head + size + 1);
    out.insert(out.end(), data.begin(), data.begin() + static_cast<std::ptrdiff_t>(head));
    auto frameBytes = data.subspan(start, size);
    out.insert(out.end(), frameBytes.begin(), frameBytes.end());
    out.push_back(0x3B);
}

}  // namespace kinetile
