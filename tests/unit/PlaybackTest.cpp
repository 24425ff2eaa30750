#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "Playback.h"

namespace kinetile {
namespace {

// A control as the engine sees it, on a simulated clock: the timer fires
// `interval` ms after it was last set while enabled.
class FakeControl final : public PlaybackHost {
public:
    explicit FakeControl(std::vector<int32_t> delays) : delays(std::move(delays)) {}

    int32_t FrameCount() override { return static_cast<int32_t>(delays.size()); }
    int32_t FrameDelay(int32_t frame) override { return delays.at(static_cast<size_t>(frame)); }
    int32_t Speed() override { return speed; }
    int32_t Times() override { return times; }
    void RenderFrame(int32_t frame) override {
        log.push_back("render " + std::to_string(frame));
        drawn.push_back({frame, now});
    }
    void Refresh() override {}
    void RaisePlaying(int32_t& frame) override {
        log.push_back("Playing " + std::to_string(frame));
        if (onPlaying) onPlaying(frame);
    }
    void RaisePlayStateChange(PlayState state) override {
        log.push_back("PlayStateChange " + std::to_string(state));
        if (onStateChange) onStateChange(state);
    }
    void SetTimer(bool enabled, uint32_t intervalMs) override {
        timerOn = enabled;
        next = now + intervalMs;
    }

    // Runs the clock until `until` ms, ticking the engine when the timer is due.
    void RunUntil(Playback& engine, int64_t until) {
        while (timerOn && next <= until) {
            now = next;
            engine.Tick();
        }
        now = until;
    }

    std::vector<int32_t> delays;
    int32_t speed = 1, times = 0;
    std::vector<std::string> log;
    std::vector<std::pair<int32_t, int64_t>> drawn;  // frame, time drawn
    std::function<void(int32_t&)> onPlaying;
    std::function<void(PlayState)> onStateChange;
    bool timerOn = false;
    int64_t now = 0, next = 0;
};

std::vector<std::pair<int32_t, int64_t>> Drawn(std::vector<int32_t> delays, int32_t speed, int64_t until) {
    FakeControl c(std::move(delays));
    c.speed = speed;
    Playback engine(c);
    engine.Play();
    c.RunUntil(engine, until);
    return c.drawn;
}

TEST(Playback, EachFrameStaysForTheNextFramesDelayTimesSpeed) {
    using Drawings = std::vector<std::pair<int32_t, int64_t>>;
    EXPECT_EQ(Drawn({100, 200, 300}, 1, 1000), (Drawings{{0, 1}, {1, 201}, {2, 501}, {0, 601}, {1, 801}}));
    EXPECT_EQ(Drawn({100, 200, 300}, 3, 2500), (Drawings{{0, 1}, {1, 601}, {2, 1501}, {0, 1801}, {1, 2401}}));
    // A single frame without delay is redrawn at the fastest rate.
    EXPECT_EQ(Drawn({0}, 1, 4), (Drawings{{0, 1}, {0, 2}, {0, 3}, {0, 4}}));
}

TEST(Playback, TimesEndsTheLastCycleInPauseOnTheLastFrame) {
    FakeControl c({10, 10, 10});
    c.times = 2;
    Playback engine(c);
    engine.Play();
    c.RunUntil(engine, 10000);
    EXPECT_EQ(c.log, (std::vector<std::string>{
                         "PlayStateChange 0", "render 0", "Playing 0", "render 1", "Playing 1", "render 2", "Playing 2",
                         "render 0", "Playing 0", "render 1", "Playing 1", "render 2", "Playing 2",
                         "PlayStateChange 1"}));
    EXPECT_FALSE(engine.Playing());
    EXPECT_EQ(engine.CurrentFrame(), 0);
    // The next Play starts a new series at frame 0.
    c.log.clear();
    engine.Play();
    c.RunUntil(engine, 20000);
    EXPECT_EQ(std::count(c.log.begin(), c.log.end(), "Playing 0"), 2);
}

TEST(Playback, TimesZeroOrNegativePlaysWithoutEnd) {
    for (int32_t times : {0, -1}) {
        FakeControl c({5, 5});
        c.times = times;
        Playback engine(c);
        engine.Play();
        c.RunUntil(engine, 1000);
        EXPECT_TRUE(engine.Playing());
        EXPECT_GT(c.drawn.size(), 150u);
    }
}

TEST(Playback, PauseKeepsTheFrameAndPlayResumesAfterIt) {
    FakeControl c({50, 50, 50, 50});
    Playback engine(c);
    engine.Play();
    c.RunUntil(engine, 60);  // frames 0 and 1 shown
    engine.Pause();
    EXPECT_EQ(engine.CurrentFrame(), 2);
    engine.Halt();  // after Pause: nothing
    EXPECT_EQ(engine.CurrentFrame(), 2);
    c.drawn.clear();
    engine.Play();
    c.RunUntil(engine, 70);
    ASSERT_FALSE(c.drawn.empty());
    EXPECT_EQ(c.drawn[0].first, 2);
    EXPECT_EQ(std::count(c.log.begin(), c.log.end(), "PlayStateChange 1"), 1);
    EXPECT_EQ(std::count(c.log.begin(), c.log.end(), "PlayStateChange 0"), 2);
    EXPECT_EQ(std::count(c.log.begin(), c.log.end(), "PlayStateChange 2"), 0);
}

TEST(Playback, HaltRewindsShowsFrameZeroAndReportsStop) {
    FakeControl c({20, 20, 20});
    Playback engine(c);
    engine.Play();
    c.RunUntil(engine, 30);
    c.log.clear();
    engine.Halt();
    EXPECT_EQ(c.log, (std::vector<std::string>{"render 0", "PlayStateChange 2"}));
    EXPECT_EQ(engine.CurrentFrame(), 0);
    EXPECT_FALSE(engine.Playing());
}

TEST(Playback, CallsThatChangeNothingRaiseNothing) {
    FakeControl c({10});
    Playback engine(c);
    engine.Pause();
    engine.Halt();
    engine.Play();
    engine.Play();
    EXPECT_EQ(c.log, (std::vector<std::string>{"PlayStateChange 0"}));
    FakeControl empty({});
    Playback none(empty);
    none.Play();  // no frames: nothing to play
    EXPECT_FALSE(none.Playing());
    EXPECT_TRUE(empty.log.empty());
}

TEST(Playback, APauseFromTheStartHandlerFindsNothingToStop) {
    FakeControl c({10, 10});
    Playback engine(c);
    c.onStateChange = [&](PlayState s) {
        if (s == kStartPlay) engine.Pause();
    };
    engine.Play();
    EXPECT_TRUE(engine.Playing());
    EXPECT_EQ(c.log, (std::vector<std::string>{"PlayStateChange 0"}));
}

TEST(Playback, APlayingHandlerMovesTheFrame) {
    FakeControl c({10, 10, 10, 10});
    c.times = 5;
    Playback engine(c);
    // Jumping to the last frame completes the cycle at once.
    c.onPlaying = [&](int32_t& frame) { frame = 3; };
    engine.Play();
    c.RunUntil(engine, 1);
    EXPECT_EQ(engine.CurrentFrame(), 0);
    EXPECT_EQ(engine.LoopCount(), 1);
    // A frame the image does not have also ends the cycle, and is never drawn.
    for (int32_t bad : {4, 99, -3}) {
        c.onPlaying = [bad](int32_t& frame) { frame = bad; };
        c.drawn.clear();
        c.RunUntil(engine, c.now + 10);
        EXPECT_EQ(engine.CurrentFrame(), 0) << bad;
        for (auto [frame, when] : c.drawn) EXPECT_LT(frame, 4);
    }
}

TEST(Playback, APauseOrHaltInsideTheTickStillLeavesItConsistent) {
    FakeControl c({10, 10, 10});
    Playback engine(c);
    c.onPlaying = [&](int32_t&) { engine.Pause(); };
    engine.Play();
    c.RunUntil(engine, 100);
    EXPECT_FALSE(engine.Playing());
    EXPECT_EQ(engine.CurrentFrame(), 1) << "the tick still advanced";
    EXPECT_EQ(c.drawn.size(), 1u);
}

TEST(Playback, ResetStopsWithoutAnEvent) {
    FakeControl c({10, 10});
    Playback engine(c);
    engine.Play();
    c.RunUntil(engine, 15);
    c.log.clear();
    engine.Reset();
    EXPECT_FALSE(engine.Playing());
    EXPECT_EQ(engine.CurrentFrame(), 0);
    EXPECT_TRUE(c.log.empty());
}

TEST(Playback, IntervalsStayWithinWhatTheTimerTakes) {
    struct Case {
        int32_t delay, speed;
        uint32_t interval;
    } cases[] = {{0, 1, 1}, {100, 1, 100}, {100, 3, 300}, {32767, 2, 65534}, {32767, 3, 65535},
                 {30000, 100000, 65535}, {100, 0, 1}, {100, -5, 1}, {-10, 1, 1}};
    for (const Case& c : cases) EXPECT_EQ(Playback::IntervalFor(c.delay, c.speed), c.interval) << c.delay << "x" << c.speed;
}

}  // namespace
}  // namespace kinetile
