#include "GifWriter.h"

#include <algorithm>
#include <stdexcept>

namespace kinetile::test {
namespace {

int BitsFor(size_t tableLength) {
    int bits = 1;
    while ((size_t{1} << bits) < tableLength) ++bits;
    if ((size_t{1} << bits) != tableLength || bits > 8) throw std::invalid_argument("table length must be 2..256, a power of two");
    return bits;
}

// LZW data that a standard decoder reads: every pixel a literal code, with a
// clear code often enough that the code width never grows.
std::vector<uint8_t> LzwLiterals(const std::vector<uint8_t>& pixels, int minCodeSize) {
    const int width = minCodeSize + 1;
    const uint32_t clear = 1u << minCodeSize;
    const size_t run = (size_t{1} << minCodeSize) - 2;  // literals per clear
    std::vector<uint8_t> out;
    uint32_t acc = 0;
    int bits = 0;
    auto put = [&](uint32_t code) {
        acc |= code << bits;
        bits += width;
        while (bits >= 8) {
            out.push_back(static_cast<uint8_t>(acc & 0xFF));
            acc >>= 8;
            bits -= 8;
        }
    };
    for (size_t i = 0; i < pixels.size(); ++i) {
        if (i % run == 0) put(clear);
        put(pixels[i]);
    }
    put(clear + 1);  // end of information
    if (bits > 0) out.push_back(static_cast<uint8_t>(acc & 0xFF));
    return out;
}

}  // namespace

std::vector<Rgb> DistinctPalette(int count) {
    std::vector<Rgb> table;
    for (int i = 0; i < count; ++i)
        table.push_back({static_cast<uint8_t>(i * 37 + 11), static_cast<uint8_t>(i * 91 + 3), static_cast<uint8_t>(i)});
    return table;
}

void GifWriter::Put16(uint16_t v) {
    bytes_.push_back(static_cast<uint8_t>(v & 0xFF));
    bytes_.push_back(static_cast<uint8_t>(v >> 8));
}

void GifWriter::PutTable(const std::vector<Rgb>& table) {
    for (const Rgb& c : table) bytes_.insert(bytes_.end(), {c.r, c.g, c.b});
}

void GifWriter::PutSubBlocks(const std::vector<uint8_t>& payload) {
    for (size_t i = 0; i < payload.size(); i += 255) {
        size_t n = std::min<size_t>(255, payload.size() - i);
        bytes_.push_back(static_cast<uint8_t>(n));
        bytes_.insert(bytes_.end(), payload.begin() + static_cast<std::ptrdiff_t>(i),
                      payload.begin() + static_cast<std::ptrdiff_t>(i + n));
    }
    bytes_.push_back(0);
}

GifWriter& GifWriter::Signature(std::string_view text) {
    bytes_.insert(bytes_.end(), text.begin(), text.end());
    return *this;
}

GifWriter& GifWriter::Screen(uint16_t width, uint16_t height, const std::vector<Rgb>& globalTable,
                             uint8_t backIndex, uint8_t aspect) {
    Put16(width);
    Put16(height);
    globalBits_ = globalTable.empty() ? 0 : BitsFor(globalTable.size());
    uint8_t packed = globalTable.empty() ? 0 : static_cast<uint8_t>(0x80 | 0x70 | (globalBits_ - 1));
    bytes_.insert(bytes_.end(), {packed, backIndex, aspect});
    PutTable(globalTable);
    return *this;
}

GifWriter& GifWriter::Loop(uint16_t count) {
    bytes_.insert(bytes_.end(), {0x21, 0xFF, 11});
    Signature("NETSCAPE2.0");
    bytes_.insert(bytes_.end(), {3, 1});
    Put16(count);
    bytes_.push_back(0);
    return *this;
}

GifWriter& GifWriter::Comment(std::string_view text) {
    bytes_.insert(bytes_.end(), {0x21, 0xFE});
    PutSubBlocks(std::vector<uint8_t>(text.begin(), text.end()));
    return *this;
}

GifWriter& GifWriter::GraphicControl(uint16_t delayHundredths, int disposal, std::optional<uint8_t> transparentIndex) {
    uint8_t packed = static_cast<uint8_t>(((disposal & 7) << 2) | (transparentIndex ? 1 : 0));
    bytes_.insert(bytes_.end(), {0x21, 0xF9, 4, packed});
    Put16(delayHundredths);
    bytes_.insert(bytes_.end(), {transparentIndex.value_or(0), 0});
    return *this;
}

GifWriter& GifWriter::PlainText(std::string_view text) {
    bytes_.insert(bytes_.end(), {0x21, 0x01, 12});
    bytes_.insert(bytes_.end(), {0, 0, 0, 0, 64, 0, 16, 0, 8, 16, 1, 0});
    PutSubBlocks(std::vector<uint8_t>(text.begin(), text.end()));
    return *this;
}

GifWriter& GifWriter::Extension(uint8_t label, const std::vector<std::vector<uint8_t>>& subBlocks) {
    bytes_.insert(bytes_.end(), {0x21, label});
    for (const auto& block : subBlocks) {
        bytes_.push_back(static_cast<uint8_t>(block.size()));
        bytes_.insert(bytes_.end(), block.begin(), block.end());
    }
    bytes_.push_back(0);
    return *this;
}

GifWriter& GifWriter::Image(uint16_t left, uint16_t top, uint16_t width, uint16_t height,
                            const std::vector<uint8_t>& pixels, const std::vector<Rgb>& localTable,
                            int zeroPadding) {
    bytes_.push_back(0x2C);
    Put16(left);
    Put16(top);
    Put16(width);
    Put16(height);
    const int localBits = localTable.empty() ? 0 : BitsFor(localTable.size());
    bytes_.push_back(localTable.empty() ? 0 : static_cast<uint8_t>(0x80 | (localBits - 1)));
    PutTable(localTable);
    const int tableBits = localBits ? localBits : (globalBits_ ? globalBits_ : 8);
    const int minCodeSize = std::max(2, tableBits);
    bytes_.push_back(static_cast<uint8_t>(minCodeSize));
    PutSubBlocks(LzwLiterals(pixels, minCodeSize));
    bytes_.insert(bytes_.end(), static_cast<size_t>(zeroPadding), 0);
    return *this;
}

GifWriter& GifWriter::SolidImage(uint16_t left, uint16_t top, uint16_t width, uint16_t height, uint8_t index,
                                 const std::vector<Rgb>& localTable) {
    return Image(left, top, width, height, std::vector<uint8_t>(size_t{width} * height, index), localTable);
}

GifWriter& GifWriter::Raw(const std::vector<uint8_t>& bytes) {
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    return *this;
}

GifWriter& GifWriter::Trailer() {
    bytes_.push_back(0x3B);
    return *this;
}

std::vector<uint8_t> TypicalAnimation(const AnimationSpec& spec) {
    GifWriter w;
    w.Signature().Screen(spec.width, spec.height, DistinctPalette(4)).Loop();
    for (int i = 0; i < spec.frames; ++i)
        w.GraphicControl(spec.delayHundredths, spec.disposal, spec.transparentIndex)
            .SolidImage(0, 0, spec.width, spec.height, static_cast<uint8_t>(i % 4));
    return w.Trailer().Bytes();
}

}  // namespace kinetile::test
