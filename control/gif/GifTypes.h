#pragma once
// The frame-table record and the logical screen descriptor of a GIF stream.
// Field widths follow the records the control stores and hands around.
#include <cstdint>

namespace kinetile {

struct GifScreen {
    uint16_t Width = 0;
    uint16_t Height = 0;
    uint8_t Flags = 0;      // 0x80: a global colour table follows; low 3 bits: size exponent
    uint8_t BackIndex = 0;  // not used
    uint8_t Aspect = 0;     // not used

    bool operator==(const GifScreen&) const = default;
};

struct GifFrame {
    int32_t StartPos = 0;    // "!" of the graphic control extension, else "," of the image
    int32_t Size = 0;        // up to the first non-zero byte after the data terminator
    int16_t Delay = 0;       // milliseconds
    uint8_t Flags = 0;       // graphic control packed byte: 0x1C disposal, 0x01 transparent
    int32_t TransColor = 0;  // red + 256 * green + 65536 * blue
    int16_t TransIndex = 0;
    int32_t Width = 0;       // signed 16-bit in the descriptor, widened
    int32_t Height = 0;
    int16_t Left = 0;
    int16_t Top = 0;

    bool operator==(const GifFrame&) const = default;

    int Disposal() const { return (Flags & 0x1C) >> 2; }
    bool IsTransparent() const { return (Flags & 0x01) != 0; }
};

}  // namespace kinetile
