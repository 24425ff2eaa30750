#include "GifFilePage.h"

#include <commctrl.h>
#include <olectl.h>

#include <cstring>
#include <new>

#include "ChildWindows.h"
#include "Dispatch.h"
#include "Drawing.h"
#include "FileDialog.h"
#include "FrameGif.h"
#include "FramePicture.h"
#include "GifFile.h"
#include "GifIndex.h"
#include "MessageBox.h"
#include "Module.h"
#include "Rounding.h"
#include "TextConvert.h"

namespace kinetile {
namespace {

constexpr wchar_t kPageTitle[] = L"选择 GIF 文件";
constexpr wchar_t kPageClass[] = L"KinetileGifFilePage";
constexpr wchar_t kPreviewClass[] = L"KinetileGifFilePreview";
constexpr int kWidthTwips = 4725, kHeightTwips = 4995;
constexpr wchar_t kLoadTitle[] = L"载入GIF文件";

constexpr int Px(int twips) { return TwipsToPixels(twips); }

wchar_t* TaskString(const wchar_t* text) {
    const size_t bytes = (wcslen(text) + 1) * sizeof(wchar_t);
    auto* copy = static_cast<wchar_t*>(CoTaskMemAlloc(bytes));
    if (copy) std::memcpy(copy, text, bytes);
    return copy;
}

bool IsButtonLabel(int id) { return id >= GifFilePage::kLabButton0 && id <= GifFilePage::kLabButton3; }
// The caption of the button a label belongs to: labButton(3) for 2 and 3, else (0).
int CaptionOf(int id) { return id - GifFilePage::kLabButton0 > 1 ? GifFilePage::kLabButton3 : GifFilePage::kLabButton0; }

}  // namespace

GifFilePage::GifFilePage() : Timer1([this] { PreviewStep(); }, 10) { ModuleAddRef(); }

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
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = ModuleInstance();
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kPageClass;
    RegisterClassW(&wc);
    WNDCLASSW pc{};
    pc.lpfnWndProc = PreviewProc;
    pc.hInstance = ModuleInstance();
    pc.lpszClassName = kPreviewClass;
    RegisterClassW(&pc);
    const RECT r = rect ? *rect : RECT{0, 0, Px(kWidthTwips), Px(kHeightTwips)};
    window_ = CreateWindowExW(WS_EX_CONTROLPARENT, kPageClass, L"", WS_CHILD | WS_CLIPCHILDREN, r.left, r.top,
                              r.right - r.left, r.bottom - r.top, parent, nullptr, ModuleInstance(), this);
    if (!window_) return E_FAIL;
    BuildControls();
    if (!bytes_.empty()) SetUpPreview();
    return S_OK;
}

STDMETHODIMP GifFilePage::Deactivate() {
    // Terminate: the preview stops.
    Timer1.Enabled(false);
    if (toolTips_) DestroyWindow(toolTips_);
    toolTips_ = nullptr;
    if (window_) DestroyWindow(window_);
    window_ = nullptr;
    return S_OK;
}

STDMETHODIMP GifFilePage::GetPageInfo(PROPPAGEINFO* info) {
    if (!info) return E_POINTER;
    info->cb = sizeof *info;
    info->pszTitle = TaskString(kPageTitle);
    info->size = SIZE{Px(kWidthTwips), Px(kHeightTwips)};
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
    // Selection changed: the first control's image comes into the page.
    if (objects_.empty()) return S_OK;
    Variant data;
    std::vector<uint8_t> bytes;
    if (SUCCEEDED(DispatchGet(objects_[0].get(), L"DataArrary", data)) && data.ToBytes(bytes) && !bytes.empty()) {
        bytes_ = std::move(bytes);
        SetUpPreview();
    } else {
        bytes_.clear();
        frames_.clear();
        SetText(kLabFramCount1, L"0");
        SetText(kLabSize1, L"0 * 0");
        ClearPreview();
        Timer1.Enabled(false);
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
    if (!objects_.empty()) {
        const Variant value = Text(kTxtFilename).empty() ? Variant() : Variant::Bytes(bytes_);
        const HRESULT hr = DispatchPut(objects_[0].get(), L"DataArrary", value);
        if (FAILED(hr)) return hr;
    }
    dirty_ = false;
    return S_OK;
}

void GifFilePage::MarkChanged() {
    dirty_ = true;
    if (site_) site_->OnStatusChange(PROPPAGESTATUS_DIRTY);
}

void GifFilePage::BuildControls() {
    font_.reset(CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"宋体"));
    smallFont_.reset(CreateFontW(-10, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                                 CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"宋体"));
    const ChildWindow items[] = {
        // Wider than the form's 1350 twips, which cut the text off in this font.
        {kLabel1, L"STATIC", L"输入GIF文件名:(&S)", 0, 330, 315, 1800, 180},
        {kLabel2, L"STATIC", L"", WS_BORDER, 330, 615, 4095, 300},
        {kTxtFilename, L"EDIT", L"", ES_AUTOHSCROLL | WS_TABSTOP, 375, 675, 3690, 180},
        {kLabOpen, L"STATIC", L"...", SS_CENTER | SS_NOTIFY | WS_BORDER, 4110, 615, 315, 300},
        {kLabButton0, L"STATIC", L"确定", SS_CENTER | SS_NOTIFY, 3585, 1110, 645, 180},
        {kLabButton1, L"STATIC", L"", SS_NOTIFY | WS_BORDER, 3390, 1035, 1020, 345},
        {kLabButton3, L"STATIC", L"清除", SS_CENTER | SS_NOTIFY, 2355, 1110, 645, 180},
        {kLabButton2, L"STATIC", L"", SS_NOTIFY | WS_BORDER, 2160, 1035, 1020, 345},
        {kLabFramCount0, L"STATIC", L"总数帧:", 0, 345, 4560, 630, 180},
        {kLabFramCount1, L"STATIC", L"", SS_CENTER, 1035, 4560, 270, 180},
        {kLabSize0, L"STATIC", L"尺寸:", 0, 1755, 4560, 450, 180},
        {kLabSize1, L"STATIC", L"", 0, 2280, 4560, 2085, 180},
    };
    for (ChildWindow item : items) {
        // Clipped to their siblings: a frame label must not paint over what lies in it.
        item.style |= WS_CLIPSIBLINGS;
        HWND child = CreateChildWindow(window_, item, item.id == kLabOpen ? smallFont_.get() : font_.get(), ModuleInstance());
        if (IsButtonLabel(item.id) || item.id == kLabOpen)
            SetWindowSubclass(child, ButtonLabelProc, static_cast<UINT_PTR>(item.id), reinterpret_cast<DWORD_PTR>(this));
    }
    // What lies inside another label goes on top of it: the file box and the
    // browse label in the box's frame, the captions in their buttons' frames.
    for (int id : {kTxtFilename, kLabOpen, kLabButton0, kLabButton3})
        SetWindowPos(GetDlgItem(window_, id), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    const RECT box{Px(330), Px(1815), Px(330 + 4080), Px(1815 + 2580)};
    CreateWindowExW(WS_EX_CLIENTEDGE, kPreviewClass, L"", WS_CHILD | WS_VISIBLE, box.left, box.top,
                    box.right - box.left, box.bottom - box.top, window_,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(kPicture1)), ModuleInstance(), this);
    RECT client;
    GetClientRect(GetDlgItem(window_, kPicture1), &client);
    preview_ = std::make_unique<DibSurface>(client.right, client.bottom);
    ClearPreview();

    INITCOMMONCONTROLSEX init{sizeof init, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&init);
    toolTips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, ModuleInstance(), nullptr);
    if (toolTips_) {
        TTTOOLINFOW tip{};
        tip.cbSize = sizeof tip;
        tip.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tip.hwnd = window_;
        tip.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(window_, kLabOpen));
        tip.lpszText = const_cast<wchar_t*>(L"选择GIF文件");
        SendMessageW(toolTips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tip));
    }
}

void GifFilePage::SetText(int id, const std::wstring& text) {
    if (window_) SetDlgItemTextW(window_, id, text.c_str());
}

std::wstring GifFilePage::Text(int id) const {
    if (!window_) return L"";
    HWND item = GetDlgItem(window_, id);
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(item)), L'\0');
    GetWindowTextW(item, text.data(), static_cast<int>(text.size() + 1));
    return text;
}

int GifFilePage::ShownFrameCount() const { return _wtoi(Text(kLabFramCount1).c_str()); }

void GifFilePage::Browse() {
    const std::wstring chosen =
        ChooseFileToOpen({nullptr, L"选择GIF文件", L"GIF动画文件(*.gif)|*.GIF", L"*.*", 0x1004});  // must exist, no read-only box
    // Cancelling empties the file box.
    SetText(kTxtFilename, chosen);
}

void GifFilePage::Load() {
    Timer1.Enabled(false);
    // Read into a scratch array: a failed read must leave the shown image's
    // bytes and frame table together.
    std::vector<uint8_t> read;
    const int32_t r = LoadGifFile(WideToUtf8(Text(kTxtFilename)), read);
    const wchar_t* message = r == kGifFileNotGif    ? L"这不是一个合格的GIF格式文件!"
                             : r == kGifFileMissing ? L"文件不存在!"
                             : r == kGifFileReadFailed ? L"载入失败。可能是文件太大或其他无法预知的原因！"
                                                       : nullptr;
    if (message) {
        ShowMessageBox(window_, message, kLoadTitle, MB_OK | MB_ICONERROR);
        if (ShownFrameCount() > 0) Timer1.Enabled(true);  // the earlier preview resumes
        return;
    }
    bytes_ = std::move(read);
    MarkChanged();
    ClearPreview();
    SetUpPreview();
}

void GifFilePage::Clear() {
    Timer1.Enabled(false);
    SetText(kTxtFilename, L"");
    MarkChanged();
}

void GifFilePage::SetUpPreview() {
    previewFrame_ = 0;
    frames_.clear();
    screen_ = GifScreen{};
    tableSize_ = 0;
    const int32_t n = IndexGifFrames(bytes_, frames_, screen_, tableSize_, true);
    SetText(kLabFramCount1, std::to_wstring(n));
    SetText(kLabSize1, std::to_wstring(screen_.Width) + L" * " + std::to_wstring(screen_.Height));
    const int boxWidth = preview_ ? preview_->Width() : 0, boxHeight = preview_ ? preview_->Height() : 0;
    xOffset_ = screen_.Width >= boxWidth ? 0 : RoundHalfEven((boxWidth - screen_.Width) / 2.0);
    yOffset_ = screen_.Height >= boxHeight ? 0 : RoundHalfEven((boxHeight - screen_.Height) / 2.0);
    Timer1.Set(n > 0, 10);
}

void GifFilePage::ClearPreview() {
    if (!preview_) return;
    preview_->Fill(static_cast<int32_t>(GetSysColor(COLOR_BTNFACE)));
    if (window_) InvalidateRect(GetDlgItem(window_, kPicture1), nullptr, FALSE);
}

void GifFilePage::PreviewStep() {
    const int n = ShownFrameCount();
    if (!preview_ || frames_.empty() || n <= 0) {
        Timer1.Enabled(false);
        return;
    }
    const size_t c = static_cast<size_t>(previewFrame_) < frames_.size() ? static_cast<size_t>(previewFrame_) : 0;
    std::vector<uint8_t> single;
    BuildFrameGif(bytes_, frames_[c], tableSize_, single);
    ComPtr<IPicture> picture = PictureFromBytes(single);
    const GifFrame previous = c > 0 ? frames_[c - 1] : PseudoPreviousFrame(screen_.Width, screen_.Height);
    DrawFrame(preview_->dc(), picture.get(), frames_[c], static_cast<int32_t>(GetSysColor(COLOR_BTNFACE)), previous,
              xOffset_, yOffset_);
    InvalidateRect(GetDlgItem(window_, kPicture1), nullptr, FALSE);
    previewFrame_ = n - 1 > static_cast<int>(c) ? static_cast<int>(c) + 1 : 0;
    if (n == 1) Timer1.Enabled(false);  // a still image is drawn once
    const size_t next = static_cast<size_t>(previewFrame_) < frames_.size() ? static_cast<size_t>(previewFrame_) : 0;
    // The frame drawn next stays for its delay; a delay no timer takes is
    // held to what the timer does take.
    const int32_t delay = frames_[next].Delay;
    Timer1.Interval(delay < 1 ? 1 : static_cast<UINT>(delay));
}

LRESULT CALLBACK GifFilePage::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    auto* page = reinterpret_cast<GifFilePage*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!page || !page->window_) return DefWindowProcW(window, message, wParam, lParam);
    return page->OnMessage(message, wParam, lParam);
}

LRESULT GifFilePage::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            if (HIWORD(wParam) != STN_CLICKED) break;
            if (id == kLabOpen) Browse();
            else if (id == kLabButton0 || id == kLabButton1) Load();
            else if (id == kLabButton2 || id == kLabButton3) Clear();
            return 0;
        }
        case WM_CTLCOLORSTATIC: {
            HDC dc = reinterpret_cast<HDC>(wParam);
            const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
            if (id == kLabel2) return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
            SetBkMode(dc, TRANSPARENT);
            if (id == kLabButton0 || id == kLabButton3)
                SetTextColor(dc, pressedCaption_ == id ? RGB(0, 0, 255) : GetSysColor(COLOR_WINDOWTEXT));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        }
        case WM_CTLCOLOREDIT:
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
        default:
            break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT CALLBACK GifFilePage::ButtonLabelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                              DWORD_PTR data) {
    auto* page = reinterpret_cast<GifFilePage*>(data);
    const int labelId = static_cast<int>(id);
    if (message == WM_SETCURSOR) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
    }
    if (IsButtonLabel(labelId) && (message == WM_LBUTTONDOWN || message == WM_LBUTTONUP)) {
        // Pressing either part of a button turns its caption blue until release.
        const int caption = CaptionOf(labelId);
        page->pressedCaption_ = message == WM_LBUTTONDOWN ? caption : -1;
        InvalidateRect(GetDlgItem(page->window_, caption), nullptr, TRUE);
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

LRESULT CALLBACK GifFilePage::PreviewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    auto* page = reinterpret_cast<GifFilePage*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        if (page && page->preview_)
            BitBlt(dc, 0, 0, page->preview_->Width(), page->preview_->Height(), page->preview_->dc(), 0, 0, SRCCOPY);
        EndPaint(window, &ps);
        return 0;
    }
    if (message == WM_ERASEBKGND) return 1;
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace kinetile
