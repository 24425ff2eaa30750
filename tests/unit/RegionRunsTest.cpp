#include <gtest/gtest.h>

#include "RegionRuns.h"

namespace kinetile {
namespace {

constexpr uint8_t T = 7;  // the transparent index in these cases
constexpr uint8_t A = 1;

TEST(FindOpaqueRuns, RunsOfNonTransparentPixelsRowByRow) {
    struct Case {
        const char* what;
        std::vector<uint8_t> bits;
        int width, height, stride, transparent;
        std::vector<PixelRun> runs;
    } cases[] = {
        {"T A A T", {T, A, A, T}, 4, 1, 4, T, {{0, 1, 2}}},
        {"T T T A: a run ending at the last column", {T, T, T, A}, 4, 1, 4, T, {{0, 3, 3}}},
        {"A T A in two rows", {A, T, A, A, T, A}, 3, 2, 3, T, {{0, 0, 0}, {0, 2, 2}, {1, 0, 0}, {1, 2, 2}}},
        {"all transparent", {T, T, T, T}, 2, 2, 2, T, {}},
        {"all opaque", {A, 2, 3, A}, 2, 2, 2, T, {{0, 0, 1}, {1, 0, 1}}},
        // Row padding holds values that must not be read as pixels.
        {"padded rows", {A, T, A, 9, T, A, T, 9}, 3, 2, 4, T, {{0, 0, 0}, {0, 2, 2}, {1, 1, 1}}},
        {"index above 255 matches nothing", {T, T}, 2, 1, 2, 263, {{0, 0, 1}}},
        {"incomplete last row not read", {A, A, A, A, A}, 3, 2, 3, T, {{0, 0, 2}}},
        {"no size", {A}, 0, 1, 1, T, {}},
        {"stride below width", {A, A}, 2, 1, 1, T, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FindOpaqueRuns(c.bits, c.width, c.height, c.stride, c.transparent), c.runs) << c.what;
    }
}

}  // namespace
}  // namespace kinetile
