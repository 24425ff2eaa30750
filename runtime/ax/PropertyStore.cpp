#include "PropertyStore.h"

#include <olectl.h>

#include <cstring>

#include "ComPtr.h"

namespace kinetile {
namespace {

bool IsNumeric(VARTYPE vt) {
    switch (vt) {
        case VT_I1: case VT_UI1: case VT_I2: case VT_UI2: case VT_I4: case VT_UI4: case VT_INT: case VT_UINT:
        case VT_R4: case VT_R8: case VT_BOOL: case VT_CY: case VT_DECIMAL:
            return true;
        default:
            return false;
    }
}

bool IsObject(VARTYPE vt) { return vt == VT_DISPATCH || vt == VT_UNKNOWN; }

bool AsDouble(const VARIANT& v, double& out) {
    VARIANT d;
    VariantInit(&d);
    if (FAILED(VariantChangeType(&d, const_cast<VARIANT*>(&v), 0, VT_R8))) return false;
    out = d.dblVal;
    return true;
}

constexpr uint32_t kMagic = 0x4250544B;  // "KTPB"
constexpr uint32_t kVersion = 1;
constexpr uint32_t kMaxKey = 1024;

class Writer {
public:
    explicit Writer(IStream* s) : s_(s) {}
    bool Bytes(const void* data, size_t n) {
        ULONG done = 0;
        return ok_ = ok_ && SUCCEEDED(s_->Write(data, static_cast<ULONG>(n), &done)) && done == n;
    }
    template <typename T>
    bool Value(T v) { return Bytes(&v, sizeof v); }
    bool ok() const { return ok_; }

private:
    IStream* s_;
    bool ok_ = true;
};

class Reader {
public:
    explicit Reader(IStream* s) : s_(s) {}
    bool Bytes(void* data, size_t n) {
        ULONG done = 0;
        return ok_ = ok_ && SUCCEEDED(s_->Read(data, static_cast<ULONG>(n), &done)) && done == n;
    }
    template <typename T>
    bool Value(T& v) { return Bytes(&v, sizeof v); }
    // A length-prefixed block, refusing lengths the stream cannot hold.
    bool Block(std::vector<uint8_t>& out) {
        uint32_t n = 0;
        if (!Value(n)) return false;
        STATSTG stat{};
        LARGE_INTEGER zero{};
        ULARGE_INTEGER pos{};
        if (SUCCEEDED(s_->Stat(&stat, STATFLAG_NONAME)) && SUCCEEDED(s_->Seek(zero, STREAM_SEEK_CUR, &pos)) &&
            n > stat.cbSize.QuadPart - pos.QuadPart)
            return ok_ = false;
        out.resize(n);
        return n == 0 || Bytes(out.data(), n);
    }
    bool ok() const { return ok_; }

private:
    IStream* s_;
    bool ok_ = true;
};

ComPtr<IStream> MemoryStream() {
    ComPtr<IStream> stream;
    CreateStreamOnHGlobal(nullptr, TRUE, stream.put());
    return stream;
}

std::vector<uint8_t> StreamBytes(IStream* stream) {
    std::vector<uint8_t> bytes;
    HGLOBAL memory = nullptr;
    STATSTG stat{};
    if (FAILED(GetHGlobalFromStream(stream, &memory)) || FAILED(stream->Stat(&stat, STATFLAG_NONAME))) return bytes;
    const void* data = GlobalLock(memory);
    if (data) {
        const auto* p = static_cast<const uint8_t*>(data);
        bytes.assign(p, p + stat.cbSize.QuadPart);
        GlobalUnlock(memory);
    }
    return bytes;
}

ComPtr<IStream> StreamOf(const std::vector<uint8_t>& bytes) {
    ComPtr<IStream> stream = MemoryStream();
    if (!stream) return stream;
    ULONG done = 0;
    if (!bytes.empty()) stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &done);
    LARGE_INTEGER zero{};
    stream->Seek(zero, STREAM_SEEK_SET, nullptr);
    return stream;
}

}  // namespace

bool EqualsDefault(const Variant& value, const Variant& defaultValue) {
    const VARIANT& v = value.get();
    const VARIANT& d = defaultValue.get();
    if (d.vt == VT_EMPTY) return v.vt == VT_EMPTY;
    if (v.vt & VT_ARRAY) return false;
    if (IsObject(d.vt)) return (IsObject(v.vt) && !v.punkVal) || v.vt == VT_EMPTY;
    if (IsNumeric(d.vt)) {
        double a = 0, b = 0;
        return IsNumeric(v.vt) && AsDouble(v, a) && AsDouble(d, b) && a == b;
    }
    if (d.vt == VT_BSTR) {
        std::wstring a, b;
        return v.vt == VT_BSTR && value.ToString(a) && defaultValue.ToString(b) && a == b;
    }
    return false;
}

Variant ReadProperty(PropertyReader& reader, const std::wstring& key, const Variant& defaultValue) {
    Variant value;
    if (!reader.Read(key, value)) return defaultValue;
    return value;
}

HRESULT WriteProperty(PropertyWriter& writer, const std::wstring& key, const Variant& value, const Variant& defaultValue) {
    if (EqualsDefault(value, defaultValue)) return S_OK;
    return writer.Write(key, value);
}

bool PropertyMap::Read(const std::wstring& key, Variant& value) {
    auto it = values_.find(key);
    if (it == values_.end()) return false;
    value = it->second;
    return true;
}

HRESULT PropertyMap::Write(const std::wstring& key, const Variant& value) {
    values_[key] = value;
    return S_OK;
}

HRESULT PropertyMap::Save(IStream* stream) const {
    Writer w(stream);
    w.Value(kMagic);
    w.Value(kVersion);
    w.Value(static_cast<uint32_t>(values_.size()));
    for (const auto& [key, value] : values_) {
        w.Value(static_cast<uint32_t>(key.size()));
        w.Bytes(key.data(), key.size() * sizeof(wchar_t));
        const VARIANT& v = value.get();
        w.Value(static_cast<uint16_t>(v.vt));
        switch (v.vt) {
            case VT_EMPTY: break;
            case VT_I2: case VT_BOOL: w.Value(v.iVal); break;
            case VT_I4: w.Value(v.lVal); break;
            case VT_R4: w.Value(v.fltVal); break;
            case VT_R8: w.Value(v.dblVal); break;
            case VT_BSTR: {
                const uint32_t bytes = (v.bstrVal ? SysStringLen(v.bstrVal) : 0) * sizeof(wchar_t);
                w.Value(bytes);
                w.Bytes(v.bstrVal, bytes);
                break;
            }
            case VT_ARRAY | VT_UI1: {
                std::vector<uint8_t> bytes;
                value.ToBytes(bytes);
                w.Value(static_cast<uint32_t>(bytes.size()));
                w.Bytes(bytes.data(), bytes.size());
                break;
            }
            case VT_DISPATCH: case VT_UNKNOWN: {
                // Objects (pictures) go in their own persisted form.
                std::vector<uint8_t> bytes;
                if (v.punkVal) {
                    ComPtr<IPersistStream> persist;
                    ComPtr<IStream> inner = MemoryStream();
                    if (FAILED(v.punkVal->QueryInterface(IID_IPersistStream, persist.put_void())) ||
                        FAILED(OleSaveToStream(persist.get(), inner.get())))
                        return E_INVALIDARG;
                    bytes = StreamBytes(inner.get());
                }
                w.Value(static_cast<uint32_t>(bytes.size()));
                w.Bytes(bytes.data(), bytes.size());
                break;
            }
            default:
                return E_INVALIDARG;
        }
    }
    return w.ok() ? S_OK : STG_E_WRITEFAULT;
}

HRESULT PropertyMap::Load(IStream* stream) {
    Reader r(stream);
    uint32_t magic = 0, version = 0, count = 0;
    if (!r.Value(magic) || !r.Value(version) || !r.Value(count) || magic != kMagic || version != kVersion)
        return E_FAIL;
    std::map<std::wstring, Variant> loaded;
    for (uint32_t i = 0; i < count; ++i) {
        uint32_t keyLength = 0;
        if (!r.Value(keyLength) || keyLength > kMaxKey) return E_FAIL;
        std::wstring key(keyLength, L'\0');
        uint16_t vt = 0;
        if (!r.Bytes(key.data(), keyLength * sizeof(wchar_t)) || !r.Value(vt)) return E_FAIL;
        Variant value;
        VARIANT& v = *value.put();
        switch (vt) {
            case VT_EMPTY: break;
            case VT_I2: case VT_BOOL: v.vt = vt; r.Value(v.iVal); break;
            case VT_I4: v.vt = vt; r.Value(v.lVal); break;
            case VT_R4: v.vt = vt; r.Value(v.fltVal); break;
            case VT_R8: v.vt = vt; r.Value(v.dblVal); break;
            case VT_BSTR: {
                std::vector<uint8_t> chars;  // UTF-16
                if (!r.Block(chars) || chars.size() % sizeof(wchar_t)) return E_FAIL;
                value = Variant::String(
                    std::wstring_view(reinterpret_cast<const wchar_t*>(chars.data()), chars.size() / sizeof(wchar_t)));
                break;
            }
            case VT_ARRAY | VT_UI1: {
                std::vector<uint8_t> bytes;
                if (!r.Block(bytes)) return E_FAIL;
                value = Variant::Bytes(bytes);
                break;
            }
            case VT_DISPATCH: case VT_UNKNOWN: {
                std::vector<uint8_t> bytes;
                if (!r.Block(bytes)) return E_FAIL;
                ComPtr<IUnknown> object;
                if (!bytes.empty()) {
                    ComPtr<IStream> inner = StreamOf(bytes);
                    if (FAILED(OleLoadFromStream(inner.get(), IID_IUnknown, object.put_void()))) return E_FAIL;
                }
                value = Variant::Object(object.get());
                break;
            }
            default:
                return E_FAIL;
        }
        if (!r.ok()) return E_FAIL;
        loaded[key] = value;
    }
    values_ = std::move(loaded);
    return S_OK;
}

std::vector<uint8_t> PropertyMap::ToBytes() const {
    ComPtr<IStream> stream = MemoryStream();
    if (!stream || FAILED(Save(stream.get()))) return {};
    return StreamBytes(stream.get());
}

bool PropertyMap::FromBytes(const std::vector<uint8_t>& bytes) {
    ComPtr<IStream> stream = StreamOf(bytes);
    return stream && SUCCEEDED(Load(stream.get()));
}

bool BagReader::Read(const std::wstring& key, Variant& value) {
    if (!bag_) return false;
    return SUCCEEDED(bag_->Read(key.c_str(), value.put(), log_));
}

HRESULT BagWriter::Write(const std::wstring& key, const Variant& value) {
    if (!bag_) return E_POINTER;
    VARIANT copy = value.get();  // the bag takes a pointer; it does not own it
    return bag_->Write(key.c_str(), &copy);
}

}  // namespace kinetile
