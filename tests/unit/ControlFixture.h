#pragma once
// Hosting the registered control for a test, and reading it back.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "AxHost.h"
#include "ControlHarness.h"
#include "Variant.h"

namespace kinetile::test {

struct HostedControl {
    std::unique_ptr<HostWindow> window;
    std::unique_ptr<AxHost> host;
    std::vector<std::wstring> eventNames;
    std::vector<Variant> firstArgs;

    AxHost* operator->() const { return host.get(); }

    int32_t Int(const wchar_t* name) const {
        Variant v;
        EXPECT_EQ(host->Get(name, v), S_OK) << "get " << std::string(name, name + wcslen(name));
        int32_t out = -999;
        v.ToInt32(out);
        return out;
    }
    bool Bool(const wchar_t* name) const {
        Variant v;
        EXPECT_EQ(host->Get(name, v), S_OK);
        return v.vt() == VT_BOOL && v.get().boolVal != VARIANT_FALSE;
    }
    std::wstring String(const wchar_t* name) const {
        Variant v;
        EXPECT_EQ(host->Get(name, v), S_OK);
        std::wstring out;
        v.ToString(out);
        return out;
    }
    std::vector<uint8_t> Data() const {
        Variant v;
        EXPECT_EQ(host->Get(L"DataArrary", v), S_OK);
        std::vector<uint8_t> bytes;
        v.ToBytes(bytes);
        return bytes;
    }
};

// A control on a window (activated in place), new or restored from `saved`.
inline HostedControl Host(bool userMode = true, const PropertyMap* saved = nullptr) {
    HostedControl c;
    c.window = std::make_unique<HostWindow>();
    HRESULT hr = E_FAIL;
    c.host = AxHost::Create(c.window->get(), L"KinetileLib.Kinetile", RECT{10, 10, 50, 50},
                            Ambient{userMode, L"Kinetile1"}, saved, &hr);
    EXPECT_TRUE(c.host) << std::hex << hr;
    return c;
}

inline void Record(HostedControl& c) {
    auto* names = &c.eventNames;
    auto* args = &c.firstArgs;
    c.host->OnEvent([names, args](const ControlEvent& e) {
        names->push_back(e.name);
        Variant first;
        if (!e.args.empty()) {
            VARIANT* a = e.args[0];
            // Events pass their arguments by reference: copy the value itself.
            if (a->vt & VT_BYREF) VariantCopyInd(&first.get(), a);
            else first = Variant(*a);
        }
        args->push_back(first);
    });
}

inline VARIANT StringArg(BSTR& holder, const wchar_t* text) {
    holder = SysAllocString(text);
    VARIANT v;
    v.vt = VT_BSTR | VT_BYREF;
    v.pbstrVal = &holder;
    return v;
}

}  // namespace kinetile::test
