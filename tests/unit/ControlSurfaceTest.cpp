// The control on a form: what it paints over the form's background, its
// hit test, the pointer's entry and leave, and the mouse and key events.
#include <gtest/gtest.h>

#include "ControlFixture.h"
#include "DibSurface.h"
#include "GifWriter.h"

namespace kinetile {
namespace {

using test::HostedControl;

constexpr int32_t kFormColor = 0x0000FF;  // red, as an RGB value
const std::vector<test::Rgb> kPalette = {{0, 0, 0}, {255, 255, 0}, {0, 160, 0}, {0, 0, 200}};

// A 20 x 16 image: the left half transparent (index 1), the right half green.
std::vector<uint8_t> HalfTransparent() {
    std::vector<uint8_t> pixels;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 20; ++x) pixels.push_back(x < 10 ? 1 : 2);
    return test::GifWriter().Signature().Screen(20, 16, kPalette).GraphicControl(10, 1, 1)
        .Image(0, 0, 20, 16, pixels).GraphicControl(10, 1, 1).Image(0, 0, 20, 16, pixels).Trailer().Bytes();
}

// A form with a red background and one control at (10, 10).
HostedControl OnRedForm(bool userMode = true) {
    HostedControl c;
    c.window = std::make_unique<test::HostWindow>(200, 150);
    SetClassLongPtrW(c.window->get(), GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(CreateSolidBrush(kFormColor)));
    HRESULT hr = E_FAIL;
    c.host = AxHost::Create(c.window->get(), L"KinetileLib.Kinetile", RECT{10, 10, 50, 40}, Ambient{userMode, L"Kinetile1"},
                            nullptr, &hr);
    EXPECT_TRUE(c.host) << std::hex << hr;
    return c;
}

// What the control's window shows, as painted.
std::unique_ptr<DibSurface> Shot(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    test::PumpMessages(30);
    RECT r;
    GetClientRect(window, &r);
    auto shot = std::make_unique<DibSurface>(r.right, r.bottom);
    HDC dc = GetDC(window);
    BitBlt(shot->dc(), 0, 0, r.right, r.bottom, dc, 0, 0, SRCCOPY);
    ReleaseDC(window, dc);
    return shot;
}

SIZE ClientSize(HWND window) {
    RECT r;
    GetClientRect(window, &r);
    return {r.right, r.bottom};
}

TEST(ControlSurface, TransparentBackStyleShowsTheFormAroundAndThroughTheImage) {
    HostedControl c = OnRedForm();
    ASSERT_EQ(c->Put(L"BackStyle", Variant::Int32(0)), S_OK);
    ASSERT_EQ(c->Put(L"DataArrary", Variant::Bytes(HalfTransparent())), S_OK);
    const SIZE size = ClientSize(c->Window());
    ASSERT_EQ(size.cx, 20);  // AutoSize, no border
    ASSERT_EQ(size.cy, 16);
    auto shot = Shot(c->Window());
    EXPECT_EQ(shot->At(2, 8), kFormColor) << "a transparent pixel shows the form";
    EXPECT_EQ(shot->At(15, 8), kPalette[2].Value());
}

TEST(ControlSurface, OpaqueBackStyleFillsTheRectangleWithBackColor) {
    HostedControl c = OnRedForm();
    ASSERT_EQ(c->Put(L"AutoSize", Variant::Bool(false)), S_OK);
    ASSERT_EQ(c->Put(L"BackColor", Variant::Int32(0x00FFFF)), S_OK);  // yellow
    ASSERT_EQ(c->Put(L"DataArrary", Variant::Bytes(HalfTransparent())), S_OK);
    auto shot = Shot(c->Window());
    ASSERT_EQ(shot->Width(), 40);
    EXPECT_EQ(shot->At(0, 0), 0x00FFFF);
    // The 20 x 16 image centred in 40 x 30: at (10, 7).
    EXPECT_EQ(shot->At(12, 10), 0x00FFFF) << "transparent image pixels show the background colour";
    EXPECT_EQ(shot->At(25, 10), kPalette[2].Value());
}

TEST(ControlSurface, AutoSizeAddsTheBorderAndKeepsTheImageCentred) {
    for (int style : {1, 2, 0, 3}) {
        HostedControl c = OnRedForm();
        ASSERT_EQ(c->Put(L"BorderStyle", Variant::Int32(style)), S_OK);
        ASSERT_EQ(c->Put(L"BorderColor", Variant::Int32(0xFF0000)), S_OK);
        ASSERT_EQ(c->Put(L"DataArrary", Variant::Bytes(test::TypicalAnimation({.width = 32, .height = 20, .frames = 1}))), S_OK);
        const bool border = style == 1 || style == 2;
        const SIZE size = ClientSize(c->Window());
        EXPECT_EQ(size.cx, border ? 34 : 32) << style;
        EXPECT_EQ(size.cy, border ? 22 : 20) << style;
        auto shot = Shot(c->Window());
        if (style == 2) EXPECT_EQ(shot->At(0, 0), 0xFF0000);
        const int inside = border ? 1 : 0;
        EXPECT_EQ(shot->At(inside, inside), test::DistinctPalette(4)[0].Value()) << "image at (" << inside << ", " << inside << ")";
    }
}

TEST(ControlSurface, CaptionIsShownWithoutAnImage) {
    HostedControl c = OnRedForm();
    ASSERT_EQ(c->Put(L"BackColor", Variant::Int32(0xFFFFFF)), S_OK);
    ASSERT_EQ(c->Put(L"Caption", Variant::String(L"WWW")), S_OK);
    auto shot = Shot(c->Window());
    int dark = 0;
    for (int y = 0; y < shot->Height(); ++y)
        for (int x = 0; x < shot->Width(); ++x) dark += shot->At(x, y) != 0xFFFFFF;
    EXPECT_GT(dark, 10) << "caption text drawn";
    ASSERT_EQ(c->Put(L"Caption", Variant::String(L"")), S_OK);
    shot = Shot(c->Window());
    dark = 0;
    for (int y = 0; y < shot->Height(); ++y)
        for (int x = 0; x < shot->Width(); ++x) dark += shot->At(x, y) != 0xFFFFFF;
    EXPECT_EQ(dark, 0);
}

LRESULT HitAt(HWND control, int x, int y) {
    POINT p{x, y};
    ClientToScreen(control, &p);
    return SendMessageW(control, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
}

TEST(ControlSurface, PaintRegionLetsTransparentPixelsPassThrough) {
    HostedControl c = OnRedForm();
    ASSERT_EQ(c->Put(L"BackStyle", Variant::Int32(0)), S_OK);
    ASSERT_EQ(c->Put(L"HitBehavior", Variant::Int32(2)), S_OK);
    ASSERT_EQ(c->Put(L"DataArrary", Variant::Bytes(HalfTransparent())), S_OK);
    Shot(c->Window());
    test::Record(c);
    EXPECT_EQ(HitAt(c->Window(), 3, 5), HTTRANSPARENT);
    EXPECT_EQ(HitAt(c->Window(), 15, 5), HTCLIENT);
    EXPECT_EQ(HitAt(c->Window(), 3, 6), HTTRANSPARENT) << "leaving the painted pixels leaves the control";
    EXPECT_EQ(c.eventNames, (std::vector<std::wstring>{L"MouseInto", L"MouseLeave"}));

    ASSERT_EQ(c->Put(L"BackStyle", Variant::Int32(1)), S_OK);
    Shot(c->Window());
    EXPECT_EQ(HitAt(c->Window(), 3, 5), HTCLIENT) << "an opaque control paints, and is hit, everywhere";
}

TEST(ControlSurface, AllRegionDesignerAndDisabled) {
    HostedControl all = OnRedForm();
    ASSERT_EQ(all->Put(L"BackStyle", Variant::Int32(0)), S_OK);
    ASSERT_EQ(all->Put(L"DataArrary", Variant::Bytes(HalfTransparent())), S_OK);
    Shot(all->Window());
    EXPECT_EQ(HitAt(all->Window(), 3, 5), HTCLIENT) << "AllRegion: transparent pixels too";

    HostedControl designer = OnRedForm(false);
    ASSERT_EQ(designer->Put(L"HitBehavior", Variant::Int32(2)), S_OK);
    ASSERT_EQ(designer->Put(L"BackStyle", Variant::Int32(0)), S_OK);
    ASSERT_EQ(designer->Put(L"DataArrary", Variant::Bytes(HalfTransparent())), S_OK);
    Shot(designer->Window());
    test::Record(designer);
    EXPECT_EQ(HitAt(designer->Window(), 3, 5), HTCLIENT);
    EXPECT_TRUE(designer.eventNames.empty()) << "no tracking in the designer";
}

TEST(ControlSurface, MouseCoordinatesArriveInTheFormsTwips) {
    HostedControl c = OnRedForm();
    std::vector<float> xy;
    std::vector<short> buttons;
    c->OnEvent([&](const ControlEvent& e) {
        if (e.name == L"MouseDown") {
            buttons.push_back(*e.args[0]->piVal);
            xy.push_back(*e.args[2]->pfltVal);
            xy.push_back(*e.args[3]->pfltVal);
        }
    });
    SendMessageW(c->Window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 4));
    SendMessageW(c->Window(), WM_LBUTTONUP, 0, MAKELPARAM(10, 4));
    ASSERT_EQ(xy.size(), 2u);
    EXPECT_FLOAT_EQ(xy[0], 150.0f);
    EXPECT_FLOAT_EQ(xy[1], 60.0f);
    EXPECT_EQ(buttons, std::vector<short>{1});
}

TEST(ControlSurface, ClicksDoubleClicksAndEnter) {
    HostedControl c = OnRedForm();
    test::Record(c);
    SendMessageW(c->Window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(c->Window(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    SendMessageW(c->Window(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(c->Window(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    SendMessageW(c->Window(), WM_CHAR, 'a', 0);
    SendMessageW(c->Window(), WM_CHAR, 13, 0);
    EXPECT_EQ(c.eventNames, (std::vector<std::wstring>{L"MouseDown", L"MouseUp", L"Click", L"DblClick", L"MouseUp",
                                                       L"KeyPress", L"KeyPress", L"Click"}));
    // A host that takes the Enter key away suppresses the click.
    std::vector<std::wstring> names;
    c->OnEvent([&](const ControlEvent& e) {
        names.push_back(e.name);
        if (e.name == L"KeyPress") *e.args[0]->piVal = 0;
    });
    SendMessageW(c->Window(), WM_CHAR, 13, 0);
    EXPECT_EQ(names, std::vector<std::wstring>{L"KeyPress"});
}

TEST(ControlSurface, KeyEventsCarryTheKeyAndShiftState) {
    HostedControl c = OnRedForm();
    std::vector<short> codes;
    c->OnEvent([&](const ControlEvent& e) {
        if (e.name == L"KeyDown" || e.name == L"KeyUp") codes.push_back(*e.args[0]->piVal);
    });
    SendMessageW(c->Window(), WM_KEYDOWN, VK_F5, 0);
    SendMessageW(c->Window(), WM_KEYUP, VK_F5, 0);
    EXPECT_EQ(codes, (std::vector<short>{VK_F5, VK_F5}));
}

TEST(ControlSurface, AutoConsolePlaysOnEntryAndHaltsWhenThePointerLeaves) {
    HostedControl c = OnRedForm();
    ASSERT_EQ(c->Put(L"AutoConsole", Variant::Int32(1)), S_OK);
    ASSERT_EQ(c->Put(L"DataArrary", Variant::Bytes(test::TypicalAnimation({.frames = 3, .delayHundredths = 5}))), S_OK);
    std::vector<std::wstring> seen;
    c->OnEvent([&](const ControlEvent& e) {
        if (e.name == L"Playing") return;
        std::wstring text = e.name;
        if (!e.args.empty() && e.args[0]->vt == (VT_I4 | VT_BYREF)) text += L" " + std::to_wstring(*e.args[0]->plVal);
        seen.push_back(text);
    });
    // The pointer moves onto the control (with AllRegion the move, not the
    // hit test, notices the entry) ...
    RECT r;
    GetWindowRect(c->Window(), &r);
    SetCursorPos(r.left + 5, r.top + 5);
    SendMessageW(c->Window(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    std::erase(seen, L"MouseMove");
    EXPECT_EQ(seen, (std::vector<std::wstring>{L"PlayStateChange 0", L"MouseInto"}));
    // ... and the pointer watch notices it gone within about 50 ms.
    SetCursorPos(r.right + 100, r.bottom + 100);
    const DWORD start = GetTickCount();
    while (seen.size() < 4 && GetTickCount() - start < 1000) {
        test::PumpMessages(5);
        std::erase(seen, L"MouseMove");
    }
    EXPECT_EQ(seen, (std::vector<std::wstring>{L"PlayStateChange 0", L"MouseInto", L"PlayStateChange 2", L"MouseLeave"}));
    EXPECT_LT(GetTickCount() - start, 300u);
    EXPECT_EQ(c.Int(L"CurrentFrame"), 0);
}

}  // namespace
}  // namespace kinetile

namespace kinetile {
namespace {

std::vector<UINT> formClicks;
WNDPROC formProc = nullptr;
LRESULT CALLBACK RecordingFormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_LBUTTONDOWN) formClicks.push_back(message);
    return CallWindowProcW(formProc, window, message, wParam, lParam);
}

void ClickAt(int x, int y) {
    SetCursorPos(x, y);
    test::PumpMessages(20);
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, inputs, sizeof(INPUT));
    test::PumpMessages(80);
}

TEST(ControlSurface, RealClicksOnTransparentPixelsReachTheFormBeneath) {
    HostedControl c = OnRedForm();
    ASSERT_EQ(c->Put(L"BackStyle", Variant::Int32(0)), S_OK);
    ASSERT_EQ(c->Put(L"HitBehavior", Variant::Int32(2)), S_OK);
    ASSERT_EQ(c->Put(L"DataArrary", Variant::Bytes(HalfTransparent())), S_OK);
    SetForegroundWindow(c.window->get());
    Shot(c->Window());
    formClicks.clear();
    formProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(c.window->get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordingFormProc)));
    std::vector<std::wstring> controlClicks;
    c->OnEvent([&](const ControlEvent& e) {
        if (e.name == L"Click") controlClicks.push_back(e.name);
    });
    RECT r;
    GetWindowRect(c->Window(), &r);
    ClickAt(r.left + 15, r.top + 8);  // a painted pixel
    EXPECT_EQ(controlClicks.size(), 1u);
    EXPECT_TRUE(formClicks.empty());
    ClickAt(r.left + 3, r.top + 8);  // a transparent pixel
    EXPECT_EQ(controlClicks.size(), 1u);
    EXPECT_EQ(formClicks.size(), 1u) << "the click passed through to the form";
    SetWindowLongPtrW(c.window->get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(formProc));
}

}  // namespace
}  // namespace kinetile

namespace kinetile {
namespace {

// The first column from the left that is not the background colour.
int FirstImageColumn(const DibSurface& shot, int y, int32_t background) {
    for (int x = 0; x < shot.Width(); ++x)
        if (shot.At(x, y) != background) return x;
    return -1;
}

TEST(ControlSurface, ImageIsCentredWithTiesRoundedToEven) {
    // 101 - 50 = 51 -> 25.5 -> 26; 103 - 50 = 53 -> 26.5 -> 26.
    for (int width : {101, 103}) {
        test::HostWindow window(220, 100);
        auto host = AxHost::Create(window.get(), L"KinetileLib.Kinetile", RECT{0, 0, width, 40}, Ambient{true, L"K"}, nullptr);
        ASSERT_TRUE(host);
        host->Put(L"AutoSize", Variant::Bool(false));
        host->Put(L"BackColor", Variant::Int32(0xFFFFFF));
        host->Put(L"DataArrary", Variant::Bytes(test::TypicalAnimation({.width = 50, .height = 10, .frames = 1})));
        auto shot = Shot(host->Window());
        EXPECT_EQ(FirstImageColumn(*shot, 20, 0xFFFFFF), 26) << width;
    }
}

TEST(ControlSurface, BorderColourMayNameASystemColour) {
    HostedControl c = OnRedForm();
    ASSERT_EQ(c->Put(L"BorderStyle", Variant::Int32(2)), S_OK);
    ASSERT_EQ(c->Put(L"BorderColor", Variant::Int32(static_cast<int32_t>(0x80000010))), S_OK);  // button shadow
    auto shot = Shot(c->Window());
    EXPECT_EQ(shot->At(0, 0), static_cast<int32_t>(GetSysColor(COLOR_BTNSHADOW)));
    EXPECT_EQ(shot->At(shot->Width() - 1, shot->Height() - 1), static_cast<int32_t>(GetSysColor(COLOR_BTNSHADOW)));
}

TEST(ControlSurface, AnOpaqueFirstFrameMakesEveryCopyOpaque) {
    // Frame 0 is opaque and small; frame 1 is transparent. The buffer's key
    // is frame 0's colour (0, black), and since frame 0 decides, the copy
    // stays opaque: uncovered areas show black, not the form.
    test::GifWriter w;
    w.Signature().Screen(20, 16, kPalette).GraphicControl(1, 1).Image(0, 0, 4, 4, std::vector<uint8_t>(16, 2))
        .GraphicControl(1, 1, 1).Image(10, 0, 4, 4, std::vector<uint8_t>(16, 1));
    HostedControl c = OnRedForm();
    ASSERT_EQ(c->Put(L"BackStyle", Variant::Int32(0)), S_OK);
    ASSERT_EQ(c->Put(L"DataArrary", Variant::Bytes(w.Trailer().Bytes())), S_OK);
    auto shot = Shot(c->Window());
    EXPECT_EQ(shot->At(1, 1), kPalette[2].Value());
    EXPECT_EQ(shot->At(15, 10), 0) << "the key colour, copied opaquely";
}

}  // namespace
}  // namespace kinetile

namespace kinetile {
namespace {

TEST(ControlSurface, ThePointerWatchUsesTheExtendersRectangle) {
    HostedControl c = OnRedForm();
    std::vector<std::wstring> seen;
    c->OnEvent([&](const ControlEvent& e) {
        if (e.name == L"MouseInto" || e.name == L"MouseLeave") seen.push_back(e.name);
    });
    RECT r;
    GetWindowRect(c->Window(), &r);
    SetCursorPos(r.left + 30, r.top + 20);  // inside the control's 40 x 30
    SendMessageW(c->Window(), WM_MOUSEMOVE, 0, MAKELPARAM(30, 20));
    test::PumpMessages(150);
    EXPECT_EQ(seen, std::vector<std::wstring>{L"MouseInto"}) << "still inside: no leave";
    SetCursorPos(r.left + 45, r.top + 20);  // just right of it
    test::PumpMessages(150);
    EXPECT_EQ(seen, (std::vector<std::wstring>{L"MouseInto", L"MouseLeave"}));
}

}  // namespace
}  // namespace kinetile
