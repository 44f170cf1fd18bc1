#include "engine/cell_sampling.h"
#include "test_pictures.h"

#include <cmath>
#include <gtest/gtest.h>
#include <tuple>
#include <vector>

namespace pelvano {
namespace {

using testing::TestPicture;

TEST(CellSampling, TenPixelsInFourColumns) {
    EXPECT_EQ(CellStep(10, 4), (10 - 1e-7L) / 4);
    EXPECT_NEAR(static_cast<double>(CellStep(10, 4)), 2.499999975, 1e-15);
    const std::vector<AxisSpan> spans = CellSpans(10, 4);
    ASSERT_EQ(spans.size(), 4u);

    struct Expected {
        std::int32_t first;
        std::vector<double> weights;
    };
    const Expected expected[4] = {{0, {1, 1, 0.499999975}},
                                  {2, {0.500000025, 1, 0.99999995}},
                                  {4, {0.00000005, 1, 1, 0.499999925}},
                                  {7, {0.500000075, 1, 0.9999999}}};
    for (int x = 0; x < 4; ++x) {
        const AxisSpan& span = spans[static_cast<std::size_t>(x)];
        EXPECT_EQ(span.first, expected[x].first) << x;
        ASSERT_EQ(span.last - span.first + 1, static_cast<int>(expected[x].weights.size())) << x;
        Real total = 0;
        for (std::int32_t i = span.first; i <= span.last; ++i) {
            const Real w = SpanWeight(span, i);
            EXPECT_NEAR(static_cast<double>(w), expected[x].weights[i - span.first], 1e-15)
                << "column " << x << " pixel " << i;
            total += w;
        }
        EXPECT_NEAR(static_cast<double>(total), static_cast<double>(CellStep(10, 4)), 1e-15);
    }
}

TEST(CellSampling, SpansStayInsideThePicture) {
    // More cells than pixels, and shapes where edges land close to pixel boundaries.
    for (const auto& [pixels, cells] :
         {std::pair{3, 7}, {1, 5}, {10, 10}, {4000, 3999}, {7, 99999}, {6000, 150}, {1, 2}}) {
        const std::vector<AxisSpan> spans = CellSpans(pixels, cells);
        ASSERT_EQ(spans.size(), static_cast<std::size_t>(cells));
        for (const AxisSpan& span : spans) {
            ASSERT_GE(span.first, 0);
            ASSERT_LE(span.last, pixels - 1);
            ASSERT_LE(span.first, span.last) << pixels << " in " << cells;
            for (std::int32_t i = span.first; i <= span.last; ++i) {
                ASSERT_GT(SpanWeight(span, i), 0) << pixels << " in " << cells;
            }
        }
        EXPECT_EQ(spans.back().last, pixels - 1);
    }
}

TEST(CellSampling, AverageRoundsHalfUpOnTheFirstDecimal) {
    // Two pixels of red 127 and 128 in one whole-pixel cell average 127.5 and give 128.
    TestPicture pair(2, 1);
    pair.Set(0, 0, 127, 0, 255);
    pair.Set(1, 0, 128, 10, 255);
    const AxisSpan twoPixels{0, 1, 0, 0};
    const AxisSpan onePixel{0, 0, 0, 0};
    CellColor c = SampleCell(pair.View(), twoPixels, onePixel, 2);
    EXPECT_EQ(c.red, 128);
    EXPECT_EQ(c.green, 5);
    EXPECT_EQ(c.blue, 255);

    // 49 pixels of 128 and 51 of 127 average 127.49 and give 127.
    TestPicture hundred(100, 1);
    for (int x = 0; x < 100; ++x) {
        hundred.Set(x, 0, x < 49 ? 128 : 127, 0, 0);
    }
    c = SampleCell(hundred.View(), AxisSpan{0, 99, 0, 0}, onePixel, 100);
    EXPECT_EQ(c.red, 127);
}

TEST(CellSampling, ChannelsComeFromBlueGreenRedBytes) {
    TestPicture picture(3, 2);
    picture.Fill(10, 20, 30);
    const auto columns = CellSpans(3, 1);
    const auto rows = CellSpans(2, 1);
    const CellColor c =
        SampleCell(picture.View(), columns[0], rows[0], CellStep(3, 1) * CellStep(2, 1));
    EXPECT_EQ(c.red, 10);
    EXPECT_EQ(c.green, 20);
    EXPECT_EQ(c.blue, 30);
}

} // namespace
} // namespace pelvano

namespace pelvano {
namespace {

// The sampling rule written out cell by cell with nothing precomputed: edges from the steps,
// every pixel's weight formed on the spot, pixel columns outer and rows inner.
CellSums LiteralSums(const testing::TestPicture& picture, std::int32_t columns, std::int32_t rows,
                     std::int32_t x, std::int32_t y) {
    const Real stepX = (picture.width - 1e-7L) / columns;
    const Real stepY = (picture.height - 1e-7L) / rows;
    const Real x0 = x * stepX, x1 = x0 + stepX, y0 = y * stepY, y1 = y0 + stepY;
    const std::int32_t i0 = static_cast<std::int32_t>(std::trunc(x0)), i1 = CeilLoose(x1) - 1;
    const std::int32_t j0 = static_cast<std::int32_t>(std::trunc(y0)), j1 = CeilLoose(y1) - 1;
    const Real a = x0 - std::trunc(x0), b = 1 - (x1 - std::trunc(x1));
    const Real c = y0 - std::trunc(y0), d = 1 - (y1 - std::trunc(y1));
    CellSums sums;
    for (std::int32_t i = i0; i <= i1; ++i) {
        for (std::int32_t j = j0; j <= j1; ++j) {
            Real wx = 1, wy = 1;
            if (i == i0) {
                wx -= a;
            }
            if (i == i1) {
                wx -= b;
            }
            if (j == j0) {
                wy -= c;
            }
            if (j == j1) {
                wy -= d;
            }
            const Real w = wx * wy;
            const std::uint8_t* p =
                &picture.bytes[static_cast<std::size_t>(j * picture.stride + 3 * i)];
            sums.red += p[2] * w;
            sums.green += p[1] * w;
            sums.blue += p[0] * w;
        }
    }
    return sums;
}

TEST(CellSampling, SumsMatchTheCellByCellRuleToTheLastBit) {
    const std::tuple<int, int, int, int> shapes[] = {
        {10, 7, 4, 3},    {37, 23, 5, 4}, {100, 80, 7, 9}, {5, 4, 11, 9},
        {64, 48, 64, 48}, {3, 3, 2, 2},   {91, 17, 13, 17}};
    std::uint32_t seed = 1;
    for (const auto& [width, height, columns, rows] : shapes) {
        testing::TestPicture picture(width, height);
        picture.FillNoise(seed++);
        const auto columnSpans = CellSpans(width, columns);
        const auto rowSpans = CellSpans(height, rows);
        for (std::int32_t x = 0; x < columns; ++x) {
            for (std::int32_t y = 0; y < rows; ++y) {
                const CellSums got = SumCell(picture.View(), columnSpans[x], rowSpans[y]);
                const CellSums want = LiteralSums(picture, columns, rows, x, y);
                ASSERT_TRUE(got.red == want.red && got.green == want.green && got.blue == want.blue)
                    << width << "x" << height << " in " << columns << "x" << rows << ", cell " << x
                    << "," << y;
            }
        }
    }
}

} // namespace
} // namespace pelvano
