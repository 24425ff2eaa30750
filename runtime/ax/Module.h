#pragma once
// The in-process server's module: its instance handle and the count of live
// objects and locks that DllCanUnloadNow reports.
#include <windows.h>

namespace kinetile {

HINSTANCE ModuleInstance();
void SetModuleInstance(HINSTANCE instance);
void ModuleAddRef();
void ModuleRelease();
LONG ModuleReferences();

}  // namespace kinetile
