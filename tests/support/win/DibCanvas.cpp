#include "DibCanvas.h"

#include <vector>

namespace kinetile::test {
namespace {

uint32_t ToDib(int32_t rgb) {
    return static_cast<uint32_t>(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF));
}

}  // namespace

DibCanvas::DibCanvas(int width, int height) : width_(width), height_(height), dc_(nullptr) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    bits_ = static_cast<uint32_t*>(bits);
    selected_.emplace(dc_.get(), bitmap_.get());
}

int32_t DibCanvas::At(int x, int y) const {
    GdiFlush();
    const uint32_t p = bits_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
    return static_cast<int32_t>(((p >> 16) & 0xFF) | (p & 0xFF00) | ((p & 0xFF) << 16));
}

void DibCanvas::Set(int x, int y, int32_t color) {
    GdiFlush();
    bits_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)] = ToDib(color);
}

void DibCanvas::Fill(int32_t color) {
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) Set(x, y, color);
}

bool DibCanvas::SameAs(const DibCanvas& other) const {
    if (width_ != other.width_ || height_ != other.height_) return false;
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            if (At(x, y) != other.At(x, y)) return false;
    return true;
}

int FreeGdiSlots() {
    std::vector<HBRUSH> brushes;
    brushes.reserve(70000);
    while (brushes.size() < 200000) {
        HBRUSH brush = CreateSolidBrush(0);
        if (!brush) break;
        brushes.push_back(brush);
    }
    for (HBRUSH brush : brushes) DeleteObject(brush);
    return static_cast<int>(brushes.size());
}

}  // namespace kinetile::test
