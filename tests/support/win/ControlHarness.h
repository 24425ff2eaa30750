#pragma once
// What the control's tests share: registering the built control with the
// system's regsvr32, a window to host it in, and message pumping.
#include <windows.h>

#include <string>

namespace kinetile::test {

// Runs regsvr32 /s (with `unregister`, /s /u) on the built control file and
// returns its exit code.
DWORD RunRegsvr32(const std::wstring& ocxPath, bool unregister);

// A plain top-level window to put controls on.
class HostWindow {
public:
    HostWindow(int width = 400, int height = 300);
    ~HostWindow();
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;
    HWND get() const { return window_; }

private:
    HWND window_;
};

// Lets pending messages run for about `milliseconds`.
void PumpMessages(DWORD milliseconds);

}  // namespace kinetile::test
