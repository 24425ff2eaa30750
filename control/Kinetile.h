#pragma once
// The Kinetile control: an ActiveX button whose face is an animated GIF.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "GifTypes.h"
#include "Playback.h"
#include "KinetileLib.h"  // generated from Kinetile.idl
#include "Scene.h"
#include "Timer.h"
#include "UserControl.h"

namespace kinetile {

// Dispatch identifiers of the events (interface __Kinetile).
enum KinetileEvent : DISPID {
    kEventKeyDown = 1, kEventKeyPress, kEventKeyUp, kEventChange, kEventClick, kEventDblClick, kEventMouseDown,
    kEventMouseMove, kEventMouseUp, kEventMouseLeave, kEventMouseInto, kEventPlaying, kEventPlayStateChange,
};

extern const wchar_t* const kNoImage;     // "(None)"
extern const wchar_t* const kHasImage;    // "(AniGIF)"

class Kinetile final : public UserControl, public _Kinetile, private PlaybackHost {
public:
    static HRESULT Create(REFIID iid, void** out);

    Kinetile();
    ~Kinetile() override;

    // IUnknown, shared by every interface of the control.
    STDMETHODIMP QueryInterface(REFIID riid, void** out) override { return UserControl::QueryInterface(riid, out); }
    STDMETHODIMP_(ULONG) AddRef() override { return UserControl::AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return UserControl::Release(); }

    // IDispatch, through the type library.
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* exception, UINT* argError) override;

    // _Kinetile
    STDMETHODIMP get_BackColor(OLE_COLOR* value) override;
    STDMETHODIMP put_BackColor(OLE_COLOR New_BackColor) override;
    STDMETHODIMP get_Enabled(VARIANT_BOOL* value) override;
    STDMETHODIMP put_Enabled(VARIANT_BOOL New_Enabled) override;
    STDMETHODIMP get_BackStyle(GIFBackStyleConst* value) override;
    STDMETHODIMP put_BackStyle(GIFBackStyleConst New_BackStyle) override;
    STDMETHODIMP get_BorderStyle(GIFBorderStyleConst* value) override;
    STDMETHODIMP put_BorderStyle(GIFBorderStyleConst New_BorderStyle) override;
    STDMETHODIMP LoadGif(BSTR* GifFilename, VARIANT_BOOL* result) override;
    STDMETHODIMP Pause() override;
    STDMETHODIMP Play() override;
    STDMETHODIMP Halt() override;
    STDMETHODIMP get_BorderColor(OLE_COLOR* value) override;
    STDMETHODIMP put_BorderColor(OLE_COLOR New_BorderColor) override;
    STDMETHODIMP get_CurrentFrame(LONG* value) override;
    STDMETHODIMP get_FrameCount(LONG* value) override;
    STDMETHODIMP put_FrameCount(LONG New_FrameCount) override;
    STDMETHODIMP get_ImageHeight(LONG* value) override;
    STDMETHODIMP put_ImageHeight(LONG New_ImageHeight) override;
    STDMETHODIMP get_ImageWidth(LONG* value) override;
    STDMETHODIMP put_ImageWidth(LONG New_ImageWidth) override;
    STDMETHODIMP get_Speed(LONG* value) override;
    STDMETHODIMP put_Speed(LONG New_Speed) override;
    STDMETHODIMP get_HitBehavior(GIFHitBehaviorConst* value) override;
    STDMETHODIMP put_HitBehavior(GIFHitBehaviorConst New_HitBehavior) override;
    STDMETHODIMP get_AutoPlay(VARIANT_BOOL* value) override;
    STDMETHODIMP put_AutoPlay(VARIANT_BOOL New_AutoPlay) override;
    STDMETHODIMP get_DataArrary(VARIANT* value) override;
    STDMETHODIMP put_DataArrary(VARIANT New_DataArrary) override;
    STDMETHODIMP get_GifFile(BSTR* value) override;
    STDMETHODIMP put_GifFile(BSTR New_GifFile) override;
    STDMETHODIMP ShowAboutBox() override;
    STDMETHODIMP get_AutoSize(VARIANT_BOOL* value) override;
    STDMETHODIMP put_AutoSize(VARIANT_BOOL New_AutoSize) override;
    STDMETHODIMP LoadResData(SAFEARRAY** GIFData, VARIANT_BOOL* result) override;
    STDMETHODIMP get_MouseIcon(IPictureDisp** value) override;
    STDMETHODIMP putref_MouseIcon(IPictureDisp* New_MouseIcon) override;
    STDMETHODIMP get_MousePointer(short* value) override;
    STDMETHODIMP put_MousePointer(short New_MousePointer) override;
    STDMETHODIMP get_AutoConsole(GIFAutoConsoleConst* value) override;
    STDMETHODIMP put_AutoConsole(GIFAutoConsoleConst New_AutoConsole) override;
    STDMETHODIMP get_Caption(BSTR* value) override;
    STDMETHODIMP put_Caption(BSTR New_Caption) override;
    STDMETHODIMP get_UseResMode(GIFUseResModeConst* value) override;
    STDMETHODIMP put_UseResMode(GIFUseResModeConst New_UseResMode) override;
    STDMETHODIMP get_Times(LONG* value) override;
    STDMETHODIMP put_Times(LONG New_Times) override;

protected:
    void* QueryDispatch(REFIID riid) override;
    void InitProperties() override;
    HRESULT ReadProperties(PropertyReader& bag) override;
    HRESULT WriteProperties(PropertyWriter& bag) override;
    void Paint(HDC dc) override;
    void Resize() override;
    void AmbientChanged(const std::wstring& name) override;
    void Terminate() override;
    // Mouse and keys
    void HitTest(float x, float y, short& result) override;
    void MouseDown(short button, short shift, float x, float y) override;
    void MouseMove(short button, short shift, float x, float y) override;
    void MouseUp(short button, short shift, float x, float y) override;
    void Click() override;
    void DblClick() override;
    void KeyDown(short& keyCode, short& shift) override;
    void KeyUp(short& keyCode, short& shift) override;
    void KeyPress(short& keyAscii) override;

private:
    // Image sources
    HRESULT AssignDataArrary(const VARIANT& value);
    void IndexImage(std::span<uint8_t> bytes, bool fixTransparent);
    bool HasImage() const { return m_GifFile != kNoImage; }
    HRESULT ReadOnlyLet();
    // Painting
    bool EnsureScene();
    void RenderFrame(int32_t n) override;
    void CopySceneToSurface(HDC dc);
    int BorderAllowance() const;
    void CentreScene();
    // What playback asks of the control
    int32_t FrameCount() override { return m_FrameCount; }
    int32_t FrameDelay(int32_t frame) override;
    int32_t Speed() override { return m_Speed; }
    int32_t Times() override { return m_Times; }
    void Refresh() override { UserControl::Refresh(); }
    void RaisePlaying(int32_t& frame) override;
    void RaisePlayStateChange(PlayState state) override;
    void SetTimer(bool enabled, uint32_t intervalMs) override;
    // Pointer tracking
    void Entry();
    void Leave();
    void OnMouseTick();
    void RaiseMouse(DISPID event, short button, short shift, float x, float y);
    void RaiseKey(DISPID event, short& keyCode, short& shift);

    int32_t m_BackStyle = 1;
    int32_t m_BorderStyle = 0;
    OLE_COLOR m_BorderColor = 0;
    int32_t m_FrameCount = 0;
    int32_t m_ImageHeight = 0;
    int32_t m_ImageWidth = 0;
    int32_t m_Speed = 1;
    int32_t m_HitBehavior = 0;
    bool m_AutoPlay = false;
    bool m_AutoSize = true;
    int32_t m_AutoConsole = 0;
    int32_t m_UseResMode = 0;
    int32_t m_Times = 0;
    std::wstring m_Caption;
    std::wstring m_GifFile;
    std::vector<uint8_t> m_DataArrary;  // the whole GIF file; empty means Empty
    bool m_HasData = false;             // a zero-length byte array is still data, not Empty
    std::vector<GifFrame> m_Frames;
    GifScreen m_Screen;
    int32_t m_ColorTableSize = 0;
    bool m_PreIndexed = false;
    std::unique_ptr<Scene> m_Scene;
    bool m_MouseInside = false;

    Playback m_Playback{*this};  // m_CurrentFrame and m_LoopCount live here
    Timer timPlay;
    Timer timMouse;
};

}  // namespace kinetile
