// hostshot: puts the registered Kinetile control on a window with a striped
// background, loads a GIF, plays it for a while and writes what the window
// shows as a BMP: a look at the control as a host's form shows it.
//   hostshot FILE.gif OUT.bmp [milliseconds]
#include <windows.h>

#include <cstdio>
#include <string>

#include "AxHost.h"
#include "BmpFile.h"
#include "GdiHandles.h"
#include "TextConvert.h"

using namespace kinetile;

namespace {

LRESULT CALLBACK StripedForm(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) {
        RECT r;
        GetClientRect(window, &r);
        for (int x = 0; x < r.right; x += 8) {
            BrushHandle stripe(CreateSolidBrush((x / 8) % 2 ? RGB(250, 220, 120) : RGB(120, 170, 240)));
            const RECT band{x, 0, x + 8, r.bottom};
            FillRect(reinterpret_cast<HDC>(wParam), &band, stripe.get());
        }
        return 1;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: hostshot FILE.gif OUT.bmp [milliseconds]\n");
        return 1;
    }
    const DWORD playFor = argc > 3 ? static_cast<DWORD>(_wtoi(argv[3])) : 500;
    OleInitialize(nullptr);
    WNDCLASSW wc{};
    wc.lpfnWndProc = StripedForm;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"HostShotForm";
    RegisterClassW(&wc);
    HWND form = CreateWindowExW(0, wc.lpszClassName, L"hostshot", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 240,
                                180, nullptr, nullptr, wc.hInstance, nullptr);
    HRESULT hr = E_FAIL;
    auto host = AxHost::Create(form, L"KinetileLib.Kinetile", RECT{60, 40, 180, 140}, Ambient{true, L"Kinetile1"},
                               nullptr, &hr);
    if (!host) {
        std::fprintf(stderr, "hostshot: the control could not be created (0x%08lx); is it registered?\n", hr);
        return 2;
    }
    host->Put(L"BackStyle", Variant::Int32(0));
    host->Put(L"BorderStyle", Variant::Int32(1));
    BSTR name = SysAllocString(argv[1]);
    VARIANT arg;
    arg.vt = VT_BSTR | VT_BYREF;
    arg.pbstrVal = &name;
    Variant loaded;
    host->Call(L"LoadGif", {arg}, &loaded);
    SysFreeString(name);
    host->Call(L"Play", {});
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < playFor) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        Sleep(5);
    }
    RedrawWindow(form, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    bool saved;
    {
        WindowDC dc(form);
        saved = SaveDCAsBmp(dc.get(), 0, 0, 240, 180, WideToUtf8(argv[2]));
    }
    host.reset();
    DestroyWindow(form);
    OleUninitialize();
    if (!saved) {
        std::fprintf(stderr, "hostshot: %ls cannot be written\n", argv[2]);
        return 2;
    }
    return 0;
}
