// Images reaching the control: DataArrary, LoadGif, LoadResData, GifFile,
// and the Change event.
#include <gtest/gtest.h>

#include "ControlFixture.h"
#include "GifWriter.h"
#include "TempDir.h"
#include "TextConvert.h"

namespace kinetile {
namespace {

using test::Host;
using test::HostedControl;

std::vector<uint8_t> Animation(int frames = 3) {
    return test::TypicalAnimation({.width = 24, .height = 12, .frames = frames, .transparentIndex = 2});
}

// One frame whose transparent entry (1) has the same colour as entry 2, so
// the fix-up rewrites bytes 16..18.
std::vector<uint8_t> DuplicatedTransparent() {
    return test::GifWriter().Signature().Screen(4, 4, {{0, 0, 0}, {9, 9, 9}, {9, 9, 9}, {200, 0, 0}})
        .GraphicControl(5, 1, 1).SolidImage(0, 0, 4, 4, 3).Trailer().Bytes();
}

bool Changed(const HostedControl& c, size_t i, bool newGif) {
    if (i >= c.eventNames.size() || c.eventNames[i] != L"Change") return false;
    bool value = !newGif;
    return c.firstArgs[i].ToBool(value) && value == newGif;
}

TEST(ControlImage, DataArraryInstallsClearsAndReturnsTheBytesUnchanged) {
    HostedControl c = Host();
    test::Record(c);
    const std::vector<uint8_t> dup = DuplicatedTransparent();
    ASSERT_EQ(c->Put(L"DataArrary", Variant::Bytes(dup)), S_OK);
    EXPECT_EQ(c.Data(), dup) << "no fix-up on this path";
    EXPECT_EQ(c.Int(L"FrameCount"), 1);
    EXPECT_EQ(c.String(L"GifFile"), L"(AniGIF)");
    ASSERT_EQ(c->Put(L"DataArrary", Variant()), S_OK);
    ASSERT_EQ(c->Put(L"DataArrary", Variant()), S_OK);
    EXPECT_EQ(c.String(L"GifFile"), L"(None)");
    EXPECT_EQ(c.Int(L"FrameCount"), 0);
    EXPECT_EQ(c.Int(L"ImageWidth"), 0);
    Variant data;
    c->Get(L"DataArrary", data);
    EXPECT_TRUE(data.IsEmpty());
    ASSERT_EQ(c.eventNames.size(), 3u);
    EXPECT_TRUE(Changed(c, 0, true));
    EXPECT_TRUE(Changed(c, 1, false));
    EXPECT_TRUE(Changed(c, 2, false));
}

TEST(ControlImage, DataArraryRefusesValuesThatAreNotByteArrays) {
    HostedControl c = Host();
    ASSERT_EQ(c->Put(L"DataArrary", Variant::Bytes(Animation())), S_OK);
    test::Record(c);
    SAFEARRAY* longs = SafeArrayCreateVector(VT_I4, 0, 4);
    Variant longArray;
    longArray.put()->vt = VT_ARRAY | VT_I4;
    longArray.get().parray = longs;
    for (const Variant& bad : {Variant::String(L"GIF89a"), Variant::Int32(5), longArray}) {
        EXCEPINFO error{};
        EXPECT_EQ(c->Put(L"DataArrary", bad, &error), DISP_E_EXCEPTION);
        EXPECT_EQ(static_cast<uint32_t>(error.scode), 0x800A017Cu);  // invalid property value
        SysFreeString(error.bstrDescription);
        SysFreeString(error.bstrSource);
    }
    EXPECT_EQ(c.Data(), Animation()) << "the image stays";
    EXPECT_TRUE(c.eventNames.empty());
}

TEST(ControlImage, BytesThatAreNoGifAreKeptButShowNoFramesOrSize) {
    HostedControl c = Host();
    ASSERT_EQ(c->Put(L"DataArrary", Variant::Bytes(Animation())), S_OK);
    const std::vector<uint8_t> junk = {'n', 'o', 't', ' ', 'a', ' ', 'g', 'i', 'f'};
    ASSERT_EQ(c->Put(L"DataArrary", Variant::Bytes(junk)), S_OK);
    EXPECT_EQ(c.String(L"GifFile"), L"(AniGIF)");
    EXPECT_EQ(c.Int(L"FrameCount"), 0);
    EXPECT_EQ(c.Int(L"ImageWidth"), 0) << "not the previous image's size";
    EXPECT_EQ(c.Data(), junk);
    test::PumpMessages(50);  // painting an image without frames touches no frame
}

TEST(ControlImage, LoadGifReadsFilesAndReportsFailuresOnlyByItsResult) {
    test::TempDir dir;
    const std::string gif = dir.Write("动画.gif", Animation(5));
    const std::string text = dir.Write("notes.gif", std::string("hello there"));
    HostedControl c = Host();
    test::Record(c);
    auto load = [&](const std::string& path) {
        BSTR name = nullptr;
        const std::wstring wide = Utf8ToWide(path);
        Variant result;
        EXPECT_EQ(c->Call(L"LoadGif", {test::StringArg(name, wide.c_str())}, &result), S_OK);
        SysFreeString(name);
        bool ok = false;
        result.ToBool(ok);
        return ok;
    };
    EXPECT_TRUE(load(gif));
    EXPECT_EQ(c.Int(L"FrameCount"), 5);
    EXPECT_EQ(c.Int(L"ImageWidth"), 24);
    for (const std::string& bad : {dir.Child("missing.gif"), text, test::Utf8(dir.Path())}) EXPECT_FALSE(load(bad)) << bad;
    EXPECT_EQ(c.Int(L"FrameCount"), 5) << "the previous image stays";
    EXPECT_TRUE(load(""));
    EXPECT_EQ(c.String(L"GifFile"), L"(None)");
    ASSERT_EQ(c.eventNames.size(), 2u);
    EXPECT_TRUE(Changed(c, 0, true));
    EXPECT_TRUE(Changed(c, 1, false));
}

TEST(ControlImage, LoadGifFixesTransparentColoursInTheStoredBytes) {
    test::TempDir dir;
    const std::vector<uint8_t> dup = DuplicatedTransparent();
    const std::string path = dir.Write("dup.gif", dup);
    HostedControl c = Host();
    BSTR name = nullptr;
    const std::wstring wide = Utf8ToWide(path);
    Variant result;
    ASSERT_EQ(c->Call(L"LoadGif", {test::StringArg(name, wide.c_str())}, &result), S_OK);
    SysFreeString(name);
    std::vector<uint8_t> stored = c.Data();
    ASSERT_EQ(stored.size(), dup.size());
    EXPECT_NE(stored, dup);
    EXPECT_EQ(std::vector<uint8_t>(stored.begin() + 19, stored.end()), std::vector<uint8_t>(dup.begin() + 19, dup.end()));
}

VARIANT ByteArrayRef(SAFEARRAY*& array) {
    VARIANT v;
    v.vt = VT_ARRAY | VT_UI1 | VT_BYREF;
    v.pparray = &array;
    return v;
}

SAFEARRAY* ArrayOf(const std::vector<uint8_t>& bytes) {
    SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(bytes.size()));
    void* data = nullptr;
    SafeArrayAccessData(array, &data);
    if (!bytes.empty()) memcpy(data, bytes.data(), bytes.size());
    SafeArrayUnaccessData(array);
    return array;
}

std::vector<uint8_t> BytesOf(SAFEARRAY* array) {
    Variant v;
    v.put()->vt = VT_ARRAY | VT_UI1;
    v.get().parray = array;
    std::vector<uint8_t> bytes;
    v.ToBytes(bytes);
    v.get().parray = nullptr;  // the caller still owns the array
    v.get().vt = VT_EMPTY;
    return bytes;
}

TEST(ControlImage, LoadResDataRewritesTheCallersArrayInPlace) {
    HostedControl c = Host();
    test::Record(c);
    const std::vector<uint8_t> dup = DuplicatedTransparent();
    SAFEARRAY* array = ArrayOf(dup);
    Variant result;
    ASSERT_EQ(c->Call(L"LoadResData", {ByteArrayRef(array)}, &result), S_OK);
    bool ok = false;
    result.ToBool(ok);
    EXPECT_TRUE(ok);
    const std::vector<uint8_t> after = BytesOf(array);
    EXPECT_NE(after, dup) << "the transparent entry was made unique in the caller's bytes";
    EXPECT_EQ(std::vector<uint8_t>(after.begin(), after.begin() + 16), std::vector<uint8_t>(dup.begin(), dup.begin() + 16));
    EXPECT_EQ(c.Data(), after);
    EXPECT_EQ(c.Int(L"FrameCount"), 1);
    ASSERT_EQ(c.eventNames.size(), 1u);
    EXPECT_TRUE(Changed(c, 0, true));
    SafeArrayDestroy(array);
}

TEST(ControlImage, LoadResDataRefusesWhatDoesNotBeginWithASignature) {
    HostedControl c = Host();
    ASSERT_EQ(c->Put(L"DataArrary", Variant::Bytes(Animation())), S_OK);
    std::vector<uint8_t> lower = Animation();
    lower[0] = 'g', lower[1] = 'i', lower[2] = 'f';
    for (const std::vector<uint8_t>& bytes : {lower, std::vector<uint8_t>{'G', 'I', 'F', '8'}, std::vector<uint8_t>{}}) {
        SAFEARRAY* array = ArrayOf(bytes);
        Variant result;
        ASSERT_EQ(c->Call(L"LoadResData", {ByteArrayRef(array)}, &result), S_OK);
        EXPECT_EQ(result.get().boolVal, VARIANT_FALSE);
        SafeArrayDestroy(array);
    }
    SAFEARRAY* none = nullptr;
    Variant result;
    EXPECT_EQ(c->Call(L"LoadResData", {ByteArrayRef(none)}, &result), S_OK);
    EXPECT_EQ(result.get().boolVal, VARIANT_FALSE);
    EXPECT_EQ(c.Data(), Animation());
}

TEST(ControlImage, GifFileLetWorksOnlyInTheDesignerAndLoadsNothing) {
    HostedControl designer = Host(false);
    EXPECT_EQ(designer->Put(L"GifFile", Variant::String(L"C:\\some.gif")), S_OK);
    EXPECT_EQ(designer.String(L"GifFile"), L"(None)");
    ASSERT_EQ(designer->Put(L"DataArrary", Variant::Bytes(Animation())), S_OK);
    EXPECT_EQ(designer->Put(L"GifFile", Variant::String(L"other.gif")), S_OK);
    EXPECT_EQ(designer.String(L"GifFile"), L"(AniGIF)");
    EXPECT_EQ(designer->Put(L"GifFile", Variant::String(L"")), S_OK);
    EXPECT_EQ(designer.String(L"GifFile"), L"(None)");
    EXPECT_TRUE(designer.Data().empty());

    HostedControl running = Host(true);
    EXCEPINFO error{};
    EXPECT_EQ(running->Put(L"GifFile", Variant::String(L""), &error), DISP_E_EXCEPTION);
    EXPECT_EQ(static_cast<uint32_t>(error.scode), 0x800A017Eu);
    SysFreeString(error.bstrDescription);
    SysFreeString(error.bstrSource);
}

}  // namespace
}  // namespace kinetile
