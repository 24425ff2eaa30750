// Saving and restoring through each persistence interface, and the control
// as a plain automation object without a container.
#include <gtest/gtest.h>

#include "ControlFixture.h"
#include "GifWriter.h"
#include "KinetileLib.h"
#include "MapPropertyBag.h"

namespace kinetile {

static const CLSID kKinetile = {0x8185F5B5, 0xCE27, 0x412A, {0x8E, 0x13, 0xAD, 0x65, 0x4E, 0x67, 0x1A, 0x94}};

namespace {

using test::Host;
using test::HostedControl;

std::vector<uint8_t> Animation() {
    return test::TypicalAnimation({.width = 30, .height = 10, .frames = 6, .transparentIndex = 3});
}

void Configure(IDispatch* control) {
    ASSERT_EQ(DispatchPut(control, L"DataArrary", Variant::Bytes(Animation())), S_OK);
    ASSERT_EQ(DispatchPut(control, L"Speed", Variant::Int32(2)), S_OK);
    ASSERT_EQ(DispatchPut(control, L"Caption", Variant::String(L"标题")), S_OK);
    ASSERT_EQ(DispatchPut(control, L"BorderStyle", Variant::Int32(1)), S_OK);
}

void ExpectConfigured(IDispatch* control) {
    Variant v;
    std::vector<uint8_t> bytes;
    ASSERT_EQ(DispatchGet(control, L"DataArrary", v), S_OK);
    ASSERT_TRUE(v.ToBytes(bytes));
    EXPECT_EQ(bytes, Animation()) << "the GIF bytes round-trip unchanged";
    int32_t n = 0;
    DispatchGet(control, L"FrameCount", v);
    v.ToInt32(n);
    EXPECT_EQ(n, 6);
    DispatchGet(control, L"Speed", v);
    v.ToInt32(n);
    EXPECT_EQ(n, 2);
    DispatchGet(control, L"BorderStyle", v);
    v.ToInt32(n);
    EXPECT_EQ(n, 1);
    std::wstring caption;
    DispatchGet(control, L"Caption", v);
    v.ToString(caption);
    EXPECT_EQ(caption, L"标题");
}

ComPtr<IDispatch> NewObject() {
    ComPtr<IDispatch> control;
    EXPECT_EQ(CoCreateInstance(kKinetile, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, control.put_void()), S_OK);
    return control;
}

TEST(ControlPersistence, PropertyBagRoundTrip) {
    ComPtr<IDispatch> original = NewObject();
    ComPtr<IPersistPropertyBag> save;
    ASSERT_EQ(original->QueryInterface(IID_IPersistPropertyBag, save.put_void()), S_OK);
    ASSERT_EQ(save->InitNew(), S_OK);
    Configure(original.get());
    PropertyMap saved;
    auto bag = ComPtr<IPropertyBag>::Adopt(new MapPropertyBag(saved));
    ASSERT_EQ(save->Save(bag.get(), TRUE, TRUE), S_OK);

    ComPtr<IDispatch> copy = NewObject();
    ComPtr<IPersistPropertyBag> load;
    ASSERT_EQ(copy->QueryInterface(IID_IPersistPropertyBag, load.put_void()), S_OK);
    ASSERT_EQ(load->Load(bag.get(), nullptr), S_OK);
    ExpectConfigured(copy.get());
}

TEST(ControlPersistence, StreamRoundTripAndSizeMax) {
    ComPtr<IDispatch> original = NewObject();
    ComPtr<IPersistStreamInit> save;
    ASSERT_EQ(original->QueryInterface(IID_IPersistStreamInit, save.put_void()), S_OK);
    ASSERT_EQ(save->InitNew(), S_OK);
    Configure(original.get());
    ComPtr<IStream> stream;
    ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, stream.put()), S_OK);
    ASSERT_EQ(save->Save(stream.get(), TRUE), S_OK);
    EXPECT_EQ(save->IsDirty(), S_FALSE);
    ULARGE_INTEGER max{}, written{};
    save->GetSizeMax(&max);
    LARGE_INTEGER zero{};
    stream->Seek(zero, STREAM_SEEK_CUR, &written);
    EXPECT_EQ(max.QuadPart, written.QuadPart);

    stream->Seek(zero, STREAM_SEEK_SET, nullptr);
    ComPtr<IDispatch> copy = NewObject();
    ComPtr<IPersistStreamInit> load;
    ASSERT_EQ(copy->QueryInterface(IID_IPersistStreamInit, load.put_void()), S_OK);
    ASSERT_EQ(load->Load(stream.get()), S_OK);
    ExpectConfigured(copy.get());
}

TEST(ControlPersistence, AStreamThatIsNotOursIsRefusedCleanly) {
    const std::vector<std::vector<uint8_t>> junk = {{}, {1, 2, 3}, std::vector<uint8_t>(64, 0xFF),
                                                    {'K', 'T', 'P', 'B', 1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x7F}};
    for (const auto& bytes : junk) {
        ComPtr<IStream> stream;
        CreateStreamOnHGlobal(nullptr, TRUE, stream.put());
        ULONG done = 0;
        if (!bytes.empty()) stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &done);
        LARGE_INTEGER zero{};
        stream->Seek(zero, STREAM_SEEK_SET, nullptr);
        ComPtr<IDispatch> control = NewObject();
        ComPtr<IPersistStreamInit> load;
        control->QueryInterface(IID_IPersistStreamInit, load.put_void());
        EXPECT_TRUE(FAILED(load->Load(stream.get())));
        Variant file;
        EXPECT_EQ(DispatchGet(control.get(), L"GifFile", file), S_OK);
    }
}

TEST(ControlPersistence, FormFileKeepsTheControlBetweenRuns) {
    HostedControl c = Host();
    Configure(c->Control());
    PropertyMap saved;
    ASSERT_EQ(c->Save(saved), S_OK);
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    const std::wstring path = std::wstring(folder) + L"kinetile-form-test.bin";
    ASSERT_TRUE(SavePropertyFile(saved, path));
    PropertyMap restored;
    ASSERT_TRUE(LoadPropertyFile(restored, path));
    DeleteFileW(path.c_str());
    HostedControl again = Host(true, &restored);
    ExpectConfigured(again->Control());
}

TEST(ControlRobustness, WithoutAContainerEverythingWorksOrFailsCleanly) {
    ComPtr<IDispatch> control = NewObject();  // never given a site, never activated
    Variant v;
    std::wstring file;
    ASSERT_EQ(DispatchGet(control.get(), L"GifFile", v), S_OK);
    v.ToString(file);
    EXPECT_EQ(file, L"(None)");
    EXPECT_EQ(DispatchPut(control.get(), L"DataArrary", Variant::Bytes(Animation())), S_OK);
    for (const wchar_t* method : {L"Play", L"Pause", L"Halt"}) EXPECT_EQ(DispatchCall(control.get(), method, {}), S_OK);
    EXPECT_EQ(DispatchPut(control.get(), L"AutoSize", Variant::Bool(true)), S_OK);
    EXPECT_EQ(DispatchPut(control.get(), L"BorderStyle", Variant::Int32(2)), S_OK);
    // No container: the control counts as running.
    EXCEPINFO error{};
    EXPECT_EQ(DispatchPut(control.get(), L"FrameCount", Variant::Int32(3), &error), DISP_E_EXCEPTION);
    EXPECT_EQ(static_cast<uint32_t>(error.scode), 0x800A017Eu);
    SysFreeString(error.bstrDescription);
    SysFreeString(error.bstrSource);

    // Drawing through the view works on any DC, with or without a window.
    ComPtr<IViewObject> view;
    ASSERT_EQ(control->QueryInterface(IID_IViewObject, view.put_void()), S_OK);
    HDC dc = CreateCompatibleDC(nullptr);
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 40, 40);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECTL bounds{0, 0, 40, 40};
    EXPECT_EQ(view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc, &bounds, nullptr, nullptr, 0), S_OK);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

TEST(ControlRobustness, DllCanUnloadNowOnceEveryObjectIsGone) {
    HMODULE module = GetModuleHandleW(L"Kinetile.ocx");
    ASSERT_NE(module, nullptr);
    using CanUnload = HRESULT(WINAPI*)();
    auto canUnload = reinterpret_cast<CanUnload>(reinterpret_cast<void*>(GetProcAddress(module, "DllCanUnloadNow")));
    ASSERT_NE(canUnload, nullptr);
    {
        ComPtr<IDispatch> control = NewObject();
        EXPECT_EQ(canUnload(), S_FALSE);
    }
    EXPECT_EQ(canUnload(), S_OK);
}

}  // namespace
}  // namespace kinetile

namespace kinetile {
namespace {

TEST(PropertyPage, TheControlNamesItsPageAndTheServerMakesIt) {
    const CLSID page = {0xE6B226BD, 0xBEBB, 0x471C, {0x89, 0xD9, 0x69, 0xDE, 0xD8, 0x01, 0x3E, 0x36}};
    ComPtr<ISpecifyPropertyPages> specify;
    ASSERT_EQ(CoCreateInstance(kKinetile, nullptr, CLSCTX_INPROC_SERVER, IID_ISpecifyPropertyPages, specify.put_void()), S_OK);
    CAUUID pages{};
    ASSERT_EQ(specify->GetPages(&pages), S_OK);
    ASSERT_EQ(pages.cElems, 1u);
    EXPECT_TRUE(IsEqualCLSID(pages.pElems[0], page));
    CoTaskMemFree(pages.pElems);

    ComPtr<IPropertyPage> propertyPage;
    ASSERT_EQ(CoCreateInstance(page, nullptr, CLSCTX_INPROC_SERVER, IID_IPropertyPage, propertyPage.put_void()), S_OK);
    PROPPAGEINFO info{};
    ASSERT_EQ(propertyPage->GetPageInfo(&info), S_OK);
    EXPECT_STREQ(info.pszTitle, L"选择 GIF 文件");
    EXPECT_EQ(info.size.cx, 315);
    EXPECT_EQ(info.size.cy, 333);
    CoTaskMemFree(info.pszTitle);
}

}  // namespace
}  // namespace kinetile

namespace kinetile {
namespace {

TEST(ControlRobustness, WithoutAWindowTheFrameBufferKeepsItsColours) {
    ComPtr<IDispatch> control;
    ASSERT_EQ(CoCreateInstance(kKinetile, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, control.put_void()), S_OK);
    ASSERT_EQ(DispatchPut(control.get(), L"DataArrary", Variant::Bytes(test::TypicalAnimation({.frames = 1}))), S_OK);
    ComPtr<IViewObject> view;
    ASSERT_EQ(control->QueryInterface(IID_IViewObject, view.put_void()), S_OK);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 8, -6, 1, 32, BI_RGB};
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, dib);
    RECTL bounds{0, 0, 8, 6};
    ASSERT_EQ(view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc, &bounds, nullptr, nullptr, 0), S_OK);
    const COLORREF pixel = GetPixel(dc, 4, 3);
    SelectObject(dc, old);
    DeleteObject(dib);
    DeleteDC(dc);
    EXPECT_EQ(static_cast<int32_t>(pixel), test::DistinctPalette(4)[0].Value()) << "not a one-bit buffer";
}

}  // namespace
}  // namespace kinetile
