#include "GifIndex.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "Rounding.h"

namespace kinetile {
namespace {

constexpr uint8_t kExtensionIntroducer = 0x21;
constexpr uint8_t kImageSeparator = 0x2C;
constexpr uint8_t kApplicationLabel = 0xFF;
constexpr uint8_t kGraphicControlLabel = 0xF9;
constexpr uint8_t kPlainTextLabel = 0x01;
constexpr size_t kScreenEnd = 13;  // signature (6) + logical screen descriptor (7)

bool HasGifSignature(std::span<const uint8_t> data) {
    if (data.size() < 6) return false;
    return std::memcmp(data.data(), "GIF87a", 6) == 0 || std::memcmp(data.data(), "GIF89a", 6) == 0;
}

uint16_t Le16(std::span<const uint8_t> data, size_t at) {
    return static_cast<uint16_t>(data[at] | (data[at + 1] << 8));
}

// Steps over a chain of data sub-blocks and its zero terminator. False when
// the chain runs past the end of the data: the stream is cut off there.
bool SkipSubBlocks(std::span<const uint8_t> data, size_t& p) {
    while (p < data.size() && data[p] != 0) p += size_t{data[p]} + 1;
    if (p >= data.size()) return false;
    p += 1;
    return true;
}

int32_t EntryColor(std::span<const uint8_t> data, size_t at) {
    return data[at] + 256 * data[at + 1] + 65536 * data[at + 2];
}

// The delay field holds milliseconds in 16 signed bits; a longer delay (3277
// hundredths or more) is kept as the longest one the field can hold rather
// than wrapping round to a short or negative time.
int16_t DelayMilliseconds(uint8_t low, uint8_t high) {
    int32_t ms = (low + 256 * high) * 10;
    return static_cast<int16_t>(std::min<int32_t>(ms, std::numeric_limits<int16_t>::max()));
}

}  // namespace

int32_t ColorTableSize(uint8_t packed) {
    return (packed & 0x80) ? 3 * (1 << ((packed & 7) + 1)) : 0;
}

int32_t FixTransparentColor(std::span<uint8_t> data, int32_t tableSize, int32_t tablePos, uint8_t index) {
    const size_t pos = static_cast<size_t>(tablePos);
    const size_t size = static_cast<size_t>(tableSize);
    const size_t own = 3 * size_t{index};
    // An index outside the table (or a table outside the data) names no colour.
    if (tablePos < 0 || tableSize < 3 || own + 3 > size || pos + size > data.size()) return 0;

    const int32_t color = EntryColor(data, pos + own);
    auto usedByOther = [&](int32_t value) {
        for (size_t k = 0; k + 3 <= size; k += 3)
            if (k != own && EntryColor(data, pos + k) == value) return true;
        return false;
    };
    if (!usedByOther(color)) return color;

    int32_t max1 = 0, max2 = 0;
    for (size_t k = 0; k + 3 <= size; k += 3) {
        int32_t v = EntryColor(data, pos + k);
        if (v > max1) {
            max2 = max1;
            max1 = v;
        } else if (v > max2) {
            max2 = v;
        }
    }
    int32_t fresh = RoundHalfEven(max1 - (max1 - max2) / 2.0);
    // The midpoint is unique whenever the two largest values are 2 or more
    // apart. When they are not (a table of near-equal or repeated brightest
    // colours) the midpoint can be a visible colour, and the colour key would
    // then erase those pixels too; step down to the nearest unused value. At
    // most 255 other entries exist, so this ends within 256 steps.
    while (usedByOther(fresh)) fresh = (fresh + 0xFFFFFF) % 0x1000000;

    data[pos + own] = static_cast<uint8_t>(fresh & 0xFF);
    data[pos + own + 1] = static_cast<uint8_t>((fresh / 256) & 0xFF);
    data[pos + own + 2] = static_cast<uint8_t>((fresh / 65536) & 0xFF);
    return fresh;
}

int32_t IndexGifFrames(std::span<uint8_t> data, std::vector<GifFrame>& frames, GifScreen& screen,
                       int32_t& globalTableSize, bool fixTransparent) {
    if (!HasGifSignature(data)) return 0;
    // Positions are 32-bit; bytes beyond that range are never indexed.
    if (data.size() > size_t{std::numeric_limits<int32_t>::max()})
        data = data.first(size_t{std::numeric_limits<int32_t>::max()});

    frames.clear();
    if (data.size() < kScreenEnd) {
        // A signature without a complete screen descriptor describes no
        // screen at all: report an empty one rather than half of one.
        screen = GifScreen{};
        globalTableSize = 0;
        return 0;
    }
    screen.Width = Le16(data, 6);
    screen.Height = Le16(data, 8);
    screen.Flags = data[10];
    screen.BackIndex = data[11];
    screen.Aspect = data[12];
    globalTableSize = ColorTableSize(screen.Flags);

    const size_t n = data.size();
    size_t p = kScreenEnd + static_cast<size_t>(globalTableSize);
    bool pending = false;
    size_t g = 0;  // position of the pending graphic control extension

    while (p < n) {
        const uint8_t block = data[p];
        if (block == kExtensionIntroducer) {
            if (p + 1 >= n) break;
            const uint8_t label = data[p + 1];
            if (label == kGraphicControlLabel) {
                pending = true;
                g = p;
                p += 8;
                continue;
            }
            if (label == kApplicationLabel) {
                p += 14;
            } else if (label == kPlainTextLabel) {
                pending = false;  // it belonged to the text, which is not drawn
                p += 15;
            } else {
                p += 2;  // comment (0xFE) and unknown extensions alike
            }
            if (!SkipSubBlocks(data, p)) break;
        } else if (block == kImageSeparator) {
            // The descriptor is 10 bytes; a stream cut off inside it ends here.
            if (p + 9 >= n) break;
            GifFrame frame;
            if (pending) {
                frame.Delay = DelayMilliseconds(data[g + 4], data[g + 5]);
                frame.Flags = data[g + 3];
                frame.StartPos = static_cast<int32_t>(g);
            } else {
                frame.StartPos = static_cast<int32_t>(p);
            }
            const bool transparent = pending && frame.IsTransparent();
            const uint8_t transIndex = pending ? data[g + 6] : 0;
            pending = false;

            frame.Left = static_cast<int16_t>(Le16(data, p + 1));
            frame.Top = static_cast<int16_t>(Le16(data, p + 3));
            frame.Width = static_cast<int16_t>(Le16(data, p + 5));
            frame.Height = static_cast<int16_t>(Le16(data, p + 7));
            const uint8_t packed = data[p + 9];
            const int32_t localSize = ColorTableSize(packed);
            const size_t localPos = p + 10;

            p += 11 + static_cast<size_t>(localSize);
            // A frame counts only when its data terminator lies inside the
            // data, so the bytes handed on to the picture builder are whole.
            if (!SkipSubBlocks(data, p)) break;
            while (p < n && data[p] == 0) ++p;
            frame.Size = static_cast<int32_t>(p - static_cast<size_t>(frame.StartPos));

            if (transparent) {
                frame.TransIndex = transIndex;
                const int32_t tableSize = localSize ? localSize : globalTableSize;
                const int32_t tablePos = static_cast<int32_t>(localSize ? localPos : kScreenEnd);
                // With no colour table at all the frame's own blocks supply no
                // colour, and like every unsupplied field it stays 0.
                if (fixTransparent) {
                    frame.TransColor = FixTransparentColor(data, tableSize, tablePos, transIndex);
                } else if (3 * int32_t{transIndex} + 3 <= tableSize) {
                    frame.TransColor = EntryColor(data, static_cast<size_t>(tablePos) + 3 * size_t{transIndex});
                }
            }
            frames.push_back(frame);
        } else {
            // The trailer (0x3B) ends the stream. Any other byte means the block
            // structure is lost: image data read as blocks would give
            // invented frames, so the scan ends and keeps what it found.
            break;
        }
    }
    return static_cast<int32_t>(frames.size());
}

}  // namespace kinetile
