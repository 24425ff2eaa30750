#pragma once
// The playback engine: Play, Pause, Halt and the tick of timPlay, deciding
// what is drawn when, which events are raised and the next interval. It owns
// no timer and draws nothing itself: the control does that when asked, so the
// engine's decisions are tested without a clock or a screen.
#include <cstdint>

namespace kinetile {

enum PlayState : int32_t { kStartPlay = 0, kPausedPlay = 1, kStopPlay = 2 };

class PlaybackHost {
public:
    virtual ~PlaybackHost() = default;
    virtual int32_t FrameCount() = 0;
    virtual int32_t FrameDelay(int32_t frame) = 0;  // milliseconds
    virtual int32_t Speed() = 0;
    virtual int32_t Times() = 0;
    virtual void RenderFrame(int32_t frame) = 0;
    virtual void Refresh() = 0;
    // `frame` is the engine's current frame itself: a handler's change counts.
    virtual void RaisePlaying(int32_t& frame) = 0;
    virtual void RaisePlayStateChange(PlayState state) = 0;
    virtual void SetTimer(bool enabled, uint32_t intervalMs) = 0;
};

class Playback {
public:
    explicit Playback(PlaybackHost& host) : host_(host) {}

    void Play();
    void Pause();
    void Halt();
    void Tick();
    // An image assignment: stop without an event and start again at frame 0.
    void Reset();

    bool Playing() const { return enabled_; }
    uint32_t Interval() const { return interval_; }
    int32_t CurrentFrame() const { return m_CurrentFrame; }
    int32_t LoopCount() const { return m_LoopCount; }

    // The timer takes 1 to 65,535 ms: a shorter product (0, or negative from
    // a saved Speed below 1) plays at the fastest rate, a longer one waits
    // the longest the timer can.
    static uint32_t IntervalFor(int32_t delay, int32_t speed);

private:
    void SetTimer(bool enabled);

    PlaybackHost& host_;
    bool enabled_ = false;
    uint32_t interval_ = 1;
    int32_t m_CurrentFrame = 0;
    int32_t m_LoopCount = 0;
};

}  // namespace kinetile
