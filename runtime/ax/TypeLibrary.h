#pragma once
// Type information from the type library embedded in this module.
#include <windows.h>
#include <oaidl.h>

#include "ComPtr.h"

namespace kinetile {

// The module's own type library (resource 1 of type TYPELIB), loaded once.
ComPtr<ITypeLib> ModuleTypeLibrary();
ComPtr<ITypeInfo> ModuleTypeInfo(REFGUID guid);

}  // namespace kinetile
