#pragma once
// A test-only GIF writer: each fixture spells out its block layout, and the
// images carry real LZW data so that a decoder can read them too.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kinetile::test {

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    int32_t Value() const { return r + 256 * g + 65536 * b; }
};

// A palette of `count` distinct colours (count a power of two, 2..256).
std::vector<Rgb> DistinctPalette(int count);

class GifWriter {
public:
    GifWriter& Signature(std::string_view text = "GIF89a");
    // Logical screen descriptor with an optional global colour table (its
    // length must be a power of two from 2 to 256).
    GifWriter& Screen(uint16_t width, uint16_t height, const std::vector<Rgb>& globalTable = {},
                      uint8_t backIndex = 0, uint8_t aspect = 0);
    GifWriter& Loop(uint16_t count = 0);  // application extension with a loop count
    GifWriter& Comment(std::string_view text);
    GifWriter& GraphicControl(uint16_t delayHundredths, int disposal = 0,
                              std::optional<uint8_t> transparentIndex = std::nullopt);
    GifWriter& PlainText(std::string_view text);
    GifWriter& Extension(uint8_t label, const std::vector<std::vector<uint8_t>>& subBlocks);
    // An image of palette indices, row by row; `zeroPadding` extra zero bytes
    // after the data terminator.
    GifWriter& Image(uint16_t left, uint16_t top, uint16_t width, uint16_t height,
                     const std::vector<uint8_t>& pixels, const std::vector<Rgb>& localTable = {},
                     int zeroPadding = 0);
    // A solid image of one index.
    GifWriter& SolidImage(uint16_t left, uint16_t top, uint16_t width, uint16_t height, uint8_t index,
                          const std::vector<Rgb>& localTable = {});
    GifWriter& Raw(const std::vector<uint8_t>& bytes);
    GifWriter& Trailer();

    // Byte count so far: where the next block will start.
    int32_t Position() const { return static_cast<int32_t>(bytes_.size()); }
    const std::vector<uint8_t>& Bytes() const { return bytes_; }

private:
    void Put16(uint16_t v);
    void PutTable(const std::vector<Rgb>& table);
    void PutSubBlocks(const std::vector<uint8_t>& payload);

    std::vector<uint8_t> bytes_;
    int globalBits_ = 0;  // bits per index of the global table (0: none)
};

// A typical animation: loop extension, then per frame a graphic control
// extension (delay, disposal, transparency) and a full-screen solid image.
struct AnimationSpec {
    uint16_t width = 8, height = 6;
    int frames = 3;
    uint16_t delayHundredths = 10;
    int disposal = 1;
    std::optional<uint8_t> transparentIndex;
};
std::vector<uint8_t> TypicalAnimation(const AnimationSpec& spec = {});

}  // namespace kinetile::test
