// Where the control's image comes from: the DataArrary property (the one
// place an image is installed), files, byte arrays and the GifFile property.
#include <cstring>

#include "ComError.h"
#include "GifFile.h"
#include "GifIndex.h"
#include "Kinetile.h"
#include "TextConvert.h"

namespace kinetile {
namespace {

bool HasSignature(const uint8_t* bytes, size_t size) {
    return size >= 6 && (std::memcmp(bytes, "GIF87a", 6) == 0 || std::memcmp(bytes, "GIF89a", 6) == 0);
}

}  // namespace

void Kinetile::IndexImage(std::span<uint8_t> bytes, bool fixTransparent) {
    // A stream that is no GIF leaves the outputs as they were: start from
    // nothing, so it never shows an earlier image's size or frames.
    m_Frames.clear();
    m_Screen = GifScreen{};
    m_ColorTableSize = 0;
    m_FrameCount = IndexGifFrames(bytes, m_Frames, m_Screen, m_ColorTableSize, fixTransparent);
    // The logical screen size, sign-extended from its 16 bits.
    m_ImageHeight = static_cast<int16_t>(m_Screen.Height);
    m_ImageWidth = static_cast<int16_t>(m_Screen.Width);
}

STDMETHODIMP Kinetile::get_DataArrary(VARIANT* out) {
    if (!out) return E_POINTER;
    VariantInit(out);
    if (m_HasData) *out = Variant::Bytes(m_DataArrary).Detach();
    return S_OK;
}

STDMETHODIMP Kinetile::put_DataArrary(VARIANT New_DataArrary) { return AssignDataArrary(New_DataArrary); }

HRESULT Kinetile::AssignDataArrary(const VARIANT& value) {
    const Variant given(value);
    std::vector<uint8_t> bytes;
    const bool empty = given.IsEmpty() || (given.vt() == (VT_VARIANT | VT_BYREF) && given.get().pvarVal &&
                                           given.get().pvarVal->vt == VT_EMPTY);
    // Only Empty and byte arrays are images; anything else would be a guess.
    if (!empty && !given.ToBytes(bytes)) {
        m_PreIndexed = false;
        return RaiseComError(kErrInvalidPropertyValue, L"无效的属性值", IID__Kinetile, L"KinetileLib.Kinetile");
    }
    m_HasData = !empty;
    m_DataArrary = std::move(bytes);
    PropertyChanged(L"DataArrary");
    m_Playback.Reset();  // stops without a PlayStateChange, back to frame 0
    m_Scene.reset();

    bool newGif = false;
    if (!m_HasData) {
        m_FrameCount = 0;
        m_ImageHeight = 0;
        m_ImageWidth = 0;
        m_GifFile = kNoImage;
        Refresh();
    } else {
        if (!m_PreIndexed) IndexImage(m_DataArrary, false);
        m_GifFile = kHasImage;
        m_PreIndexed = false;
        Resize();
        Refresh();
        if (m_AutoPlay && AmbientUserMode()) Play();
        newGif = true;
    }
    VARIANT_BOOL argument = newGif ? VARIANT_TRUE : VARIANT_FALSE;  // a copy: the handler's change is lost
    VARIANT arg;
    arg.vt = VT_BOOL | VT_BYREF;
    arg.pboolVal = &argument;
    RaiseEvent(kEventChange, {arg});
    return S_OK;
}

STDMETHODIMP Kinetile::LoadGif(BSTR* GifFilename, VARIANT_BOOL* result) {
    if (!result) return E_POINTER;
    *result = VARIANT_FALSE;
    const BSTR name = GifFilename ? *GifFilename : nullptr;
    if (!name || SysStringLen(name) == 0) {
        AssignDataArrary(Variant().get());
        *result = VARIANT_TRUE;
        return S_OK;
    }
    std::vector<uint8_t> bytes;
    if (LoadGifFile(WideToUtf8(std::wstring_view(name, SysStringLen(name))), bytes) < 1) return S_OK;
    m_PreIndexed = true;
    IndexImage(bytes, true);
    AssignDataArrary(Variant::Bytes(bytes).get());
    *result = VARIANT_TRUE;
    return S_OK;
}

STDMETHODIMP Kinetile::LoadResData(SAFEARRAY** GIFData, VARIANT_BOOL* result) {
    if (!result) return E_POINTER;
    *result = VARIANT_FALSE;
    SAFEARRAY* array = GIFData ? *GIFData : nullptr;
    if (!array || SafeArrayGetDim(array) != 1 || SafeArrayGetElemsize(array) != 1) return S_OK;
    LONG lower = 0, upper = -1;
    SafeArrayGetLBound(array, 1, &lower);
    SafeArrayGetUBound(array, 1, &upper);
    const size_t size = upper >= lower ? static_cast<size_t>(upper - lower + 1) : 0;
    void* raw = nullptr;
    if (FAILED(SafeArrayAccessData(array, &raw))) return S_OK;
    auto* bytes = static_cast<uint8_t*>(raw);
    if (!HasSignature(bytes, size)) {
        SafeArrayUnaccessData(array);
        return S_OK;
    }
    // The fix-up rewrites the caller's own array.
    m_PreIndexed = true;
    IndexImage(std::span<uint8_t>(bytes, size), true);
    Variant copy = Variant::Bytes(std::span<const uint8_t>(bytes, size));
    SafeArrayUnaccessData(array);
    AssignDataArrary(copy.get());
    *result = VARIANT_TRUE;
    return S_OK;
}

STDMETHODIMP Kinetile::put_GifFile(BSTR New_GifFile) {
    if (AmbientUserMode())
        return RaiseComError(kErrSetNotSupportedAtRuntime, L"运行时不能设置该属性", IID__Kinetile, L"KinetileLib.Kinetile");
    if (!New_GifFile || SysStringLen(New_GifFile) == 0) AssignDataArrary(Variant().get());
    // Any other text names no file to load: files come from the property page.
    m_GifFile = m_HasData ? kHasImage : kNoImage;
    PropertyChanged(L"GifFile");
    return S_OK;
}

}  // namespace kinetile
