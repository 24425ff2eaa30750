#include <gtest/gtest.h>

#include <algorithm>

#include "Registration.h"

namespace kinetile {
namespace {

TEST(Registration, EveryValueLiesBelowAKeyThatUnregistrationRemoves) {
    const auto keys = ControlRegistryKeys();
    for (const RegistryValue& value : ControlRegistryValues(L"C:\\x\\Kinetile.ocx")) {
        const bool covered = std::any_of(keys.begin(), keys.end(), [&](const std::wstring& key) {
            return value.key == key || value.key.rfind(key + L"\\", 0) == 0;
        });
        EXPECT_TRUE(covered) << std::string(value.key.begin(), value.key.end());
    }
}

TEST(Registration, ControlClassCarriesServerThreadingFlagsAndToolboxBitmap) {
    const auto values = ControlRegistryValues(L"C:\\x\\Kinetile.ocx");
    auto find = [&](const std::wstring& key, const std::wstring& name) -> std::wstring {
        for (const RegistryValue& v : values)
            if (v.key == key && v.name == name) return v.data;
        return L"<missing>";
    };
    const std::wstring clsid = L"CLSID\\{8185F5B5-CE27-412A-8E13-AD654E671A94}";
    EXPECT_EQ(find(clsid + L"\\InprocServer32", L""), L"C:\\x\\Kinetile.ocx");
    EXPECT_EQ(find(clsid + L"\\InprocServer32", L"ThreadingModel"), L"Apartment");
    EXPECT_EQ(find(clsid + L"\\MiscStatus\\1", L""), std::to_wstring(0x20191));
    EXPECT_EQ(find(clsid + L"\\ToolboxBitmap32", L""), L"C:\\x\\Kinetile.ocx, 30000");
    EXPECT_EQ(find(clsid + L"\\Control", L""), L"");
    EXPECT_EQ(find(L"KinetileLib.Kinetile\\CLSID", L""), L"{8185F5B5-CE27-412A-8E13-AD654E671A94}");
    EXPECT_EQ(find(L"CLSID\\{E6B226BD-BEBB-471C-89D9-69DED8013E36}", L""), L"GIF文件");
}

}  // namespace
}  // namespace kinetile
