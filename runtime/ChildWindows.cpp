#include "ChildWindows.h"

namespace kinetile {

HWND CreateChildWindow(HWND parent, const ChildWindow& child, HFONT font, HINSTANCE instance) {
    HWND window = CreateWindowExW(0, child.windowClass, child.text, WS_CHILD | WS_VISIBLE | child.style,
                                  TwipsToPixels(child.left), TwipsToPixels(child.top), TwipsToPixels(child.width),
                                  TwipsToPixels(child.height), parent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(child.id)), instance, nullptr);
    if (window && font) SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return window;
}

}  // namespace kinetile
