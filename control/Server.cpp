// The four entry points of the in-process server.
#include <windows.h>
#include <olectl.h>

#include <string>

#include "ClassFactory.h"
#include "ComPtr.h"
#include "GifFilePage.h"
#include "Kinetile.h"
#include "KinetileIds.h"
#include "Module.h"
#include "Registration.h"
#include "TypeLibrary.h"

using namespace kinetile;

namespace {

std::wstring ModulePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(ModuleInstance(), path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

bool WriteValue(const RegistryValue& value) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, value.key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    const LONG status = RegSetValueExW(key, value.name.empty() ? nullptr : value.name.c_str(), 0, REG_SZ,
                                       reinterpret_cast<const BYTE*>(value.data.c_str()),
                                       static_cast<DWORD>((value.data.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

void DeleteKeys() {
    for (const std::wstring& key : ControlRegistryKeys()) RegDeleteTreeW(HKEY_CLASSES_ROOT, key.c_str());
}

constexpr SYSKIND kSysKind = sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32;

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        SetModuleInstance(instance);
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

STDAPI DllCanUnloadNow() { return ModuleReferences() == 0 ? S_OK : S_FALSE; }

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    CreateInstanceFn create = nullptr;
    if (clsid == CLSID_Kinetile) create = &kinetile::Kinetile::Create;
    else if (clsid == CLSID_GifFilePage) create = &GifFilePage::Create;
    else return CLASS_E_CLASSNOTAVAILABLE;
    auto* factory = new (std::nothrow) ClassFactory(create);
    if (!factory) return E_OUTOFMEMORY;
    const HRESULT hr = factory->QueryInterface(iid, out);
    factory->Release();
    return hr;
}

STDAPI DllRegisterServer() {
    const std::wstring path = ModulePath();
    for (const RegistryValue& value : ControlRegistryValues(path)) {
        if (!WriteValue(value)) {
            DeleteKeys();
            return SELFREG_E_CLASS;
        }
    }
    ComPtr<ITypeLib> library = ModuleTypeLibrary();
    if (!library || FAILED(RegisterTypeLib(library.get(), const_cast<OLECHAR*>(path.c_str()), nullptr))) {
        DeleteKeys();
        return SELFREG_E_TYPELIB;
    }
    return S_OK;
}

STDAPI DllUnregisterServer() {
    DeleteKeys();
    UnRegisterTypeLib(LIBID_KinetileLib, 1, 0, 0x409, kSysKind);
    return S_OK;
}
