// The demo's form, driven in-process: each list, check box, button and the
// scroll bar changes Kinetile1 as the form's handlers say, and the event
// log gets the lines of the control's events.
#include <gtest/gtest.h>
#include <objbase.h>

#include "BaseForm.h"
#include "ControlHarness.h"
#include "DemoIds.h"
#include "ShellOpen.h"

namespace kinetile {
namespace {

class DemoForm : public ::testing::Test {
protected:
    void SetUp() override {
        OleInitialize(nullptr);
        ASSERT_EQ(test::RunRegsvr32(KINETILE_OCX_PATH, false), 0u);
        form = BaseForm::Create(GetModuleHandleW(nullptr));
        ASSERT_TRUE(form && form->Control());
        test::PumpMessages(50);
    }
    void TearDown() override {
        form.reset();
        OleUninitialize();
    }
    int32_t Int(const wchar_t* name) {
        Variant v;
        EXPECT_EQ(form->Control()->Get(name, v), S_OK);
        int32_t out = -1;
        v.ToInt32(out);
        return out;
    }
    HWND Item(int id) { return GetDlgItem(form->Window(), id); }
    void Select(int list, int index) {
        SendMessageW(Item(list), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        SendMessageW(form->Window(), WM_COMMAND, MAKEWPARAM(list, CBN_SELCHANGE), reinterpret_cast<LPARAM>(Item(list)));
    }
    void Click(int id) { SendMessageW(Item(id), BM_CLICK, 0, 0); }
    std::wstring Text(int id) {
        wchar_t text[128] = {};
        GetWindowTextW(Item(id), text, 128);
        return text;
    }

    std::unique_ptr<BaseForm> form;
};

TEST_F(DemoForm, LoadLeavesTheControlAsTheListsSay) {
    EXPECT_EQ(Int(L"BorderStyle"), 1);
    EXPECT_EQ(Int(L"AutoConsole"), 1);
    EXPECT_EQ(Int(L"HitBehavior"), 0);
    EXPECT_EQ(Int(L"BackStyle"), 0);
    EXPECT_EQ(Int(L"BackColor"), 33023);
    EXPECT_EQ(Int(L"BorderColor"), 16576);
    EXPECT_EQ(Text(kLabSize), L"89 * 98");
    EXPECT_EQ(Text(kLabFrameCount), L"8");
    RECT frame;
    GetClientRect(form->Window(), &frame);
    EXPECT_EQ(frame.right, 512);
    EXPECT_EQ(frame.bottom, 480);
}

TEST_F(DemoForm, ListsCheckBoxesAndTheScrollBarSetTheControl) {
    Select(kCmbBorderStyle, 2);
    EXPECT_EQ(Int(L"BorderStyle"), 2);
    Select(kCmbHit, 1);
    EXPECT_EQ(Int(L"HitBehavior"), 2) << "the item's data, not its index";
    Select(kCmbAutoControl, 2);
    EXPECT_EQ(Int(L"AutoConsole"), 2);
    Click(kChkBackOpaque);  // unchecked: opaque
    EXPECT_EQ(Int(L"BackStyle"), 1);
    Click(kChkBackOpaque);
    EXPECT_EQ(Int(L"BackStyle"), 0);

    Click(kChkAutoSize);
    RECT r = form->Control()->Rect();
    EXPECT_EQ(r.right - r.left, 91) << "the image and its 3D border";
    Click(kChkAutoSize);
    r = form->Control()->Rect();
    EXPECT_EQ(r.left, 21);
    EXPECT_EQ(r.top, 11);
    EXPECT_EQ(r.right - r.left, 180);
    EXPECT_EQ(r.bottom - r.top, 180);

    SendMessageW(form->Window(), WM_HSCROLL, SB_RIGHT, reinterpret_cast<LPARAM>(Item(kHSSpeed)));
    EXPECT_EQ(Int(L"Speed"), 10);
    EXPECT_EQ(Text(kLabSpeed), L"10");
}

TEST_F(DemoForm, ButtonsPlayPauseAndStopAndTheLogShowsIt) {
    Click(kCmdPlay);
    test::PumpMessages(400);
    Click(kCmdPause);
    Click(kCmdHalt);  // after Pause: nothing
    Click(kCmdPlay);
    test::PumpMessages(100);
    Click(kCmdHalt);
    const std::wstring log = form->LogText();
    EXPECT_NE(log.find(L"播放状态改变,  0\n"), std::wstring::npos) << std::string(log.begin(), log.end()).size();
    EXPECT_NE(log.find(L"正在播放...   0\n"), std::wstring::npos);
    EXPECT_NE(log.find(L"正在播放...   1\n"), std::wstring::npos);
    EXPECT_NE(log.find(L"播放状态改变,  1\n"), std::wstring::npos);
    EXPECT_NE(log.find(L"播放状态改变,  2\n"), std::wstring::npos);
    EXPECT_EQ(Text(kLabCurNumber), L"0") << "CurrentFrame after the stop";
}

TEST_F(DemoForm, MouseEventsAreLoggedWithTheirCoordinatesInTwips) {
    HWND control = form->Control()->Window();
    SendMessageW(control, WM_MOUSEMOVE, 0, MAKELPARAM(10, 4));
    SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 4));
    SendMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(10, 4));
    const std::wstring log = form->LogText();
    EXPECT_NE(log.find(L"鼠标进入\n"), std::wstring::npos);
    EXPECT_NE(log.find(L"鼠标移动,150,60\n"), std::wstring::npos);
    EXPECT_NE(log.find(L"鼠标按下\n鼠标抬起\n单击\n"), std::wstring::npos);
    // With AutoConsole at "play when the mouse enters", entering started playback.
    EXPECT_NE(log.find(L"播放状态改变,  0\n"), std::wstring::npos);
}

TEST_F(DemoForm, FocusComingAndGoingIsLogged) {
    SetFocus(form->Control()->Window());
    SetFocus(Item(kCmdPlay));
    const std::wstring log = form->LogText();
    EXPECT_NE(log.find(L"获得焦点\n失去焦点\n"), std::wstring::npos);
}

TEST_F(DemoForm, LinksOpenThroughTheShell) {
    std::vector<std::wstring> opened;
    ScopedShellOpenHandler shell([&](HWND, const std::wstring& target, const std::wstring&) { opened.push_back(target); });
    SendMessageW(form->Window(), WM_COMMAND, MAKEWPARAM(kLabSite, STN_CLICKED), reinterpret_cast<LPARAM>(Item(kLabSite)));
    SendMessageW(form->Window(), WM_COMMAND, MAKEWPARAM(kLabEmail, STN_CLICKED), reinterpret_cast<LPARAM>(Item(kLabEmail)));
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[0].rfind(L"http://", 0), 0u);
    EXPECT_EQ(opened[1].rfind(L"mailto: ", 0), 0u);
}

TEST(FormatSingle, WritesNumbersAsTheSystemDoes) {
    EXPECT_EQ(FormatSingle(150.0f), L"150");
    EXPECT_EQ(FormatSingle(12.5f), L"12.5");
    EXPECT_EQ(FormatSingle(-3.25f), L"-3.25");
    EXPECT_EQ(FormatSingle(0.0f), L"0");
    EXPECT_EQ(FormatSingle(1e-05f), L"1E-05");
    EXPECT_EQ(FormatSingle(1234567.0f), L"1234567");
    EXPECT_EQ(FormatSingle(12345678.0f), L"1.234568E+07");
}

}  // namespace
}  // namespace kinetile
