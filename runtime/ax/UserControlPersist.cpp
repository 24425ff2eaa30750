// Persistence, view, connection points, class info and property pages of a
// user control.
#include <cstring>

#include "TypeLibrary.h"
#include "UserControl.h"

namespace kinetile {

STDMETHODIMP UserControl::GetClassID(CLSID* clsid) {
    if (!clsid) return E_POINTER;
    *clsid = class_.clsid;
    return S_OK;
}

STDMETHODIMP UserControl::InitNew() {
    if (initialized_) return E_UNEXPECTED;
    initialized_ = true;
    InitProperties();
    return S_OK;
}

STDMETHODIMP UserControl::Load(IPropertyBag* bag, IErrorLog* log) {
    if (!bag) return E_POINTER;
    if (initialized_) return E_UNEXPECTED;
    initialized_ = true;
    BagReader reader(bag, log);
    const HRESULT hr = ReadProperties(reader);
    dirty_ = false;  // restoring is not a change
    return hr;
}

STDMETHODIMP UserControl::Save(IPropertyBag* bag, BOOL clearDirty, BOOL) {
    if (!bag) return E_POINTER;
    BagWriter writer(bag);
    HRESULT hr = WriteProperties(writer);
    if (SUCCEEDED(hr) && clearDirty) dirty_ = false;
    return hr;
}

STDMETHODIMP UserControl::Load(IStream* stream) {
    if (!stream) return E_POINTER;
    if (initialized_) return E_UNEXPECTED;
    PropertyMap saved;
    HRESULT hr = saved.Load(stream);
    if (FAILED(hr)) return hr;
    initialized_ = true;
    hr = ReadProperties(saved);
    dirty_ = false;
    return hr;
}

STDMETHODIMP UserControl::Save(IStream* stream, BOOL clearDirty) {
    if (!stream) return E_POINTER;
    PropertyMap saved;
    HRESULT hr = WriteProperties(saved);
    if (SUCCEEDED(hr)) hr = saved.Save(stream);
    if (SUCCEEDED(hr) && clearDirty) dirty_ = false;
    return hr;
}

STDMETHODIMP UserControl::GetSizeMax(ULARGE_INTEGER* size) {
    if (!size) return E_POINTER;
    PropertyMap saved;
    HRESULT hr = WriteProperties(saved);
    size->QuadPart = SUCCEEDED(hr) ? saved.ToBytes().size() : 0;
    return hr;
}

STDMETHODIMP UserControl::Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC dc, LPCRECTL bounds, LPCRECTL,
                               BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) {
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    if (!dc) return E_INVALIDARG;
    // Paint at the bounds' corner, clipped to them, in the DC's pixels.
    const int saved = SaveDC(dc);
    if (bounds) {
        POINT origin;
        GetViewportOrgEx(dc, &origin);
        SetViewportOrgEx(dc, origin.x + bounds->left, origin.y + bounds->top, nullptr);
        IntersectClipRect(dc, 0, 0, bounds->right - bounds->left, bounds->bottom - bounds->top);
    }
    Paint(dc);
    RestoreDC(dc, saved);
    return S_OK;
}

STDMETHODIMP UserControl::SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) {
    viewAspects_ = aspects;
    viewFlags_ = flags;
    viewSink_ = ComPtr<IAdviseSink>::Retain(sink);
    return S_OK;
}

STDMETHODIMP UserControl::GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) {
    if (aspects) *aspects = viewAspects_;
    if (flags) *flags = viewFlags_;
    if (sink) {
        *sink = viewSink_.get();
        if (*sink) (*sink)->AddRef();
    }
    return S_OK;
}

STDMETHODIMP UserControl::GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size) {
    return GetExtent(aspect, size);
}

STDMETHODIMP UserControl::EnumConnectionPoints(IEnumConnectionPoints** out) {
    if (out) *out = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP UserControl::FindConnectionPoint(REFIID riid, IConnectionPoint** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (riid == events_.Iid()) *out = &events_;
    else if (riid == IID_IPropertyNotifySink) *out = &propertyNotify_;
    else return CONNECT_E_NOCONNECTION;
    (*out)->AddRef();
    return S_OK;
}

STDMETHODIMP UserControl::GetClassInfo(ITypeInfo** info) {
    if (!info) return E_POINTER;
    ComPtr<ITypeInfo> coclass = ModuleTypeInfo(class_.clsid);
    *info = coclass.get();
    if (!*info) return E_FAIL;
    (*info)->AddRef();
    return S_OK;
}

STDMETHODIMP UserControl::GetGUID(DWORD kind, GUID* guid) {
    if (!guid) return E_POINTER;
    if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) return E_INVALIDARG;
    *guid = class_.eventsIid;
    return S_OK;
}

STDMETHODIMP UserControl::GetPages(CAUUID* pages) {
    if (!pages) return E_POINTER;
    pages->cElems = static_cast<ULONG>(class_.propertyPages.size());
    pages->pElems = static_cast<GUID*>(CoTaskMemAlloc(sizeof(GUID) * (pages->cElems ? pages->cElems : 1)));
    if (!pages->pElems) return E_OUTOFMEMORY;
    std::memcpy(pages->pElems, class_.propertyPages.data(), sizeof(GUID) * pages->cElems);
    return S_OK;
}

STDMETHODIMP UserControl::InterfaceSupportsErrorInfo(REFIID riid) {
    return riid == class_.dispatchIid ? S_OK : S_FALSE;
}

}  // namespace kinetile
