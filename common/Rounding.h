#pragma once
// The one conversion from floating point to integer used throughout Kinetile:
// round to the nearest integer, ties to the even one (2.5 -> 2, 3.5 -> 4,
// -2.5 -> -2). It does not depend on the FPU's current rounding mode.
#include <cmath>
#include <cstdint>
#include <limits>

namespace kinetile {

// Values outside the 32-bit range saturate and NaN gives 0: a conversion that
// cannot be represented must not turn into an arbitrary number.
inline int32_t RoundHalfEven(double value) {
    if (std::isnan(value)) return 0;
    double lower = std::floor(value);
    double rest = value - lower;
    double rounded = lower;
    if (rest > 0.5 || (rest == 0.5 && std::fmod(lower, 2.0) != 0.0)) rounded = lower + 1.0;
    if (rounded >= 2147483647.0) return std::numeric_limits<int32_t>::max();
    if (rounded <= -2147483648.0) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(rounded);
}

}  // namespace kinetile
