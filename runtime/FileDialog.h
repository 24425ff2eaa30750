#pragma once
// The system's open-file dialog, through one seam that tests can replace.
#include <windows.h>

#include <functional>
#include <string>

namespace kinetile {

struct OpenFileRequest {
    HWND owner;
    std::wstring title;
    std::wstring filter;  // "name|pattern|name|pattern"
    std::wstring defaultExtension;
    DWORD flags;
};

// The chosen path, or empty when the dialog was cancelled.
using FileDialogHandler = std::function<std::wstring(const OpenFileRequest&)>;

std::wstring ChooseFileToOpen(const OpenFileRequest& request);

class ScopedFileDialogHandler {
public:
    explicit ScopedFileDialogHandler(FileDialogHandler handler);
    ~ScopedFileDialogHandler();
    ScopedFileDialogHandler(const ScopedFileDialogHandler&) = delete;
    ScopedFileDialogHandler& operator=(const ScopedFileDialogHandler&) = delete;

private:
    FileDialogHandler previous_;
};

}  // namespace kinetile
