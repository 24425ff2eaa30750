#include "Drawing.h"

#include <olectl.h>

#include "GdiHandles.h"
#include "ShadeColor.h"

namespace kinetile {

thread_local int32_t m_TransBltMode = 0;

namespace {

constexpr uint8_t kRestoreToBackground = 0x08;  // disposal method 2 in the packed byte

// GDI handles in a 64-bit process keep 32 significant bits, sign-extended.
HBITMAP BitmapOf(IPicture* picture) {
    OLE_HANDLE handle = 0;
    SHORT type = PICTYPE_UNINITIALIZED;
    if (FAILED(picture->get_Type(&type)) || type != PICTYPE_BITMAP) return nullptr;
    if (FAILED(picture->get_Handle(&handle))) return nullptr;
    return static_cast<HBITMAP>(LongToHandle(static_cast<LONG>(handle)));
}

}  // namespace

int32_t HasGdiTransparentBlt() {
    HMODULE gdi = LoadLibraryW(L"gdi32.dll");
    if (!gdi) return 2;
    const bool found = GetProcAddress(gdi, "GdiTransparentBlt") != nullptr;
    FreeLibrary(gdi);
    return found ? 1 : 2;
}

GdiTransparentBltFn SystemTransparentBlt() {
    // gdi32 stays loaded for the life of any program that draws.
    static const GdiTransparentBltFn fn = [] {
        HMODULE gdi = GetModuleHandleW(L"gdi32.dll");
        return gdi ? reinterpret_cast<GdiTransparentBltFn>(reinterpret_cast<void*>(GetProcAddress(gdi, "GdiTransparentBlt")))
                   : nullptr;
    }();
    return fn;
}

void TransparentBltMasked(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                          int32_t keyColor) {
    BitmapHandle maskBitmap(CreateBitmap(width, height, 1, 1, nullptr));
    BitmapHandle inverseBitmap(CreateBitmap(width, height, 1, 1, nullptr));
    BitmapHandle workBitmap(CreateCompatibleBitmap(dest, width, height));
    BitmapHandle copyBitmap(CreateCompatibleBitmap(dest, width, height));
    MemoryDC mask(dest), inverse(dest), work(dest), copy(dest);
    SelectedObject maskSel(mask.get(), maskBitmap.get());
    SelectedObject inverseSel(inverse.get(), inverseBitmap.get());
    SelectedObject workSel(work.get(), workBitmap.get());
    SelectedObject copySel(copy.get(), copyBitmap.get());

    // Converting to monochrome gives white where the source pixel equals the
    // source DC's background colour: that is the key.
    const COLORREF previousBack = SetBkColor(source, static_cast<COLORREF>(keyColor));
    BitBlt(mask.get(), 0, 0, width, height, source, sourceX, sourceY, SRCCOPY);
    SetBkColor(source, previousBack);

    BitBlt(inverse.get(), 0, 0, width, height, mask.get(), 0, 0, NOTSRCCOPY);
    BitBlt(work.get(), 0, 0, width, height, dest, x, y, SRCCOPY);
    BitBlt(work.get(), 0, 0, width, height, mask.get(), 0, 0, SRCAND);  // background where transparent
    BitBlt(copy.get(), 0, 0, width, height, source, sourceX, sourceY, SRCCOPY);
    BitBlt(copy.get(), 0, 0, width, height, inverse.get(), 0, 0, SRCAND);  // source where opaque
    BitBlt(work.get(), 0, 0, width, height, copy.get(), 0, 0, SRCINVERT);
    BitBlt(dest, x, y, width, height, work.get(), 0, 0, SRCCOPY);
}

GifFrame PseudoPreviousFrame(int width, int height) {
    GifFrame f;
    f.Flags = kRestoreToBackground;
    f.Width = width;
    f.Height = height;
    return f;
}

void DrawFrame(HDC dc, IPicture* picture, const GifFrame& current, int32_t backColor, const GifFrame& previous,
               int xOffset, int yOffset) {
    if ((previous.Flags & 0x1C) == kRestoreToBackground) {
        const int left = previous.Left + xOffset;
        const int top = previous.Top + yOffset;
        const RECT area{left, top, left + previous.Width, top + previous.Height};
        BrushHandle background(CreateSolidBrush(static_cast<COLORREF>(backColor)));
        FillRect(dc, &area, background.get());
    }
    // A frame the loader could not decode draws nothing; the disposal above
    // belongs to the previous frame and has been carried out regardless.
    if (!picture) return;
    HBITMAP bitmap = BitmapOf(picture);
    if (!bitmap) return;

    MemoryDC frameDC(dc);
    SelectedObject selected(frameDC.get(), bitmap);
    BITMAP info{};
    GetObjectA(bitmap, sizeof info, &info);
    const int x = current.Left + xOffset;
    const int y = current.Top + yOffset;
    if (current.Flags & 1) {
        GdiTransparentBltFn systemBlt = SystemTransparentBlt();
        if (m_TransBltMode == 1 && systemBlt) {
            systemBlt(dc, x, y, info.bmWidth, info.bmHeight, frameDC.get(), 0, 0, info.bmWidth, info.bmHeight,
                      static_cast<UINT>(current.TransColor));
        } else {
            TransparentBltMasked(dc, x, y, info.bmWidth, info.bmHeight, frameDC.get(), 0, 0, current.TransColor);
        }
    } else {
        BitBlt(dc, x, y, info.bmWidth, info.bmHeight, frameDC.get(), 0, 0, SRCCOPY);
    }
}

void DrawBorder(HDC dc, int32_t color, int32_t style, int width, int height) {
    const int w = width, h = height;
    if (style == kBorder3D) {
        PenHandle light(CreatePen(PS_SOLID, 1, static_cast<COLORREF>(ShadeColor(color, 0.75f))));
        PenHandle dark(CreatePen(PS_SOLID, 1, static_cast<COLORREF>(ShadeColor(color, -0.45f))));
        SelectedObject kept(dc, light.get());
        MoveToEx(dc, 0, h - 1, nullptr);
        LineTo(dc, w - 1, h - 1);  // bottom edge
        LineTo(dc, w - 1, 0);      // right edge
        SelectObject(dc, dark.get());
        LineTo(dc, 0, 0);      // top edge
        LineTo(dc, 0, h - 1);  // left edge
    } else if (style == kBorderFlat) {
        PenHandle pen(CreatePen(PS_SOLID, 1, static_cast<COLORREF>(color)));
        SelectedObject kept(dc, pen.get());
        // An outline only: the null brush keeps the interior as it is.
        SelectedObject hollow(dc, GetStockObject(NULL_BRUSH));
        Rectangle(dc, 0, 0, w, h);
    }
}

}  // namespace kinetile
