#include "ShadeColor.h"

#include <algorithm>
#include <cmath>

#include "Rounding.h"

namespace kinetile {

int32_t ShadeColor(int32_t color, float factor) {
    const double a = std::fabs(static_cast<double>(factor));
    auto shade = [&](int channel) {
        double c = (factor >= 0) ? channel + a * (255 - channel) : channel * a;
        // A factor beyond ±1 would push a channel out of its byte and into
        // its neighbour; keep each channel a byte.
        return std::clamp(RoundHalfEven(c), 0, 255);
    };
    const int red = shade(color & 0xFF);
    const int green = shade((color / 256) & 0xFF);
    const int blue = shade((color / 65536) & 0xFF);
    return red + 256 * green + 65536 * blue;
}

}  // namespace kinetile
