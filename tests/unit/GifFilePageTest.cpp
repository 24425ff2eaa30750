// The property page "GIF文件" in a window of ours, with a stand-in control
// that holds DataArrary, the message boxes and the file dialog captured.
#include <gtest/gtest.h>
#include <objbase.h>

#include "ControlHarness.h"
#include "FileDialog.h"
#include "GifFilePage.h"
#include "GifWriter.h"
#include "MessageBox.h"
#include "TempDir.h"
#include "TextConvert.h"
#include "Variant.h"

namespace kinetile {
namespace {

// A control as the page sees it: an object with a DataArrary property.
class StandInControl final : public IDispatch {
public:
    Variant data;
    STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
        if (riid == IID_IUnknown || riid == IID_IDispatch) {
            *out = this;
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
    STDMETHODIMP_(ULONG) Release() override { return --refs_; }  // lives on the test's stack
    STDMETHODIMP GetTypeInfoCount(UINT* n) override { return *n = 0, S_OK; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT, LCID, DISPID* ids) override {
        if (lstrcmpiW(names[0], L"DataArrary") != 0) return DISP_E_UNKNOWNNAME;
        ids[0] = 15;
        return S_OK;
    }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO*, UINT*) override {
        if (flags & DISPATCH_PROPERTYGET) {
            if (result) VariantCopy(result, &data.get());
        } else {
            data = Variant(params->rgvarg[0]);
        }
        return S_OK;
    }

private:
    LONG refs_ = 1;
};

class Page : public ::testing::Test {
protected:
    void SetUp() override {
        OleInitialize(nullptr);
        ASSERT_EQ(GifFilePage::Create(IID_IPropertyPage, page.put_void()), S_OK);
        ASSERT_EQ(page->Activate(window.get(), nullptr, TRUE), S_OK);
        page->Show(SW_SHOW);
        IUnknown* objects[] = {&control};
        page->SetObjects(1, objects);
        hwnd = FindWindowExW(window.get(), nullptr, L"KinetileGifFilePage", nullptr);
        ASSERT_NE(hwnd, nullptr);
    }
    void TearDown() override {
        page->Deactivate();
        page.reset();
        OleUninitialize();
    }
    void Click(int id) {
        SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(id, STN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(hwnd, id)));
    }
    std::wstring Text(int id) {
        wchar_t text[300] = {};
        GetDlgItemTextW(hwnd, id, text, 300);
        return text;
    }
    void Type(const std::string& path) { SetDlgItemTextW(hwnd, GifFilePage::kTxtFilename, Utf8ToWide(path).c_str()); }

    test::HostWindow window{400, 400};
    StandInControl control;
    ComPtr<IPropertyPage> page;
    HWND hwnd = nullptr;
    test::TempDir dir;
};

struct Shown {
    std::wstring text, title;
    UINT style;
};

TEST_F(Page, ASelectionWithoutImageShowsZeros) {
    EXPECT_EQ(Text(GifFilePage::kLabFramCount1), L"0");
    EXPECT_EQ(Text(GifFilePage::kLabSize1), L"0 * 0");
    EXPECT_EQ(page->IsPageDirty(), S_FALSE);
}

TEST_F(Page, LoadFailuresAreReportedAndTheEarlierPreviewResumes) {
    std::vector<Shown> shown;
    ScopedMessageBoxHandler capture([&](HWND, const std::wstring& text, const std::wstring& title, UINT style) {
        shown.push_back({text, title, style});
        return IDOK;
    });
    Click(GifFilePage::kLabButton0);  // empty file box
    Type(dir.Write("notes.gif", std::string("just text")));
    Type(dir.Write("a.gif", test::TypicalAnimation({.frames = 3})));
    Click(GifFilePage::kLabButton1);  // the frame of the same button loads too
    ASSERT_EQ(Text(GifFilePage::kLabFramCount1), L"3");
    Type(dir.Write("notes.gif", std::string("just text")));
    Click(GifFilePage::kLabButton0);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text, L"文件不存在!");
    EXPECT_EQ(shown[1].text, L"这不是一个合格的GIF格式文件!");
    EXPECT_EQ(shown[1].title, L"载入GIF文件");
    EXPECT_EQ(shown[1].style, static_cast<UINT>(MB_OK | MB_ICONERROR));
    auto* real = static_cast<GifFilePage*>(page.get());
    EXPECT_TRUE(real->PreviewRunning()) << "the preview shown before resumes";
    EXPECT_EQ(Text(GifFilePage::kLabFramCount1), L"3");
}

TEST_F(Page, ALoadedImageIsPreviewedAndAppliedToTheControl) {
    const std::vector<uint8_t> gif = test::TypicalAnimation({.width = 30, .height = 20, .frames = 4, .transparentIndex = 1});
    Type(dir.Write("anim.gif", gif));
    Click(GifFilePage::kLabButton0);
    EXPECT_EQ(Text(GifFilePage::kLabFramCount1), L"4");
    EXPECT_EQ(Text(GifFilePage::kLabSize1), L"30 * 20");
    EXPECT_EQ(page->IsPageDirty(), S_OK);
    test::PumpMessages(100);
    auto* real = static_cast<GifFilePage*>(page.get());
    const DibSurface* preview = real->Preview();
    ASSERT_NE(preview, nullptr);
    // The 30 x 20 screen is centred in the box.
    const int x = (preview->Width() - 30 + 1) / 2 + 15, y = (preview->Height() - 20 + 1) / 2 + 10;
    EXPECT_NE(preview->At(x, y), static_cast<int32_t>(GetSysColor(COLOR_BTNFACE))) << "a frame is drawn";
    ASSERT_EQ(page->Apply(), S_OK);
    std::vector<uint8_t> applied;
    ASSERT_TRUE(control.data.ToBytes(applied));
    EXPECT_EQ(applied.size(), gif.size());
    EXPECT_EQ(page->IsPageDirty(), S_FALSE);
}

TEST_F(Page, ClearThenApplyRemovesTheControlsImage) {
    control.data = Variant::Bytes(test::TypicalAnimation());
    IUnknown* objects[] = {&control};
    page->SetObjects(1, objects);  // selection changed: the control's image comes in
    EXPECT_EQ(Text(GifFilePage::kLabFramCount1), L"3");
    Click(GifFilePage::kLabButton3);
    EXPECT_EQ(page->IsPageDirty(), S_OK);
    ASSERT_EQ(page->Apply(), S_OK);
    EXPECT_TRUE(control.data.IsEmpty());
}

TEST_F(Page, AStillImageIsDrawnOnceAndTheTimerStops) {
    Type(dir.Write("still.gif", test::TypicalAnimation({.frames = 1})));
    Click(GifFilePage::kLabButton0);
    test::PumpMessages(80);
    EXPECT_FALSE(static_cast<GifFilePage*>(page.get())->PreviewRunning());
}

TEST_F(Page, TheFileDialogFillsTheBoxAndCancellingEmptiesIt) {
    std::vector<OpenFileRequest> asked;
    std::wstring answer = L"C:\\pictures\\按钮.gif";
    ScopedFileDialogHandler dialog([&](const OpenFileRequest& request) {
        asked.push_back(request);
        return answer;
    });
    Click(GifFilePage::kLabOpen);
    EXPECT_EQ(Text(GifFilePage::kTxtFilename), answer);
    answer.clear();
    Click(GifFilePage::kLabOpen);
    EXPECT_EQ(Text(GifFilePage::kTxtFilename), L"");
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].title, L"选择GIF文件");
    EXPECT_EQ(asked[0].filter, L"GIF动画文件(*.gif)|*.GIF");
    EXPECT_EQ(asked[0].flags, 0x1004u);
}

}  // namespace
}  // namespace kinetile
