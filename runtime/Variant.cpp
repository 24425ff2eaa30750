#include "Variant.h"

#include <cstring>

namespace kinetile {

Variant Variant::Int32(int32_t value) {
    Variant v;
    v.v_.vt = VT_I4;
    v.v_.lVal = value;
    return v;
}

Variant Variant::Int16(int16_t value) {
    Variant v;
    v.v_.vt = VT_I2;
    v.v_.iVal = value;
    return v;
}

Variant Variant::Bool(bool value) {
    Variant v;
    v.v_.vt = VT_BOOL;
    v.v_.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return v;
}

Variant Variant::String(std::wstring_view text) {
    Variant v;
    v.v_.vt = VT_BSTR;
    v.v_.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return v;
}

Variant Variant::Bytes(std::span<const uint8_t> bytes) {
    Variant v;
    SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(bytes.size()));
    if (!array) return v;
    void* data = nullptr;
    if (SUCCEEDED(SafeArrayAccessData(array, &data))) {
        if (!bytes.empty()) std::memcpy(data, bytes.data(), bytes.size());
        SafeArrayUnaccessData(array);
    }
    v.v_.vt = VT_ARRAY | VT_UI1;
    v.v_.parray = array;
    return v;
}

Variant Variant::Object(IUnknown* object) {
    Variant v;
    if (!object) {
        v.v_.vt = VT_DISPATCH;
        v.v_.pdispVal = nullptr;
        return v;
    }
    IDispatch* dispatch = nullptr;
    if (SUCCEEDED(object->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)))) {
        v.v_.vt = VT_DISPATCH;
        v.v_.pdispVal = dispatch;
    } else {
        object->AddRef();
        v.v_.vt = VT_UNKNOWN;
        v.v_.punkVal = object;
    }
    return v;
}

bool Variant::ToInt32(int32_t& out) const {
    VARIANT converted;
    VariantInit(&converted);
    if (FAILED(VariantChangeType(&converted, const_cast<VARIANT*>(&v_), 0, VT_I4))) return false;
    out = converted.lVal;
    return true;
}

bool Variant::ToBool(bool& out) const {
    VARIANT converted;
    VariantInit(&converted);
    if (FAILED(VariantChangeType(&converted, const_cast<VARIANT*>(&v_), 0, VT_BOOL))) return false;
    out = converted.boolVal != VARIANT_FALSE;
    return true;
}

bool Variant::ToString(std::wstring& out) const {
    VARIANT converted;
    VariantInit(&converted);
    if (FAILED(VariantChangeType(&converted, const_cast<VARIANT*>(&v_), 0, VT_BSTR))) return false;
    out.assign(converted.bstrVal ? converted.bstrVal : L"", converted.bstrVal ? SysStringLen(converted.bstrVal) : 0);
    VariantClear(&converted);
    return true;
}

bool Variant::ToBytes(std::vector<uint8_t>& out) const {
    const VARIANT* v = &v_;
    if (v->vt == (VT_VARIANT | VT_BYREF) && v->pvarVal) v = v->pvarVal;
    SAFEARRAY* array = nullptr;
    if (v->vt == (VT_ARRAY | VT_UI1)) array = v->parray;
    else if (v->vt == (VT_ARRAY | VT_UI1 | VT_BYREF) && v->pparray) array = *v->pparray;
    else return false;
    out.clear();
    if (!array) return true;  // a null array holds no bytes
    if (SafeArrayGetDim(array) != 1) return false;
    LONG lower = 0, upper = -1;
    SafeArrayGetLBound(array, 1, &lower);
    SafeArrayGetUBound(array, 1, &upper);
    if (upper < lower) return true;
    void* data = nullptr;
    if (FAILED(SafeArrayAccessData(array, &data))) return false;
    const auto* bytes = static_cast<const uint8_t*>(data);
    out.assign(bytes, bytes + (upper - lower + 1));
    SafeArrayUnaccessData(array);
    return true;
}

}  // namespace kinetile
