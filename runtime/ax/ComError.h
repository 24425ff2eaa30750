#pragma once
// Errors raised to automation callers the way ActiveX containers expect: an
// HRESULT in the control facility plus an IErrorInfo with a description, which
// IDispatch::Invoke turns into EXCEPINFO.
#include <windows.h>
#include <oleauto.h>

#include <cstdint>

namespace kinetile {

// The control-facility HRESULT of a run-time error number (382 -> 0x800A017E).
constexpr HRESULT ControlError(uint16_t number) {
    return static_cast<HRESULT>(0x800A0000u | number);
}

constexpr HRESULT kErrSetNotSupportedAtRuntime = ControlError(382);
constexpr HRESULT kErrSetNotPermitted = ControlError(387);
constexpr HRESULT kErrInvalidPropertyValue = ControlError(380);

// Sets this thread's error info (source, description, interface) and returns `code`.
HRESULT RaiseComError(HRESULT code, const wchar_t* description, REFIID iid, const wchar_t* source);

}  // namespace kinetile
