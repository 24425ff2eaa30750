// The pointer over the control: hit testing, entry and leave with the
// timMouse watch, AutoConsole, and the mouse and key events for the host.
#include "Drawing.h"
#include "Kinetile.h"
#include "Rounding.h"

namespace kinetile {

void Kinetile::HitTest(float x, float y, short& result) {
    if (!AmbientUserMode()) {
        result = 3;  // the designer: every point, and no tracking
        return;
    }
    if (!UserControl::Enabled()) return;
    if (m_HitBehavior == 0) {
        result = 3;
        return;
    }
    // Without the system's keyed blit the whole image rectangle is painted,
    // so the painted-pixel test gives way to frame 0's region.
    if (m_HitBehavior == 2 && m_TransBltMode != 1) {
        HRGN region = m_Scene ? m_Scene->hRegion() : nullptr;
        if (!region || !PtInRegion(region, RoundHalfEven(x), RoundHalfEven(y))) result = 0;
    }
    if (result == 3) Entry();
    else Leave();
}

void Kinetile::Entry() {
    if (m_MouseInside) return;
    m_MouseInside = true;
    timMouse.Enabled(true);
    if (m_AutoConsole == 1) Play();
    else if (m_AutoConsole == 2) Halt();
    RaiseEvent(kEventMouseInto);
}

void Kinetile::Leave() {
    if (!m_MouseInside) return;
    m_MouseInside = false;
    timMouse.Enabled(false);
    if (m_AutoConsole == 1) Halt();
    else if (m_AutoConsole == 2) Play();
    RaiseEvent(kEventMouseLeave);
}

void Kinetile::OnMouseTick() {
    POINT pointer;
    if (!GetCursorPos(&pointer)) return;
    ScreenToClient(ContainerHwnd(), &pointer);
    const RECT rect = RectInContainer();
    if (!PtInRect(&rect, pointer)) Leave();
}

void Kinetile::RaiseMouse(DISPID event, short button, short shift, float x, float y) {
    PixelsToContainer(x, y);
    VARIANT args[4];
    args[0].vt = VT_I2 | VT_BYREF;
    args[0].piVal = &button;
    args[1].vt = VT_I2 | VT_BYREF;
    args[1].piVal = &shift;
    args[2].vt = VT_R4 | VT_BYREF;
    args[2].pfltVal = &x;
    args[3].vt = VT_R4 | VT_BYREF;
    args[3].pfltVal = &y;
    RaiseEvent(event, {args[0], args[1], args[2], args[3]});
}

void Kinetile::MouseDown(short button, short shift, float x, float y) { RaiseMouse(kEventMouseDown, button, shift, x, y); }

void Kinetile::MouseMove(short button, short shift, float x, float y) {
    Entry();
    RaiseMouse(kEventMouseMove, button, shift, x, y);
}

void Kinetile::MouseUp(short button, short shift, float x, float y) { RaiseMouse(kEventMouseUp, button, shift, x, y); }
void Kinetile::Click() { RaiseEvent(kEventClick); }
void Kinetile::DblClick() { RaiseEvent(kEventDblClick); }

void Kinetile::RaiseKey(DISPID event, short& keyCode, short& shift) {
    VARIANT args[2];
    args[0].vt = VT_I2 | VT_BYREF;
    args[0].piVal = &keyCode;
    args[1].vt = VT_I2 | VT_BYREF;
    args[1].piVal = &shift;
    RaiseEvent(event, {args[0], args[1]});
}

void Kinetile::KeyDown(short& keyCode, short& shift) { RaiseKey(kEventKeyDown, keyCode, shift); }
void Kinetile::KeyUp(short& keyCode, short& shift) { RaiseKey(kEventKeyUp, keyCode, shift); }

void Kinetile::KeyPress(short& keyAscii) {
    VARIANT arg;
    arg.vt = VT_I2 | VT_BYREF;
    arg.piVal = &keyAscii;
    RaiseEvent(kEventKeyPress, {arg});
    // Enter clicks, unless the host's handler took the key away.
    if (keyAscii == 13) Click();
}

}  // namespace kinetile
