#include "AboutBox.h"

#include <commctrl.h>
#include <windowsx.h>

#include <vector>

#include "AboutArt.h"
#include "Module.h"
#include "ShellOpen.h"

namespace kinetile {
namespace {

int Px(int twips) { return MulDiv(twips, 96, 1440); }
RECT Spot(int left, int top, int width, int height) {
    return RECT{Px(left), Px(top), Px(left + width), Px(top + height)};
}

std::wstring ModuleFolder() {
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(ModuleInstance(), path, MAX_PATH);
    std::wstring folder(path, n < MAX_PATH ? n : 0);
    const size_t slash = folder.find_last_of(L"\\/");
    return slash == std::wstring::npos ? L"" : folder.substr(0, slash);
}

}  // namespace

RECT AboutBox::SiteSpot() { return Spot(1620, 3300, 1800, 210); }
RECT AboutBox::EmailSpot() { return Spot(135, 3300, 1290, 210); }
RECT AboutBox::VersionLabel() { return Spot(3675, 705, 900, 180); }

AboutBox::~AboutBox() = default;

std::wstring AboutBox::VersionText() {
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(ModuleInstance(), path, MAX_PATH);
    if (n == 0 || n == MAX_PATH) return L"";
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path, &ignored);
    if (size == 0) return L"";
    std::vector<BYTE> data(size);
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!GetFileVersionInfoW(path, 0, size, data.data()) ||
        !VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &length) || !info)
        return L"";
    return std::to_wstring(HIWORD(info->dwFileVersionMS)) + L"." + std::to_wstring(LOWORD(info->dwFileVersionMS)) +
           L"." + std::to_wstring(LOWORD(info->dwFileVersionLS));
}

void AboutBox::ShowModal(HWND owner) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = ModuleInstance();
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = kClassName;
    RegisterClassW(&wc);

    const int width = Px(5400), height = Px(3600);
    const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    HWND topOwner = owner ? GetAncestor(owner, GA_ROOT) : nullptr;
    HWND window = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kClassName, L"关于 Kinetile", WS_POPUP | WS_VISIBLE, x,
                                  y, width, height, topOwner, nullptr, ModuleInstance(), this);
    if (!window) return;
    versionFont_.reset(CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                                   CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"宋体"));
    AddToolTips(window);
    SetFocus(window);  // Escape reaches the box
    const bool ownerWasEnabled = topOwner && IsWindowEnabled(topOwner);
    if (ownerWasEnabled) EnableWindow(topOwner, FALSE);
    MSG msg;
    while (!closed_ && IsWindow(window)) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));  // leave the quit for the program's own loop
            break;
        }
        if (got < 0) break;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (ownerWasEnabled) EnableWindow(topOwner, TRUE);
    if (toolTips_) DestroyWindow(toolTips_);
    toolTips_ = nullptr;
    if (IsWindow(window)) DestroyWindow(window);
}

void AboutBox::AddToolTips(HWND window) {
    INITCOMMONCONTROLSEX init{sizeof init, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&init);
    toolTips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr, ModuleInstance(), nullptr);
    if (!toolTips_) return;
    const std::wstring contact = std::wstring(L"联系 ") + kMakerEmail;
    const struct {
        RECT rect;
        const wchar_t* text;
    } tips[] = {{SiteSpot(), L"访问站点"}, {EmailSpot(), contact.c_str()}};
    UINT id = 1;
    for (const auto& tip : tips) {
        TTTOOLINFOW info{};
        info.cbSize = sizeof info;
        info.uFlags = TTF_SUBCLASS;
        info.hwnd = window;
        info.uId = id++;
        info.rect = tip.rect;
        info.lpszText = const_cast<wchar_t*>(tip.text);
        SendMessageW(toolTips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    }
}

void AboutBox::Paint(HWND window) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    RECT client;
    GetClientRect(window, &client);
    DrawAboutArt(dc, client.right, client.bottom, SiteSpot(), EmailSpot());
    SelectedObject font(dc, versionFont_.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    RECT label = VersionLabel();
    const std::wstring version = VersionText();
    DrawTextW(dc, version.c_str(), -1, &label, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
    EndPaint(window, &ps);
}

LRESULT CALLBACK AboutBox::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    auto* box = reinterpret_cast<AboutBox*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return box ? box->OnMessage(window, message, wParam, lParam) : DefWindowProcW(window, message, wParam, lParam);
}

LRESULT AboutBox::OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            Paint(window);
            return 0;
        case WM_SETCURSOR: {
            POINT p;
            GetCursorPos(&p);
            ScreenToClient(window, &p);
            const RECT site = SiteSpot(), email = EmailSpot();
            if (PtInRect(&site, p) || PtInRect(&email, p)) {
                SetCursor(LoadCursorW(nullptr, IDC_HAND));
                return TRUE;
            }
            break;
        }
        case WM_LBUTTONUP: {
            const POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            const RECT site = SiteSpot(), email = EmailSpot();
            // The hot spots open their links and leave the box open.
            if (PtInRect(&site, p)) ShellOpen(window, kMakerSite, ModuleFolder());
            else if (PtInRect(&email, p)) ShellOpen(window, std::wstring(L"mailto: ") + kMakerEmail, ModuleFolder());
            else closed_ = true;
            return 0;
        }
        case WM_KEYDOWN:
            if (wParam == VK_ESCAPE) closed_ = true;  // Enter does nothing
            return 0;
        case WM_CLOSE:
            closed_ = true;
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace kinetile
