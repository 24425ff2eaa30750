// The control playing on a form: cost per shown frame, many controls at
// once, and memory held for a large animation. Needs the control registered
// (scripts/bench.sh does it). Prints tables; not a test.
#include <windows.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

#include "AxHost.h"
#include "ControlHarness.h"
#include "GifWriter.h"

using namespace kinetile;

namespace {

std::vector<uint8_t> Animation(uint16_t w, uint16_t h, int frames, uint16_t delayHundredths) {
    test::GifWriter writer;
    writer.Signature().Screen(w, h, test::DistinctPalette(256)).Loop();
    std::vector<uint8_t> pixels(size_t{w} * h);
    for (int f = 0; f < frames; ++f) {
        for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint8_t>((i / 5 + static_cast<size_t>(f) * 17) & 0xFF);
        writer.GraphicControl(delayHundredths, 1, 0).Image(0, 0, w, h, pixels);
    }
    return writer.Trailer().Bytes();
}

double CpuSeconds() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto seconds = [](FILETIME t) { return (static_cast<double>(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) / 1e7; };
    return seconds(kernel) + seconds(user);
}

HWND Form(int w, int h) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"BenchForm";
    RegisterClassW(&wc);
    return CreateWindowExW(0, wc.lpszClassName, L"bench", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, w, h, nullptr,
                           nullptr, wc.hInstance, nullptr);
}

struct Run {
    long shown = 0;
    double cpu = 0;
};

// `count` controls playing `gif` for `milliseconds`.
Run Play(HWND form, const std::vector<uint8_t>& gif, int count, int cellW, int cellH, DWORD milliseconds) {
    std::vector<std::unique_ptr<AxHost>> hosts;
    long shown = 0;
    const int perRow = 1200 / cellW;
    for (int i = 0; i < count; ++i) {
        const int x = (i % perRow) * cellW, y = (i / perRow) * cellH;
        auto host = AxHost::Create(form, L"KinetileLib.Kinetile", RECT{x, y, x + cellW, y + cellH}, Ambient{true, L"K"}, nullptr);
        if (!host) {
            std::fprintf(stderr, "the control could not be created; is it registered?\n");
            std::exit(2);
        }
        host->Put(L"BackStyle", Variant::Int32(1));
        host->Put(L"DataArrary", Variant::Bytes(gif));
        host->OnEvent([&shown](const ControlEvent& e) {
            if (e.id == 12) ++shown;  // Playing
        });
        hosts.push_back(std::move(host));
    }
    test::PumpMessages(100);
    shown = 0;
    const double cpu0 = CpuSeconds();
    for (auto& host : hosts) host->Call(L"Play", {});
    test::PumpMessages(milliseconds);
    Run run{shown, CpuSeconds() - cpu0};
    for (auto& host : hosts) host->Call(L"Halt", {});
    return run;
}

SIZE_T WorkingSet() {
    PROCESS_MEMORY_COUNTERS counters{sizeof counters};
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.WorkingSetSize;
}

}  // namespace

int main() {
    OleInitialize(nullptr);
    HWND form = Form(1200, 900);
    const char* arch = sizeof(void*) == 8 ? "x86_64" : "i686";

    std::printf("Cost per shown frame, frames with no delay (%s)\n\n", arch);
    std::printf("%-11s %12s %14s\n", "size", "frames/s", "CPU ms/frame");
    for (auto [w, h] : {std::pair<uint16_t, uint16_t>{89, 98}, {480, 360}}) {
        Run run = Play(form, Animation(w, h, 8, 0), 1, w, h, 2000);
        std::printf("%4u x %-4u %12.0f %14.2f\n", w, h, run.shown / 2.0, run.shown ? run.cpu * 1000 / run.shown : 0.0);
    }

    std::printf("\nMany controls playing a 10 ms-delay 89 x 98 animation for 5 s (%s)\n\n", arch);
    std::printf("%9s %14s %14s %10s %14s\n", "controls", "frames asked", "frames shown", "shown", "CPU ms/frame");
    const std::vector<uint8_t> fast = Animation(89, 98, 8, 1);
    for (int n : {1, 10, 50, 100}) {
        Run run = Play(form, fast, n, 100, 100, 5000);
        const double asked = n * 5000.0 / 10.0;
        std::printf("%9d %14.0f %14ld %9.1f%% %14.2f\n", n, asked, run.shown, 100.0 * run.shown / asked,
                    run.shown ? run.cpu * 1000 / run.shown : 0.0);
    }

    std::printf("\nMemory for one control holding a 300-frame 640 x 480 animation (%s)\n\n", arch);
    const std::vector<uint8_t> big = Animation(640, 480, 300, 4);
    const SIZE_T before = WorkingSet();
    {
        auto host = AxHost::Create(form, L"KinetileLib.Kinetile", RECT{0, 0, 640, 480}, Ambient{true, L"K"}, nullptr);
        host->Put(L"DataArrary", Variant::Bytes(big));
        host->Call(L"Play", {});
        test::PumpMessages(1000);
        const SIZE_T after = WorkingSet();
        std::printf("%-34s %10.1f MB\n", "GIF file", big.size() / 1048576.0);
        std::printf("%-34s %10.1f MB\n", "working set added by the control", (after - before) / 1048576.0);
        std::printf("%-34s %10.1f MB\n", "decoded frames, if all were kept", 300.0 * 640 * 480 * 4 / 1048576.0);
    }
    DestroyWindow(form);
    OleUninitialize();
    return 0;
}
