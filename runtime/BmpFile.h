#pragma once
// Writes what a device context shows to a 24-bit .bmp file, so a person can
// look at what was drawn.
#include <windows.h>

#include <string>

namespace kinetile {

// Copies the w x h area at (x, y) of `source` and writes it; UTF-8 path.
bool SaveDCAsBmp(HDC source, int x, int y, int width, int height, const std::string& path);

}  // namespace kinetile
