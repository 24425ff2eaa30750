// Per-frame cost of showing a frame the control's way (cut out the frame,
// have the system decode it, draw it into the frame buffer), next to one plain
// BitBlt of the same size. Prints a table; not a test.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <vector>

#include "Drawing.h"
#include "FrameRender.h"
#include "GdiHandles.h"
#include "GifIndex.h"
#include "GifWriter.h"
#include "Scene.h"

using namespace kinetile;
using Clock = std::chrono::steady_clock;

namespace {

std::vector<uint8_t> Animation(uint16_t w, uint16_t h, int frames) {
    test::GifWriter writer;
    writer.Signature().Screen(w, h, test::DistinctPalette(256)).Loop();
    std::vector<uint8_t> pixels(size_t{w} * h);
    for (int f = 0; f < frames; ++f) {
        for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint8_t>((i / 7 + static_cast<size_t>(f) * 13) & 0xFF);
        writer.GraphicControl(4, f % 2 ? 2 : 1, 0).Image(0, 0, w, h, pixels);
    }
    return writer.Trailer().Bytes();
}

double MicrosecondsPer(int count, Clock::time_point start) {
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count() / count;
}

void Row(uint16_t w, uint16_t h, int frames, int rounds) {
    std::vector<uint8_t> data = Animation(w, h, frames);
    std::vector<GifFrame> table;
    GifScreen screen;
    int32_t tableSize = 0;
    IndexGifFrames(data, table, screen, tableSize, true);
    WindowDC screenDC(nullptr);
    Scene scene;
    scene.BackColor(table[0].TransColor);
    scene.CreateScene(screenDC.get(), w, h);
    const FrameSet set{data, table, screen, tableSize};

    auto start = Clock::now();
    for (int i = 0; i < rounds; ++i) ComposeFrame(scene, set, i % frames);
    const double frameUs = MicrosecondsPer(rounds, start);

    BitmapHandle target(CreateCompatibleBitmap(screenDC.get(), w, h));
    MemoryDC targetDC(screenDC.get());
    SelectedObject selected(targetDC.get(), target.get());
    start = Clock::now();
    for (int i = 0; i < rounds * 10; ++i) BitBlt(targetDC.get(), 0, 0, w, h, scene.hdc(), 0, 0, SRCCOPY);
    GdiFlush();
    const double blitUs = MicrosecondsPer(rounds * 10, start);

    std::printf("%4u x %-4u %7d %10.0f KB %14.1f %12.1f %10.0fx\n", w, h, frames,
                static_cast<double>(data.size()) / 1024.0, frameUs, blitUs, frameUs / blitUs);
}

}  // namespace

int main() {
    CoInitialize(nullptr);
    m_TransBltMode = HasGdiTransparentBlt();
    std::printf("Frame shown the control's way vs one BitBlt (%s)\n\n", sizeof(void*) == 8 ? "x86_64" : "i686");
    std::printf("%-11s %7s %13s %14s %12s %11s\n", "size", "frames", "file", "us per frame", "us per blit", "ratio");
    Row(89, 98, 8, 400);
    Row(480, 360, 8, 100);
    CoUninitialize();
    return 0;
}
