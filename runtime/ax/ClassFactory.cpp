#include "ClassFactory.h"

#include "Module.h"

namespace kinetile {

ClassFactory::ClassFactory(CreateInstanceFn create) : create_(create) { ModuleAddRef(); }
ClassFactory::~ClassFactory() { ModuleRelease(); }

STDMETHODIMP ClassFactory::QueryInterface(REFIID riid, void** out) {
    if (!out) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IClassFactory) {
        *out = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) ClassFactory::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }

STDMETHODIMP_(ULONG) ClassFactory::Release() {
    LONG left = InterlockedDecrement(&refs_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

STDMETHODIMP ClassFactory::CreateInstance(IUnknown* outer, REFIID riid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    return create_(riid, out);
}

STDMETHODIMP ClassFactory::LockServer(BOOL lock) {
    lock ? ModuleAddRef() : ModuleRelease();
    return S_OK;
}

}  // namespace kinetile
