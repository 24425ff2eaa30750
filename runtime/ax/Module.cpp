#include "Module.h"

namespace kinetile {
namespace {

HINSTANCE g_instance = nullptr;
LONG g_references = 0;

}  // namespace

HINSTANCE ModuleInstance() { return g_instance ? g_instance : GetModuleHandleW(nullptr); }
void SetModuleInstance(HINSTANCE instance) { g_instance = instance; }
void ModuleAddRef() { InterlockedIncrement(&g_references); }
void ModuleRelease() { InterlockedDecrement(&g_references); }
LONG ModuleReferences() { return g_references; }

}  // namespace kinetile
