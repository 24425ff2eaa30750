#include "Playback.h"

namespace kinetile {

uint32_t Playback::IntervalFor(int32_t delay, int32_t speed) {
    const int64_t product = int64_t{delay} * speed;
    if (product < 1) return 1;
    if (product > 65535) return 65535;
    return static_cast<uint32_t>(product);
}

void Playback::SetTimer(bool enabled) {
    enabled_ = enabled;
    host_.SetTimer(enabled_, interval_);
}

void Playback::Play() {
    // Nothing to play without frames: the tick would address none.
    if (enabled_ || host_.FrameCount() <= 0) return;
    // Raised while the timer is still off: a Pause from the handler finds
    // nothing to stop, and playback starts anyway.
    host_.RaisePlayStateChange(kStartPlay);
    if (enabled_) return;  // the handler itself started playing
    m_LoopCount = 0;
    interval_ = 1;
    SetTimer(true);
}

void Playback::Pause() {
    if (!enabled_) return;
    SetTimer(false);
    host_.RaisePlayStateChange(kPausedPlay);
}

void Playback::Halt() {
    if (!enabled_) return;
    SetTimer(false);
    m_CurrentFrame = 0;
    host_.RenderFrame(0);
    host_.Refresh();
    host_.RaisePlayStateChange(kStopPlay);
}

void Playback::Reset() {
    enabled_ = false;
    host_.SetTimer(false, interval_);
    m_CurrentFrame = 0;
}

void Playback::Tick() {
    if (!enabled_) return;  // a tick already queued when the timer stopped
    int32_t count = host_.FrameCount();
    if (count <= 0) {
        SetTimer(false);
        return;
    }
    if (m_CurrentFrame < 0 || m_CurrentFrame >= count) m_CurrentFrame = 0;
    host_.RenderFrame(m_CurrentFrame);
    host_.Refresh();
    host_.RaisePlaying(m_CurrentFrame);

    // The handler may have changed the frame, the image or the state.
    count = host_.FrameCount();
    // A frame the image does not have ends the cycle, as the last one does.
    if (m_CurrentFrame == count - 1 || m_CurrentFrame < 0 || m_CurrentFrame >= count) {
        m_CurrentFrame = 0;
        if (host_.Times() > 0) {
            m_LoopCount += 1;
            if (m_LoopCount == host_.Times()) {
                Pause();
                return;
            }
        }
    } else {
        m_CurrentFrame += 1;
    }
    // The next frame's delay is how long the frame just shown stays.
    interval_ = IntervalFor(count > 0 ? host_.FrameDelay(m_CurrentFrame) : 0, host_.Speed());
    host_.SetTimer(enabled_, interval_);
}

}  // namespace kinetile
