// The user control's surface: transparent painting over the container, the
// hit test, mouse and keyboard input, and coordinates in container units.
#include <windowsx.h>

#include <algorithm>

#include "DibSurface.h"
#include "Dispatch.h"
#include "Rounding.h"
#include "UserControl.h"

namespace kinetile {
namespace {

// Two backgrounds that no drawing leaves both untouched: a pixel the paint
// did not touch keeps each, any drawn pixel differs from at least one.
constexpr uint32_t kProbeA = 0x00010203;
constexpr uint32_t kProbeB = 0x00FEFDFC;

short ShiftState() {
    return static_cast<short>((GetKeyState(VK_SHIFT) < 0 ? 1 : 0) | (GetKeyState(VK_CONTROL) < 0 ? 2 : 0) |
                              (GetKeyState(VK_MENU) < 0 ? 4 : 0));
}

short ButtonsOf(WPARAM keys) {
    return static_cast<short>(((keys & MK_LBUTTON) ? 1 : 0) | ((keys & MK_RBUTTON) ? 2 : 0) |
                              ((keys & MK_MBUTTON) ? 4 : 0));
}

double ScreenDpi(bool horizontal) {
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, horizontal ? LOGPIXELSX : LOGPIXELSY) : 96;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

}  // namespace

double UserControl::TwipsPerPixelX() { return 1440.0 / ScreenDpi(true); }
double UserControl::TwipsPerPixelY() { return 1440.0 / ScreenDpi(false); }

bool UserControl::ContainerScale(double& originX, double& perPixelX, double& originY, double& perPixelY) {
    ComPtr<IOleControlSite> site;
    if (!site_ || FAILED(site_->QueryInterface(IID_IOleControlSite, site.put_void()))) return false;
    // HIMETRIC points are whole numbers, too coarse for one pixel: take the
    // container's scale and origin from a hundred inches instead.
    constexpr LONG kHundredInches = 254000;
    const DWORD flags = XFORMCOORDS_POSITION | XFORMCOORDS_HIMETRICTOCONTAINER;
    POINTL zero{0, 0}, distant{kHundredInches, kHundredInches};
    POINTF origin{}, scaled{};
    if (FAILED(site->TransformCoords(&zero, &origin, flags)) || FAILED(site->TransformCoords(&distant, &scaled, flags)))
        return false;
    originX = origin.x;
    originY = origin.y;
    perPixelX = (scaled.x - origin.x) / (100.0 * ScreenDpi(true));
    perPixelY = (scaled.y - origin.y) / (100.0 * ScreenDpi(false));
    return perPixelX != 0 && perPixelY != 0;
}

void UserControl::PixelsToContainer(float& x, float& y) {
    double originX, perPixelX, originY, perPixelY;
    if (!ContainerScale(originX, perPixelX, originY, perPixelY)) {
        originX = originY = 0;  // a container that does not say measures in twips
        perPixelX = TwipsPerPixelX();
        perPixelY = TwipsPerPixelY();
    }
    x = static_cast<float>(originX + x * perPixelX);
    y = static_cast<float>(originY + y * perPixelY);
}

void UserControl::ContainerToPixels(float& x, float& y) {
    double originX, perPixelX, originY, perPixelY;
    if (!ContainerScale(originX, perPixelX, originY, perPixelY)) {
        originX = originY = 0;
        perPixelX = TwipsPerPixelX();
        perPixelY = TwipsPerPixelY();
    }
    x = static_cast<float>((x - originX) / perPixelX);
    y = static_cast<float>((y - originY) / perPixelY);
}

ComPtr<IDispatch> UserControl::Extender() {
    ComPtr<IOleControlSite> site;
    ComPtr<IDispatch> extender;
    if (site_ && SUCCEEDED(site_->QueryInterface(IID_IOleControlSite, site.put_void())))
        site->GetExtendedControl(extender.put());
    return extender;
}

HWND UserControl::ContainerHwnd() const { return window_ ? GetParent(window_) : nullptr; }

RECT UserControl::RectInContainer() {
    RECT r{};
    if (ComPtr<IDispatch> extender = Extender()) {
        float values[4];
        bool all = true;
        const wchar_t* names[] = {L"Left", L"Top", L"Width", L"Height"};
        for (int i = 0; i < 4 && all; ++i) {
            Variant value;
            VARIANT converted;
            VariantInit(&converted);
            all = SUCCEEDED(DispatchGet(extender.get(), names[i], value)) &&
                  SUCCEEDED(VariantChangeType(&converted, &value.get(), 0, VT_R4));
            values[i] = converted.fltVal;
        }
        if (all) {
            // Left/Top are positions, Width/Height lengths, all in container units.
            float left = values[0], top = values[1], right = values[0] + values[2], bottom = values[1] + values[3];
            ContainerToPixels(left, top);
            ContainerToPixels(right, bottom);
            return RECT{RoundHalfEven(left), RoundHalfEven(top), RoundHalfEven(right), RoundHalfEven(bottom)};
        }
    }
    if (!window_) return r;
    GetWindowRect(window_, &r);
    MapWindowPoints(nullptr, ContainerHwnd(), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void UserControl::PaintSurface() {
    PAINTSTRUCT ps;
    HDC target = BeginPaint(window_, &ps);
    RECT client;
    GetClientRect(window_, &client);
    const int w = client.right, h = client.bottom;
    DibSurface first(w, h), second(w, h), shown(w, h);
    if (!first.Valid() || !second.Valid() || !shown.Valid()) {
        EndPaint(window_, &ps);
        return;
    }
    const size_t count = static_cast<size_t>(w) * static_cast<size_t>(h);
    std::fill_n(first.Pixels(), count, kProbeA);
    std::fill_n(second.Pixels(), count, kProbeB);
    Paint(first.dc());
    Paint(second.dc());

    // What the container shows where the control is: its background and
    // what it paints for printing.
    shown.Fill(static_cast<int32_t>(GetSysColor(COLOR_BTNFACE)));
    if (HWND parent = ContainerHwnd()) {
        POINT origin{0, 0};
        MapWindowPoints(window_, parent, &origin, 1);
        POINT previous;
        SetViewportOrgEx(shown.dc(), -origin.x, -origin.y, &previous);
        SendMessageW(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(shown.dc()), 0);
        SendMessageW(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(shown.dc()), PRF_CLIENT);
        SetViewportOrgEx(shown.dc(), previous.x, previous.y, nullptr);
    }
    GdiFlush();
    painted_.assign(count, false);
    paintedWidth_ = w;
    paintedHeight_ = h;
    const uint32_t* a = first.Pixels();
    const uint32_t* b = second.Pixels();
    uint32_t* out = shown.Pixels();
    for (size_t i = 0; i < painted_.size(); ++i) {
        if (a[i] != kProbeA || b[i] != kProbeB) {
            painted_[i] = true;
            out[i] = a[i];
        }
    }
    BitBlt(target, 0, 0, w, h, shown.dc(), 0, 0, SRCCOPY);
    EndPaint(window_, &ps);
}

LRESULT UserControl::OnHitTest(LPARAM lParam) {
    POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ScreenToClient(window_, &p);
    short result = 0;
    if (hitTestMode_ == 2 && p.x >= 0 && p.y >= 0 && p.x < paintedWidth_ && p.y < paintedHeight_)
        result = painted_[static_cast<size_t>(p.y) * static_cast<size_t>(paintedWidth_) + static_cast<size_t>(p.x)] ? 3 : 0;
    HitTest(static_cast<float>(p.x), static_cast<float>(p.y), result);
    // Anything but a hit passes the point on to the window beneath.
    return result == 3 ? HTCLIENT : HTTRANSPARENT;
}

bool UserControl::OnInput(UINT message, WPARAM wParam, LPARAM lParam) {
    const float x = static_cast<float>(GET_X_LPARAM(lParam)), y = static_cast<float>(GET_Y_LPARAM(lParam));
    switch (message) {
        case WM_MOUSEMOVE:
            MouseMove(ButtonsOf(wParam), ShiftState(), x, y);
            return true;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN: {
            SetFocus(window_);
            SetCapture(window_);
            const short button = message == WM_LBUTTONDOWN ? 1 : message == WM_RBUTTONDOWN ? 2 : 4;
            if (button == 1) {
                leftDown_ = true;
                doubleClicked_ = false;
            }
            MouseDown(button, ShiftState(), x, y);
            return true;
        }
        case WM_LBUTTONDBLCLK:
            // The second press of a double click: DblClick instead of a
            // MouseDown, and no Click when it is let go.
            SetCapture(window_);
            leftDown_ = true;
            doubleClicked_ = true;
            DblClick();
            return true;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP: {
            const short button = message == WM_LBUTTONUP ? 1 : message == WM_RBUTTONUP ? 2 : 4;
            if (GetCapture() == window_ && !(wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON))) ReleaseCapture();
            MouseUp(button, ShiftState(), x, y);
            if (button == 1 && leftDown_) {
                leftDown_ = false;
                RECT client;
                GetClientRect(window_, &client);
                POINT p{static_cast<LONG>(x), static_cast<LONG>(y)};
                if (!doubleClicked_ && PtInRect(&client, p)) Click();
            }
            return true;
        }
        case WM_SETFOCUS:
        case WM_KILLFOCUS: {
            // The container hears of the focus (a form raises GotFocus/LostFocus).
            ComPtr<IOleControlSite> site;
            if (site_ && SUCCEEDED(site_->QueryInterface(IID_IOleControlSite, site.put_void())))
                site->OnFocus(message == WM_SETFOCUS);
            return false;  // the defaults still run
        }
        case WM_KEYDOWN:
        case WM_KEYUP: {
            short keyCode = static_cast<short>(wParam), shift = ShiftState();
            message == WM_KEYDOWN ? KeyDown(keyCode, shift) : KeyUp(keyCode, shift);
            return true;
        }
        case WM_CHAR: {
            short keyAscii = static_cast<short>(wParam);
            KeyPress(keyAscii);
            return true;
        }
        default:
            return false;
    }
}

}  // namespace kinetile
