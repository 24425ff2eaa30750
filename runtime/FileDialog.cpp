#include "FileDialog.h"

#include <commdlg.h>

#include <utility>
#include <vector>

namespace kinetile {
namespace {

FileDialogHandler& CurrentHandler() {
    static FileDialogHandler handler;
    return handler;
}

}  // namespace

std::wstring ChooseFileToOpen(const OpenFileRequest& request) {
    if (const FileDialogHandler& handler = CurrentHandler()) return handler(request);
    // The filter's "|" become NULs, and one more NUL ends it.
    std::wstring filter = request.filter;
    for (wchar_t& c : filter)
        if (c == L'|') c = L'\0';
    filter.push_back(L'\0');
    std::vector<wchar_t> name(260, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = request.owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = name.data();
    dialog.nMaxFile = static_cast<DWORD>(name.size());
    dialog.lpstrTitle = request.title.c_str();
    dialog.lpstrDefExt = request.defaultExtension.c_str();
    dialog.Flags = request.flags;
    if (!GetOpenFileNameW(&dialog)) return L"";  // cancelled
    return std::wstring(name.data());
}

ScopedFileDialogHandler::ScopedFileDialogHandler(FileDialogHandler handler)
    : previous_(std::exchange(CurrentHandler(), std::move(handler))) {}

ScopedFileDialogHandler::~ScopedFileDialogHandler() { CurrentHandler() = std::move(previous_); }

}  // namespace kinetile
