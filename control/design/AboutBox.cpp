#include "AboutBox.h"

#include <vector>

#include "GdiHandles.h"
#include "Module.h"

namespace kinetile {
namespace {

constexpr wchar_t kClassName[] = L"KinetileAboutBox";
constexpr int kWidthTwips = 5400, kHeightTwips = 3600;

int Pixels(int twips, bool horizontal) {
    WindowDC screen(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen.get(), horizontal ? LOGPIXELSX : LOGPIXELSY) : 96;
    return MulDiv(twips, dpi > 0 ? dpi : 96, 1440);
}

void PaintBox(HWND window) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    RECT r;
    GetClientRect(window, &r);
    for (int y = 0; y < r.bottom; ++y) {  // a vertical blue gradient
        BrushHandle band(CreateSolidBrush(RGB(30 + y * 60 / (r.bottom ? r.bottom : 1), 60 + y * 80 / (r.bottom ? r.bottom : 1), 160)));
        const RECT line{0, y, r.right, y + 1};
        FillRect(dc, &line, band.get());
    }
    FontHandle title(CreateFontW(-28, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, L"Times New Roman"));
    FontHandle body(CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET, 0, 0, 0, 0, L"宋体"));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    {
        SelectedObject font(dc, title.get());
        RECT t{0, r.bottom / 4, r.right, r.bottom / 2};
        DrawTextW(dc, L"Kinetile", -1, &t, DT_CENTER | DT_SINGLELINE | DT_VCENTER);
    }
    SelectedObject font(dc, body.get());
    const std::wstring version = L"版本 " + AboutBox::VersionText();
    RECT v{0, r.bottom / 2, r.right, r.bottom * 2 / 3};
    DrawTextW(dc, version.c_str(), -1, &v, DT_CENTER | DT_SINGLELINE | DT_VCENTER);
    EndPaint(window, &ps);
}

}  // namespace

std::wstring AboutBox::VersionText() {
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(ModuleInstance(), path, MAX_PATH);
    if (n == 0 || n == MAX_PATH) return L"";
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path, &ignored);
    if (size == 0) return L"";
    std::vector<BYTE> data(size);
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!GetFileVersionInfoW(path, 0, size, data.data()) ||
        !VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &length) || !info)
        return L"";
    return std::to_wstring(HIWORD(info->dwFileVersionMS)) + L"." + std::to_wstring(LOWORD(info->dwFileVersionMS)) +
           L"." + std::to_wstring(LOWORD(info->dwFileVersionLS));
}

void AboutBox::ShowModal(HWND owner) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = ModuleInstance();
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    RegisterClassW(&wc);

    const int width = Pixels(kWidthTwips, true), height = Pixels(kHeightTwips, false);
    const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    HWND topOwner = owner ? GetAncestor(owner, GA_ROOT) : nullptr;
    HWND window = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kClassName, L"关于", WS_POPUP | WS_VISIBLE, x, y,
                                  width, height, topOwner, nullptr, ModuleInstance(), this);
    if (!window) return;
    SetFocus(window);  // Escape reaches the box
    const bool ownerWasEnabled = topOwner && IsWindowEnabled(topOwner);
    if (ownerWasEnabled) EnableWindow(topOwner, FALSE);
    MSG msg;
    while (!closed_ && IsWindow(window)) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));  // leave the quit for the program's own loop
            break;
        }
        if (got < 0) break;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (ownerWasEnabled) EnableWindow(topOwner, TRUE);
    if (IsWindow(window)) DestroyWindow(window);
}

LRESULT CALLBACK AboutBox::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    auto* box = reinterpret_cast<AboutBox*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
        case WM_PAINT:
            PaintBox(window);
            return 0;
        case WM_LBUTTONUP:
            if (box) box->closed_ = true;
            return 0;
        case WM_KEYDOWN:
            if (wParam == VK_ESCAPE && box) box->closed_ = true;  // Enter does nothing
            return 0;
        case WM_CLOSE:
            if (box) box->closed_ = true;
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace kinetile
