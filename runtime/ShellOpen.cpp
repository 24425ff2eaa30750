#include "ShellOpen.h"

#include <shellapi.h>

#include <utility>

namespace kinetile {
namespace {

ShellOpenHandler& CurrentHandler() {
    static ShellOpenHandler handler;
    return handler;
}

}  // namespace

void ShellOpen(HWND owner, const std::wstring& target, const std::wstring& folder) {
    if (const ShellOpenHandler& handler = CurrentHandler()) {
        handler(owner, target, folder);
        return;
    }
    ShellExecuteW(owner, L"open", target.c_str(), L"", folder.c_str(), SW_SHOWNORMAL);
}

ScopedShellOpenHandler::ScopedShellOpenHandler(ShellOpenHandler handler)
    : previous_(std::exchange(CurrentHandler(), std::move(handler))) {}

ScopedShellOpenHandler::~ScopedShellOpenHandler() { CurrentHandler() = std::move(previous_); }

}  // namespace kinetile
