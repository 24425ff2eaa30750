#pragma once
// The property page "GIF文件" as a COM object in the system's property frame.
// This is its frame-facing part (site, activation, page info, selection,
// apply); the file box, buttons and preview live on it.
#include <windows.h>
#include <ocidl.h>

#include <vector>

#include "ComPtr.h"

namespace kinetile {

class GifFilePage final : public IPropertyPage {
public:
    static HRESULT Create(REFIID iid, void** out);

    STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(++refs_); }
    STDMETHODIMP_(ULONG) Release() override;

    STDMETHODIMP SetPageSite(IPropertyPageSite* site) override;
    STDMETHODIMP Activate(HWND parent, LPCRECT rect, BOOL modal) override;
    STDMETHODIMP Deactivate() override;
    STDMETHODIMP GetPageInfo(PROPPAGEINFO* info) override;
    STDMETHODIMP SetObjects(ULONG count, IUnknown** objects) override;
    STDMETHODIMP Show(UINT command) override;
    STDMETHODIMP Move(LPCRECT rect) override;
    STDMETHODIMP IsPageDirty() override { return dirty_ ? S_OK : S_FALSE; }
    STDMETHODIMP Apply() override;
    STDMETHODIMP Help(LPCOLESTR) override { return E_NOTIMPL; }
    STDMETHODIMP TranslateAccelerator(LPMSG) override { return S_FALSE; }

private:
    GifFilePage();
    ~GifFilePage();

    LONG refs_ = 1;
    ComPtr<IPropertyPageSite> site_;
    std::vector<ComPtr<IDispatch>> objects_;
    HWND window_ = nullptr;
    bool dirty_ = false;
};

}  // namespace kinetile
