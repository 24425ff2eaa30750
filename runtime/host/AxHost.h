#pragma once
// Our ActiveX container: hosts one control on a parent window, answers its
// ambient properties, hears its events and property changes, and saves and
// restores it through a property bag.
#include <windows.h>
#include <ocidl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ComPtr.h"
#include "Dispatch.h"
#include "PropertyStore.h"

namespace kinetile {

struct Ambient {
    bool userMode = true;  // false: the control sits in a designer
    std::wstring displayName;
};

// An event as the control raised it: its name from the control's type
// information and its arguments in declaration order (by reference where the
// event passes them so).
struct ControlEvent {
    std::wstring name;
    DISPID id;
    std::vector<VARIANT*> args;
};

class ControlSite;


class AxHost {
public:
    using EventHandler = std::function<void(const ControlEvent&)>;

    // Creates the control by ProgID (or CLSID text), restores it from `saved`
    // or initialises it as new, and activates it on `parent` at `rect`.
    static std::unique_ptr<AxHost> Create(HWND parent, const std::wstring& progId, const RECT& rect,
                                          const Ambient& ambient, const PropertyMap* saved, HRESULT* error = nullptr);
    ~AxHost();
    AxHost(const AxHost&) = delete;
    AxHost& operator=(const AxHost&) = delete;

    IDispatch* Control() const { return dispatch_.get(); }
    IUnknown* Object() const { return object_.get(); }
    HWND Window() const;
    RECT Rect() const;
    void OnEvent(EventHandler handler);
    // The container's own events of the control: focus gained (true) or lost.
    void OnFocus(std::function<void(bool)> handler);
    // Moves and sizes the control on its parent (pixels), as a form does.
    void Move(const RECT& rect);

    // Changes an ambient property and tells the control.
    void SetUserMode(bool userMode);
    void SetDisplayName(const std::wstring& name);

    // How often the control said a property changed, and the last one's id.
    int PropertyChanges() const;
    DISPID LastChangedProperty() const;

    HRESULT Save(PropertyMap& saved) const;

    HRESULT Get(const wchar_t* name, Variant& value, EXCEPINFO* error = nullptr) const {
        return DispatchGet(dispatch_.get(), name, value, error);
    }
    HRESULT Put(const wchar_t* name, const Variant& value, EXCEPINFO* error = nullptr) const {
        return DispatchPut(dispatch_.get(), name, value, error);
    }
    HRESULT Call(const wchar_t* name, std::vector<VARIANT> args, Variant* result = nullptr,
                 EXCEPINFO* error = nullptr) const {
        return DispatchCall(dispatch_.get(), name, std::move(args), result, error);
    }

private:
    AxHost() = default;
    ComPtr<ControlSite> site_;
    ComPtr<IUnknown> object_;
    ComPtr<IDispatch> dispatch_;
    ComPtr<IConnectionPoint> events_;
    DWORD eventsCookie_ = 0;
    ComPtr<IConnectionPoint> notify_;
    DWORD notifyCookie_ = 0;
};

}  // namespace kinetile
