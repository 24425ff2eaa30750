#include "RenderBmp.h"

#include <objbase.h>

#include "BmpFile.h"
#include "Drawing.h"
#include "FrameRender.h"
#include "GdiHandles.h"
#include "Scene.h"

namespace kinetile {

std::string RenderFramesToBmp(std::span<const uint8_t> data, const std::vector<GifFrame>& frames,
                              const GifScreen& screen, int32_t globalTableSize, int32_t lastFrame,
                              const std::string& outPath) {
    if (screen.Width == 0 || screen.Height == 0) return "the logical screen is empty";
    const bool comStarted = SUCCEEDED(CoInitialize(nullptr));
    if (m_TransBltMode == 0) m_TransBltMode = HasGdiTransparentBlt();
    std::string error;
    {
        WindowDC screenDC(nullptr);
        Scene scene;
        // The key colour is frame 0's transparent colour, as in the control.
        scene.BackColor(frames.empty() ? 0 : frames[0].TransColor);
        scene.CreateScene(screenDC.get(), screen.Width, screen.Height);
        if (!scene.hdc()) error = "no frame buffer could be made";
        const FrameSet set{data, frames, screen, globalTableSize};
        for (int32_t i = 0; error.empty() && i <= lastFrame; ++i) ComposeFrame(scene, set, i);
        if (error.empty() && !SaveDCAsBmp(scene.hdc(), 0, 0, screen.Width, screen.Height, outPath))
            error = "cannot be written";
    }
    if (comStarted) CoUninitialize();
    return error;
}

}  // namespace kinetile
