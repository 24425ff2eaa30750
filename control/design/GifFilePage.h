#pragma once
// The property page "GIF文件": type or browse for a GIF file, load and check
// it, preview its animation with frame count and size, and on apply hand the
// bytes to the first selected control's DataArrary.
#include <windows.h>
#include <ocidl.h>

#include <memory>
#include <string>
#include <vector>

#include "ComPtr.h"
#include "DibSurface.h"
#include "GdiHandles.h"
#include "GifTypes.h"
#include "Timer.h"

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

    // The page's controls, for those who drive it (tests, access keys).
    enum Control : int {
        kLabel1 = 100, kLabel2, kTxtFilename, kLabOpen, kLabButton0, kLabButton1, kLabButton2, kLabButton3,
        kPicture1, kLabFramCount0, kLabFramCount1, kLabSize0, kLabSize1,
    };
    HWND Window() const { return window_; }
    bool PreviewRunning() const { return Timer1.Enabled(); }
    // What the preview box shows now.
    const DibSurface* Preview() const { return preview_.get(); }

private:
    GifFilePage();
    ~GifFilePage();
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ButtonLabelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                            DWORD_PTR page);
    static LRESULT CALLBACK PreviewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void BuildControls();
    void SetText(int id, const std::wstring& text);
    std::wstring Text(int id) const;
    void MarkChanged();

    void Browse();
    void Load();
    void Clear();
    void SetUpPreview();
    void PreviewStep();
    void ClearPreview();
    int ShownFrameCount() const;

    LONG refs_ = 1;
    ComPtr<IPropertyPageSite> site_;
    std::vector<ComPtr<IDispatch>> objects_;
    HWND window_ = nullptr;
    bool dirty_ = false;
    int pressedCaption_ = -1;  // the button caption shown blue while pressed
    FontHandle font_, smallFont_;
    HWND toolTips_ = nullptr;

    std::vector<uint8_t> bytes_;
    std::vector<GifFrame> frames_;
    GifScreen screen_;
    int32_t tableSize_ = 0;
    int32_t previewFrame_ = 0;
    int xOffset_ = 0, yOffset_ = 0;
    std::unique_ptr<DibSurface> preview_;
    Timer Timer1;
};

}  // namespace kinetile
