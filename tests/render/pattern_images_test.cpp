#include "render/grid_geometry.h"
#include "render/pattern_images.h"
#include "render/raster_budget.h"
#include "render_test_support.h"

#include <gtest/gtest.h>
#include <vector>

namespace pelvano {
namespace {

using test::PixelAt;
using test::Rgb;

constexpr std::uint64_t kPlenty = UINT64_MAX;

const std::vector<std::uint32_t> kColors = {Rgb(255, 255, 255), Rgb(0, 0, 0), Rgb(255, 0, 0),
                                            Rgb(100, 50, 200), Rgb(195, 195, 195)};

struct Drawing {
    QImage exact;
    QImage pattern;
};

Drawing Draw(const PatternData& data, std::int32_t columns, std::int32_t rows,
             const DrawOptions& options) {
    Drawing drawing;
    DrawPatternFrom(test::StandInSources(), kPlenty, data, columns, rows, options, drawing.exact,
                    drawing.pattern);
    return drawing;
}

std::uint32_t ExactColor(const PatternData& data, std::int32_t c, std::int32_t r) {
    const std::uint8_t* bgr = &data.exactGrid[data.cellIndex(c, r) * 3];
    return Rgb(bgr[2], bgr[1], bgr[0]);
}

bool IsBlackRect(const QImage& image, int left, int top, int right, int bottom) {
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            if (PixelAt(image, x, y) != 0) {
                return false;
            }
        }
    }
    return true;
}

TEST(GridGeometryTest, LinesThickenEveryFifthAndTenthCell) {
    EXPECT_EQ(PatternImageExtent(2, true), 39);
    EXPECT_EQ(PatternImageExtent(5, true), 97);
    EXPECT_EQ(PatternImageExtent(10, true), 194);
    EXPECT_EQ(PatternImageExtent(150, true), 2896);
    EXPECT_EQ(PatternImageExtent(150, false), 2700);
    EXPECT_EQ(CellOffset(1, true), 20);
    EXPECT_EQ(CellOffset(9, true), 173);
    const std::vector<int> widths = {1, 1, 1, 1, 1, 2, 1, 1, 1, 1, 3, 1, 1, 1, 1, 2, 1};
    for (std::int64_t i = 1; i < static_cast<std::int64_t>(widths.size()); ++i) {
        EXPECT_EQ(GridLineWidthBefore(i), widths[static_cast<std::size_t>(i)]) << i;
        EXPECT_EQ(CellOffset(i, true) - CellOffset(i - 1, true) - 18, GridLineWidthBefore(i));
    }
    EXPECT_EQ(GridLineWidthBefore(0), 1);
}

TEST(DrawPatternTest, WithoutGridSymbolsOrTextureCellsArePlainBlocks) {
    const PatternData data = test::MakePattern(4, 3, kColors);
    const Drawing drawing = Draw(data, 4, 3, DrawOptions::fromChecks(false, false, false, true));
    ASSERT_EQ(drawing.pattern.size(), QSize(72, 54));
    ASSERT_EQ(drawing.exact.size(), QSize(36, 27));
    EXPECT_EQ(drawing.pattern.format(), QImage::Format_BGR888);
    EXPECT_EQ(drawing.exact.format(), QImage::Format_BGR888);
    for (int y = 0; y < 54; ++y) {
        for (int x = 0; x < 72; ++x) {
            ASSERT_EQ(PixelAt(drawing.pattern, x, y),
                      data.patternGrid[data.cellIndex(x / 18, y / 18)])
                << x << ", " << y;
        }
    }
    for (int y = 0; y < 27; ++y) {
        for (int x = 0; x < 36; ++x) {
            ASSERT_EQ(PixelAt(drawing.exact, x, y), ExactColor(data, x / 9, y / 9));
        }
    }
}

TEST(DrawPatternTest, GridFramesCellsWithDoubledAndTripledLines) {
    const PatternData data = test::MakePattern(10, 10, kColors);
    const DrawOptions options = DrawOptions::fromChecks(true, true, false, true);
    const Drawing drawing = Draw(data, 10, 10, options);
    ASSERT_EQ(drawing.pattern.size(), QSize(194, 194));
    EXPECT_TRUE(IsBlackRect(drawing.pattern, 0, 0, 194, 1));   // top frame
    EXPECT_TRUE(IsBlackRect(drawing.pattern, 0, 0, 1, 194));   // left frame
    EXPECT_TRUE(IsBlackRect(drawing.pattern, 95, 0, 97, 194)); // between cells 4 and 5
    EXPECT_TRUE(IsBlackRect(drawing.pattern, 0, 95, 194, 97));
    EXPECT_TRUE(IsBlackRect(drawing.pattern, 191, 0, 194, 194)); // right frame, 3 pixels
    EXPECT_TRUE(IsBlackRect(drawing.pattern, 0, 191, 194, 194)); // bottom frame

    // Every cell is the composed cell of its colour, with the symbol of its colour's position.
    const CellComposer composer(test::StandInSources(), options);
    for (std::int32_t c = 0; c < 10; ++c) {
        for (std::int32_t r = 0; r < 10; ++r) {
            const std::uint32_t color = data.patternGrid[data.cellIndex(c, r)];
            const auto position = static_cast<std::size_t>(
                std::find(data.usedColors.begin(), data.usedColors.end(), color) -
                data.usedColors.begin());
            const QImage expected = composer.composeImage(color, position, true);
            const QImage drawn =
                drawing.pattern.copy(static_cast<int>(CellOffset(c, true)),
                                     static_cast<int>(CellOffset(r, true)), 18, 18);
            ASSERT_EQ(drawn, expected) << "cell " << c << ", " << r;
        }
    }
}

TEST(DrawPatternTest, SymbolNumbersFollowTheListOfUsedColours) {
    // 130 colours, one per cell down a single column: the last eleven share glyph 119.
    std::vector<std::uint32_t> colors;
    for (int i = 0; i < 130; ++i) {
        colors.push_back(Rgb(255, 255, 255 - i));
    }
    PatternData data = test::MakePattern(1, 130, colors);
    const DrawOptions options = DrawOptions::fromChecks(false, true, false, true);
    const Drawing drawing = Draw(data, 1, 130, options);
    const CellComposer composer(test::StandInSources(), options);
    EXPECT_EQ(drawing.pattern.copy(0, 0, 18, 18), composer.composeImage(colors[0], 0, true));
    EXPECT_EQ(drawing.pattern.copy(0, 18 * 119, 18, 18),
              composer.composeImage(colors[119], 119, true));
    EXPECT_EQ(drawing.pattern.copy(0, 18 * 129, 18, 18),
              composer.composeImage(colors[129], 119, true));

    // A repeated colour keeps its first position.
    data.usedColors.insert(data.usedColors.begin() + 1, colors[0]);
    const Drawing repeated = Draw(data, 1, 130, options);
    EXPECT_EQ(repeated.pattern.copy(0, 18 * 2, 18, 18), composer.composeImage(colors[2], 3, true));
}

TEST(DrawPatternTest, ChangedCountsNeverReachBeyondTheGrids) {
    const PatternData data = test::MakePattern(6, 4, kColors);
    const DrawOptions options = DrawOptions::fromChecks(true, false, false, true);
    const Drawing full = Draw(data, 6, 4, options);

    // Fewer columns and rows: the top-left part of the same drawing.
    const Drawing part = Draw(data, 3, 2, options);
    ASSERT_EQ(part.pattern.size(), QSize(58, 39));
    EXPECT_EQ(part.pattern.copy(0, 0, 57, 38), full.pattern.copy(0, 0, 57, 38));
    EXPECT_EQ(part.exact, full.exact.copy(0, 0, 27, 18));

    // More: cut back to the grids' shape.
    EXPECT_EQ(Draw(data, 99999, 99999, options).pattern, full.pattern);
    EXPECT_EQ(Draw(data, 2, 99999, options).exact.size(), QSize(18, 36));

    // Nothing to draw: both images become empty, whatever they held.
    for (const auto& [columns, rows] : {std::pair{0, 4}, {6, 0}, {0, 0}, {-3, 2}}) {
        Drawing drawing = full;
        DrawPatternFrom(test::StandInSources(), kPlenty, data, columns, rows, options,
                        drawing.exact, drawing.pattern);
        EXPECT_TRUE(drawing.exact.isNull()) << columns << " x " << rows;
        EXPECT_TRUE(drawing.pattern.isNull());
    }
}

TEST(DrawPatternTest, ReportsEachColumnAndRedrawsInPlace) {
    const PatternData data = test::MakePattern(5, 2, kColors);
    Drawing drawing = Draw(data, 5, 2, DrawOptions::fromChecks(true, true, false, true));
    const Drawing plain = Draw(data, 5, 2, DrawOptions::fromChecks(true, false, false, true));
    const QImage shown = drawing.pattern; // a copy held elsewhere, say by the view
    const QImage shownPixels = shown.copy();
    std::vector<std::int32_t> reported;
    // Same size, different options: the redraw must leave nothing of the symbols behind.
    DrawPatternFrom(test::StandInSources(), kPlenty, data, 5, 2,
                    DrawOptions::fromChecks(true, false, false, true), drawing.exact,
                    drawing.pattern, [&](std::int32_t done) { reported.push_back(done); });
    EXPECT_EQ(reported, (std::vector<std::int32_t>{1, 2, 3, 4, 5}));
    EXPECT_EQ(drawing.pattern, plain.pattern);
    EXPECT_EQ(shown, shownPixels);
}

TEST(DrawPatternTest, InconsistentDataIsRefusedAndLeavesTheImages) {
    const PatternData good = test::MakePattern(3, 3, kColors);
    const Drawing before = Draw(good, 3, 3, DrawOptions{});

    PatternData unlisted = good;
    unlisted.patternGrid[4] = Rgb(1, 2, 3);
    PatternData shortGrid = good;
    shortGrid.exactGrid.pop_back();
    PatternData wrongShape = good;
    wrongShape.rows = 4;
    for (const PatternData* bad : {&unlisted, &shortGrid, &wrongShape}) {
        Drawing drawing = before;
        EXPECT_THROW(DrawPatternFrom(test::StandInSources(), kPlenty, *bad, 3, 3, DrawOptions{},
                                     drawing.exact, drawing.pattern),
                     RenderError);
        EXPECT_EQ(drawing.pattern, before.pattern);
        EXPECT_EQ(drawing.exact, before.exact);
    }
    // A colour missing from the list is harmless when its cell is not drawn.
    EXPECT_NO_THROW(Draw(unlisted, 1, 1, DrawOptions{}));
}

TEST(DrawPatternTest, TooLargeImagesAreRefusedBeforeAllocating) {
    EXPECT_EQ(RasterBytes({1, 1}), 4u);
    EXPECT_EQ(RasterBytes({4, 2}), 24u);
    EXPECT_EQ(RasterBytes({0, 5}), 0u);
    // Five-digit counts: about 1.9 million pixels a side.
    const PixelSize huge = PatternImageSize(99999, 99999, true);
    EXPECT_THROW(CheckRastersFit({huge}, AvailableMemoryBytes()), RenderError);
    EXPECT_THROW(CheckRastersFit({{100000000, 1}}, kPlenty), RenderError);
    EXPECT_THROW(CheckRastersFit({{1000, 1000}, {1000, 1000}}, 5'000'000), RenderError);
    EXPECT_NO_THROW(CheckRastersFit({{1000, 1000}, {1000, 1000}}, 6'000'000));
    try {
        CheckRastersFit({huge}, 1u << 30);
        FAIL();
    } catch (const RenderError& error) {
        EXPECT_NE(std::string(error.what()).find("1929980 × 1929980"), std::string::npos)
            << error.what();
    }

    const PatternData data = test::MakePattern(40, 30, kColors);
    const Drawing before = Draw(data, 20, 20, DrawOptions{});
    Drawing drawing = before;
    EXPECT_THROW(DrawPatternFrom(test::StandInSources(), 100'000, data, 40, 30, DrawOptions{},
                                 drawing.exact, drawing.pattern),
                 RenderError);
    EXPECT_EQ(drawing.pattern, before.pattern);
    EXPECT_EQ(drawing.exact, before.exact);
}

} // namespace
} // namespace pelvano
