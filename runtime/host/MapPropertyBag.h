#pragma once
// A property bag over a PropertyMap: what a form holds of a control's saved
// properties, handed to the control through IPropertyBag.
#include <windows.h>
#include <ocidl.h>

#include <string>

#include "PropertyStore.h"

namespace kinetile {

class MapPropertyBag final : public IPropertyBag {
public:
    explicit MapPropertyBag(PropertyMap& map) : map_(map) {}

    STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP Read(LPCOLESTR name, VARIANT* value, IErrorLog* log) override;
    STDMETHODIMP Write(LPCOLESTR name, VARIANT* value) override;

private:
    ~MapPropertyBag() = default;
    LONG refs_ = 1;
    PropertyMap& map_;
};

// A saved form's properties as a file (the stream format of PropertyMap).
bool SavePropertyFile(const PropertyMap& map, const std::wstring& path);
bool LoadPropertyFile(PropertyMap& map, const std::wstring& path);

}  // namespace kinetile
