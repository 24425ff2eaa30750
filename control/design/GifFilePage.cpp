#include "GifFilePage.h"

#include <cstring>
#include <new>

#include "Module.h"

namespace kinetile {
namespace {

constexpr wchar_t kPageTitle[] = L"选择 GIF 文件";
constexpr wchar_t kClassName[] = L"KinetileGifFilePage";
constexpr int kWidthTwips = 4725, kHeightTwips = 4995;

wchar_t* TaskString(const wchar_t* text) {
    const size_t bytes = (wcslen(text) + 1) * sizeof(wchar_t);
    auto* copy = static_cast<wchar_t*>(CoTaskMemAlloc(bytes));
    if (copy) std::memcpy(copy, text, bytes);
    return copy;
}

int Pixels(int twips) { return MulDiv(twips, 96, 1440); }

}  // namespace

GifFilePage::GifFilePage() { ModuleAddRef(); }

GifFilePage::~GifFilePage() {
    Deactivate();
    ModuleRelease();
}

HRESULT GifFilePage::Create(REFIID iid, void** out) {
    auto* page = new (std::nothrow) GifFilePage();
    if (!page) return E_OUTOFMEMORY;
    const HRESULT hr = page->QueryInterface(iid, out);
    page->Release();
    return hr;
}

STDMETHODIMP GifFilePage::QueryInterface(REFIID riid, void** out) {
    if (!out) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IPropertyPage) {
        *out = static_cast<IPropertyPage*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) GifFilePage::Release() {
    const LONG left = --refs_;
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

STDMETHODIMP GifFilePage::SetPageSite(IPropertyPageSite* site) {
    site_ = ComPtr<IPropertyPageSite>::Retain(site);
    return S_OK;
}

STDMETHODIMP GifFilePage::Activate(HWND parent, LPCRECT rect, BOOL) {
    if (window_) return S_OK;
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = ModuleInstance();
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    RegisterClassW(&wc);
    const RECT r = rect ? *rect : RECT{0, 0, Pixels(kWidthTwips), Pixels(kHeightTwips)};
    window_ = CreateWindowExW(WS_EX_CONTROLPARENT, kClassName, L"", WS_CHILD | WS_CLIPCHILDREN, r.left, r.top,
                              r.right - r.left, r.bottom - r.top, parent, nullptr, ModuleInstance(), nullptr);
    return window_ ? S_OK : E_FAIL;
}

STDMETHODIMP GifFilePage::Deactivate() {
    if (window_) DestroyWindow(window_);
    window_ = nullptr;
    return S_OK;
}

STDMETHODIMP GifFilePage::GetPageInfo(PROPPAGEINFO* info) {
    if (!info) return E_POINTER;
    info->cb = sizeof *info;
    info->pszTitle = TaskString(kPageTitle);
    info->size = SIZE{Pixels(kWidthTwips), Pixels(kHeightTwips)};
    info->pszDocString = nullptr;
    info->pszHelpFile = nullptr;
    info->dwHelpContext = 0;
    return info->pszTitle ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP GifFilePage::SetObjects(ULONG count, IUnknown** objects) {
    objects_.clear();
    for (ULONG i = 0; objects && i < count; ++i) {
        ComPtr<IDispatch> dispatch;
        if (objects[i] && SUCCEEDED(objects[i]->QueryInterface(IID_IDispatch, dispatch.put_void())))
            objects_.push_back(dispatch);
    }
    return S_OK;
}

STDMETHODIMP GifFilePage::Show(UINT command) {
    if (window_) ShowWindow(window_, static_cast<int>(command));
    return S_OK;
}

STDMETHODIMP GifFilePage::Move(LPCRECT rect) {
    if (!rect) return E_POINTER;
    if (window_) MoveWindow(window_, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, TRUE);
    return S_OK;
}

STDMETHODIMP GifFilePage::Apply() {
    dirty_ = false;
    return S_OK;
}

}  // namespace kinetile
