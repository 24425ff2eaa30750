// The control as a COM object: creation, identity, dispatch through the type
// library, and the end of an instance.
#include "AboutBox.h"
#include "Drawing.h"
#include "Kinetile.h"
#include "KinetileIds.h"
#include "TypeLibrary.h"

namespace kinetile {

const wchar_t* const kNoImage = L"(None)";
const wchar_t* const kHasImage = L"(AniGIF)";

namespace {

UserControlClass KinetileClass() {
    UserControlClass c;
    c.clsid = CLSID_Kinetile;
    c.eventsIid = DIID___Kinetile;
    c.dispatchIid = IID__Kinetile;
    c.miscStatus = kKinetileMiscStatus;
    c.propertyPages = {CLSID_GifFilePage};
    c.defaultTwips = {600, 600};
    return c;
}

}  // namespace

Kinetile::Kinetile()
    : UserControl(KinetileClass()), timPlay([this] { m_Playback.Tick(); }, 1), timMouse([this] { OnMouseTick(); }, 50) {
    // Initialize: the keyed-blit probe runs once per thread.
    if (m_TransBltMode == 0) m_TransBltMode = HasGdiTransparentBlt();
    // An object that is never given InitNew or a saved form (a plain
    // automation client) starts from the same values a new instance gets.
    m_GifFile = kNoImage;
}

Kinetile::~Kinetile() = default;

HRESULT Kinetile::Create(REFIID iid, void** out) {
    Kinetile* control = new (std::nothrow) Kinetile();
    if (!control) return E_OUTOFMEMORY;
    HRESULT hr = control->QueryInterface(iid, out);
    control->Release();
    return hr;
}

void* Kinetile::QueryDispatch(REFIID riid) {
    if (riid == IID_IDispatch || riid == IID__Kinetile) return static_cast<_Kinetile*>(this);
    return nullptr;
}

void Kinetile::Terminate() {
    timMouse.Enabled(false);
    m_Playback.Reset();  // the timer stops, without an event
    m_Scene.reset();
}

STDMETHODIMP Kinetile::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 1;
    return S_OK;
}

STDMETHODIMP Kinetile::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
    if (!info) return E_POINTER;
    *info = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    ComPtr<ITypeInfo> typeInfo = ModuleTypeInfo(IID__Kinetile);
    if (!typeInfo) return TYPE_E_CANTLOADLIBRARY;
    *info = typeInfo.get();
    (*info)->AddRef();
    return S_OK;
}

STDMETHODIMP Kinetile::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    ComPtr<ITypeInfo> typeInfo = ModuleTypeInfo(IID__Kinetile);
    if (!typeInfo) return TYPE_E_CANTLOADLIBRARY;
    return DispGetIDsOfNames(typeInfo.get(), names, count, ids);
}

STDMETHODIMP Kinetile::Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                              EXCEPINFO* exception, UINT* argError) {
    if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    ComPtr<ITypeInfo> typeInfo = ModuleTypeInfo(IID__Kinetile);
    if (!typeInfo) return TYPE_E_CANTLOADLIBRARY;
    SetErrorInfo(0, nullptr);
    HRESULT hr = DispInvoke(static_cast<_Kinetile*>(this), typeInfo.get(), id, flags, params, result, exception,
                            argError);
    // A property's own error (382, 387, 380) reaches late-bound callers as
    // an exception carrying its code and description.
    if (FAILED(hr) && HRESULT_FACILITY(hr) == FACILITY_CONTROL && exception) {
        *exception = EXCEPINFO{};
        exception->scode = hr;
        exception->wCode = 0;
        ComPtr<IErrorInfo> info;
        if (GetErrorInfo(0, info.put()) == S_OK) {
            info->GetDescription(&exception->bstrDescription);
            info->GetSource(&exception->bstrSource);
        }
        hr = DISP_E_EXCEPTION;
    }
    return hr;
}

STDMETHODIMP Kinetile::ShowAboutBox() {
    // A fresh box each time: it is made, shown modally and dropped here.
    AboutBox box;
    box.ShowModal(Window());
    return S_OK;
}

}  // namespace kinetile
