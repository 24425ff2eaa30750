#include "Dispatch.h"

namespace kinetile {
namespace {

HRESULT InvokeByName(IDispatch* dispatch, const wchar_t* name, WORD flags, DISPPARAMS& params, Variant* result,
                     EXCEPINFO* error) {
    if (!dispatch) return E_POINTER;
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    HRESULT hr = dispatch->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) return hr;
    EXCEPINFO ignored{};
    EXCEPINFO* exception = error ? error : &ignored;
    *exception = EXCEPINFO{};
    UINT argError = 0;
    hr = dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result ? result->put() : nullptr, exception,
                          &argError);
    if (!error) {
        SysFreeString(ignored.bstrSource);
        SysFreeString(ignored.bstrDescription);
        SysFreeString(ignored.bstrHelpFile);
    }
    return hr;
}

}  // namespace

HRESULT DispatchGet(IDispatch* object, const wchar_t* name, Variant& value, EXCEPINFO* error) {
    DISPPARAMS none{};
    return InvokeByName(object, name, DISPATCH_PROPERTYGET, none, &value, error);
}

HRESULT DispatchPut(IDispatch* object, const wchar_t* name, const Variant& value, EXCEPINFO* error) {
    VARIANT arg = value.get();
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{&arg, &named, 1, 1};
    const WORD flags = (arg.vt == VT_DISPATCH || arg.vt == VT_UNKNOWN) ? DISPATCH_PROPERTYPUTREF : DISPATCH_PROPERTYPUT;
    return InvokeByName(object, name, flags, params, nullptr, error);
}

HRESULT DispatchCall(IDispatch* object, const wchar_t* name, std::vector<VARIANT> args, Variant* result,
                     EXCEPINFO* error) {
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    return InvokeByName(object, name, DISPATCH_METHOD, params, result, error);
}

}  // namespace kinetile
