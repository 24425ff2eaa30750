#include "MapPropertyBag.h"

#include <fstream>
#include <iterator>
#include <vector>

namespace kinetile {

STDMETHODIMP MapPropertyBag::QueryInterface(REFIID riid, void** out) {
    if (!out) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IPropertyBag) {
        *out = static_cast<IPropertyBag*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) MapPropertyBag::Release() {
    const LONG left = --refs_;
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

STDMETHODIMP MapPropertyBag::Read(LPCOLESTR name, VARIANT* value, IErrorLog*) {
    if (!name || !value) return E_POINTER;
    Variant stored;
    if (!map_.Read(name, stored)) return E_INVALIDARG;
    const VARTYPE wanted = value->vt;
    VariantClear(value);
    // A caller that names a type gets the value in that type.
    if (wanted != VT_EMPTY && wanted != stored.vt())
        return VariantChangeType(value, &stored.get(), 0, wanted);
    return VariantCopy(value, &stored.get());
}

STDMETHODIMP MapPropertyBag::Write(LPCOLESTR name, VARIANT* value) {
    if (!name || !value) return E_POINTER;
    return map_.Write(name, Variant(*value));
}

bool SavePropertyFile(const PropertyMap& map, const std::wstring& path) {
    const std::vector<uint8_t> bytes = map.ToBytes();
    if (bytes.empty()) return false;
    std::ofstream out(path.c_str(), std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out.flush());
}

bool LoadPropertyFile(PropertyMap& map, const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    if (!in) return false;
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return map.FromBytes(bytes);
}

}  // namespace kinetile
