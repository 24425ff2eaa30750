#include "RenderBmp.h"

namespace kinetile {

std::string RenderFramesToBmp(std::span<const uint8_t>, const std::vector<GifFrame>&, const GifScreen&, int32_t,
                              int32_t, const std::string&) {
    return "rendering needs the Windows build (the system's picture loader decodes the frames)";
}

}  // namespace kinetile
