#include "BaseForm.h"

#include <commctrl.h>

#include <cstdio>
#include <vector>

#include "ChildWindows.h"
#include "DemoIds.h"
#include "MapPropertyBag.h"
#include "ShellOpen.h"

namespace kinetile {
namespace {

constexpr wchar_t kFormClass[] = L"KTBaseDemo.frmBase";
constexpr wchar_t kPictureClass[] = L"KTBaseDemo.PictureBox";
constexpr wchar_t kMakerSite[] = L"http://quillmark.cn";
constexpr wchar_t kMakerEmail[] = L"kt@quillmark.cn";

constexpr int Px(int twips) { return TwipsToPixels(twips); }

std::wstring ModuleFolder() {
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, n < MAX_PATH ? n : 0);
    const size_t slash = folder.find_last_of(L"\\/");
    return slash == std::wstring::npos ? L"" : folder.substr(0, slash);
}

std::vector<uint8_t> Resource(HINSTANCE instance, int id) {
    HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(id), RT_RCDATA);
    HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
    const auto* bytes = static_cast<const uint8_t*>(loaded ? LockResource(loaded) : nullptr);
    return bytes ? std::vector<uint8_t>(bytes, bytes + SizeofResource(instance, found)) : std::vector<uint8_t>{};
}

int32_t ReadInt(AxHost& host, const wchar_t* name) {
    Variant v;
    int32_t out = 0;
    if (SUCCEEDED(host.Get(name, v))) v.ToInt32(out);
    return out;
}

}  // namespace

std::wstring FormatSingle(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.7G", static_cast<double>(value));
    std::string s = text;
    // "1E-05" as the system writes it, not "1E-005" or "1E+05".
    const size_t e = s.find('E');
    if (e != std::string::npos) {
        std::string mantissa = s.substr(0, e), exponent = s.substr(e + 1);
        const char sign = exponent[0];
        exponent = exponent.substr(1);
        while (exponent.size() > 2 && exponent[0] == '0') exponent.erase(0, 1);
        s = mantissa + "E" + (sign == '-' ? "-" : "+") + exponent;
    }
    return std::wstring(s.begin(), s.end());
}

std::unique_ptr<BaseForm> BaseForm::Create(HINSTANCE instance) {
    std::unique_ptr<BaseForm> form(new BaseForm());
    WNDCLASSW wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(kIconForm));
    wc.lpszClassName = kFormClass;
    RegisterClassW(&wc);
    WNDCLASSW pc{};
    pc.lpfnWndProc = PictureProc;
    pc.hInstance = instance;
    pc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    pc.lpszClassName = kPictureClass;
    RegisterClassW(&pc);

    // A client area of 7680 x 7200 twips, centred on the screen; no maximise button.
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT outer{0, 0, Px(7680), Px(7200)};
    AdjustWindowRect(&outer, style, FALSE);
    const int width = outer.right - outer.left, height = outer.bottom - outer.top;
    const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    form->window_ = CreateWindowExW(0, kFormClass, L"Kinetile演示程序 - 基本属性演示", style, x, y, width, height, nullptr,
                                    nullptr, instance, form.get());
    if (!form->window_) return nullptr;
    form->BuildControls(instance);
    form->Load();
    ShowWindow(form->window_, SW_SHOW);
    UpdateWindow(form->window_);
    return form;
}

BaseForm::~BaseForm() {
    kinetile1_.reset();
    if (window_) DestroyWindow(window_);
}

void BaseForm::BuildControls(HINSTANCE instance) {
    font_.reset(CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"宋体"));
    linkFont_.reset(CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Arial"));
    // Frames' children are placed at the frame's origin plus their own position.
    const ChildWindow items[] = {
        {kLabelIntro, L"STATIC", L"这个示例演示了 Kinetile 控件的常用属性、方法及事件的产生。", 0, 330, 210, 5400, 180},
        {kFrame1, L"BUTTON", L"外观", BS_GROUPBOX, 4185, 555, 3060, 1890},
        {kLabelBorder, L"STATIC", L"边框样式:", 0, 4185 + 330, 555 + 345, 810, 180},
        {kCmbBorderStyle, L"COMBOBOX", L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 4185 + 330, 555 + 585, 2430, 1500},
        {kChkBackOpaque, L"BUTTON", L"背景透明", BS_AUTOCHECKBOX | WS_TABSTOP, 4185 + 330, 555 + 1035, 1650, 300},
        {kChkAutoSize, L"BUTTON", L"自动调整大小", BS_AUTOCHECKBOX | WS_TABSTOP, 4185 + 330, 555 + 1425, 1785, 285},
        {kFrame2, L"BUTTON", L"图像数据", BS_GROUPBOX, 4170, 2595, 3060, 1410},
        {kLabelInfo0, L"STATIC", L"图像尺寸:", 0, 4170 + 330, 2595 + 375, 810, 180},
        {kLabelInfo1, L"STATIC", L"总帧数  :", 0, 4170 + 330, 2595 + 690, 810, 180},
        {kLabelInfo2, L"STATIC", L"当前帧  :", 0, 4170 + 330, 2595 + 1005, 810, 180},
        {kLabSize, L"STATIC", L"W * H", 0, 4170 + 1260, 2595 + 375, 1635, 180},
        {kLabFrameCount, L"STATIC", L"0", 0, 4170 + 1260, 2595 + 645, 1605, 285},
        {kLabCurNumber, L"STATIC", L"0", 0, 4170 + 1260, 2595 + 1020, 540, 180},
        {kFrame3, L"BUTTON", L"鼠标响应区域及事件", BS_GROUPBOX, 330, 3900, 3360, 2655},
        {kLabelHit, L"STATIC", L"鼠标响应方式:", 0, 330 + 330, 3900 + 330, 1170, 180},
        {kCmbHit, L"COMBOBOX", L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 330 + 330, 3900 + 600, 2670, 1500},
        {kLabelEvents, L"STATIC", L"事件:", 0, 330 + 330, 3900 + 1110, 450, 180},
        {kLstEventList, L"LISTBOX", L"", LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER | WS_TABSTOP, 330 + 330, 3900 + 1350, 2640, 1140},
        {kFrame4, L"BUTTON", L"动画控制", BS_GROUPBOX, 4185, 4200, 3060, 2355},
        {kLabelManual, L"STATIC", L"手工控制播放:", 0, 4185 + 315, 4200 + 345, 1170, 180},
        {kCmdPlay, L"BUTTON", L"播放", BS_PUSHBUTTON | WS_TABSTOP, 4185 + 300, 4200 + 600, 810, 315},
        {kCmdPause, L"BUTTON", L"暂停", BS_PUSHBUTTON | WS_TABSTOP, 4185 + 1110, 4200 + 600, 810, 315},
        {kCmdHalt, L"BUTTON", L"停止", BS_PUSHBUTTON | WS_TABSTOP, 4185 + 1920, 4200 + 600, 810, 315},
        {kLabelAuto, L"STATIC", L"自动控制播放:", 0, 4185 + 345, 4200 + 1125, 1170, 180},
        {kCmbAutoControl, L"COMBOBOX", L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 4185 + 360, 4200 + 1335, 2445, 1500},
        {kLabelSpeed, L"STATIC", L"速度控制:", 0, 4185 + 315, 4200 + 1920, 840, 180},
        {kHSSpeed, L"SCROLLBAR", L"", SBS_HORZ | WS_TABSTOP, 4185 + 1215, 4200 + 1905, 1365, 180},
        {kLabSpeed, L"STATIC", L"0", 0, 4185 + 2685, 4200 + 1890, 240, 180},
        {kLabEmail, L"STATIC", L"Email: kt@quillmark.cn", SS_NOTIFY | SS_LEFTNOWORDWRAP, 675, 6855, 2460, 225},
        {kLabSite, L"STATIC", L"主页: http://quillmark.cn", SS_NOTIFY | SS_LEFTNOWORDWRAP, 4800, 6870, 2130, 225},
    };
    for (const ChildWindow& item : items) {
        const bool link = item.id == kLabEmail || item.id == kLabSite;
        CreateChildWindow(window_, item, link ? linkFont_.get() : font_.get(), instance);
    }
    for (const wchar_t* text : {L"无边框", L"3D边框", L"Flat边框"})
        SendDlgItemMessageW(window_, kCmbBorderStyle, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    const struct {
        const wchar_t* text;
        LPARAM data;
    } hits[] = {{L"控件的全部区域", 0}, {L"非透明的绘图区域", 2}};
    for (const auto& hit : hits) {
        const LRESULT index = SendDlgItemMessageW(window_, kCmbHit, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(hit.text));
        SendDlgItemMessageW(window_, kCmbHit, CB_SETITEMDATA, static_cast<WPARAM>(index), hit.data);
    }
    for (const wchar_t* text : {L"不进行自动播放", L"鼠标进入时播放，离开停止", L"鼠标离开时播放，进入停止"})
        SendDlgItemMessageW(window_, kCmbAutoControl, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    CheckDlgButton(window_, kChkBackOpaque, BST_CHECKED);
    SCROLLINFO scroll{sizeof scroll, SIF_RANGE | SIF_POS | SIF_PAGE, 1, 10, 1, 1, 0};
    SetScrollInfo(GetDlgItem(window_, kHSSpeed), SB_CTL, &scroll, TRUE);

    // Picture1: the background picture, sized to it, holding Kinetile1.
    background_.reset(static_cast<HBITMAP>(LoadImageW(instance, MAKEINTRESOURCEW(kBitmapPicture1), IMAGE_BITMAP, 0, 0, 0)));
    BITMAP size{};
    GetObjectW(background_.get(), sizeof size, &size);
    picture1_ = CreateWindowExW(WS_EX_CLIENTEDGE, kPictureClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, Px(330),
                                Px(570), size.bmWidth + 4, size.bmHeight + 4, window_, nullptr, instance, this);

    PropertyMap saved;
    const bool haveForm = saved.FromBytes(Resource(instance, kFormDataKinetile1));
    HRESULT hr = E_FAIL;
    kinetile1_ = AxHost::Create(picture1_, L"KinetileLib.Kinetile", RECT{Px(315), Px(165), Px(315 + 2700), Px(165 + 2700)},
                                Ambient{true, L"Kinetile1"}, haveForm ? &saved : nullptr, &hr);
    if (!kinetile1_) std::fprintf(stderr, "KNTL-Demo02-Base: Kinetile1 could not be created (0x%08lx)\n", static_cast<unsigned long>(hr));
    if (kinetile1_) {
        kinetile1_->OnEvent([this](const ControlEvent& e) { OnEvent(e); });
        kinetile1_->OnFocus([this](bool gained) { Log(gained ? L"获得焦点" : L"失去焦点"); });
    }
}

void BaseForm::Load() {
    // Each selection runs its list's click handler, as the form's load does.
    const struct {
        int list, index;
    } selections[] = {{kCmbBorderStyle, 1}, {kCmbHit, 1}, {kCmbAutoControl, 1}, {kCmbHit, 0}};
    for (const auto& s : selections) {
        SendDlgItemMessageW(window_, s.list, CB_SETCURSEL, static_cast<WPARAM>(s.index), 0);
        OnCommand(s.list, CBN_SELCHANGE);
    }
    if (!kinetile1_) return;
    const std::wstring size = std::to_wstring(ReadInt(*kinetile1_, L"ImageWidth")) + L" * " +
                              std::to_wstring(ReadInt(*kinetile1_, L"ImageHeight"));
    SetDlgItemTextW(window_, kLabSize, size.c_str());
    SetDlgItemTextW(window_, kLabFrameCount, std::to_wstring(ReadInt(*kinetile1_, L"FrameCount")).c_str());
}

void BaseForm::OnCommand(int id, int code) {
    AxHost* k = kinetile1_.get();
    if (!k) return;
    const auto selection = [&](int list) { return static_cast<int>(SendDlgItemMessageW(window_, list, CB_GETCURSEL, 0, 0)); };
    switch (id) {
        case kCmbBorderStyle:
            if (code == CBN_SELCHANGE) k->Put(L"BorderStyle", Variant::Int32(selection(id)));
            break;
        case kCmbHit:
            if (code == CBN_SELCHANGE) {
                const LRESULT data = SendDlgItemMessageW(window_, id, CB_GETITEMDATA, static_cast<WPARAM>(selection(id)), 0);
                k->Put(L"HitBehavior", Variant::Int32(static_cast<int32_t>(data)));
            }
            break;
        case kCmbAutoControl:
            if (code == CBN_SELCHANGE) k->Put(L"AutoConsole", Variant::Int32(selection(id)));
            break;
        case kChkBackOpaque: {
            const int checked = IsDlgButtonChecked(window_, id) == BST_CHECKED ? 1 : 0;
            k->Put(L"BackStyle", Variant::Int32(checked ? 0 : 1));  // |check - 1|
            break;
        }
        case kChkAutoSize: {
            k->Put(L"AutoSize", Variant::Bool(IsDlgButtonChecked(window_, id) == BST_CHECKED));
            Variant autoSize;
            bool on = false;
            k->Get(L"AutoSize", autoSize);
            autoSize.ToBool(on);
            if (!on) k->Move(RECT{21, 11, 21 + 180, 11 + 180});  // its design place in Picture1's pixels
            break;
        }
        case kCmdPlay: k->Call(L"Play", {}); break;
        case kCmdPause: k->Call(L"Pause", {}); break;
        case kCmdHalt: k->Call(L"Halt", {}); break;
        case kLabSite:
            if (code == STN_CLICKED) ShellOpen(window_, kMakerSite, ModuleFolder());
            break;
        case kLabEmail:
            if (code == STN_CLICKED) ShellOpen(window_, std::wstring(L"mailto: ") + kMakerEmail, ModuleFolder());
            break;
        default:
            break;
    }
}

void BaseForm::OnEvent(const ControlEvent& e) {
    auto arg = [&](size_t i) -> VARIANT* { return i < e.args.size() ? e.args[i] : nullptr; };
    auto number = [&](size_t i) {
        Variant v;
        if (VARIANT* a = arg(i)) VariantCopyInd(&v.get(), a);
        int32_t n = 0;
        v.ToInt32(n);
        return n;
    };
    if (e.name == L"Change") Log(L"图像改变");
    else if (e.name == L"Click") Log(L"单击");
    else if (e.name == L"DblClick") Log(L"双击");
    else if (e.name == L"MouseDown") Log(L"鼠标按下");
    else if (e.name == L"MouseUp") Log(L"鼠标抬起");
    else if (e.name == L"MouseLeave") Log(L"鼠标离开");
    else if (e.name == L"MouseInto") Log(L"鼠标进入");
    else if (e.name == L"MouseMove" && arg(3))
        Log(L"鼠标移动," + FormatSingle(*arg(2)->pfltVal) + L"," + FormatSingle(*arg(3)->pfltVal));
    else if (e.name == L"Playing") {
        const std::wstring frame = std::to_wstring(number(0));
        Log(L"正在播放...   " + frame);
        SetDlgItemTextW(window_, kLabCurNumber, frame.c_str());
    } else if (e.name == L"PlayStateChange") {
        Log(L"播放状态改变,  " + std::to_wstring(number(0)));
        SetDlgItemTextW(window_, kLabCurNumber, std::to_wstring(ReadInt(*kinetile1_, L"CurrentFrame")).c_str());
    }
}

void BaseForm::Log(const std::wstring& line) {
    HWND list = GetDlgItem(window_, kLstEventList);
    const LRESULT index = SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
}

std::wstring BaseForm::LogText() const {
    HWND list = GetDlgItem(window_, kLstEventList);
    std::wstring text;
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::wstring line(static_cast<size_t>(SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0)), L'\0');
        SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(line.data()));
        text += line + L"\n";
    }
    return text;
}

LRESULT CALLBACK BaseForm::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* form = static_cast<BaseForm*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
        form->window_ = window;
    }
    auto* form = reinterpret_cast<BaseForm*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return form ? form->OnMessage(message, wParam, lParam) : DefWindowProcW(window, message, wParam, lParam);
}

LRESULT BaseForm::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_HSCROLL: {
            HWND bar = reinterpret_cast<HWND>(lParam);
            SCROLLINFO info{sizeof info, SIF_ALL};
            GetScrollInfo(bar, SB_CTL, &info);
            int pos = info.nPos;
            switch (LOWORD(wParam)) {
                case SB_LINELEFT: pos -= 1; break;
                case SB_LINERIGHT: pos += 1; break;
                case SB_PAGELEFT: pos -= 2; break;
                case SB_PAGERIGHT: pos += 2; break;
                case SB_THUMBTRACK: case SB_THUMBPOSITION: pos = info.nTrackPos; break;
                case SB_LEFT: pos = info.nMin; break;
                case SB_RIGHT: pos = info.nMax; break;
                default: return 0;
            }
            pos = pos < 1 ? 1 : pos > 10 ? 10 : pos;
            if (pos == info.nPos && LOWORD(wParam) != SB_THUMBPOSITION) return 0;
            SetScrollPos(bar, SB_CTL, pos, TRUE);
            SetDlgItemTextW(window_, kLabSpeed, std::to_wstring(pos).c_str());
            if (kinetile1_) kinetile1_->Put(L"Speed", Variant::Int32(pos));
            return 0;
        }
        case WM_SETCURSOR: {
            const int id = GetDlgCtrlID(reinterpret_cast<HWND>(wParam));
            if (id == kLabSite || id == kLabEmail) {
                SetCursor(LoadCursorW(nullptr, IDC_HAND));
                return TRUE;
            }
            break;
        }
        case WM_CTLCOLORSTATIC: {
            HDC dc = reinterpret_cast<HDC>(wParam);
            const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
            SetBkMode(dc, TRANSPARENT);
            if (id == kLabSite || id == kLabEmail) SetTextColor(dc, RGB(0, 0, 192));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        }
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(window_, &ps);
            // The etched rule above the links.
            PenHandle shadow(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW)));
            PenHandle light(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNHIGHLIGHT)));
            {
                SelectedObject pen(dc, shadow.get());
                MoveToEx(dc, Px(150), Px(6720), nullptr);
                LineTo(dc, Px(7395), Px(6720));
            }
            SelectedObject pen(dc, light.get());
            MoveToEx(dc, Px(135), Px(6735), nullptr);
            LineTo(dc, Px(7380), Px(6735));
            EndPaint(window_, &ps);
            return 0;
        }
        case WM_CLOSE:
            DestroyWindow(window_);
            return 0;
        case WM_DESTROY:
            kinetile1_.reset();
            window_ = nullptr;
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT CALLBACK BaseForm::PictureProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    auto* form = reinterpret_cast<BaseForm*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    // Its background picture: painted, and given to controls that ask what lies beneath them.
    auto draw = [&](HDC dc) {
        if (!form || !form->background_) return;
        MemoryDC source(dc);
        SelectedObject picture(source.get(), form->background_.get());
        BITMAP size{};
        GetObjectW(form->background_.get(), sizeof size, &size);
        BitBlt(dc, 0, 0, size.bmWidth, size.bmHeight, source.get(), 0, 0, SRCCOPY);
    };
    switch (message) {
        case WM_ERASEBKGND:
            draw(reinterpret_cast<HDC>(wParam));
            return 1;
        case WM_PRINTCLIENT:
            draw(reinterpret_cast<HDC>(wParam));
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(window, &ps);
            draw(dc);
            EndPaint(window, &ps);
            return 0;
        }
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace kinetile
