#include "MessageBox.h"

#include <utility>

namespace kinetile {
namespace {

MessageBoxHandler& CurrentHandler() {
    static MessageBoxHandler handler;
    return handler;
}

}  // namespace

int ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& title, UINT style) {
    if (const MessageBoxHandler& handler = CurrentHandler()) return handler(owner, text, title, style);
    return MessageBoxW(owner, text.c_str(), title.c_str(), style);
}

ScopedMessageBoxHandler::ScopedMessageBoxHandler(MessageBoxHandler handler)
    : previous_(std::exchange(CurrentHandler(), std::move(handler))) {}

ScopedMessageBoxHandler::~ScopedMessageBoxHandler() { CurrentHandler() = std::move(previous_); }

}  // namespace kinetile
