// The control's properties: new instances, saving and restoring, and the
// gets and lets of the default interface.
#include "Kinetile.h"

#include "ComError.h"

namespace kinetile {
namespace {

constexpr OLE_COLOR kButtonFace = 0x8000000F;

VARIANT_BOOL ToVariantBool(bool value) { return value ? VARIANT_TRUE : VARIANT_FALSE; }

// A saved value that cannot be converted (a hand-edited form) keeps the
// property's default instead of failing the whole load.
int32_t ReadInt32(PropertyReader& bag, const wchar_t* key, int32_t defaultValue) {
    int32_t value = defaultValue;
    if (!ReadProperty(bag, key, Variant::Int32(defaultValue)).ToInt32(value)) value = defaultValue;
    return value;
}

bool ReadBool(PropertyReader& bag, const wchar_t* key, const Variant& defaultValue, bool fallback) {
    bool value = fallback;
    if (!ReadProperty(bag, key, defaultValue).ToBool(value)) value = fallback;
    return value;
}

std::wstring ReadString(PropertyReader& bag, const wchar_t* key, const wchar_t* defaultValue) {
    std::wstring value = defaultValue;
    if (!ReadProperty(bag, key, Variant::String(defaultValue)).ToString(value)) value = defaultValue;
    return value;
}

}  // namespace

void Kinetile::InitProperties() {
    m_BackStyle = 1;
    m_BorderStyle = 0;
    m_BorderColor = 0;
    m_FrameCount = 0;
    m_ImageHeight = 0;
    m_ImageWidth = 0;
    m_Speed = 1;
    m_HitBehavior = 0;
    m_AutoPlay = false;
    m_DataArrary.clear();
    m_HasData = false;
    m_GifFile = kNoImage;
    m_AutoSize = true;
    m_AutoConsole = 0;
    m_Caption = AmbientDisplayName();
    m_UseResMode = 0;
    m_Times = 0;
}

HRESULT Kinetile::ReadProperties(PropertyReader& bag) {
    BackColor(static_cast<OLE_COLOR>(ReadInt32(bag, L"BackColor", static_cast<int32_t>(kButtonFace))));
    UserControl::Enabled(ReadBool(bag, L"Enabled", Variant::Bool(true), true));
    m_BorderStyle = ReadInt32(bag, L"BorderStyle", 0);
    m_BorderColor = static_cast<OLE_COLOR>(ReadInt32(bag, L"BorderColor", 0));
    m_FrameCount = ReadInt32(bag, L"FrameCount", 0);
    m_ImageHeight = ReadInt32(bag, L"ImageHeight", 0);
    m_ImageWidth = ReadInt32(bag, L"ImageWidth", 0);
    m_Speed = ReadInt32(bag, L"Speed", 1);
    m_GifFile = ReadString(bag, L"GifFile", kNoImage);
    m_AutoPlay = ReadBool(bag, L"AutoPlay", Variant::Int32(0), false);
    m_AutoSize = ReadBool(bag, L"AutoSize", Variant::Int32(1), true);
    put_BackStyle(static_cast<GIFBackStyleConst>(ReadInt32(bag, L"BackStyle", 1)));
    put_HitBehavior(static_cast<GIFHitBehaviorConst>(ReadInt32(bag, L"HitBehavior", 0)));

    // A value the image cannot come from (a string, say) is refused by the
    // let; the saved form then restores without an image rather than failing.
    Variant data = ReadProperty(bag, L"DataArrary", Variant());
    if (FAILED(AssignDataArrary(data.get()))) AssignDataArrary(Variant().get());

    Variant icon = ReadProperty(bag, L"MouseIcon", Variant::Object(nullptr));
    ComPtr<IPictureDisp> picture;
    if ((icon.vt() == VT_DISPATCH || icon.vt() == VT_UNKNOWN) && icon.get().punkVal)
        icon.get().punkVal->QueryInterface(IID_IPictureDisp, picture.put_void());
    putref_MouseIcon(picture.get());
    UserControl::MousePointer(static_cast<short>(ReadInt32(bag, L"MousePointer", 0)));
    m_AutoConsole = ReadInt32(bag, L"AutoConsole", 0);
    m_Caption = ReadString(bag, L"Caption", L"");
    m_UseResMode = ReadInt32(bag, L"UseResMode", 0);
    m_Times = ReadInt32(bag, L"Times", 0);
    return S_OK;
}

HRESULT Kinetile::WriteProperties(PropertyWriter& bag) {
    const struct {
        const wchar_t* key;
        Variant value;
        Variant defaultValue;
    } entries[] = {
        {L"BackColor", Variant::Int32(static_cast<int32_t>(BackColor())), Variant::Int32(static_cast<int32_t>(kButtonFace))},
        {L"Enabled", Variant::Bool(UserControl::Enabled()), Variant::Bool(true)},
        {L"BackStyle", Variant::Int32(m_BackStyle), Variant::Int32(1)},
        {L"BorderStyle", Variant::Int32(m_BorderStyle), Variant::Int32(0)},
        {L"BorderColor", Variant::Int32(static_cast<int32_t>(m_BorderColor)), Variant::Int32(0)},
        {L"FrameCount", Variant::Int32(m_FrameCount), Variant::Int32(0)},
        {L"ImageHeight", Variant::Int32(m_ImageHeight), Variant::Int32(0)},
        {L"ImageWidth", Variant::Int32(m_ImageWidth), Variant::Int32(0)},
        {L"Speed", Variant::Int32(m_Speed), Variant::Int32(1)},
        {L"HitBehavior", Variant::Int32(m_HitBehavior), Variant::Int32(0)},
        {L"AutoPlay", Variant::Bool(m_AutoPlay), Variant::Int32(0)},
        {L"DataArrary", m_HasData ? Variant::Bytes(m_DataArrary) : Variant(), Variant()},
        {L"GifFile", Variant::String(m_GifFile), Variant::String(kNoImage)},
        // True is -1 and never equals the default 1, so AutoSize is always written.
        {L"AutoSize", Variant::Bool(m_AutoSize), Variant::Int32(1)},
        {L"MouseIcon", Variant::Object(UserControl::MouseIcon()), Variant::Object(nullptr)},
        {L"MousePointer", Variant::Int16(UserControl::MousePointer()), Variant::Int16(0)},
        {L"AutoConsole", Variant::Int32(m_AutoConsole), Variant::Int32(0)},
        {L"Caption", Variant::String(m_Caption), Variant::String(L"")},
        {L"UseResMode", Variant::Int32(m_UseResMode), Variant::Int32(0)},
        {L"Times", Variant::Int32(m_Times), Variant::Int32(0)},
    };
    for (const auto& entry : entries) {
        HRESULT hr = WriteProperty(bag, entry.key, entry.value, entry.defaultValue);
        if (FAILED(hr)) return hr;
    }
    return S_OK;
}

void Kinetile::AmbientChanged(const std::wstring& name) {
    if (name == L"DisplayName" && !HasImage()) Refresh();
}

HRESULT Kinetile::ReadOnlyLet() {
    if (AmbientUserMode())
        return RaiseComError(kErrSetNotSupportedAtRuntime, L"运行时不能设置该属性", IID__Kinetile, L"KinetileLib.Kinetile");
    return RaiseComError(kErrSetNotPermitted, L"不允许设置该属性", IID__Kinetile, L"KinetileLib.Kinetile");
}

#define KINETILE_GET(value)          \
    if (!out) return E_POINTER;      \
    *out = (value);                  \
    return S_OK

STDMETHODIMP Kinetile::get_BackColor(OLE_COLOR* out) { KINETILE_GET(BackColor()); }
STDMETHODIMP Kinetile::put_BackColor(OLE_COLOR New_BackColor) {
    BackColor(New_BackColor);
    PropertyChanged(L"BackColor");
    Refresh();
    return S_OK;
}

STDMETHODIMP Kinetile::get_Enabled(VARIANT_BOOL* out) { KINETILE_GET(ToVariantBool(UserControl::Enabled())); }
STDMETHODIMP Kinetile::put_Enabled(VARIANT_BOOL New_Enabled) {
    UserControl::Enabled(New_Enabled != VARIANT_FALSE);
    PropertyChanged(L"Enabled");
    return S_OK;
}

STDMETHODIMP Kinetile::get_BackStyle(GIFBackStyleConst* out) { KINETILE_GET(static_cast<GIFBackStyleConst>(m_BackStyle)); }
STDMETHODIMP Kinetile::put_BackStyle(GIFBackStyleConst New_BackStyle) {
    m_BackStyle = New_BackStyle;
    PropertyChanged(L"BackStyle");
    Refresh();
    return S_OK;
}

STDMETHODIMP Kinetile::get_BorderStyle(GIFBorderStyleConst* out) { KINETILE_GET(static_cast<GIFBorderStyleConst>(m_BorderStyle)); }
STDMETHODIMP Kinetile::put_BorderStyle(GIFBorderStyleConst New_BorderStyle) {
    m_BorderStyle = New_BorderStyle;
    PropertyChanged(L"BorderStyle");
    Resize();
    Refresh();
    return S_OK;
}

STDMETHODIMP Kinetile::get_BorderColor(OLE_COLOR* out) { KINETILE_GET(m_BorderColor); }
STDMETHODIMP Kinetile::put_BorderColor(OLE_COLOR New_BorderColor) {
    m_BorderColor = New_BorderColor;
    PropertyChanged(L"BorderColor");
    Refresh();
    return S_OK;
}

STDMETHODIMP Kinetile::get_CurrentFrame(LONG* out) { KINETILE_GET(m_Playback.CurrentFrame()); }
STDMETHODIMP Kinetile::get_FrameCount(LONG* out) { KINETILE_GET(m_FrameCount); }
STDMETHODIMP Kinetile::put_FrameCount(LONG) { return ReadOnlyLet(); }
STDMETHODIMP Kinetile::get_ImageHeight(LONG* out) { KINETILE_GET(m_ImageHeight); }
STDMETHODIMP Kinetile::put_ImageHeight(LONG) { return ReadOnlyLet(); }
STDMETHODIMP Kinetile::get_ImageWidth(LONG* out) { KINETILE_GET(m_ImageWidth); }
STDMETHODIMP Kinetile::put_ImageWidth(LONG) { return ReadOnlyLet(); }

STDMETHODIMP Kinetile::get_Speed(LONG* out) { KINETILE_GET(m_Speed); }
STDMETHODIMP Kinetile::put_Speed(LONG New_Speed) {
    if (New_Speed < 1) return S_OK;  // ignored, without an error
    m_Speed = New_Speed;
    PropertyChanged(L"Speed");
    return S_OK;
}

STDMETHODIMP Kinetile::get_HitBehavior(GIFHitBehaviorConst* out) { KINETILE_GET(static_cast<GIFHitBehaviorConst>(m_HitBehavior)); }
STDMETHODIMP Kinetile::put_HitBehavior(GIFHitBehaviorConst New_HitBehavior) {
    m_HitBehavior = New_HitBehavior;
    PropertyChanged(L"HitBehavior");
    HitTestMode(static_cast<short>(m_HitBehavior & 0xFFFF));
    return S_OK;
}

STDMETHODIMP Kinetile::get_AutoPlay(VARIANT_BOOL* out) { KINETILE_GET(ToVariantBool(m_AutoPlay)); }
STDMETHODIMP Kinetile::put_AutoPlay(VARIANT_BOOL New_AutoPlay) {
    m_AutoPlay = New_AutoPlay != VARIANT_FALSE;
    PropertyChanged(L"AutoPlay");
    return S_OK;
}

STDMETHODIMP Kinetile::get_AutoSize(VARIANT_BOOL* out) { KINETILE_GET(ToVariantBool(m_AutoSize)); }
STDMETHODIMP Kinetile::put_AutoSize(VARIANT_BOOL New_AutoSize) {
    m_AutoSize = New_AutoSize != VARIANT_FALSE;
    PropertyChanged(L"AutoSize");
    Resize();
    Refresh();
    return S_OK;
}

STDMETHODIMP Kinetile::get_MouseIcon(IPictureDisp** out) {
    if (!out) return E_POINTER;
    *out = UserControl::MouseIcon();
    if (*out) (*out)->AddRef();
    return S_OK;
}
STDMETHODIMP Kinetile::putref_MouseIcon(IPictureDisp* New_MouseIcon) {
    UserControl::MouseIcon(New_MouseIcon);
    PropertyChanged(L"MouseIcon");
    return S_OK;
}

STDMETHODIMP Kinetile::get_MousePointer(short* out) { KINETILE_GET(UserControl::MousePointer()); }
STDMETHODIMP Kinetile::put_MousePointer(short New_MousePointer) {
    UserControl::MousePointer(New_MousePointer);
    PropertyChanged(L"MousePointer");
    return S_OK;
}

STDMETHODIMP Kinetile::get_AutoConsole(GIFAutoConsoleConst* out) { KINETILE_GET(static_cast<GIFAutoConsoleConst>(m_AutoConsole)); }
STDMETHODIMP Kinetile::put_AutoConsole(GIFAutoConsoleConst New_AutoConsole) {
    m_AutoConsole = New_AutoConsole;
    PropertyChanged(L"AutoConsole");
    return S_OK;
}

STDMETHODIMP Kinetile::get_Caption(BSTR* out) { KINETILE_GET(SysAllocStringLen(m_Caption.data(), static_cast<UINT>(m_Caption.size()))); }
STDMETHODIMP Kinetile::put_Caption(BSTR New_Caption) {
    m_Caption.assign(New_Caption ? New_Caption : L"", New_Caption ? SysStringLen(New_Caption) : 0);
    PropertyChanged(L"Caption");
    if (!HasImage()) Refresh();
    return S_OK;
}

STDMETHODIMP Kinetile::get_UseResMode(GIFUseResModeConst* out) { KINETILE_GET(static_cast<GIFUseResModeConst>(m_UseResMode)); }
STDMETHODIMP Kinetile::put_UseResMode(GIFUseResModeConst New_UseResMode) {
    m_UseResMode = New_UseResMode;
    PropertyChanged(L"UseResMode");
    return S_OK;
}

STDMETHODIMP Kinetile::get_Times(LONG* out) { KINETILE_GET(m_Times); }
STDMETHODIMP Kinetile::put_Times(LONG New_Times) {
    m_Times = New_Times;
    PropertyChanged(L"Times");
    return S_OK;
}

STDMETHODIMP Kinetile::get_GifFile(BSTR* out) { KINETILE_GET(SysAllocStringLen(m_GifFile.data(), static_cast<UINT>(m_GifFile.size()))); }

#undef KINETILE_GET

}  // namespace kinetile
