#include "ControlHarness.h"

#include <vector>

namespace kinetile::test {

DWORD RunRegsvr32(const std::wstring& ocxPath, bool unregister) {
    // From a 32-bit process this path leads to the 32-bit regsvr32.
    std::wstring command = L"C:\\windows\\system32\\regsvr32.exe /s ";
    if (unregister) command += L"/u ";
    command += L"\"" + ocxPath + L"\"";
    std::vector<wchar_t> line(command.begin(), command.end());
    line.push_back(L'\0');
    STARTUPINFOW startup{sizeof startup};
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return static_cast<DWORD>(-1);
    WaitForSingleObject(process.hProcess, 60000);
    DWORD code = static_cast<DWORD>(-1);
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

HostWindow::HostWindow(int width, int height) {
    // The pointer starts far from every test's windows, so that no test
    // sees mouse events it did not make.
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"KinetileTestHost";
    RegisterClassW(&wc);
    window_ = CreateWindowExW(0, wc.lpszClassName, L"host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0,
                              width, height, nullptr, nullptr, wc.hInstance, nullptr);
}

HostWindow::~HostWindow() {
    if (window_) DestroyWindow(window_);
}

void PumpMessages(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    do {
        // Busy timers can keep the queue full: look at the clock per message.
        MSG msg;
        while (GetTickCount() - start < milliseconds && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(1);
    } while (GetTickCount() - start < milliseconds);
}

}  // namespace kinetile::test
