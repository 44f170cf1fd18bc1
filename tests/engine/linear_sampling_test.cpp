#include "engine/linear_sampling.h"

#include <gtest/gtest.h>
#include <vector>

namespace pelvano {
namespace {

TEST(LinearSampling, AveragesInLinearLightWithTheExactWeights) {
    // 4 x 2 pixels: black and white columns alternate on the left, a flat colour on the right.
    const std::uint8_t k = 0;
    const std::uint8_t w = 255;
    std::vector<std::uint8_t> bytes = {k, k, k, w, w, w, 10, 20, 30, 10, 20, 30,
                                       k, k, k, w, w, w, 10, 20, 30, 10, 20, 30};
    const RasterView picture{bytes.data(), 4, 2, 12};
    const std::vector<LinearRgb> cells = AverageCellsLinear(picture, 2, 1);
    ASSERT_EQ(cells.size(), 2u);
    // Half black, half white is half the light: sRGB 188, not the 128 of an sRGB average. A
    // few ten-millionths of a pixel from the next cell shift it by nothing visible.
    EXPECT_NEAR(cells[0].red, 0.5, 1e-6);
    EXPECT_EQ(LinearToSrgb8(cells[0].green), 188);
    // A flat area comes back as its own colour (blue, green, red in the bytes).
    EXPECT_EQ(LinearToSrgb8(cells[1].red), 30);
    EXPECT_EQ(LinearToSrgb8(cells[1].green), 20);
    EXPECT_EQ(LinearToSrgb8(cells[1].blue), 10);

    // Cells that split pixels: three columns over four pixels, every cell of a flat picture
    // keeps its colour, and the grid is column-major.
    std::vector<std::uint8_t> flat(4 * 3 * 3, 77);
    const std::vector<LinearRgb> split = AverageCellsLinear({flat.data(), 4, 3, 12}, 3, 2);
    ASSERT_EQ(split.size(), 6u);
    for (const LinearRgb& cell : split) {
        EXPECT_EQ(LinearToSrgb8(cell.blue), 77);
    }
    EXPECT_TRUE(AverageCellsLinear(picture, 0, 1).empty());
}

} // namespace
} // namespace pelvano
