#pragma once
// Every message box of the system goes through here, so that tests can
// capture what would be shown instead of blocking on a modal window.
#include <windows.h>

#include <functional>
#include <string>

namespace kinetile {

using MessageBoxHandler = std::function<int(HWND owner, const std::wstring& text, const std::wstring& title, UINT style)>;

int ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& title, UINT style);

// Replaces the handler for this scope (the system's MessageBoxW otherwise).
class ScopedMessageBoxHandler {
public:
    explicit ScopedMessageBoxHandler(MessageBoxHandler handler);
    ~ScopedMessageBoxHandler();
    ScopedMessageBoxHandler(const ScopedMessageBoxHandler&) = delete;
    ScopedMessageBoxHandler& operator=(const ScopedMessageBoxHandler&) = delete;

private:
    MessageBoxHandler previous_;
};

}  // namespace kinetile
