#include "DibSurface.h"

namespace kinetile {
namespace {

uint32_t ToDib(int32_t rgb) {
    return static_cast<uint32_t>(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF));
}

int32_t FromDib(uint32_t p) { return static_cast<int32_t>(((p >> 16) & 0xFF) | (p & 0xFF00) | ((p & 0xFF) << 16)); }

}  // namespace

DibSurface::DibSurface(int width, int height) : width_(width), height_(height), dc_(nullptr) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    if (width > 0 && height > 0) bitmap_.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    bits_ = bitmap_ ? static_cast<uint32_t*>(bits) : nullptr;
    if (bits_) selected_.emplace(dc_.get(), bitmap_.get());
}

int32_t DibSurface::At(int x, int y) const {
    GdiFlush();
    return FromDib(bits_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)]);
}

void DibSurface::Set(int x, int y, int32_t color) {
    GdiFlush();
    bits_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)] = ToDib(color);
}

void DibSurface::Fill(int32_t color) {
    GdiFlush();
    const uint32_t value = ToDib(color);
    for (size_t i = 0, n = static_cast<size_t>(width_) * static_cast<size_t>(height_); i < n; ++i) bits_[i] = value;
}

bool DibSurface::SameAs(const DibSurface& other) const {
    if (width_ != other.width_ || height_ != other.height_) return false;
    GdiFlush();
    for (size_t i = 0, n = static_cast<size_t>(width_) * static_cast<size_t>(height_); i < n; ++i)
        if (bits_[i] != other.bits_[i]) return false;
    return true;
}

}  // namespace kinetile
