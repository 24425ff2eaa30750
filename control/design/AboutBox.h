#pragma once
// The control's About box: borderless, centred, 5400 x 3600 twips, closed by
// a click or Escape.
#include <windows.h>

#include <string>

namespace kinetile {

class AboutBox {
public:
    // Shows the box modally over `owner` and returns when it is closed.
    void ShowModal(HWND owner);
    // "1.0.1": major, minor and revision of the control file's version.
    static std::wstring VersionText();

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool closed_ = false;
};

}  // namespace kinetile
