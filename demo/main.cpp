// KNTL-Demo02-Base: shows the Kinetile control's common properties, methods
// and events on one form.
//   KNTL-Demo02-Base.exe [--screenshot FILE.bmp [milliseconds]]
// With --screenshot the form runs for a while (1500 ms unless told), writes
// what it shows to FILE.bmp and closes.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

#include "BaseForm.h"
#include "BmpFile.h"
#include "TextConvert.h"

using namespace kinetile;

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::wstring screenshot;
    DWORD runFor = 1500;
    for (int i = 1; i < argc; ++i) {
        if (std::wstring(argv[i]) == L"--screenshot" && i + 1 < argc) {
            screenshot = argv[++i];
            if (i + 1 < argc) runFor = static_cast<DWORD>(_wtoi(argv[++i]));
        }
    }
    LocalFree(argv);

    OleInitialize(nullptr);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    std::unique_ptr<BaseForm> form = BaseForm::Create(instance);
    if (!form || !form->Control()) {
        MessageBoxW(nullptr, L"无法创建 Kinetile 控件：请先注册 Kinetile.ocx。", L"KTBaseDemo", MB_OK | MB_ICONERROR);
        OleUninitialize();
        return 1;
    }
    const DWORD start = GetTickCount();
    MSG msg;
    int code = 0;
    for (;;) {
        if (!screenshot.empty() && GetTickCount() - start >= runFor) {
            RECT r;
            GetClientRect(form->Window(), &r);
            RedrawWindow(form->Window(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
            HDC dc = GetDC(form->Window());
            const bool saved = SaveDCAsBmp(dc, 0, 0, r.right, r.bottom, WideToUtf8(screenshot));
            ReleaseDC(form->Window(), dc);
            code = saved ? 0 : 2;
            break;
        }
        if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) break;
            if (!IsDialogMessageW(form->Window(), &msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        } else {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
    }
    form.reset();
    OleUninitialize();
    return code;
}
