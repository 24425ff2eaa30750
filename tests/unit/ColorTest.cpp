#include <gtest/gtest.h>

#include "Rounding.h"
#include "ShadeColor.h"

namespace kinetile {
namespace {

int32_t Rgb(int r, int g, int b) { return r + 256 * g + 65536 * b; }

TEST(RoundHalfEven, TiesGoToTheEvenNeighbour) {
    struct Case {
        double in;
        int32_t out;
    } cases[] = {{0.5, 0},   {1.5, 2},   {2.5, 2},    {3.5, 4},   {-0.5, 0},  {-1.5, -2}, {-2.5, -2},
                 {2.4999, 2}, {2.5001, 3}, {-2.5001, -3}, {7.0, 7},  {8388612.5, 8388612}, {191.25, 191},
                 {3e10, 2147483647}, {-3e10, -2147483647 - 1}, {std::nan(""), 0}};
    for (const Case& c : cases) EXPECT_EQ(RoundHalfEven(c.in), c.out) << c.in;
}

TEST(ShadeColor, LightensTowardsWhiteAndDarkensTowardsBlack) {
    struct Case {
        int32_t color;
        float factor;
        int32_t expected;
    } cases[] = {
        {Rgb(128, 128, 128), 0.75f, Rgb(223, 223, 223)}, {Rgb(128, 128, 128), -0.45f, Rgb(58, 58, 58)},
        {Rgb(255, 0, 0), 0.75f, Rgb(255, 191, 191)},     {Rgb(255, 0, 0), -0.45f, Rgb(115, 0, 0)},
        {Rgb(0, 0, 0), 0.75f, Rgb(191, 191, 191)},       {Rgb(12, 200, 77), 0.0f, Rgb(12, 200, 77)},
        {Rgb(12, 200, 77), 1.0f, Rgb(255, 255, 255)},    {Rgb(12, 200, 77), -1.0f, Rgb(12, 200, 77)},
        {Rgb(1, 2, 3), -0.5f, Rgb(0, 1, 2)},  // 0.5, 1, 1.5: ties to even
        // Factors beyond one keep every channel inside its byte.
        {Rgb(100, 200, 0), 2.0f, Rgb(255, 255, 255)},    {Rgb(100, 200, 0), -2.0f, Rgb(200, 255, 0)},
    };
    for (const Case& c : cases) EXPECT_EQ(ShadeColor(c.color, c.factor), c.expected) << c.color << " " << c.factor;
}

}  // namespace
}  // namespace kinetile
