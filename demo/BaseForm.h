#pragma once
// frmBase: the demo's one form. It hosts Kinetile1 on a picture, binds lists,
// check boxes, buttons and a scroll bar to the control's properties and
// methods, and logs the control's events.
#include <windows.h>

#include <memory>
#include <string>

#include "AxHost.h"
#include "GdiHandles.h"

namespace kinetile {

class BaseForm {
public:
    static std::unique_ptr<BaseForm> Create(HINSTANCE instance);
    ~BaseForm();
    HWND Window() const { return window_; }
    AxHost* Control() const { return kinetile1_.get(); }
    // The event log's lines, oldest first.
    std::wstring LogText() const;

private:
    BaseForm() = default;
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK PictureProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void BuildControls(HINSTANCE instance);
    void Load();
    void OnCommand(int id, int code);
    void OnEvent(const ControlEvent& event);
    void Log(const std::wstring& line);

    HWND window_ = nullptr;
    HWND picture1_ = nullptr;
    FontHandle font_, linkFont_;
    BitmapHandle background_;
    std::unique_ptr<AxHost> kinetile1_;
};

// A single-precision number as the system writes it: up to 7 significant
// digits, no trailing zeros ("150", "12.5", "1E-05").
std::wstring FormatSingle(float value);

}  // namespace kinetile
