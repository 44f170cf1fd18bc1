#include "engine/palette.h"
#include "render/grid_geometry.h"
#include "render/key_image.h"
#include "render/pattern_images.h"
#include "render_test_support.h"

#include <gtest/gtest.h>
#include <set>
#include <vector>

namespace pelvano {
namespace {

using test::PixelAt;

// A small pattern of real threads in diagonal stripes, as a generation run would leave it.
PatternData StripedThreads() {
    const ThreadTable& palette = ThreadPalette();
    std::vector<std::uint32_t> colors;
    for (int i = 1; i <= kThreadCount; i += 37) {
        colors.push_back(palette[i].Color);
    }
    return test::MakePattern(12, 8, colors);
}

TEST(BuiltinDrawingTest, DrawsPatternAndKeyWithTheProgramsOwnPictures) {
    const PatternData data = StripedThreads();
    QImage exact, pattern, key;
    const DrawOptions symbols = DrawOptions::fromChecks(true, true, false, true);
    DrawPattern(data, 12, 8, symbols, exact, pattern);
    DrawKey(data, symbols, key);
    ASSERT_EQ(pattern.size(), QSize(19 * 12 + 2 + 1 + 1, 19 * 8 + 1 + 1));
    ASSERT_EQ(exact.size(), QSize(108, 72));
    ASSERT_EQ(key.size(), QSize(kKeyWidth, kKeyHeight));
    test::SaveForReview(pattern, "pattern_symbols.png");
    test::SaveForReview(exact, "pattern_exact.png");
    test::SaveForReview(key, "key_symbols.png");

    // Every glyph is drawn with two colours only: its cell's fill and white or black ink.
    for (std::int32_t c = 0; c < 12; ++c) {
        const QImage cell = pattern.copy(static_cast<int>(CellOffset(c, true)), 1, 18, 18);
        std::set<std::uint32_t> colors;
        for (int y = 0; y < 18; ++y) {
            for (int x = 0; x < 18; ++x) {
                colors.insert(PixelAt(cell, x, y));
            }
        }
        EXPECT_EQ(colors.size(), 2u) << "column " << c;
        EXPECT_TRUE(colors.count(data.patternGrid[data.cellIndex(c, 0)]));
    }

    const DrawOptions texture = DrawOptions::fromChecks(false, false, true, true);
    DrawPattern(data, 12, 8, texture, exact, pattern);
    test::SaveForReview(pattern, "pattern_texture.png");
    // The outline darkens each channel to its two highest bits.
    const std::uint32_t first = data.patternGrid[0];
    const QImage cell = pattern.copy(0, 0, 18, 18);
    bool outlined = false;
    for (int y = 0; y < 17; ++y) {
        for (int x = 0; x < 17; ++x) {
            const std::uint32_t pixel = PixelAt(cell, x, y);
            ASSERT_TRUE(pixel == first || pixel == (first & 0xC0C0C0u)) << x << ", " << y;
            outlined = outlined || pixel != first;
        }
    }
    EXPECT_TRUE(outlined);

    DrawKey(data, DrawOptions::fromChecks(true, true, false, false), key);
    test::SaveForReview(key, "key_no_colour.png");
}

} // namespace
} // namespace pelvano
