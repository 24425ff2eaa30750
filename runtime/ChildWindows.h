#pragma once
// Forms laid out in twips: child windows (labels, boxes, buttons, lists)
// made from a table of their places, the way a form file lists its controls.
#include <windows.h>

namespace kinetile {

// Twips to pixels at the screen's 96 dots per inch (15 twips per pixel).
constexpr int TwipsToPixels(int twips) { return twips * 96 / 1440; }

struct ChildWindow {
    int id;
    const wchar_t* windowClass;
    const wchar_t* text;
    DWORD style;  // besides WS_CHILD | WS_VISIBLE
    int left, top, width, height;  // twips
};

// Creates the child in `parent` and gives it `font`.
HWND CreateChildWindow(HWND parent, const ChildWindow& child, HFONT font, HINSTANCE instance);

}  // namespace kinetile
