#pragma once
// Late-bound access to any automation object by member name, as a script
// client has it.
#include <windows.h>
#include <oaidl.h>

#include <vector>

#include "Variant.h"

namespace kinetile {

HRESULT DispatchGet(IDispatch* object, const wchar_t* name, Variant& value, EXCEPINFO* error = nullptr);
HRESULT DispatchPut(IDispatch* object, const wchar_t* name, const Variant& value, EXCEPINFO* error = nullptr);
HRESULT DispatchCall(IDispatch* object, const wchar_t* name, std::vector<VARIANT> args, Variant* result = nullptr,
                     EXCEPINFO* error = nullptr);

}  // namespace kinetile
