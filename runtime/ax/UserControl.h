#pragma once
// The user control of our form run time: everything an ActiveX control needs
// from its container and gives back to it (site, in-place window, extent,
// persistence, events, property notifications, view), so that a control
// written on it deals only in its own properties, painting and events.
//
// Activation is windowed: the control gets a child window of the container.
// That works in every container; transparency is done by the control painting
// what lies beneath, and clicks on points it does not claim pass through
// (HTTRANSPARENT) to the window below.
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <memory>
#include <string>
#include <vector>

#include "ComPtr.h"
#include "ConnectionPoint.h"
#include "PropertyStore.h"

namespace kinetile {

struct UserControlClass {
    CLSID clsid;
    IID eventsIid;          // the default source dispinterface
    IID dispatchIid;        // the default (dual) interface
    DWORD miscStatus;
    std::vector<CLSID> propertyPages;
    SIZE defaultTwips;      // size when first placed on a form
};

class UserControl : public IOleObject,
                    public IOleInPlaceObject,
                    public IOleInPlaceActiveObject,
                    public IOleControl,
                    public IViewObject2,
                    public IPersistPropertyBag,
                    public IPersistStreamInit,
                    public IConnectionPointContainer,
                    public IProvideClassInfo2,
                    public ISpecifyPropertyPages,
                    public ISupportErrorInfo {
public:
    explicit UserControl(const UserControlClass& info);
    virtual ~UserControl();
    UserControl(const UserControl&) = delete;
    UserControl& operator=(const UserControl&) = delete;

    // IUnknown (the derived class forwards its own three here).
    STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IOleObject
    STDMETHODIMP SetClientSite(IOleClientSite* site) override;
    STDMETHODIMP GetClientSite(IOleClientSite** site) override;
    STDMETHODIMP SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
    STDMETHODIMP Close(DWORD saveOption) override;
    STDMETHODIMP SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** out) override;
    STDMETHODIMP InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetClipboardData(DWORD, IDataObject** out) override;
    STDMETHODIMP DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND parent, LPCRECT rect) override;
    STDMETHODIMP EnumVerbs(IEnumOLEVERB** out) override;
    STDMETHODIMP Update() override { return S_OK; }
    STDMETHODIMP IsUpToDate() override { return S_OK; }
    STDMETHODIMP GetUserClassID(CLSID* clsid) override;
    STDMETHODIMP GetUserType(DWORD, LPOLESTR*) override { return OLE_S_USEREG; }
    STDMETHODIMP SetExtent(DWORD aspect, SIZEL* size) override;
    STDMETHODIMP GetExtent(DWORD aspect, SIZEL* size) override;
    STDMETHODIMP Advise(IAdviseSink* sink, DWORD* cookie) override;
    STDMETHODIMP Unadvise(DWORD cookie) override;
    STDMETHODIMP EnumAdvise(IEnumSTATDATA** out) override;
    STDMETHODIMP GetMiscStatus(DWORD aspect, DWORD* status) override;
    STDMETHODIMP SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

    // IOleWindow, IOleInPlaceObject, IOleInPlaceActiveObject
    STDMETHODIMP GetWindow(HWND* window) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP InPlaceDeactivate() override;
    STDMETHODIMP UIDeactivate() override { return S_OK; }
    STDMETHODIMP SetObjectRects(LPCRECT position, LPCRECT clip) override;
    STDMETHODIMP ReactivateAndUndo() override { return E_NOTIMPL; }
    STDMETHODIMP TranslateAccelerator(LPMSG) override { return S_FALSE; }
    STDMETHODIMP OnFrameWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnDocWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }

    // IOleControl
    STDMETHODIMP GetControlInfo(CONTROLINFO* info) override;
    STDMETHODIMP OnMnemonic(LPMSG) override { return S_OK; }
    STDMETHODIMP OnAmbientPropertyChange(DISPID id) override;
    STDMETHODIMP FreezeEvents(BOOL freeze) override;

    // IViewObject2
    STDMETHODIMP Draw(DWORD aspect, LONG index, void* aspectInfo, DVTARGETDEVICE* target, HDC targetDC, HDC dc,
                      LPCRECTL bounds, LPCRECTL window, BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) override;
    STDMETHODIMP GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE**) override { return E_NOTIMPL; }
    STDMETHODIMP Freeze(DWORD, LONG, void*, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP Unfreeze(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) override;
    STDMETHODIMP GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) override;
    STDMETHODIMP GetExtent(DWORD aspect, LONG index, DVTARGETDEVICE*, LPSIZEL size) override;

    // IPersist, IPersistPropertyBag, IPersistStreamInit
    STDMETHODIMP GetClassID(CLSID* clsid) override;
    STDMETHODIMP InitNew() override;
    STDMETHODIMP Load(IPropertyBag* bag, IErrorLog* log) override;
    STDMETHODIMP Save(IPropertyBag* bag, BOOL clearDirty, BOOL saveAll) override;
    STDMETHODIMP IsDirty() override { return dirty_ ? S_OK : S_FALSE; }
    STDMETHODIMP Load(IStream* stream) override;
    STDMETHODIMP Save(IStream* stream, BOOL clearDirty) override;
    STDMETHODIMP GetSizeMax(ULARGE_INTEGER* size) override;

    // IConnectionPointContainer
    STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints** out) override;
    STDMETHODIMP FindConnectionPoint(REFIID riid, IConnectionPoint** out) override;

    // IProvideClassInfo2, ISpecifyPropertyPages, ISupportErrorInfo
    STDMETHODIMP GetClassInfo(ITypeInfo** info) override;
    STDMETHODIMP GetGUID(DWORD kind, GUID* guid) override;
    STDMETHODIMP GetPages(CAUUID* pages) override;
    STDMETHODIMP InterfaceSupportsErrorInfo(REFIID riid) override;

protected:
    // What a control of this run time writes; the events of a user control.
    virtual void* QueryDispatch(REFIID riid) = 0;  // the control's dual interface, or null
    virtual void InitProperties() {}
    virtual HRESULT ReadProperties(PropertyReader&) { return S_OK; }
    virtual HRESULT WriteProperties(PropertyWriter&) { return S_OK; }
    virtual void Paint(HDC) {}
    virtual void Resize() {}
    virtual void AmbientChanged(const std::wstring& name) {}
    virtual void Terminate() {}
    // The surface's hit test: `result` comes proposed by the hit-test mode
    // (3 for pixels the last paint drew when the mode is 2, else 0); only 3
    // lets the point's mouse input reach the control, anything else passes
    // it to the window beneath. Coordinates in pixels.
    virtual void HitTest(float x, float y, short& result) {}
    // Mouse and keyboard events of the surface. Button: 1 left, 2 right,
    // 4 middle; Shift: 1 Shift, 2 Ctrl, 4 Alt; coordinates in pixels.
    virtual void MouseDown(short button, short shift, float x, float y) {}
    virtual void MouseMove(short button, short shift, float x, float y) {}
    virtual void MouseUp(short button, short shift, float x, float y) {}
    virtual void Click() {}
    virtual void DblClick() {}
    virtual void KeyDown(short& keyCode, short& shift) {}
    virtual void KeyUp(short& keyCode, short& shift) {}
    virtual void KeyPress(short& keyAscii) {}

    // The form run time, as the control sees it.
    bool AmbientUserMode();
    std::wstring AmbientDisplayName();
    void PropertyChanged(const wchar_t* name);
    // Raises event `dispid` to every connected sink; `args` in declaration order.
    void RaiseEvent(DISPID dispid, std::vector<VARIANT> args = {});
    void Refresh();
    HWND Window() const { return window_; }
    HDC SurfaceDC();
    int ScaleWidth() const;  // surface size in pixels
    int ScaleHeight() const;
    // Resizes the control on its container (twips), as setting Width/Height would.
    void SetSizeTwips(double width, double height);
    // Pixels of the surface in the container's position units (ScaleX/ScaleY
    // to the container's scale); twips when the container does not say.
    void PixelsToContainer(float& x, float& y);
    static double TwipsPerPixelX();
    static double TwipsPerPixelY();
    void ContainerToPixels(float& x, float& y);
    // The container's window, and the control's rectangle in its client
    // pixels from the extender's Left, Top, Width and Height (from the
    // control's window where the container offers no extender).
    HWND ContainerHwnd() const;
    RECT RectInContainer();
    // The container's extended control (Left, Top, Width, Height, Name,
    // ToolTipText, ...), or none.
    ComPtr<IDispatch> Extender();
    // 0: every point proposed outside; 2: painted pixels proposed as hits.
    void HitTestMode(short mode) { hitTestMode_ = mode; }

    OLE_COLOR BackColor() const { return backColor_; }
    void BackColor(OLE_COLOR color) { backColor_ = color; }
    bool Enabled() const { return enabled_; }
    void Enabled(bool on);
    short MousePointer() const { return mousePointer_; }
    void MousePointer(short pointer) { mousePointer_ = pointer; }
    IPictureDisp* MouseIcon() const { return mouseIcon_.get(); }
    void MouseIcon(IPictureDisp* icon) { mouseIcon_ = ComPtr<IPictureDisp>::Retain(icon); }

private:
    HRESULT ActivateInPlace(IOleClientSite* site, HWND parent);
    void DestroyWindowIfAny();
    void NotifyViewChange();
    ComPtr<IDispatch> AmbientDispatch();
    // The container's position scale: origin and units per pixel.
    bool ContainerScale(double& originX, double& unitsPerPixelX, double& originY, double& unitsPerPixelY);
    bool AmbientProperty(DISPID id, Variant& value);
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void PaintSurface();
    LRESULT OnHitTest(LPARAM lParam);
    bool OnInput(UINT message, WPARAM wParam, LPARAM lParam);

    LONG refs_ = 1;
    UserControlClass class_;
    ComPtr<IOleClientSite> site_;
    ComPtr<IOleInPlaceSite> inPlaceSite_;
    ComPtr<IOleAdviseHolder> adviseHolder_;
    ComPtr<IAdviseSink> viewSink_;
    DWORD viewAspects_ = 0, viewFlags_ = 0;
    ConnectionPoint events_;
    ConnectionPoint propertyNotify_;
    HWND window_ = nullptr;
    RECT position_{};  // in the container's window, pixels
    SIZEL extent_{};   // HIMETRIC
    bool dirty_ = false;
    bool initialized_ = false;
    int frozen_ = 0;
    OLE_COLOR backColor_ = 0x8000000F;
    bool enabled_ = true;
    short mousePointer_ = 0;
    ComPtr<IPictureDisp> mouseIcon_;
    short hitTestMode_ = 0;
    // Which pixels the last paint drew, row by row: what the host shows
    // through everywhere else, and what hit-test mode 2 proposes as hits.
    std::vector<bool> painted_;
    int paintedWidth_ = 0, paintedHeight_ = 0;
    bool leftDown_ = false, doubleClicked_ = false;
};

}  // namespace kinetile
