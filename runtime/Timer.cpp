#include "Timer.h"

#include <unordered_set>

namespace kinetile {
namespace {

constexpr wchar_t kClassName[] = L"KinetileTimerWindow";

// A tick already queued when its timer died must not reach it.
std::unordered_set<const void*>& LiveTimers() {
    thread_local std::unordered_set<const void*> live;
    return live;
}

HWND TimerWindow(WNDPROC proc) {
    thread_local HWND window = nullptr;
    if (window && IsWindow(window)) return window;
    WNDCLASSW wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kClassName;
    RegisterClassW(&wc);  // fails harmlessly when already registered
    window = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    return window;
}

}  // namespace

Timer::Timer(std::function<void()> onTick, UINT interval) : onTick_(std::move(onTick)), interval_(interval) {
    LiveTimers().insert(this);
}

Timer::~Timer() {
    LiveTimers().erase(this);
    if (armed_) KillTimer(TimerWindow(WindowProc), reinterpret_cast<UINT_PTR>(this));
}

void Timer::Interval(UINT milliseconds) {
    interval_ = milliseconds;
    Arm();
}

void Timer::Enabled(bool on) {
    enabled_ = on;
    Arm();
}

void Timer::Set(bool on, UINT milliseconds) {
    enabled_ = on;
    interval_ = milliseconds;
    Arm();
}

void Timer::Arm() {
    HWND window = TimerWindow(WindowProc);
    const UINT_PTR id = reinterpret_cast<UINT_PTR>(this);
    if (armed_) KillTimer(window, id);
    armed_ = enabled_ && interval_ > 0 && window && SetTimer(window, id, interval_, nullptr);
}

LRESULT CALLBACK Timer::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER) {
        // The timer's address is its id.
        Timer* timer = reinterpret_cast<Timer*>(wParam);
        if (LiveTimers().count(timer) && timer->enabled_ && timer->onTick_) timer->onTick_();
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace kinetile
