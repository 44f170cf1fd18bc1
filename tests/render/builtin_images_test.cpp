#include "render/builtin_images.h"

#include <QColor>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <array>
#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace pelvano {
namespace {

constexpr int kCell = kGlyphCell;

// Channels of a BGR888 pixel as (red, green, blue), read from the raw bytes so that the byte
// order is checked too.
std::array<int, 3> Rgb(const QImage& image, int x, int y) {
    const uchar* p = image.constScanLine(y) + 3 * x;
    return {p[2], p[1], p[0]};
}

bool IsBlack(const QImage& image, int x, int y) {
    return Rgb(image, x, y) == std::array<int, 3>{0, 0, 0};
}

bool IsSilver(const QImage& tile, int x, int y) {
    return Rgb(tile, x, y) == std::array<int, 3>{192, 192, 192};
}

std::vector<bool> GlyphBits(int glyph) {
    const QPoint o = GlyphOrigin(glyph);
    std::vector<bool> bits;
    for (int y = 0; y < kCell; ++y) {
        for (int x = 0; x < kCell; ++x) {
            bits.push_back(IsBlack(SymbolSheet(), o.x() + x, o.y() + y));
        }
    }
    return bits;
}

// The sheet enlarged four times with grey cell borders and glyph numbers, for a person to check
// that every glyph looks like what it should be.
void SaveSheetForReview() {
    constexpr int scale = 4;
    constexpr int pitch = kCell * scale + 1;
    constexpr int label = 12;
    const int columns = kGlyphsPerRow;
    const int rows = kGlyphCount / kGlyphsPerRow;
    QImage review(columns * pitch + 1, rows * (pitch + label) + 1, QImage::Format_RGB888);
    review.fill(Qt::white);
    QPainter painter(&review);
    const bool canWrite = QGuiApplication::instance() != nullptr; // fonts need the application
    for (int g = 0; g < kGlyphCount; ++g) {
        const int left = (g % columns) * pitch;
        const int top = (g / columns) * (pitch + label);
        painter.setPen(QColor(160, 160, 160));
        painter.drawRect(left, top + label, pitch, pitch);
        const QPoint o = GlyphOrigin(g);
        painter.drawImage(QRect(left + 1, top + label + 1, kCell * scale, kCell * scale),
                          SymbolSheet(), QRect(o, QSize(kCell, kCell)));
        if (canWrite) {
            QFont font = painter.font();
            font.setPixelSize(10);
            painter.setFont(font);
            painter.setPen(Qt::black);
            painter.drawText(QRect(left, top, pitch, label), Qt::AlignCenter, QString::number(g));
        }
    }
    painter.end();
    const QImage tile = StitchTile().scaled(kCell * 8, kCell * 8);
    review.save(QStringLiteral(PELVANO_TEST_OUTPUT_DIR "/builtin_symbol_sheet.png"));
    tile.save(QStringLiteral(PELVANO_TEST_OUTPUT_DIR "/builtin_stitch_tile.png"));
}

TEST(BuiltinImages, SheetIsBlackAndWhiteWithGlyphsInsideWhiteCellMargins) {
    const QImage& sheet = SymbolSheet();
    ASSERT_EQ(sheet.width(), 180);
    ASSERT_EQ(sheet.height(), 216);
    ASSERT_EQ(sheet.format(), QImage::Format_BGR888);
    EXPECT_EQ(&sheet, &SymbolSheet()) << "loaded once and kept";

    for (int y = 0; y < sheet.height(); ++y) {
        for (int x = 0; x < sheet.width(); ++x) {
            const auto c = Rgb(sheet, x, y);
            const bool black = c == std::array<int, 3>{0, 0, 0};
            ASSERT_TRUE(black || c == (std::array<int, 3>{255, 255, 255})) << x << "," << y;
            const int cx = x % kCell;
            const int cy = y % kCell;
            if (cx == 0 || cy == 0 || cx == kCell - 1 || cy == kCell - 1) {
                ASSERT_FALSE(black) << "glyph " << (y / kCell) * 10 + x / kCell
                                    << " reaches its cell edge at " << cx << "," << cy;
            }
        }
    }
    SaveSheetForReview();
}

TEST(BuiltinImages, GlyphsAreDistinctCentredAndAboutTwelvePixels) {
    std::vector<std::vector<bool>> glyphs;
    for (int g = 0; g < kGlyphCount; ++g) {
        glyphs.push_back(GlyphBits(g));
    }
    // Two glyphs must differ by at least a 2 x 2 dot, the smallest mark that still shows in an
    // 18-pixel cell (the ring and the ring with a central dot differ by just that); a stray
    // pixel or two is not enough to tell two threads apart.
    constexpr int minDifference = 4;
    for (int a = 0; a < kGlyphCount; ++a) {
        for (int b = a + 1; b < kGlyphCount; ++b) {
            int differing = 0;
            for (int i = 0; i < kCell * kCell; ++i) {
                differing += glyphs[a][i] != glyphs[b][i] ? 1 : 0;
            }
            EXPECT_GE(differing, minDifference) << "glyphs " << a << " and " << b;
        }
    }
    for (int g = 0; g < kGlyphCount; ++g) {
        const std::vector<bool>& bits = glyphs[g];
        int left = kCell, top = kCell, right = -1, bottom = -1, black = 0;
        for (int y = 0; y < kCell; ++y) {
            for (int x = 0; x < kCell; ++x) {
                if (bits[y * kCell + x]) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                    ++black;
                }
            }
        }
        ASSERT_GT(black, 8) << "glyph " << g << " is (nearly) empty";
        // Centred: the bounding box's middle is within half a pixel of the cell's middle (8.5).
        EXPECT_LE(std::abs(left + right - 17), 1) << "glyph " << g << " is off centre across";
        EXPECT_LE(std::abs(top + bottom - 17), 1) << "glyph " << g << " is off centre down";
        const int smallSquare = 43; // meant to be small
        EXPECT_GE(std::max(right - left, bottom - top) + 1, g == smallSquare ? 5 : 10)
            << "glyph " << g << " is too small";
    }
}

TEST(BuiltinImages, GlyphOriginsFollowTheSheetRowsAndStayInside) {
    EXPECT_EQ(GlyphOrigin(0), QPoint(0, 0));
    EXPECT_EQ(GlyphOrigin(9), QPoint(162, 0));
    EXPECT_EQ(GlyphOrigin(10), QPoint(0, 18));
    EXPECT_EQ(GlyphOrigin(57), QPoint(126, 90));
    EXPECT_EQ(GlyphOrigin(119), QPoint(162, 198));
    EXPECT_EQ(GlyphOrigin(120), QPoint(162, 198));
    EXPECT_EQ(GlyphOrigin(100000), QPoint(162, 198));
    EXPECT_EQ(GlyphOrigin(-1), QPoint(0, 0));
    // Glyph 0 is the filled disc: its middle is black, its corners white.
    EXPECT_TRUE(IsBlack(SymbolSheet(), 8, 8));
    EXPECT_FALSE(IsBlack(SymbolSheet(), 3, 3));
}

TEST(BuiltinImages, StitchTileIsSilverOnWhiteTouchingItsEdgesAtTheCutEnds) {
    const QImage& tile = StitchTile();
    ASSERT_EQ(tile.width(), 18);
    ASSERT_EQ(tile.height(), 18);
    ASSERT_EQ(tile.format(), QImage::Format_BGR888);
    int silver = 0;
    for (int y = 0; y < 18; ++y) {
        for (int x = 0; x < 18; ++x) {
            const bool s = IsSilver(tile, x, y);
            ASSERT_TRUE(s || Rgb(tile, x, y) == (std::array<int, 3>{255, 255, 255}))
                << x << "," << y;
            silver += s;
        }
    }
    EXPECT_GT(silver, 40);
    EXPECT_LT(silver, 18 * 18 / 2);

    // Silver on each edge: top row 13..17, right column 0..9, bottom row 0..9, left column 14..17
    // (the strands inside may meet the edges only within those stretches).
    for (int i = 0; i < 18; ++i) {
        if (i >= 13) {
            EXPECT_TRUE(IsSilver(tile, i, 0)) << "top " << i;
        } else {
            EXPECT_FALSE(IsSilver(tile, i, 0)) << "top " << i;
        }
        if (i <= 9) {
            EXPECT_TRUE(IsSilver(tile, 17, i)) << "right " << i;
            EXPECT_TRUE(IsSilver(tile, i, 17)) << "bottom " << i;
        } else {
            EXPECT_FALSE(IsSilver(tile, 17, i)) << "right " << i;
            EXPECT_FALSE(IsSilver(tile, i, 17)) << "bottom " << i;
        }
        if (i >= 14) {
            EXPECT_TRUE(IsSilver(tile, 0, i)) << "left " << i;
        } else {
            EXPECT_FALSE(IsSilver(tile, 0, i)) << "left " << i;
        }
    }
    // The stitch runs corner to corner: the middle of the tile is inside it, the two other
    // corners are outside.
    EXPECT_TRUE(IsSilver(tile, 2, 12) || IsSilver(tile, 1, 13)) << "upper long edge";
    EXPECT_FALSE(IsSilver(tile, 3, 3));
    EXPECT_FALSE(IsSilver(tile, 14, 14));
}

TEST(BuiltinImages, AndingTheTileDarkensOnlyTheOutlineInTheThreadsOwnHue) {
    const QImage& tile = StitchTile();
    for (int y = 0; y < 18; ++y) {
        for (int x = 0; x < 18; ++x) {
            const uchar* t = tile.constScanLine(y) + 3 * x;
            const bool outline = IsSilver(tile, x, y);
            for (int c = 0; c < 3; ++c) {
                EXPECT_EQ(255 & t[c], outline ? 192 : 255);
            }
            // A thread (100, 50, 200) keeps only its two highest bits on the outline.
            const std::array<int, 3> thread{100, 50, 200};
            const std::array<int, 3> onOutline{64, 0, 192};
            for (int c = 0; c < 3; ++c) {
                EXPECT_EQ(thread[c] & t[2 - c], outline ? onOutline[c] : thread[c]);
            }
        }
    }
}

} // namespace
} // namespace pelvano
