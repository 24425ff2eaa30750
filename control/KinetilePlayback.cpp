// Playback: Play, Pause and Halt drive the frames on timPlay; the engine
// decides, the control draws and raises the events.
#include "Kinetile.h"

namespace kinetile {

STDMETHODIMP Kinetile::Play() {
    m_Playback.Play();
    return S_OK;
}

STDMETHODIMP Kinetile::Pause() {
    m_Playback.Pause();
    return S_OK;
}

STDMETHODIMP Kinetile::Halt() {
    m_Playback.Halt();
    return S_OK;
}

int32_t Kinetile::FrameDelay(int32_t frame) {
    if (frame < 0 || static_cast<size_t>(frame) >= m_Frames.size()) return 0;
    return m_Frames[static_cast<size_t>(frame)].Delay;
}

void Kinetile::RaisePlaying(int32_t& frame) {
    LONG current = frame;
    VARIANT arg;
    arg.vt = VT_I4 | VT_BYREF;
    arg.plVal = &current;
    RaiseEvent(kEventPlaying, {arg});
    frame = current;  // a handler's change becomes the current frame
}

void Kinetile::RaisePlayStateChange(PlayState state) {
    LONG copy = state;
    VARIANT arg;
    arg.vt = VT_I4 | VT_BYREF;
    arg.plVal = &copy;
    RaiseEvent(kEventPlayStateChange, {arg});
}

void Kinetile::SetTimer(bool enabled, uint32_t intervalMs) {
    timPlay.Set(enabled, intervalMs);
}

}  // namespace kinetile
