#pragma once
// A timer of the form run time: an interval in milliseconds, enabled or not,
// ticking on the thread that made it between messages. It needs no window of
// its owner: every timer of a thread shares one hidden message window.
#include <windows.h>

#include <functional>

namespace kinetile {

class Timer {
public:
    explicit Timer(std::function<void()> onTick, UINT interval = 0);
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    UINT Interval() const { return interval_; }
    // A new interval restarts the count while enabled; 0 stops the ticks.
    void Interval(UINT milliseconds);
    bool Enabled() const { return enabled_; }
    void Enabled(bool on);
    // Both at once, with one restart of the count.
    void Set(bool on, UINT milliseconds);

private:
    void Arm();
    static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);

    std::function<void()> onTick_;
    UINT interval_;
    bool enabled_ = false;
    bool armed_ = false;
};

}  // namespace kinetile
