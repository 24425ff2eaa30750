// The registered type library and the registration itself, read back
// through the system.
#include <gtest/gtest.h>
#include <windows.h>
#include <oleauto.h>

#include <map>

#include "ComPtr.h"
#include "ControlHarness.h"

namespace kinetile {
namespace {

const GUID kLibId = {0x125FEA69, 0x463F, 0x4CB2, {0xA7, 0x89, 0x04, 0x91, 0xFC, 0x57, 0x97, 0x38}};
const IID kDispatchIid = {0xAB8560CE, 0xC152, 0x400B, {0xAB, 0xC2, 0x68, 0x0A, 0x86, 0x6B, 0xC2, 0xFE}};
const IID kEventsIid = {0xC001D94A, 0xE240, 0x4DA3, {0x95, 0xFB, 0xCB, 0xBE, 0x51, 0xD5, 0x8B, 0x9F}};

bool KeyExists(const wchar_t* key) {
    HKEY handle = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key, 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
    RegCloseKey(handle);
    return true;
}

std::wstring Value(const wchar_t* key, const wchar_t* name) {
    wchar_t data[1024] = {};
    DWORD size = sizeof data;
    if (RegGetValueW(HKEY_CLASSES_ROOT, key, name, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS) return L"<none>";
    return data;
}

const wchar_t* kControlKeys[] = {
    L"KinetileLib.Kinetile",
    L"CLSID\\{8185F5B5-CE27-412A-8E13-AD654E671A94}",
    L"CLSID\\{E6B226BD-BEBB-471C-89D9-69DED8013E36}",
    // The type library key is shared by both architectures: this one's own
    // entry is what registration adds and unregistration takes away.
    sizeof(void*) == 8 ? L"TypeLib\\{125FEA69-463F-4CB2-A789-0491FC579738}\\1.0\\409\\win64"
                       : L"TypeLib\\{125FEA69-463F-4CB2-A789-0491FC579738}\\1.0\\409\\win32",
    L"Interface\\{AB8560CE-C152-400B-ABC2-680A866BC2FE}",
};

TEST(Registration, Regsvr32RegistersAndUnregistersExactlyTheControlsKeys) {
    ASSERT_EQ(test::RunRegsvr32(KINETILE_OCX_PATH, true), 0u);
    for (const wchar_t* key : kControlKeys) EXPECT_FALSE(KeyExists(key)) << "after /u: " << key;
    ASSERT_EQ(test::RunRegsvr32(KINETILE_OCX_PATH, false), 0u);
    for (const wchar_t* key : kControlKeys) EXPECT_TRUE(KeyExists(key)) << "after /s: " << key;

    const wchar_t* clsid = L"CLSID\\{8185F5B5-CE27-412A-8E13-AD654E671A94}";
    std::wstring server = Value((std::wstring(clsid) + L"\\InprocServer32").c_str(), nullptr);
    std::wstring expected = KINETILE_OCX_PATH;
    for (wchar_t& ch : expected) ch = ch == L'/' ? L'\\' : ch;
    EXPECT_EQ(lstrcmpiW(server.c_str(), expected.c_str()), 0) << std::string(server.begin(), server.end());
    EXPECT_EQ(Value((std::wstring(clsid) + L"\\InprocServer32").c_str(), L"ThreadingModel"), L"Apartment");
    EXPECT_EQ(Value((std::wstring(clsid) + L"\\MiscStatus\\1").c_str(), nullptr), L"131473");
    EXPECT_TRUE(KeyExists((std::wstring(clsid) + L"\\Control").c_str()));
    EXPECT_EQ(Value(L"CLSID\\{E6B226BD-BEBB-471C-89D9-69DED8013E36}", nullptr), L"GIF文件");
    CLSID fromProgId{};
    EXPECT_EQ(CLSIDFromProgID(L"KinetileLib.Kinetile", &fromProgId), S_OK);
}

ComPtr<ITypeInfo> InfoOf(REFGUID guid) {
    ComPtr<ITypeLib> library;
    EXPECT_EQ(LoadRegTypeLib(kLibId, 1, 0, 0x409, library.put()), S_OK);
    ComPtr<ITypeInfo> info;
    if (library) library->GetTypeInfoOfGuid(guid, info.put());
    return info;
}

std::wstring Text(BSTR b) {
    std::wstring s = b ? std::wstring(b, SysStringLen(b)) : L"";
    SysFreeString(b);
    return s;
}

// Name, help string and flags of every function of a type, by member id and kind.
struct Member {
    std::wstring name, help;
    WORD flags;
    std::vector<std::wstring> params;
};
std::map<std::pair<MEMBERID, INVOKEKIND>, Member> Members(ITypeInfo* info) {
    std::map<std::pair<MEMBERID, INVOKEKIND>, Member> members;
    TYPEATTR* attr = nullptr;
    info->GetTypeAttr(&attr);
    for (UINT i = 0; i < attr->cFuncs; ++i) {
        FUNCDESC* f = nullptr;
        info->GetFuncDesc(i, &f);
        BSTR name = nullptr, help = nullptr;
        info->GetDocumentation(f->memid, &name, &help, nullptr, nullptr);
        Member m{Text(name), Text(help), f->wFuncFlags, {}};
        BSTR names[16] = {};
        UINT count = 0;
        info->GetNames(f->memid, names, 16, &count);
        for (UINT k = 1; k < count; ++k) m.params.push_back(Text(names[k]));
        SysFreeString(names[0]);
        members[{f->memid, f->invkind}] = m;
        info->ReleaseFuncDesc(f);
    }
    info->ReleaseTypeAttr(attr);
    return members;
}

TEST(TypeLibrary, ChineseDescriptionsReadBackIntact) {
    ASSERT_EQ(GetACP(), 936u) << "the tests run with the Chinese code page";
    auto members = Members(InfoOf(kDispatchIid).get());
    auto help = [&](const wchar_t* wanted) {
        for (const auto& [key, m] : members)
            if (m.name == wanted) return m.help;
        return std::wstring(L"<missing>");
    };
    EXPECT_EQ(help(L"Pause"), L"暂停播放动画");
    EXPECT_EQ(help(L"UseResMode"), L"设置/返回处理图像时在资源的使用上是CPU优先还是内存优先。(本版无效)");
    EXPECT_EQ(help(L"LoadGif"), L"动行时载入Gif格式的图像文件。");
    EXPECT_EQ(help(L"DataArrary"), L"");
}

TEST(TypeLibrary, InterfaceListsMembersWithTheirIdsFlagsAndParameterNames) {
    auto members = Members(InfoOf(kDispatchIid).get());
    const Member& about = members[{-552, INVOKE_FUNC}];
    EXPECT_EQ(about.name, L"ShowAboutBox");
    bool hiddenData = false;
    for (const auto& [key, m] : members) {
        if (m.name == L"DataArrary") hiddenData = (m.flags & FUNCFLAG_FHIDDEN) != 0;
        if (m.name == L"LoadGif") {
            ASSERT_GE(m.params.size(), 1u);
            EXPECT_EQ(m.params[0], L"GifFilename");
        }
        if (m.name == L"LoadResData") {
            ASSERT_GE(m.params.size(), 1u);
            EXPECT_EQ(m.params[0], L"GIFData");
        }
    }
    EXPECT_TRUE(hiddenData);
}

TEST(TypeLibrary, EventsAreNumberedOneToThirteenWithClickTheDefault) {
    auto members = Members(InfoOf(kEventsIid).get());
    const wchar_t* names[] = {L"KeyDown", L"KeyPress", L"KeyUp", L"Change", L"Click", L"DblClick", L"MouseDown",
                              L"MouseMove", L"MouseUp", L"MouseLeave", L"MouseInto", L"Playing", L"PlayStateChange"};
    for (MEMBERID id = 1; id <= 13; ++id) {
        const Member& m = members[{id, INVOKE_FUNC}];
        EXPECT_EQ(m.name, names[id - 1]);
        EXPECT_EQ((m.flags & FUNCFLAG_FUIDEFAULT) != 0, id == 5) << id;
    }
    EXPECT_EQ((members[{12, INVOKE_FUNC}].params), (std::vector<std::wstring>{L"CurrentFrameNumber"}));
}

TEST(TypeLibrary, EnumerationsCarryTheirMemberValues) {
    ComPtr<ITypeLib> library;
    ASSERT_EQ(LoadRegTypeLib(kLibId, 1, 0, 0x409, library.put()), S_OK);
    std::map<std::wstring, std::map<std::wstring, LONG>> enums;
    for (UINT i = 0; i < library->GetTypeInfoCount(); ++i) {
        TYPEKIND kind;
        library->GetTypeInfoType(i, &kind);
        if (kind != TKIND_ENUM) continue;
        ComPtr<ITypeInfo> info;
        library->GetTypeInfo(i, info.put());
        BSTR typeName = nullptr;
        info->GetDocumentation(MEMBERID_NIL, &typeName, nullptr, nullptr, nullptr);
        TYPEATTR* attr = nullptr;
        info->GetTypeAttr(&attr);
        auto& members = enums[Text(typeName)];
        for (UINT k = 0; k < attr->cVars; ++k) {
            VARDESC* v = nullptr;
            info->GetVarDesc(k, &v);
            BSTR name = nullptr;
            info->GetDocumentation(v->memid, &name, nullptr, nullptr, nullptr);
            members[Text(name)] = v->lpvarValue->lVal;
            info->ReleaseVarDesc(v);
        }
        info->ReleaseTypeAttr(attr);
    }
    using M = std::map<std::wstring, LONG>;
    EXPECT_EQ(enums[L"GIFHitBehaviorConst"], (M{{L"AllRegion", 0}, {L"PaintRegion", 2}}));
    EXPECT_EQ(enums[L"GIFBackStyleConst"], (M{{L"Transparent", 0}, {L"Opaque", 1}}));
    EXPECT_EQ(enums[L"GIFBorderStyleConst"], (M{{L"None", 0}, {L"ThreeD", 1}, {L"Flat", 2}}));
    EXPECT_EQ(enums[L"GIFPlayStateConst"], (M{{L"StartPlay", 0}, {L"PausedPlay", 1}, {L"StopPlay", 2}}));
    EXPECT_EQ(enums[L"GIFAutoConsoleConst"], (M{{L"NoControl", 0}, {L"PlayWhenMouseInto", 1}, {L"PlayWhenMouseLeave", 2}}));
    EXPECT_EQ(enums[L"GIFUseResModeConst"], (M{{L"CPU", 0}, {L"Memory", 1}}));
}

}  // namespace
}  // namespace kinetile
