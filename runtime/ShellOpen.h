#pragma once
// Opening a document or address with the shell's "open" verb, through one
// seam that tests can replace (the real call would start a browser).
#include <windows.h>

#include <functional>
#include <string>

namespace kinetile {

using ShellOpenHandler = std::function<void(HWND owner, const std::wstring& target, const std::wstring& folder)>;

// ShellExecute with "open", no parameters, `folder` as working directory,
// the normal show command; the result is not examined.
void ShellOpen(HWND owner, const std::wstring& target, const std::wstring& folder);

class ScopedShellOpenHandler {
public:
    explicit ScopedShellOpenHandler(ShellOpenHandler handler);
    ~ScopedShellOpenHandler();
    ScopedShellOpenHandler(const ScopedShellOpenHandler&) = delete;
    ScopedShellOpenHandler& operator=(const ScopedShellOpenHandler&) = delete;

private:
    ShellOpenHandler previous_;
};

}  // namespace kinetile
