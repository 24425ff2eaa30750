// Playback: Play, Pause and Halt drive the frames on timPlay.
#include "Kinetile.h"

namespace kinetile {

// The playback engine and the pointer watch come with the control's playback
// and mouse handling; until then the methods are accepted and do nothing.
STDMETHODIMP Kinetile::Play() { return S_OK; }
STDMETHODIMP Kinetile::Pause() { return S_OK; }
STDMETHODIMP Kinetile::Halt() { return S_OK; }

void Kinetile::OnPlayTick() { timPlay.Enabled(false); }
void Kinetile::OnMouseTick() { timMouse.Enabled(false); }

}  // namespace kinetile
