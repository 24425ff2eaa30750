#pragma once
// The control's About box: borderless, centred, 5400 x 3600 twips, the
// artwork with the version, and two hot spots that open the maker's web page
// and e-mail address. A click elsewhere or Escape closes it.
#include <windows.h>

#include <string>

#include "GdiHandles.h"

namespace kinetile {

class AboutBox {
public:
    AboutBox() = default;
    ~AboutBox();
    AboutBox(const AboutBox&) = delete;
    AboutBox& operator=(const AboutBox&) = delete;

    // Shows the box modally over `owner` and returns when it is closed.
    void ShowModal(HWND owner);
    // "1.0.1": major, minor and revision of the control file's version.
    static std::wstring VersionText();

    static constexpr const wchar_t* kClassName = L"KinetileAboutBox";
    // Places in the box's client pixels.
    static RECT SiteSpot();
    static RECT EmailSpot();
    static RECT VersionLabel();

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void AddToolTips(HWND window);
    void Paint(HWND window);

    bool closed_ = false;
    HWND toolTips_ = nullptr;
    FontHandle versionFont_;
};

}  // namespace kinetile
