#pragma once
// Saving and restoring a control's properties under keys with defaults, the
// way a form saves its controls: a value equal to its default is not written,
// a key that is absent reads as its default.
#include <windows.h>
#include <ocidl.h>

#include <map>
#include <string>
#include <vector>

#include "Variant.h"

namespace kinetile {

class PropertyReader {
public:
    virtual ~PropertyReader() = default;
    // False when the key is absent.
    virtual bool Read(const std::wstring& key, Variant& value) = 0;
};

class PropertyWriter {
public:
    virtual ~PropertyWriter() = default;
    virtual HRESULT Write(const std::wstring& key, const Variant& value) = 0;
};

// Equality as a form compares a value with its default: numbers (Booleans
// included, True being -1) by value, strings by text, Empty only with Empty,
// objects only when both are none; arrays never equal a default.
bool EqualsDefault(const Variant& value, const Variant& defaultValue);

Variant ReadProperty(PropertyReader& reader, const std::wstring& key, const Variant& defaultValue);
HRESULT WriteProperty(PropertyWriter& writer, const std::wstring& key, const Variant& value, const Variant& defaultValue);

// An ordered set of saved properties, as held in memory and as written to a
// stream: the format of the control's IPersistStreamInit data and of our
// host's saved forms. Pictures are kept in their own persisted form.
class PropertyMap final : public PropertyReader, public PropertyWriter {
public:
    bool Read(const std::wstring& key, Variant& value) override;
    HRESULT Write(const std::wstring& key, const Variant& value) override;

    const std::map<std::wstring, Variant>& Values() const { return values_; }
    bool Has(const std::wstring& key) const { return values_.count(key) != 0; }
    void Set(const std::wstring& key, const Variant& value) { values_[key] = value; }
    void Clear() { values_.clear(); }

    HRESULT Save(IStream* stream) const;
    HRESULT Load(IStream* stream);
    std::vector<uint8_t> ToBytes() const;
    bool FromBytes(const std::vector<uint8_t>& bytes);

private:
    std::map<std::wstring, Variant> values_;
};

// The host's property bag seen through the reader and writer interfaces.
class BagReader final : public PropertyReader {
public:
    BagReader(IPropertyBag* bag, IErrorLog* log) : bag_(bag), log_(log) {}
    bool Read(const std::wstring& key, Variant& value) override;

private:
    IPropertyBag* bag_;
    IErrorLog* log_;
};

class BagWriter final : public PropertyWriter {
public:
    explicit BagWriter(IPropertyBag* bag) : bag_(bag) {}
    HRESULT Write(const std::wstring& key, const Variant& value) override;

private:
    IPropertyBag* bag_;
};

}  // namespace kinetile
