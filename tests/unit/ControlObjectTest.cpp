// The control object: new and restored instances, saved keys, read-only
// properties by mode, Speed, the About box.
#include <gtest/gtest.h>

#include <set>

#include "ControlFixture.h"
#include "GifWriter.h"

namespace kinetile {
namespace {

using test::Host;
using test::HostedControl;

std::vector<uint8_t> Animation(int frames = 4) {
    return test::TypicalAnimation({.width = 20, .height = 16, .frames = frames, .transparentIndex = 1});
}

TEST(KinetileObject, NewInstanceShowsItsDefaultsAndTheHostGivenName) {
    HostedControl c = Host();
    EXPECT_EQ(c.String(L"GifFile"), L"(None)");
    EXPECT_EQ(c.Int(L"FrameCount"), 0);
    EXPECT_TRUE(c.Bool(L"AutoSize"));
    EXPECT_EQ(c.Int(L"BackStyle"), 1);
    EXPECT_EQ(c.String(L"Caption"), L"Kinetile1");
    EXPECT_EQ(c.Int(L"Speed"), 1);
    EXPECT_EQ(static_cast<uint32_t>(c.Int(L"BackColor")), 0x8000000Fu);
    EXPECT_TRUE(c.Bool(L"Enabled"));
    EXPECT_EQ(c.Int(L"CurrentFrame"), 0);
}

TEST(KinetileObject, SavingANewInstanceWritesOnlyWhatDiffersFromDefaults) {
    HostedControl c = Host();
    PropertyMap saved;
    ASSERT_EQ(c->Save(saved), S_OK);
    std::set<std::wstring> keys;
    for (const auto& [key, value] : saved.Values()) keys.insert(key);
    EXPECT_EQ(keys, (std::set<std::wstring>{L"AutoSize", L"Caption"}));
    Variant autoSize, caption;
    saved.Read(L"AutoSize", autoSize);
    saved.Read(L"Caption", caption);
    EXPECT_EQ(autoSize.vt(), VT_BOOL);
    EXPECT_EQ(autoSize.get().boolVal, VARIANT_TRUE);
    std::wstring text;
    caption.ToString(text);
    EXPECT_EQ(text, L"Kinetile1");
}

TEST(KinetileObject, ChangedPropertiesAreSavedAndRestored) {
    HostedControl c = Host();
    ASSERT_EQ(c->Put(L"Speed", Variant::Int32(3)), S_OK);
    ASSERT_EQ(c->Put(L"Times", Variant::Int32(-2)), S_OK);
    ASSERT_EQ(c->Put(L"AutoPlay", Variant::Bool(true)), S_OK);
    ASSERT_EQ(c->Put(L"BorderStyle", Variant::Int32(2)), S_OK);
    ASSERT_EQ(c->Put(L"BorderColor", Variant::Int32(0x80000010)), S_OK);
    ASSERT_EQ(c->Put(L"BackStyle", Variant::Int32(0)), S_OK);
    ASSERT_EQ(c->Put(L"HitBehavior", Variant::Int32(2)), S_OK);
    ASSERT_EQ(c->Put(L"AutoConsole", Variant::Int32(1)), S_OK);
    ASSERT_EQ(c->Put(L"UseResMode", Variant::Int32(1)), S_OK);
    ASSERT_EQ(c->Put(L"Caption", Variant::String(L"按钮")), S_OK);
    ASSERT_EQ(c->Put(L"Enabled", Variant::Bool(false)), S_OK);
    ASSERT_EQ(c->Put(L"MousePointer", Variant::Int16(11)), S_OK);
    ASSERT_EQ(c->Put(L"BackColor", Variant::Int32(0x00FF00)), S_OK);
    PropertyMap saved;
    ASSERT_EQ(c->Save(saved), S_OK);

    HostedControl restored = Host(true, &saved);
    EXPECT_EQ(restored.Int(L"Speed"), 3);
    EXPECT_EQ(restored.Int(L"Times"), -2);
    EXPECT_TRUE(restored.Bool(L"AutoPlay"));
    EXPECT_EQ(restored.Int(L"BorderStyle"), 2);
    EXPECT_EQ(static_cast<uint32_t>(restored.Int(L"BorderColor")), 0x80000010u);
    EXPECT_EQ(restored.Int(L"BackStyle"), 0);
    EXPECT_EQ(restored.Int(L"HitBehavior"), 2);
    EXPECT_EQ(restored.Int(L"AutoConsole"), 1);
    EXPECT_EQ(restored.Int(L"UseResMode"), 1);
    EXPECT_EQ(restored.String(L"Caption"), L"按钮");
    EXPECT_FALSE(restored.Bool(L"Enabled"));
    EXPECT_EQ(restored.Int(L"MousePointer"), 11);
    EXPECT_EQ(restored.Int(L"BackColor"), 0x00FF00);
}

TEST(KinetileObject, SavedImageCountsComeFromTheDataNotFromTheSavedNumbers) {
    HostedControl c = Host();
    ASSERT_EQ(c->Put(L"DataArrary", Variant::Bytes(Animation(4))), S_OK);
    PropertyMap saved;
    ASSERT_EQ(c->Save(saved), S_OK);
    saved.Set(L"FrameCount", Variant::Int32(99));  // edited by hand
    saved.Set(L"ImageWidth", Variant::Int32(7));
    HostedControl restored = Host(true, &saved);
    EXPECT_EQ(restored.Int(L"FrameCount"), 4);
    EXPECT_EQ(restored.Int(L"ImageWidth"), 20);
    EXPECT_EQ(restored.Int(L"ImageHeight"), 16);
    EXPECT_EQ(restored.String(L"GifFile"), L"(AniGIF)");
    EXPECT_EQ(restored.Data(), Animation(4));
}

TEST(KinetileObject, HandEditedValuesOfTheWrongKindRestoreWithoutFailing) {
    PropertyMap saved;
    saved.Set(L"Speed", Variant::String(L"fast"));
    saved.Set(L"DataArrary", Variant::String(L"not bytes"));
    saved.Set(L"AutoSize", Variant::String(L"maybe"));
    saved.Set(L"Caption", Variant::Int32(12));
    HostedControl c = Host(true, &saved);
    EXPECT_EQ(c.Int(L"Speed"), 1);
    EXPECT_EQ(c.String(L"GifFile"), L"(None)");
    EXPECT_TRUE(c.Bool(L"AutoSize"));
    EXPECT_EQ(c.String(L"Caption"), L"12");
}

TEST(KinetileObject, SpeedBelowOneIsIgnoredWithoutAnError) {
    HostedControl c = Host();
    ASSERT_EQ(c->Put(L"Speed", Variant::Int32(4)), S_OK);
    for (int32_t value : {0, -5}) {
        EXPECT_EQ(c->Put(L"Speed", Variant::Int32(value)), S_OK);
        EXPECT_EQ(c.Int(L"Speed"), 4);
    }
}

TEST(KinetileObject, ReadOnlyPropertiesFailWith387InTheDesignerAnd382AtRunTime) {
    for (bool userMode : {false, true}) {
        HostedControl c = Host(userMode);
        ASSERT_EQ(c->Put(L"DataArrary", Variant::Bytes(Animation(3))), S_OK);
        for (const wchar_t* name : {L"FrameCount", L"ImageHeight", L"ImageWidth"}) {
            EXCEPINFO error{};
            const int32_t before = c.Int(name);
            EXPECT_EQ(c->Put(name, Variant::Int32(77), &error), DISP_E_EXCEPTION);
            EXPECT_EQ(static_cast<uint32_t>(error.scode), userMode ? 0x800A017Eu : 0x800A0183u);
            ASSERT_NE(error.bstrDescription, nullptr);
            EXPECT_GT(SysStringLen(error.bstrDescription), 0u);
            SysFreeString(error.bstrDescription);
            SysFreeString(error.bstrSource);
            EXPECT_EQ(c.Int(name), before);
        }
    }
}

TEST(KinetileObject, ModeIsAskedEachTimeNotRemembered) {
    HostedControl c = Host(false);
    EXCEPINFO error{};
    c->Put(L"FrameCount", Variant::Int32(1), &error);
    EXPECT_EQ(static_cast<uint32_t>(error.scode), 0x800A0183u);
    c->SetUserMode(true);
    c->Put(L"FrameCount", Variant::Int32(1), &error);
    EXPECT_EQ(static_cast<uint32_t>(error.scode), 0x800A017Eu);
}

TEST(KinetileObject, LetsNotifyTheContainerAndMarkTheControlDirty) {
    HostedControl c = Host();
    ComPtr<IPersistStreamInit> persist;
    ASSERT_EQ(c->Object()->QueryInterface(IID_IPersistStreamInit, persist.put_void()), S_OK);
    EXPECT_EQ(persist->IsDirty(), S_FALSE);
    const int before = c->PropertyChanges();
    ASSERT_EQ(c->Put(L"Times", Variant::Int32(5)), S_OK);
    EXPECT_EQ(c->PropertyChanges(), before + 1);
    DISPID timesId = 0;
    LPOLESTR name[] = {const_cast<LPOLESTR>(L"Times")};
    c->Control()->GetIDsOfNames(IID_NULL, name, 1, 0, &timesId);
    EXPECT_EQ(c->LastChangedProperty(), timesId);
    EXPECT_EQ(persist->IsDirty(), S_OK);
    // A Speed that is ignored changes nothing.
    c->Put(L"Speed", Variant::Int32(0));
    EXPECT_EQ(c->PropertyChanges(), before + 1);
}

// Closes every About box that appears, counting the distinct windows.
struct AboutBoxCloser {
    static inline std::set<HWND> seen;
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        if (HWND box = FindWindowW(L"KinetileAboutBox", nullptr); box && IsWindowVisible(box)) {
            seen.insert(box);
            PostMessageW(box, WM_KEYDOWN, VK_ESCAPE, 0);
        }
    }
};

TEST(KinetileObject, ShowAboutBoxMakesAFreshBoxEachCall) {
    HostedControl c = Host();
    AboutBoxCloser::seen.clear();
    const UINT_PTR timer = SetTimer(nullptr, 0, 30, &AboutBoxCloser::Tick);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(c->Call(L"ShowAboutBox", {}), S_OK);
        EXPECT_EQ(FindWindowW(L"KinetileAboutBox", nullptr), nullptr) << "the box is gone after each call";
    }
    KillTimer(nullptr, timer);
    EXPECT_EQ(AboutBoxCloser::seen.size(), 2u);
}

}  // namespace
}  // namespace kinetile
