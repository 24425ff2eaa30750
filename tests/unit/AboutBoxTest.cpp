// The About box, driven as a person would: clicks on its hot spots and
// elsewhere, Escape and Enter.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <vector>

#include "AboutBox.h"
#include "ShellOpen.h"

namespace kinetile {
namespace {

// Runs `steps` one per timer tick against the visible box while it is shown.
struct Script {
    static inline std::vector<std::function<void(HWND)>> steps;
    static inline size_t next = 0;
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        HWND box = FindWindowW(AboutBox::kClassName, nullptr);
        if (!box || !IsWindowVisible(box) || next >= steps.size()) return;
        steps[next++](box);
    }
};

void ShowWith(std::vector<std::function<void(HWND)>> steps) {
    Script::steps = std::move(steps);
    Script::next = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, &Script::Tick);
    AboutBox box;
    box.ShowModal(nullptr);
    KillTimer(nullptr, timer);
}

LPARAM At(const RECT& r) { return MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2); }

TEST(AboutBox, HotSpotsOpenTheirLinksAndLeaveTheBoxOpen) {
    std::vector<std::wstring> opened;
    ScopedShellOpenHandler shell([&](HWND, const std::wstring& target, const std::wstring&) { opened.push_back(target); });
    bool stillOpen = false;
    ShowWith({
        [](HWND box) { SendMessageW(box, WM_LBUTTONUP, 0, At(AboutBox::SiteSpot())); },
        [](HWND box) { SendMessageW(box, WM_LBUTTONUP, 0, At(AboutBox::EmailSpot())); },
        [&](HWND box) {
            stillOpen = IsWindowVisible(box);
            SendMessageW(box, WM_LBUTTONUP, 0, MAKELPARAM(200, 100));  // elsewhere: closes
        },
    });
    EXPECT_TRUE(stillOpen);
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[0].rfind(L"http://", 0), 0u);
    EXPECT_EQ(opened[1].rfind(L"mailto: ", 0), 0u);
    EXPECT_EQ(FindWindowW(AboutBox::kClassName, nullptr), nullptr);
}

TEST(AboutBox, EscapeClosesAndEnterDoesNothing) {
    bool openAfterEnter = false;
    ShowWith({
        [](HWND box) { SendMessageW(box, WM_KEYDOWN, VK_RETURN, 0); },
        [&](HWND box) {
            openAfterEnter = IsWindowVisible(box);
            SendMessageW(box, WM_KEYDOWN, VK_ESCAPE, 0);
        },
    });
    EXPECT_TRUE(openAfterEnter);
    EXPECT_EQ(FindWindowW(AboutBox::kClassName, nullptr), nullptr);
}

TEST(AboutBox, IsBorderless360By240AndCentred) {
    RECT rect{};
    LONG style = 0;
    ShowWith({[&](HWND box) {
        GetWindowRect(box, &rect);
        style = GetWindowLongW(box, GWL_STYLE);
        SendMessageW(box, WM_KEYDOWN, VK_ESCAPE, 0);
    }});
    EXPECT_EQ(rect.right - rect.left, 360);
    EXPECT_EQ(rect.bottom - rect.top, 240);
    EXPECT_EQ(rect.left, (GetSystemMetrics(SM_CXSCREEN) - 360) / 2);
    EXPECT_EQ(style & (WS_CAPTION | WS_BORDER | WS_THICKFRAME), 0);
}

}  // namespace
}  // namespace kinetile
