#pragma once
// A class factory that makes objects through a creation function.
#include <windows.h>
#include <unknwn.h>

namespace kinetile {

using CreateInstanceFn = HRESULT (*)(REFIID iid, void** out);

class ClassFactory final : public IClassFactory {
public:
    explicit ClassFactory(CreateInstanceFn create);
    ~ClassFactory();

    STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** out) override;
    STDMETHODIMP LockServer(BOOL lock) override;

private:
    LONG refs_ = 1;
    CreateInstanceFn create_;
};

}  // namespace kinetile
