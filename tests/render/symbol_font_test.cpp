#include "render/builtin_images.h"
#include "render/symbol_font.h"
#include "render_test_support.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRawFont>
#include <algorithm>
#include <gtest/gtest.h>
#include <set>
#include <vector>

namespace pelvano {
namespace {

constexpr int kCell = kGlyphCell;
constexpr int kAscent = 14; // pixels above the baseline at pixel size kCell

QFont SymbolFont(int pixelSize) {
    QFont font(SymbolFontFamily());
    font.setPixelSize(pixelSize);
    font.setStyleStrategy(QFont::NoFontMerging); // a missing glyph must not come from elsewhere
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

// Glyph g set as text at pixel size kCell in a cell, its grey edges cut at half.
std::vector<bool> RenderedBits(int glyph) {
    QImage cell(kCell, kCell, QImage::Format_Grayscale8);
    cell.fill(Qt::white);
    QPainter painter(&cell);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(SymbolFont(kCell));
    painter.setPen(Qt::black);
    painter.drawText(QPointF(0, kAscent), SymbolText(glyph));
    painter.end();
    std::vector<bool> bits;
    for (int y = 0; y < kCell; ++y) {
        for (int x = 0; x < kCell; ++x) {
            bits.push_back(cell.constScanLine(y)[x] < 128);
        }
    }
    return bits;
}

std::vector<bool> SheetBits(int glyph) {
    const QPoint o = GlyphOrigin(glyph);
    std::vector<bool> bits;
    for (int y = 0; y < kCell; ++y) {
        for (int x = 0; x < kCell; ++x) {
            bits.push_back(SymbolSheet().pixel(o.x() + x, o.y() + y) == qRgb(0, 0, 0));
        }
    }
    return bits;
}

double IntersectionOverUnion(const std::vector<bool>& a, const std::vector<bool>& b) {
    int both = 0, either = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        both += a[i] && b[i];
        either += a[i] || b[i];
    }
    return either == 0 ? 0.0 : static_cast<double>(both) / either;
}

// Three grids of the 120 glyphs side by side: the sheet and the font at pixel size 18, both
// enlarged four times, and the font drawn at pixel size 72.
void SaveFontForReview() {
    constexpr int scale = 4;
    constexpr int big = kCell * scale;
    const int width = kGlyphsPerRow * big;
    const int height = kGlyphCount / kGlyphsPerRow * big;
    QImage small(kGlyphsPerRow * kCell, height / scale, QImage::Format_RGB32);
    QImage review(3 * width + 2 * 8, height, QImage::Format_RGB32);
    small.fill(Qt::white);
    review.fill(Qt::gray);
    QPainter smallPainter(&small);
    smallPainter.setFont(SymbolFont(kCell));
    QPainter painter(&review);
    painter.fillRect(2 * (width + 8), 0, width, height, Qt::white);
    painter.drawImage(QRect(0, 0, width, height), SymbolSheet());
    painter.setFont(SymbolFont(big));
    for (int g = 0; g < kGlyphCount; ++g) {
        const int column = g % kGlyphsPerRow;
        const int row = g / kGlyphsPerRow;
        smallPainter.drawText(QPointF(column * kCell, row * kCell + kAscent), SymbolText(g));
        painter.drawText(QPointF(2 * (width + 8) + column * big, row * big + kAscent * scale),
                         SymbolText(g));
    }
    smallPainter.end();
    painter.drawImage(QRect(width + 8, 0, width, height), small);
    painter.end();
    test::SaveForReview(review, "symbol_font.png");
}

TEST(SymbolFont, HasADistinctCharacterForEveryGlyphAndDrawsTheSheetsShapes) {
    const QString family = SymbolFontFamily();
    EXPECT_EQ(family, QStringLiteral("Pelvano Symbols"));
    EXPECT_EQ(SymbolFontFamily(), family) << "registered once";

    const QRawFont raw = QRawFont::fromFont(SymbolFont(kCell));
    ASSERT_TRUE(raw.isValid());
    ASSERT_EQ(raw.familyName(), family) << "the font database gave another font";
    // One em is one cell, kAscent above the baseline.
    EXPECT_NEAR(raw.ascent(), kAscent, 0.01);
    EXPECT_NEAR(raw.ascent() + raw.descent(), kCell, 0.01);
    EXPECT_TRUE(raw.supportsCharacter(U' '));

    std::set<char32_t> distinct;
    for (int g = 0; g < kGlyphCount; ++g) {
        const char32_t c = SymbolCodePoint(g);
        distinct.insert(c);
        EXPECT_TRUE(raw.supportsCharacter(c)) << "glyph " << g;
        const QList<quint32> index = raw.glyphIndexesForString(SymbolText(g));
        ASSERT_EQ(index.size(), 1) << "glyph " << g;
        EXPECT_NEAR(raw.advancesForGlyphIndexes(index).front().x(), kCell, 0.01) << "glyph " << g;
    }
    EXPECT_EQ(distinct.size(), static_cast<std::size_t>(kGlyphCount));
    EXPECT_EQ(SymbolCodePoint(-1), SymbolCodePoint(0));
    EXPECT_EQ(SymbolCodePoint(kGlyphCount), SymbolCodePoint(kGlyphCount - 1));
    EXPECT_EQ(SymbolCodePoint(0), U'\u25CF') << "the filled disc is a black circle";

    // Each glyph drawn from the font at the sheet's size covers nearly the pixels the sheet
    // has (the thin outlines agree least, about 0.83), and matches its own sheet glyph better
    // than any other: near twins such as the ring and the ring with a dot differ too little
    // for a threshold alone to notice a swap.
    std::vector<std::vector<bool>> sheet;
    for (int g = 0; g < kGlyphCount; ++g) {
        sheet.push_back(SheetBits(g));
    }
    std::vector<double> own;
    for (int g = 0; g < kGlyphCount; ++g) {
        const std::vector<bool> drawn = RenderedBits(g);
        own.push_back(IntersectionOverUnion(drawn, sheet[g]));
        EXPECT_GE(own.back(), 0.7) << "glyph " << g << " differs from the sheet";
        for (int other = 0; other < kGlyphCount; ++other) {
            if (other != g) {
                EXPECT_LT(IntersectionOverUnion(drawn, sheet[other]), own.back())
                    << "glyph " << g << " looks more like sheet glyph " << other;
            }
        }
    }
    std::sort(own.begin(), own.end());
    RecordProperty("min_iou", std::to_string(own.front()));
    RecordProperty("median_iou", std::to_string(own[own.size() / 2]));
    SaveFontForReview();
}

} // namespace
} // namespace pelvano
