#include "BmpFile.h"

#include <fstream>
#include <vector>

#include "GdiHandles.h"
#include "TextConvert.h"

namespace kinetile {

bool SaveDCAsBmp(HDC source, int x, int y, int width, int height, const std::string& path) {
    if (width <= 0 || height <= 0) return false;
    BitmapHandle copy(CreateCompatibleBitmap(source, width, height));
    {
        MemoryDC copyDC(source);
        SelectedObject selected(copyDC.get(), copy.get());
        if (!BitBlt(copyDC.get(), 0, 0, width, height, source, x, y, SRCCOPY)) return false;
    }  // GetDIBits wants the bitmap selected nowhere

    const int stride = (width * 3 + 3) & ~3;
    BITMAPINFO header{};
    header.bmiHeader.biSize = sizeof header.bmiHeader;
    header.bmiHeader.biWidth = width;
    header.bmiHeader.biHeight = height;  // bottom-up, as .bmp files store rows
    header.bmiHeader.biPlanes = 1;
    header.bmiHeader.biBitCount = 24;
    header.bmiHeader.biCompression = BI_RGB;
    std::vector<char> pixels(static_cast<size_t>(stride) * static_cast<size_t>(height));
    if (GetDIBits(source, copy.get(), 0, static_cast<UINT>(height), pixels.data(), &header, DIB_RGB_COLORS) != height)
        return false;

    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof header.bmiHeader;
    file.bfSize = static_cast<DWORD>(file.bfOffBits + pixels.size());
    std::ofstream out(Utf8ToWide(path).c_str(), std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&header.bmiHeader), sizeof header.bmiHeader);
    out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
    return static_cast<bool>(out.flush());
}

}  // namespace kinetile
