#pragma once
#include <cstdint>

namespace kinetile {

// Lightens (factor >= 0, towards white) or darkens (factor < 0, towards
// black) an RGB colour; the border's light and dark edges come from it.
int32_t ShadeColor(int32_t color, float factor);

}  // namespace kinetile
