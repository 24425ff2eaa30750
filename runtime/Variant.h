#pragma once
// An owning VARIANT (VariantClear on destruction, VariantCopy on copy).
#include <windows.h>
#include <oleauto.h>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kinetile {

class Variant {
public:
    Variant() { VariantInit(&v_); }
    Variant(const VARIANT& other) {
        VariantInit(&v_);
        VariantCopy(&v_, const_cast<VARIANT*>(&other));
    }
    Variant(const Variant& other) : Variant(other.v_) {}
    Variant(Variant&& other) noexcept {
        v_ = other.v_;
        VariantInit(&other.v_);
    }
    Variant& operator=(Variant other) noexcept {
        std::swap(v_, other.v_);
        return *this;
    }
    ~Variant() { VariantClear(&v_); }

    static Variant Int32(int32_t value);
    static Variant Int16(int16_t value);
    static Variant Bool(bool value);
    static Variant String(std::wstring_view text);
    static Variant Bytes(std::span<const uint8_t> bytes);
    static Variant Object(IUnknown* object);  // VT_DISPATCH when it has IDispatch, else VT_UNKNOWN

    VARIANT& get() { return v_; }
    const VARIANT& get() const { return v_; }
    VARTYPE vt() const { return v_.vt; }
    bool IsEmpty() const { return v_.vt == VT_EMPTY; }
    // Gives up the value to the caller (an out-parameter), leaving Empty.
    VARIANT Detach() {
        VARIANT v = v_;
        VariantInit(&v_);
        return v;
    }
    // Hands out the slot for an out-parameter, clearing what was held.
    VARIANT* put() {
        VariantClear(&v_);
        return &v_;
    }

    // Conversions as an automation client would make them; false when the
    // value cannot be converted.
    bool ToInt32(int32_t& out) const;
    bool ToBool(bool& out) const;
    bool ToString(std::wstring& out) const;
    // The bytes of a one-dimensional byte array (VT_ARRAY|VT_UI1, also by reference).
    bool ToBytes(std::vector<uint8_t>& out) const;

private:
    VARIANT v_;
};

}  // namespace kinetile
