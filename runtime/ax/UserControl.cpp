#include "UserControl.h"

#include <cmath>

#include "Module.h"
#include "Rounding.h"

namespace kinetile {
namespace {

constexpr wchar_t kSurfaceClass[] = L"KinetileUserControl";
constexpr double kHimetricPerInch = 2540.0;
constexpr double kTwipsPerInch = 1440.0;

int ScreenPixelsPerInch(bool horizontal) {
    HDC screen = GetDC(nullptr);
    int dpi = screen ? GetDeviceCaps(screen, horizontal ? LOGPIXELSX : LOGPIXELSY) : 96;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

LONG HimetricToPixels(LONG himetric, bool horizontal) {
    return RoundHalfEven(himetric * ScreenPixelsPerInch(horizontal) / kHimetricPerInch);
}

LONG PixelsToHimetric(LONG pixels, bool horizontal) {
    return RoundHalfEven(pixels * kHimetricPerInch / ScreenPixelsPerInch(horizontal));
}

void RegisterSurfaceClass(WNDPROC proc) {
    WNDCLASSW wc{};
    wc.style = CS_DBLCLKS | CS_OWNDC;
    wc.lpfnWndProc = proc;
    wc.hInstance = ModuleInstance();
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kSurfaceClass;
    RegisterClassW(&wc);  // already registered: nothing to do
}

}  // namespace

UserControl::UserControl(const UserControlClass& info)
    : class_(info),
      events_(static_cast<IOleObject*>(this), this, info.eventsIid),
      propertyNotify_(static_cast<IOleObject*>(this), this, IID_IPropertyNotifySink) {
    ModuleAddRef();
    extent_.cx = RoundHalfEven(info.defaultTwips.cx * kHimetricPerInch / kTwipsPerInch);
    extent_.cy = RoundHalfEven(info.defaultTwips.cy * kHimetricPerInch / kTwipsPerInch);
}

UserControl::~UserControl() {
    DestroyWindowIfAny();
    ModuleRelease();
}

STDMETHODIMP UserControl::QueryInterface(REFIID riid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (riid == IID_IUnknown || riid == IID_IOleObject) *out = static_cast<IOleObject*>(this);
    else if (riid == IID_IOleWindow || riid == IID_IOleInPlaceObject) *out = static_cast<IOleInPlaceObject*>(this);
    else if (riid == IID_IOleInPlaceActiveObject) *out = static_cast<IOleInPlaceActiveObject*>(this);
    else if (riid == IID_IOleControl) *out = static_cast<IOleControl*>(this);
    else if (riid == IID_IViewObject || riid == IID_IViewObject2) *out = static_cast<IViewObject2*>(this);
    else if (riid == IID_IPersist || riid == IID_IPersistPropertyBag) *out = static_cast<IPersistPropertyBag*>(this);
    else if (riid == IID_IPersistStreamInit) *out = static_cast<IPersistStreamInit*>(this);
    else if (riid == IID_IConnectionPointContainer) *out = static_cast<IConnectionPointContainer*>(this);
    else if (riid == IID_IProvideClassInfo || riid == IID_IProvideClassInfo2) *out = static_cast<IProvideClassInfo2*>(this);
    else if (riid == IID_ISpecifyPropertyPages) *out = static_cast<ISpecifyPropertyPages*>(this);
    else if (riid == IID_ISupportErrorInfo) *out = static_cast<ISupportErrorInfo*>(this);
    else *out = QueryDispatch(riid);
    if (!*out) return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) UserControl::AddRef() { return static_cast<ULONG>(++refs_); }

STDMETHODIMP_(ULONG) UserControl::Release() {
    const LONG left = --refs_;
    if (left == 0) {
        refs_ = 1;  // a control released during Terminate must not die twice
        Terminate();
        delete this;
    }
    return static_cast<ULONG>(left);
}

STDMETHODIMP UserControl::SetClientSite(IOleClientSite* site) {
    site_ = ComPtr<IOleClientSite>::Retain(site);
    if (!site) {
        DestroyWindowIfAny();
        inPlaceSite_.reset();
    }
    return S_OK;
}

STDMETHODIMP UserControl::GetClientSite(IOleClientSite** site) {
    if (!site) return E_POINTER;
    *site = site_.get();
    if (*site) (*site)->AddRef();
    return S_OK;
}

STDMETHODIMP UserControl::Close(DWORD) {
    InPlaceDeactivate();
    events_.DisconnectAll();
    propertyNotify_.DisconnectAll();
    if (adviseHolder_) adviseHolder_->SendOnClose();
    return S_OK;
}

STDMETHODIMP UserControl::GetMoniker(DWORD, DWORD, IMoniker** out) {
    if (out) *out = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP UserControl::GetClipboardData(DWORD, IDataObject** out) {
    if (out) *out = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP UserControl::DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND parent, LPCRECT rect) {
    switch (verb) {
        case OLEIVERB_PRIMARY:
        case OLEIVERB_SHOW:
        case OLEIVERB_INPLACEACTIVATE:
        case OLEIVERB_UIACTIVATE:
            if (rect) position_ = *rect;
            return ActivateInPlace(site ? site : site_.get(), parent);
        case OLEIVERB_HIDE:
            if (window_) ShowWindow(window_, SW_HIDE);
            return S_OK;
        default:
            return verb < 0 ? E_NOTIMPL : OLEOBJ_S_INVALIDVERB;
    }
}

STDMETHODIMP UserControl::EnumVerbs(IEnumOLEVERB** out) {
    if (out) *out = nullptr;
    return OLE_S_USEREG;
}

STDMETHODIMP UserControl::GetUserClassID(CLSID* clsid) { return GetClassID(clsid); }

STDMETHODIMP UserControl::SetExtent(DWORD aspect, SIZEL* size) {
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    if (!size) return E_POINTER;
    extent_ = *size;
    if (!window_) Resize();  // an active control hears of its size through SetObjectRects
    return S_OK;
}

STDMETHODIMP UserControl::GetExtent(DWORD aspect, SIZEL* size) {
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    if (!size) return E_POINTER;
    *size = extent_;
    return S_OK;
}

STDMETHODIMP UserControl::Advise(IAdviseSink* sink, DWORD* cookie) {
    if (!adviseHolder_ && FAILED(CreateOleAdviseHolder(adviseHolder_.put()))) return E_OUTOFMEMORY;
    return adviseHolder_->Advise(sink, cookie);
}

STDMETHODIMP UserControl::Unadvise(DWORD cookie) {
    return adviseHolder_ ? adviseHolder_->Unadvise(cookie) : OLE_E_NOCONNECTION;
}

STDMETHODIMP UserControl::EnumAdvise(IEnumSTATDATA** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    return adviseHolder_ ? adviseHolder_->EnumAdvise(out) : E_FAIL;
}

STDMETHODIMP UserControl::GetMiscStatus(DWORD, DWORD* status) {
    if (!status) return E_POINTER;
    *status = class_.miscStatus;
    return S_OK;
}

HRESULT UserControl::ActivateInPlace(IOleClientSite* site, HWND parent) {
    if (window_) {
        ShowWindow(window_, SW_SHOWNA);
        return S_OK;
    }
    if (!site) return E_UNEXPECTED;
    ComPtr<IOleInPlaceSite> inPlace;
    if (FAILED(site->QueryInterface(IID_IOleInPlaceSite, inPlace.put_void()))) return E_NOINTERFACE;
    if (inPlace->CanInPlaceActivate() != S_OK) return E_FAIL;
    if (!parent && FAILED(inPlace->GetWindow(&parent))) return E_FAIL;
    inPlace->OnInPlaceActivate();

    ComPtr<IOleInPlaceFrame> frame;
    ComPtr<IOleInPlaceUIWindow> document;
    RECT position{}, clip{};
    OLEINPLACEFRAMEINFO frameInfo{sizeof frameInfo};
    if (SUCCEEDED(inPlace->GetWindowContext(frame.put(), document.put(), &position, &clip, &frameInfo)))
        position_ = position;

    RegisterSurfaceClass(WindowProc);
    window_ = CreateWindowExW(0, kSurfaceClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, position_.left,
                              position_.top, position_.right - position_.left, position_.bottom - position_.top,
                              parent, nullptr, ModuleInstance(), this);
    if (!window_) {
        inPlace->OnInPlaceDeactivate();
        return E_FAIL;
    }
    EnableWindow(window_, enabled_);
    inPlaceSite_ = inPlace;
    Resize();
    return S_OK;
}

void UserControl::DestroyWindowIfAny() {
    if (!window_) return;
    HWND window = window_;
    window_ = nullptr;
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    DestroyWindow(window);
}

STDMETHODIMP UserControl::GetWindow(HWND* window) {
    if (!window) return E_POINTER;
    *window = window_;
    return window_ ? S_OK : E_FAIL;
}

STDMETHODIMP UserControl::InPlaceDeactivate() {
    if (!window_) return S_OK;
    DestroyWindowIfAny();
    if (inPlaceSite_) inPlaceSite_->OnInPlaceDeactivate();
    inPlaceSite_.reset();
    return S_OK;
}

STDMETHODIMP UserControl::SetObjectRects(LPCRECT position, LPCRECT) {
    if (!position) return E_POINTER;
    const bool resized = position->right - position->left != position_.right - position_.left ||
                         position->bottom - position->top != position_.bottom - position_.top;
    position_ = *position;
    extent_.cx = PixelsToHimetric(position_.right - position_.left, true);
    extent_.cy = PixelsToHimetric(position_.bottom - position_.top, false);
    if (window_)
        MoveWindow(window_, position_.left, position_.top, position_.right - position_.left,
                   position_.bottom - position_.top, TRUE);
    if (resized) Resize();
    return S_OK;
}

STDMETHODIMP UserControl::GetControlInfo(CONTROLINFO* info) {
    if (!info) return E_POINTER;
    info->hAccel = nullptr;
    info->cAccel = 0;
    info->dwFlags = 0;
    return S_OK;
}

STDMETHODIMP UserControl::OnAmbientPropertyChange(DISPID id) {
    std::wstring name;
    switch (id) {
        case DISPID_AMBIENT_DISPLAYNAME: name = L"DisplayName"; break;
        case DISPID_AMBIENT_USERMODE: name = L"UserMode"; break;
        case DISPID_AMBIENT_FONT: name = L"Font"; break;
        case DISPID_AMBIENT_BACKCOLOR: name = L"BackColor"; break;
        case DISPID_UNKNOWN: name = L""; break;  // several changed at once
        default: return S_OK;
    }
    AmbientChanged(name);
    return S_OK;
}

STDMETHODIMP UserControl::FreezeEvents(BOOL freeze) {
    frozen_ += freeze ? 1 : (frozen_ > 0 ? -1 : 0);
    return S_OK;
}

ComPtr<IDispatch> UserControl::AmbientDispatch() {
    ComPtr<IDispatch> ambient;
    if (site_) site_->QueryInterface(IID_IDispatch, ambient.put_void());
    return ambient;
}

bool UserControl::AmbientProperty(DISPID id, Variant& value) {
    ComPtr<IDispatch> ambient = AmbientDispatch();
    if (!ambient) return false;
    DISPPARAMS none{};
    return SUCCEEDED(ambient->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, value.put(),
                                     nullptr, nullptr));
}

bool UserControl::AmbientUserMode() {
    // Without a container that says otherwise, the control is running.
    Variant value;
    bool userMode = true;
    if (AmbientProperty(DISPID_AMBIENT_USERMODE, value)) value.ToBool(userMode);
    return userMode;
}

std::wstring UserControl::AmbientDisplayName() {
    Variant value;
    std::wstring name;
    if (AmbientProperty(DISPID_AMBIENT_DISPLAYNAME, value)) value.ToString(name);
    return name;
}

void UserControl::PropertyChanged(const wchar_t* name) {
    dirty_ = true;
    DISPID id = DISPID_UNKNOWN;
    ComPtr<ITypeInfo> info;
    if (IDispatch* dispatch = static_cast<IDispatch*>(QueryDispatch(IID_IDispatch));
        dispatch && SUCCEEDED(dispatch->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.put()))) {
        LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
        info->GetIDsOfNames(names, 1, &id);
    }
    for (const ComPtr<IUnknown>& sink : propertyNotify_.Sinks())
        static_cast<IPropertyNotifySink*>(sink.get())->OnChanged(id);
}

void UserControl::RaiseEvent(DISPID dispid, std::vector<VARIANT> args) {
    // Automation passes arguments last first.
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    for (const ComPtr<IUnknown>& sink : events_.Sinks()) {
        static_cast<IDispatch*>(sink.get())->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params,
                                                    nullptr, nullptr, nullptr);
    }
}

void UserControl::Refresh() {
    if (window_) {
        InvalidateRect(window_, nullptr, FALSE);
        UpdateWindow(window_);
    }
    NotifyViewChange();
}

void UserControl::NotifyViewChange() {
    if (viewSink_ && (viewAspects_ & DVASPECT_CONTENT)) viewSink_->OnViewChange(DVASPECT_CONTENT, -1);
}

HDC UserControl::SurfaceDC() {
    // The window's own DC (CS_OWNDC keeps it); before the control has a
    // window, a DC of the display itself. (A memory DC would hold a
    // one-bit bitmap, and buffers made compatible with it would be monochrome.)
    if (window_) return GetDC(window_);
    static HDC display = CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
    return display;
}

int UserControl::ScaleWidth() const {
    if (window_) {
        RECT r;
        GetClientRect(window_, &r);
        return r.right;
    }
    return HimetricToPixels(extent_.cx, true);
}

int UserControl::ScaleHeight() const {
    if (window_) {
        RECT r;
        GetClientRect(window_, &r);
        return r.bottom;
    }
    return HimetricToPixels(extent_.cy, false);
}

void UserControl::SetSizeTwips(double width, double height) {
    SIZEL extent{RoundHalfEven(width * kHimetricPerInch / kTwipsPerInch),
                 RoundHalfEven(height * kHimetricPerInch / kTwipsPerInch)};
    if (extent.cx == extent_.cx && extent.cy == extent_.cy) return;
    extent_ = extent;
    if (window_ && inPlaceSite_) {
        RECT wanted = position_;
        wanted.right = wanted.left + HimetricToPixels(extent.cx, true);
        wanted.bottom = wanted.top + HimetricToPixels(extent.cy, false);
        // A container moves the control through SetObjectRects, which resizes;
        // one that does not answer is not waited for.
        const HRESULT hr = inPlaceSite_->OnPosRectChange(&wanted);
        if (FAILED(hr) || wanted.right - wanted.left != position_.right - position_.left ||
            wanted.bottom - wanted.top != position_.bottom - position_.top)
            SetObjectRects(&wanted, &wanted);
    } else {
        Resize();
    }
}

void UserControl::Enabled(bool on) {
    enabled_ = on;
    if (window_) EnableWindow(window_, on);
}

LRESULT CALLBACK UserControl::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* control = reinterpret_cast<UserControl*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    // Messages of the window's creation, before CreateWindowEx has returned it.
    if (!control || control->window_ != window) return DefWindowProcW(window, message, wParam, lParam);
    // Keep the control alive while it handles a message that may release it.
    control->AddRef();
    LRESULT result = control->OnMessage(message, wParam, lParam);
    control->Release();
    return result;
}

LRESULT UserControl::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND window = window_;
    switch (message) {
        case WM_PAINT:
            PaintSurface();
            return 0;
        case WM_ERASEBKGND:
            return 1;  // the paint draws everything, background included
        case WM_NCHITTEST:
            return OnHitTest(lParam);
        case WM_GETDLGCODE:
            return DLGC_WANTALLKEYS | DLGC_WANTCHARS;  // Enter reaches the control
        default:
            if (OnInput(message, wParam, lParam)) return 0;
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace kinetile
