#include "engine/palette.h"
#include "render/key_image.h"
#include "render/render_error.h"
#include "render_test_support.h"

#include <gtest/gtest.h>
#include <vector>

namespace pelvano {
namespace {

using test::PixelAt;
using test::Rgb;

// The first `count` palette colours, each once.
PatternData KeyPattern(std::size_t count) {
    PatternData data;
    const ThreadTable& palette = ThreadPalette();
    for (int i = 1; i <= kThreadCount && data.usedColors.size() < count; ++i) {
        if (std::find(data.usedColors.begin(), data.usedColors.end(), palette[i].Color) ==
            data.usedColors.end()) {
            data.usedColors.push_back(palette[i].Color);
        }
    }
    return data;
}

std::uint32_t ColorOfThread(std::string_view name) {
    for (const Item& item : ThreadPalette()) {
        if (item.Name == name) {
            return item.Color;
        }
    }
    ADD_FAILURE() << "no thread " << name;
    return 0;
}

QImage DrawTestKey(const PatternData& data, const DrawOptions& options) {
    QImage key;
    DrawKeyFrom(test::StandInSources(), data, options, key);
    return key;
}

// Right-most non-white pixel of the text of the row whose swatch is at `origin`, or -1.
int TextInkRight(const QImage& key, QPoint origin) {
    int right = -1;
    for (int y = origin.y() + kKeyTextTop; y < origin.y() + kKeyRowPitch && y < kKeyHeight; ++y) {
        for (int x = origin.x() + kKeyTextLeft;
             x < std::min(origin.x() + kKeyColumnPitch, kKeyWidth); ++x) {
            if (PixelAt(key, x, y) != kWhite) {
                right = std::max(right, x);
            }
        }
    }
    return right;
}

TEST(DrawKeyTest, OneThreadGivesOneRowOnWhite) {
    PatternData data;
    data.usedColors = {ColorOfThread("310")};
    const DrawOptions options = DrawOptions::fromChecks(true, true, false, true);
    const QImage key = DrawTestKey(data, options);
    ASSERT_EQ(key.size(), QSize(kKeyWidth, kKeyHeight));
    EXPECT_EQ(key.format(), QImage::Format_BGR888);

    const CellComposer composer(test::StandInSources(), options);
    EXPECT_EQ(key.copy(20, 10, 18, 18), composer.composeImage(data.usedColors[0], 0, false));
    for (int x = 38; x < 55; ++x) {
        EXPECT_EQ(PixelAt(key, x, 18), x >= 44 && x <= 50 ? 0u : kWhite) << x;
    }
    // The name starts at (55, 12); outside the swatch, the dash and the name all is white.
    const QRect swatch(20, 10, 18, 18), dash(44, 18, 7, 1), name(55, 12, 100, 20);
    bool ink = false;
    for (int y = 0; y < kKeyHeight; ++y) {
        for (int x = 0; x < kKeyWidth; ++x) {
            const QPoint p(x, y);
            if (name.contains(p)) {
                ink = ink || PixelAt(key, x, y) != kWhite;
            } else if (!swatch.contains(p) && !dash.contains(p)) {
                ASSERT_EQ(PixelAt(key, x, y), kWhite) << x << ", " << y;
            }
        }
    }
    EXPECT_TRUE(ink);
    EXPECT_GE(TextInkRight(key, {20, 10}), 55);
}

TEST(DrawKeyTest, ThreadsFillColumnsOfFortyRows) {
    EXPECT_EQ(KeySwatchOrigin(0), QPoint(20, 10));
    EXPECT_EQ(KeySwatchOrigin(39), QPoint(20, 868));
    EXPECT_EQ(KeySwatchOrigin(40), QPoint(143, 10));
    EXPECT_EQ(KeySwatchOrigin(199), QPoint(512, 868));

    const PatternData data = KeyPattern(201);
    ASSERT_EQ(data.usedColors.size(), 201u);
    const DrawOptions options = DrawOptions::fromChecks(true, true, false, true);
    const QImage key = DrawTestKey(data, options);
    ASSERT_EQ(key.size(), QSize(kKeyWidth, kKeyHeight));
    const CellComposer composer(test::StandInSources(), options);
    for (std::size_t i = 0; i < 200; ++i) {
        const QPoint origin = KeySwatchOrigin(i);
        ASSERT_EQ(key.copy(origin.x(), origin.y(), 18, 18),
                  composer.composeImage(data.usedColors[i], i, false))
            << "thread " << i;
        EXPECT_EQ(PixelAt(key, origin.x() + 24, origin.y() + 8), 0u);
        EXPECT_GE(TextInkRight(key, origin), origin.x() + kKeyTextLeft) << "no name for " << i;
    }
    test::SaveForReview(key, "key_201_threads.png");
}

TEST(DrawKeyTest, SwatchesFollowTheSymbolOptionsButNeverTheTexture) {
    const PatternData data = KeyPattern(3);
    const QImage plain = DrawTestKey(data, DrawOptions::fromChecks(true, false, false, true));
    const QImage textured = DrawTestKey(data, DrawOptions::fromChecks(true, false, true, true));
    EXPECT_EQ(textured, plain);
    for (std::size_t i = 0; i < 3; ++i) {
        const QPoint origin = KeySwatchOrigin(i);
        EXPECT_EQ(PixelAt(plain, origin.x() + 1, origin.y() + 1), data.usedColors[i]);
    }

    const QImage noColour = DrawTestKey(data, DrawOptions::fromChecks(true, true, false, false));
    const CellComposer composer(test::StandInSources(),
                                DrawOptions::fromChecks(true, true, false, false));
    for (std::size_t i = 0; i < 3; ++i) {
        const QPoint origin = KeySwatchOrigin(i);
        EXPECT_EQ(noColour.copy(origin.x(), origin.y(), 18, 18),
                  composer.composeImage(kWhite, i, false));
        // The names do not depend on the swatches.
        EXPECT_EQ(noColour.copy(origin.x() + 24, origin.y(), 99, 22),
                  plain.copy(origin.x() + 24, origin.y(), 99, 22));
    }
}

TEST(DrawKeyTest, NamesAreTheCataloguesOwn) {
    PatternData data;
    data.usedColors = {ColorOfThread("310"), ColorOfThread("335 or 326"), ColorOfThread("Ecru")};
    const QImage key = DrawTestKey(data, DrawOptions{});
    const int shortName = TextInkRight(key, KeySwatchOrigin(0));
    const int longName = TextInkRight(key, KeySwatchOrigin(1));
    EXPECT_GT(shortName, 55);
    EXPECT_GT(longName, shortName + 20);
    EXPECT_GT(TextInkRight(key, KeySwatchOrigin(2)), 55);

    PatternData foreign = data;
    foreign.usedColors.push_back(Rgb(1, 2, 3));
    QImage kept = key;
    EXPECT_THROW(DrawKeyFrom(test::StandInSources(), foreign, DrawOptions{}, kept), RenderError);
    EXPECT_EQ(kept, key);
}

TEST(DrawKeyTest, NoThreadsGiveABlankKey) {
    const QImage key = DrawTestKey(PatternData{}, DrawOptions{});
    ASSERT_EQ(key.size(), QSize(kKeyWidth, kKeyHeight));
    QImage white(kKeyWidth, kKeyHeight, QImage::Format_BGR888);
    white.fill(Qt::white);
    EXPECT_EQ(key, white);
}

} // namespace
} // namespace pelvano
