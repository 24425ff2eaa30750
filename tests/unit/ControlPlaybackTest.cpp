// Playback on the real timer (the exact timing is tested on the engine).
#include <gtest/gtest.h>

#include <functional>

#include "ControlFixture.h"
#include "GifWriter.h"

namespace kinetile {
namespace {

using test::Host;
using test::HostedControl;

std::vector<std::wstring> Describe(const HostedControl& c) {
    std::vector<std::wstring> out;
    for (size_t i = 0; i < c.eventNames.size(); ++i) {
        int32_t value = -1;
        bool flag = false;
        std::wstring arg;
        if (c.firstArgs[i].vt() == VT_BOOL) arg = c.firstArgs[i].ToBool(flag) && flag ? L" True" : L" False";
        else if (c.firstArgs[i].ToInt32(value)) arg = L" " + std::to_wstring(value);
        out.push_back(c.eventNames[i] + arg);
    }
    return out;
}

void PumpUntil(const std::function<bool()>& done, DWORD limitMs = 3000) {
    const DWORD start = GetTickCount();
    while (!done() && GetTickCount() - start < limitMs) test::PumpMessages(5);
}

TEST(ControlPlayback, TimesTwoPlaysTwoCyclesThenPausesOnTheLastFrame) {
    HostedControl c = Host();
    ASSERT_EQ(c->Put(L"DataArrary", Variant::Bytes(test::TypicalAnimation({.frames = 3, .delayHundredths = 2}))), S_OK);
    ASSERT_EQ(c->Put(L"Times", Variant::Int32(2)), S_OK);
    test::Record(c);
    ASSERT_EQ(c->Call(L"Play", {}), S_OK);
    PumpUntil([&] { return c.eventNames.size() >= 8; });
    EXPECT_EQ(Describe(c), (std::vector<std::wstring>{L"PlayStateChange 0", L"Playing 0", L"Playing 1", L"Playing 2",
                                                      L"Playing 0", L"Playing 1", L"Playing 2", L"PlayStateChange 1"}));
    EXPECT_EQ(c.Int(L"CurrentFrame"), 0);
}

TEST(ControlPlayback, HaltRewindsAndANewImageStopsWithoutAnEvent) {
    HostedControl c = Host();
    const auto gif = test::TypicalAnimation({.frames = 4, .delayHundredths = 1});
    ASSERT_EQ(c->Put(L"DataArrary", Variant::Bytes(gif)), S_OK);
    test::Record(c);
    c->Call(L"Play", {});
    PumpUntil([&] { return c.eventNames.size() >= 3; });
    c->Call(L"Halt", {});
    EXPECT_EQ(c.eventNames.back(), L"PlayStateChange");
    EXPECT_EQ(c.Int(L"CurrentFrame"), 0);

    c->Call(L"Play", {});
    PumpUntil([&] { return c.eventNames.size() >= 6; });
    c.eventNames.clear();
    c.firstArgs.clear();
    ASSERT_EQ(c->Put(L"DataArrary", Variant::Bytes(gif)), S_OK);
    test::PumpMessages(60);
    EXPECT_EQ(Describe(c), (std::vector<std::wstring>{L"Change True"})) << "no PlayStateChange, no more Playing";
}

TEST(ControlPlayback, AutoPlayStartsAtRunTimeBeforeChangeIsRaised) {
    for (bool userMode : {true, false}) {
        HostedControl c = Host(userMode);
        ASSERT_EQ(c->Put(L"AutoPlay", Variant::Bool(true)), S_OK);
        test::Record(c);
        ASSERT_EQ(c->Put(L"DataArrary", Variant::Bytes(test::TypicalAnimation({.frames = 2}))), S_OK);
        const auto events = Describe(c);
        if (userMode) {
            EXPECT_EQ(events, (std::vector<std::wstring>{L"PlayStateChange 0", L"Change True"}));
        } else {
            EXPECT_EQ(events, (std::vector<std::wstring>{L"Change True"})) << "no playback in the designer";
        }
    }
}

TEST(ControlPlayback, PlayWithoutAnImageDoesNothing) {
    HostedControl c = Host();
    test::Record(c);
    EXPECT_EQ(c->Call(L"Play", {}), S_OK);
    test::PumpMessages(20);
    EXPECT_TRUE(c.eventNames.empty());
}

}  // namespace
}  // namespace kinetile
