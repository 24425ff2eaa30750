#include "AxHost.h"

#include "MapPropertyBag.h"

#include <olectl.h>

#include <iterator>

namespace kinetile {

// The control's site: client site, in-place site and frame, ambient
// properties and the property-change sink, as one object.
class ControlSite final : public IOleClientSite,
                          public IOleInPlaceSite,
                          public IOleInPlaceFrame,
                          public IDispatch,
                          public IPropertyNotifySink,
                          public IOleControlSite {
public:
    ControlSite(HWND parent, const RECT& rect, const Ambient& ambient) : parent_(parent), rect_(rect), ambient_(ambient) {}

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (riid == IID_IUnknown || riid == IID_IOleClientSite) *out = static_cast<IOleClientSite*>(this);
        else if (riid == IID_IOleWindow || riid == IID_IOleInPlaceSite) *out = static_cast<IOleInPlaceSite*>(this);
        else if (riid == IID_IOleInPlaceUIWindow || riid == IID_IOleInPlaceFrame) *out = static_cast<IOleInPlaceFrame*>(this);
        else if (riid == IID_IDispatch) *out = static_cast<IDispatch*>(this);
        else if (riid == IID_IPropertyNotifySink) *out = static_cast<IPropertyNotifySink*>(this);
        else if (riid == IID_IOleControlSite) *out = static_cast<IOleControlSite*>(this);
        else return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
    STDMETHODIMP_(ULONG) Release() override {
        const LONG left = --refs_;
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    // IOleClientSite
    STDMETHODIMP SaveObject() override { return S_OK; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** out) override { return out ? (*out = nullptr, E_NOTIMPL) : E_POINTER; }
    STDMETHODIMP GetContainer(IOleContainer** out) override { return out ? (*out = nullptr, E_NOINTERFACE) : E_POINTER; }
    STDMETHODIMP ShowObject() override { return S_OK; }
    STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
    STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IOleWindow
    STDMETHODIMP GetWindow(HWND* window) override { return window ? (*window = parent_, S_OK) : E_POINTER; }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IOleInPlaceSite
    STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnUIActivate() override { return S_OK; }
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT position,
                                  LPRECT clip, LPOLEINPLACEFRAMEINFO info) override {
        if (!frame || !document || !position || !clip) return E_POINTER;
        *frame = static_cast<IOleInPlaceFrame*>(this);
        AddRef();
        *document = nullptr;
        *position = rect_;
        *clip = rect_;
        if (info) {
            info->fMDIApp = FALSE;
            info->hwndFrame = parent_;
            info->haccel = nullptr;
            info->cAccelEntries = 0;
        }
        return S_OK;
    }
    STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
    STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnInPlaceDeactivate() override { return S_OK; }
    STDMETHODIMP DiscardUndoState() override { return S_OK; }
    STDMETHODIMP DeactivateAndUndo() override { return S_OK; }
    STDMETHODIMP OnPosRectChange(LPCRECT rect) override {
        if (!rect) return E_POINTER;
        // The form lets the control take the size it asks for.
        rect_ = *rect;
        if (inPlace_) inPlace_->SetObjectRects(&rect_, &rect_);
        return S_OK;
    }

    // IOleInPlaceUIWindow, IOleInPlaceFrame
    STDMETHODIMP GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
    STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }
    STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return S_OK; }
    STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    STDMETHODIMP RemoveMenus(HMENU) override { return S_OK; }
    STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
    STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

    // IDispatch: the ambient properties.
    STDMETHODIMP GetTypeInfoCount(UINT* count) override { return count ? (*count = 0, S_OK) : E_POINTER; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override { return info ? (*info = nullptr, E_NOTIMPL) : E_POINTER; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return DISP_E_UNKNOWNNAME; }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO*, UINT*) override {
        Variant value;
        switch (id) {
            case DISPID_AMBIENT_USERMODE: value = Variant::Bool(ambient_.userMode); break;
            case DISPID_AMBIENT_DISPLAYNAME: value = Variant::String(ambient_.displayName); break;
            default: return DISP_E_MEMBERNOTFOUND;
        }
        if (result) *result = value.Detach();
        return S_OK;
    }

    // IPropertyNotifySink
    STDMETHODIMP OnChanged(DISPID id) override {
        ++changes_;
        lastChanged_ = id;
        return S_OK;
    }
    STDMETHODIMP OnRequestEdit(DISPID) override { return S_OK; }

    // IOleControlSite: the form measures in twips, as forms do by default.
    STDMETHODIMP OnControlInfoChanged() override { return S_OK; }
    STDMETHODIMP LockInPlaceActive(BOOL) override { return S_OK; }
    STDMETHODIMP GetExtendedControl(IDispatch** out) override;
    STDMETHODIMP TransformCoords(POINTL* himetric, POINTF* container, DWORD flags) override {
        if (!himetric || !container) return E_POINTER;
        constexpr float kTwipsPerHimetric = 1440.0f / 2540.0f;
        if (flags & XFORMCOORDS_HIMETRICTOCONTAINER) {
            container->x = static_cast<float>(himetric->x) * kTwipsPerHimetric;
            container->y = static_cast<float>(himetric->y) * kTwipsPerHimetric;
        } else {
            himetric->x = static_cast<LONG>(container->x / kTwipsPerHimetric);
            himetric->y = static_cast<LONG>(container->y / kTwipsPerHimetric);
        }
        return S_OK;
    }
    STDMETHODIMP TranslateAccelerator(MSG*, DWORD) override { return S_FALSE; }
    STDMETHODIMP OnFocus(BOOL gained) override {
        if (focusHandler_) focusHandler_(gained != FALSE);
        return S_OK;
    }
    STDMETHODIMP ShowPropertyFrame() override { return E_NOTIMPL; }

    void Attach(IOleInPlaceObject* inPlace) { inPlace_ = ComPtr<IOleInPlaceObject>::Retain(inPlace); }
    // Moves the control, as setting the extender's position does.
    void MoveTo(const RECT& rect) {
        rect_ = rect;
        if (inPlace_) inPlace_->SetObjectRects(&rect_, &rect_);
    }
    void Detach() { inPlace_.reset(); }

    HWND parent_;
    RECT rect_;
    Ambient ambient_;
    std::wstring toolTipText_;
    std::function<void(bool)> focusHandler_;
    int changes_ = 0;
    DISPID lastChanged_ = DISPID_UNKNOWN;

private:
    ~ControlSite() = default;
    LONG refs_ = 1;
    ComPtr<IOleInPlaceObject> inPlace_;
};

namespace {

// What the host's small automation objects share: reference counting and
// an IDispatch without type information.
class PlainDispatch : public IDispatch {
public:
    explicit PlainDispatch(IID extra = IID_IDispatch) : extra_(extra) {}
    virtual ~PlainDispatch() = default;

    STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
        if (!out) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == extra_) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
    STDMETHODIMP_(ULONG) Release() override {
        const LONG left = --refs_;
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }
    STDMETHODIMP GetTypeInfoCount(UINT* count) override { return count ? (*count = 0, S_OK) : E_POINTER; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override { return info ? (*info = nullptr, E_NOTIMPL) : E_POINTER; }

private:
    LONG refs_ = 1;
    IID extra_;
};

// The extended control: what the form adds to every control it holds, its
// position and size in the form's twips, its name and its tool tip.
class ExtendedControl final : public PlainDispatch {
public:
    explicit ExtendedControl(ControlSite* site) : site_(ComPtr<ControlSite>::Retain(site)) {}

    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        if (!names || !ids || count == 0) return E_POINTER;
        for (DISPID id = 0; id < static_cast<DISPID>(std::size(kNames)); ++id) {
            if (lstrcmpiW(names[0], kNames[id]) == 0) {
                ids[0] = id + 1;
                return S_OK;
            }
        }
        ids[0] = DISPID_UNKNOWN;
        return DISP_E_UNKNOWNNAME;
    }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO*, UINT*) override {
        const double twips = 1440.0 / 96.0;
        RECT& r = site_->rect_;
        if (flags & DISPATCH_PROPERTYGET) {
            Variant value;
            switch (id) {
                case 1: value = Variant::Int32(static_cast<int32_t>(r.left * twips)); break;
                case 2: value = Variant::Int32(static_cast<int32_t>(r.top * twips)); break;
                case 3: value = Variant::Int32(static_cast<int32_t>((r.right - r.left) * twips)); break;
                case 4: value = Variant::Int32(static_cast<int32_t>((r.bottom - r.top) * twips)); break;
                case 5: value = Variant::String(site_->ambient_.displayName); break;
                case 6: value = Variant::String(site_->toolTipText_); break;
                default: return DISP_E_MEMBERNOTFOUND;
            }
            if (result) *result = value.Detach();
            return S_OK;
        }
        if (!(flags & DISPATCH_PROPERTYPUT) || !params || params->cArgs != 1) return DISP_E_MEMBERNOTFOUND;
        const Variant given(params->rgvarg[0]);
        if (id == 6) return given.ToString(site_->toolTipText_) ? S_OK : DISP_E_TYPEMISMATCH;
        int32_t v = 0;
        if (id < 1 || id > 4) return DISP_E_MEMBERNOTFOUND;
        if (!given.ToInt32(v)) return DISP_E_TYPEMISMATCH;
        RECT moved = r;
        const LONG px = static_cast<LONG>(v / twips);
        if (id == 1) OffsetRect(&moved, px - r.left, 0);
        if (id == 2) OffsetRect(&moved, 0, px - r.top);
        if (id == 3) moved.right = moved.left + px;
        if (id == 4) moved.bottom = moved.top + px;
        site_->MoveTo(moved);
        return S_OK;
    }

private:
    static constexpr const wchar_t* kNames[] = {L"Left", L"Top", L"Width", L"Height", L"Name", L"ToolTipText"};
    ComPtr<ControlSite> site_;
};

// Receives the control's events and hands them on with their names.
class EventSink final : public PlainDispatch {
public:
    EventSink(ComPtr<ITypeInfo> events, IID iid) : PlainDispatch(iid), events_(std::move(events)) {}
    AxHost::EventHandler handler;

    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return DISP_E_UNKNOWNNAME; }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) override {
        if (!handler) return S_OK;
        ControlEvent event{L"", id, {}};
        BSTR name = nullptr;
        UINT count = 0;
        if (events_ && SUCCEEDED(events_->GetNames(id, &name, 1, &count)) && count == 1) {
            event.name.assign(name, SysStringLen(name));
            SysFreeString(name);
        }
        if (params)
            for (UINT i = params->cArgs; i > 0; --i) event.args.push_back(&params->rgvarg[i - 1]);
        handler(event);
        return S_OK;
    }

private:
    ComPtr<ITypeInfo> events_;
};

ComPtr<ITypeInfo> DefaultEvents(IUnknown* object, IID& iid) {
    ComPtr<IProvideClassInfo2> provide;
    ComPtr<ITypeInfo> coclass, events;
    if (FAILED(object->QueryInterface(IID_IProvideClassInfo2, provide.put_void())) ||
        FAILED(provide->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &iid)) || FAILED(provide->GetClassInfo(coclass.put())))
        return events;
    ComPtr<ITypeLib> library;
    UINT index = 0;
    if (SUCCEEDED(coclass->GetContainingTypeLib(library.put(), &index))) library->GetTypeInfoOfGuid(iid, events.put());
    return events;
}

}  // namespace

STDMETHODIMP ControlSite::GetExtendedControl(IDispatch** out) {
    if (!out) return E_POINTER;
    *out = new ExtendedControl(this);
    return S_OK;
}

std::unique_ptr<AxHost> AxHost::Create(HWND parent, const std::wstring& progId, const RECT& rect,
                                       const Ambient& ambient, const PropertyMap* saved, HRESULT* error) {
    HRESULT ignored;
    HRESULT& hr = error ? *error : ignored;
    CLSID clsid;
    hr = progId.size() && progId[0] == L'{' ? CLSIDFromString(progId.c_str(), &clsid) : CLSIDFromProgID(progId.c_str(), &clsid);
    if (FAILED(hr)) return nullptr;

    std::unique_ptr<AxHost> host(new AxHost());
    host->site_ = ComPtr<ControlSite>::Adopt(new ControlSite(parent, rect, ambient));
    hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, host->object_.put_void());
    if (FAILED(hr)) return nullptr;
    host->object_->QueryInterface(IID_IDispatch, host->dispatch_.put_void());

    // Controls that ask for their site first get it before they load.
    ComPtr<IOleObject> ole;
    DWORD misc = 0;
    if (SUCCEEDED(host->object_->QueryInterface(IID_IOleObject, ole.put_void()))) {
        ole->GetMiscStatus(DVASPECT_CONTENT, &misc);
        if (misc & OLEMISC_SETCLIENTSITEFIRST) ole->SetClientSite(host->site_.get());
    }

    IID eventsIid{};
    ComPtr<ITypeInfo> events = DefaultEvents(host->object_.get(), eventsIid);
    ComPtr<IConnectionPointContainer> points;
    if (SUCCEEDED(host->object_->QueryInterface(IID_IConnectionPointContainer, points.put_void()))) {
        if (events && SUCCEEDED(points->FindConnectionPoint(eventsIid, host->events_.put()))) {
            auto sink = ComPtr<EventSink>::Adopt(new EventSink(events, eventsIid));
            host->events_->Advise(sink.get(), &host->eventsCookie_);
        }
        if (SUCCEEDED(points->FindConnectionPoint(IID_IPropertyNotifySink, host->notify_.put())))
            host->notify_->Advise(static_cast<IPropertyNotifySink*>(host->site_.get()), &host->notifyCookie_);
    }

    ComPtr<IPersistPropertyBag> persist;
    if (SUCCEEDED(host->object_->QueryInterface(IID_IPersistPropertyBag, persist.put_void()))) {
        if (saved) {
            PropertyMap copy = *saved;
            auto bag = ComPtr<IPropertyBag>::Adopt(new MapPropertyBag(copy));
            hr = persist->Load(bag.get(), nullptr);
        } else {
            hr = persist->InitNew();
        }
        if (FAILED(hr)) return nullptr;
    }
    if (ole) {
        if (!(misc & OLEMISC_SETCLIENTSITEFIRST)) ole->SetClientSite(host->site_.get());
        if (parent) {
            hr = ole->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, host->site_.get(), 0, parent, &rect);
            ComPtr<IOleInPlaceObject> inPlace;
            if (SUCCEEDED(host->object_->QueryInterface(IID_IOleInPlaceObject, inPlace.put_void())))
                host->site_->Attach(inPlace.get());
            if (FAILED(hr)) return nullptr;
        }
    }
    hr = S_OK;
    return host;
}

AxHost::~AxHost() {
    if (events_) events_->Unadvise(eventsCookie_);
    if (notify_) notify_->Unadvise(notifyCookie_);
    if (site_) site_->Detach();
    ComPtr<IOleObject> ole;
    if (object_ && SUCCEEDED(object_->QueryInterface(IID_IOleObject, ole.put_void()))) {
        ole->Close(OLECLOSE_NOSAVE);
        ole->SetClientSite(nullptr);
    }
}

HWND AxHost::Window() const {
    ComPtr<IOleInPlaceObject> inPlace;
    HWND window = nullptr;
    if (object_ && SUCCEEDED(object_->QueryInterface(IID_IOleInPlaceObject, inPlace.put_void()))) inPlace->GetWindow(&window);
    return window;
}

RECT AxHost::Rect() const { return site_->rect_; }

void AxHost::Move(const RECT& rect) { site_->MoveTo(rect); }

void AxHost::OnFocus(std::function<void(bool)> handler) { site_->focusHandler_ = std::move(handler); }

void AxHost::OnEvent(EventHandler handler) {
    if (!events_) return;
    // The sink is reached through the connection: replace it with one that calls `handler`.
    IID iid{};
    ComPtr<ITypeInfo> events = DefaultEvents(object_.get(), iid);
    events_->Unadvise(eventsCookie_);
    auto sink = ComPtr<EventSink>::Adopt(new EventSink(events, iid));
    sink->handler = std::move(handler);
    events_->Advise(sink.get(), &eventsCookie_);
}

void AxHost::SetUserMode(bool userMode) {
    site_->ambient_.userMode = userMode;
    ComPtr<IOleControl> control;
    if (SUCCEEDED(object_->QueryInterface(IID_IOleControl, control.put_void())))
        control->OnAmbientPropertyChange(DISPID_AMBIENT_USERMODE);
}

void AxHost::SetDisplayName(const std::wstring& name) {
    site_->ambient_.displayName = name;
    ComPtr<IOleControl> control;
    if (SUCCEEDED(object_->QueryInterface(IID_IOleControl, control.put_void())))
        control->OnAmbientPropertyChange(DISPID_AMBIENT_DISPLAYNAME);
}

int AxHost::PropertyChanges() const { return site_->changes_; }
DISPID AxHost::LastChangedProperty() const { return site_->lastChanged_; }

HRESULT AxHost::Save(PropertyMap& saved) const {
    ComPtr<IPersistPropertyBag> persist;
    HRESULT hr = object_->QueryInterface(IID_IPersistPropertyBag, persist.put_void());
    if (FAILED(hr)) return hr;
    saved.Clear();
    auto bag = ComPtr<IPropertyBag>::Adopt(new MapPropertyBag(saved));
    return persist->Save(bag.get(), TRUE, TRUE);
}

}  // namespace kinetile
