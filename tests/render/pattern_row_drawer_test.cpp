#include "render/grid_geometry.h"
#include "render/pattern_images.h"
#include "render_test_support.h"

#include <cstring>
#include <gtest/gtest.h>
#include <vector>

namespace pelvano {
namespace {

using test::Rgb;

const std::vector<std::uint32_t> kColors = {Rgb(255, 255, 255), Rgb(0, 0, 0),
                                            Rgb(255, 0, 0),     Rgb(100, 50, 200),
                                            Rgb(195, 195, 195), Rgb(10, 200, 30)};

// The first row where the drawer's rows differ from the whole image's, or -1.
int FirstDifferentRow(PatternRowDrawer& drawer, const QImage& image,
                      const std::vector<int>& order) {
    const auto bytes = static_cast<std::size_t>(image.width()) * 3;
    for (const int y : order) {
        if (std::memcmp(drawer.row(y), image.constScanLine(y), bytes) != 0) {
            return y;
        }
    }
    return -1;
}

TEST(PatternRowDrawerTest, RowsEqualTheWholeImageForEveryOption) {
    const PatternData data = test::MakePattern(23, 17, kColors);
    for (const auto& [columns, rows] : {std::pair{23, 17}, {7, 11}, {1, 1}, {40, 3}}) {
        for (int checks = 0; checks < 16; ++checks) {
            SCOPED_TRACE(::testing::Message() << columns << " x " << rows << " options " << checks);
            const DrawOptions options =
                DrawOptions::fromChecks(checks & 1, checks & 2, checks & 4, checks & 8);
            QImage exact;
            QImage pattern;
            DrawPatternFrom(test::StandInSources(), UINT64_MAX, data, columns, rows, options, exact,
                            pattern);
            PatternRowDrawer drawer(test::StandInSources(), UINT64_MAX, data, columns, rows,
                                    options);
            ASSERT_EQ(drawer.size().width, pattern.width());
            ASSERT_EQ(drawer.size().height, pattern.height());

            std::vector<int> order;
            for (int y = 0; y < pattern.height(); ++y) {
                order.push_back(y);
            }
            EXPECT_EQ(FirstDifferentRow(drawer, pattern, order), -1);
            // Going back redraws the earlier bands rather than handing out stale rows.
            const std::vector<int> jumps = {pattern.height() - 1, 0, pattern.height() / 2, 5};
            EXPECT_EQ(FirstDifferentRow(drawer, pattern, jumps), -1);
        }
    }
}

TEST(PatternRowDrawerTest, RefusesWhatTheWholeDrawingRefuses) {
    const PatternData good = test::MakePattern(6, 4, kColors);
    PatternData unlisted = good;
    unlisted.patternGrid[5] = Rgb(1, 2, 3);
    PatternData shortGrid = good;
    shortGrid.patternGrid.pop_back();
    for (const PatternData* bad : {&unlisted, &shortGrid}) {
        EXPECT_THROW(
            PatternRowDrawer(test::StandInSources(), UINT64_MAX, *bad, 6, 4, DrawOptions{}),
            RenderError);
    }
    // The budget counts both whole images, as the whole drawing does.
    const std::uint64_t both = 3 * static_cast<std::uint64_t>(6 * 9 * 4 * 9) +
                               3 * static_cast<std::uint64_t>(6 * 18 * 4 * 18);
    EXPECT_THROW(PatternRowDrawer(test::StandInSources(), both / 2, good, 6, 4,
                                  DrawOptions::fromChecks(false, true, false, true)),
                 RenderError);
    // Nothing to draw gives an empty size.
    EXPECT_EQ(PatternRowDrawer(test::StandInSources(), UINT64_MAX, good, 0, 4, DrawOptions{})
                  .size()
                  .height,
              0);
}

} // namespace
} // namespace pelvano
