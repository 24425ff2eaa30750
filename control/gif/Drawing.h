#pragma once
// Drawing for the control and its property page: the probe for the system's
// colour-keyed blit and a replacement built from masks, one frame with the
// GIF disposal rule, and the control's border.
#include <windows.h>
#include <ocidl.h>

#include <cstdint>

#include "GifTypes.h"

namespace kinetile {

// 0 = not yet probed, 1 = the system has GdiTransparentBlt, 2 = it does not
// (colour-keyed copies then go through TransparentBltMasked). Per thread: the
// control sets it once before its thread first draws.
extern thread_local int32_t m_TransBltMode;

// Values of the control's BorderStyle property.
enum BorderStyleValue : int32_t { kBorderNone = 0, kBorder3D = 1, kBorderFlat = 2 };

// 1 when gdi32 offers GdiTransparentBlt, else 2.
int32_t HasGdiTransparentBlt();

// The system's GdiTransparentBlt, for callers in mode 1 (null where absent).
using GdiTransparentBltFn = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, UINT);
GdiTransparentBltFn SystemTransparentBlt();

// Copies the w x h source rectangle to (x, y), leaving the destination
// unchanged wherever the source pixel equals `keyColor` (an RGB value).
void TransparentBltMasked(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                          int32_t keyColor);

// Carries out the previous frame's disposal, then draws `picture` at the
// current frame's place (colour-keyed when the frame is transparent).
void DrawFrame(HDC dc, IPicture* picture, const GifFrame& current, int32_t backColor, const GifFrame& previous,
               int xOffset, int yOffset);

// The record that starts every cycle: restore-to-background over the whole
// logical screen, so frame 0 is drawn onto a cleared canvas.
GifFrame PseudoPreviousFrame(int width, int height);

// A sunken 3D frame or a flat outline on the outermost pixel ring.
void DrawBorder(HDC dc, int32_t color, int32_t style, int width, int height);

}  // namespace kinetile
