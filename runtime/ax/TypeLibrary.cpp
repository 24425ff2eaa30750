#include "TypeLibrary.h"

#include <string>

#include "Module.h"

namespace kinetile {

ComPtr<ITypeLib> ModuleTypeLibrary() {
    // Kept for the life of the process: releasing it from a static destructor
    // could run after the system's automation library has gone.
    static ITypeLib* library = nullptr;
    if (!library) {
        std::wstring path(MAX_PATH, L'\0');
        DWORD n = GetModuleFileNameW(ModuleInstance(), path.data(), static_cast<DWORD>(path.size()));
        path.resize(n);
        if (FAILED(LoadTypeLibEx(path.c_str(), REGKIND_NONE, &library))) library = nullptr;
    }
    if (library) library->AddRef();
    return ComPtr<ITypeLib>::Adopt(library);
}

ComPtr<ITypeInfo> ModuleTypeInfo(REFGUID guid) {
    ComPtr<ITypeInfo> info;
    if (ComPtr<ITypeLib> library = ModuleTypeLibrary()) library->GetTypeInfoOfGuid(guid, info.put());
    return info;
}

}  // namespace kinetile
