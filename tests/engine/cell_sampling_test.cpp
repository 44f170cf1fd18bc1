#include "engine/cell_sampling.h"
#include "test_pictures.h"

#include <gtest/gtest.h>
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
