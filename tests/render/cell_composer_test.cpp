#include "render/cell_composer.h"
#include "render/render_error.h"
#include "render_test_support.h"

#include <gtest/gtest.h>

namespace pelvano {
namespace {

using test::GlyphPixelIsBlack;
using test::PixelAt;
using test::Rgb;

TEST(DrawOptionsTest, TextureAndColourBoxesFollowTheSymbolBox) {
    const DrawOptions withSymbols = DrawOptions::fromChecks(false, true, true, false);
    EXPECT_FALSE(withSymbols.grid);
    EXPECT_TRUE(withSymbols.texture);
    EXPECT_FALSE(withSymbols.color);
    EXPECT_FALSE(withSymbols.textureEnabled);
    EXPECT_TRUE(withSymbols.colorEnabled);

    const DrawOptions withoutSymbols = DrawOptions::fromChecks(true, false, false, true);
    EXPECT_TRUE(withoutSymbols.textureEnabled);
    EXPECT_FALSE(withoutSymbols.colorEnabled);
}

TEST(SymbolLuminanceTest, DecidesBetweenWhiteAndBlackSymbols) {
    EXPECT_EQ(SymbolLuminance(Rgb(255, 255, 255)), 255);
    EXPECT_EQ(SymbolLuminance(Rgb(0, 0, 0)), 0);
    EXPECT_EQ(SymbolLuminance(Rgb(255, 0, 0)), 76); // 76.5 rounds to the even 76
    EXPECT_EQ(SymbolLuminance(Rgb(0, 255, 0)), 150);
    EXPECT_EQ(SymbolLuminance(Rgb(0, 0, 255)), 28);
    EXPECT_EQ(SymbolLuminance(Rgb(128, 128, 128)), 128);
    EXPECT_EQ(SymbolLuminance(Rgb(194, 194, 194)), 194);
    EXPECT_EQ(SymbolLuminance(Rgb(195, 195, 195)), 195);
    // Red sits in the low byte: swapping red and blue must change the answer.
    EXPECT_NE(SymbolLuminance(Rgb(200, 0, 0)), SymbolLuminance(Rgb(0, 0, 200)));
}

// Checks a composed cell against the stand-in glyph: black or white glyph pixels over the fill
// within the top-left 17 x 17, plain fill elsewhere.
void ExpectSymbolCell(const QImage& cell, int glyph, std::uint32_t fill, std::uint32_t ink) {
    for (int y = 0; y < kCellSize; ++y) {
        for (int x = 0; x < kCellSize; ++x) {
            const bool stamped = x < kStampSize && y < kStampSize && GlyphPixelIsBlack(glyph, x, y);
            ASSERT_EQ(PixelAt(cell, x, y), stamped ? ink : fill)
                << "glyph " << glyph << " at (" << x << ", " << y << ")";
        }
    }
}

TEST(CellComposerTest, SymbolIsWhiteOnDarkAndBlackOnLightFills) {
    const CellComposer composer(test::StandInSources(),
                                DrawOptions::fromChecks(true, true, false, true));
    const std::uint32_t black = 0, white = kWhite;
    ExpectSymbolCell(composer.composeImage(white, 0, true), 0, white, black);
    ExpectSymbolCell(composer.composeImage(black, 3, true), 3, black, white);
    ExpectSymbolCell(composer.composeImage(Rgb(255, 0, 0), 4, true), 4, Rgb(255, 0, 0), white);
    ExpectSymbolCell(composer.composeImage(Rgb(128, 128, 128), 5, true), 5, Rgb(128, 128, 128),
                     white);
    ExpectSymbolCell(composer.composeImage(Rgb(194, 194, 194), 6, true), 6, Rgb(194, 194, 194),
                     white);
    ExpectSymbolCell(composer.composeImage(Rgb(195, 195, 195), 7, true), 7, Rgb(195, 195, 195),
                     black);
}

TEST(CellComposerTest, ColourOffGivesWhiteCellsWithBlackSymbols) {
    const CellComposer composer(test::StandInSources(),
                                DrawOptions::fromChecks(true, true, false, false));
    ExpectSymbolCell(composer.composeImage(0, 12, true), 12, kWhite, 0);
    ExpectSymbolCell(composer.composeImage(Rgb(10, 200, 30), 13, true), 13, kWhite, 0);

    // The colour box only counts while symbols are on: with them off the colour always shows.
    const CellComposer plain(test::StandInSources(),
                             DrawOptions::fromChecks(true, false, false, false));
    const QImage cell = plain.composeImage(Rgb(10, 200, 30), 13, true);
    EXPECT_EQ(PixelAt(cell, 0, 0), Rgb(10, 200, 30));
    EXPECT_EQ(PixelAt(cell, 1, 1), Rgb(10, 200, 30));
}

TEST(CellComposerTest, ThreadsFromTheLastGlyphOnShareIt) {
    EXPECT_EQ(GlyphNumber(0), 0);
    EXPECT_EQ(GlyphNumber(118), 118);
    EXPECT_EQ(GlyphNumber(119), 119);
    EXPECT_EQ(GlyphNumber(460), 119);

    const CellComposer composer(test::StandInSources(),
                                DrawOptions::fromChecks(true, true, false, true));
    // Glyphs 9, 10 and 119 sit at the end of a sheet row, the start of the next, and the end.
    ExpectSymbolCell(composer.composeImage(kWhite, 9, true), 9, kWhite, 0);
    ExpectSymbolCell(composer.composeImage(kWhite, 10, true), 10, kWhite, 0);
    ExpectSymbolCell(composer.composeImage(kWhite, 119, true), 119, kWhite, 0);
    EXPECT_EQ(composer.composeImage(kWhite, 150, true), composer.composeImage(kWhite, 119, true));
    EXPECT_NE(composer.composeImage(kWhite, 118, true), composer.composeImage(kWhite, 119, true));
}

TEST(CellComposerTest, StitchTextureDarkensTheOutlineInTheThreadsHue) {
    const CellComposer composer(test::StandInSources(),
                                DrawOptions::fromChecks(true, false, true, true));
    const std::uint32_t thread = Rgb(100, 50, 200);
    const QImage cell = composer.composeImage(thread, 0, true);
    const QImage white = composer.composeImage(kWhite, 0, true);
    for (int y = 0; y < kCellSize; ++y) {
        for (int x = 0; x < kCellSize; ++x) {
            const bool outline = x < kStampSize && y < kStampSize && test::TilePixelIsSilver(x, y);
            ASSERT_EQ(PixelAt(cell, x, y), outline ? Rgb(64, 0, 192) : thread) << x << ", " << y;
            ASSERT_EQ(PixelAt(white, x, y), outline ? Rgb(192, 192, 192) : kWhite);
        }
    }
    // Key swatches never carry the texture.
    EXPECT_EQ(PixelAt(composer.composeImage(thread, 0, false), 3, 3), thread);
}

TEST(CellComposerTest, SymbolsTakeThePlaceOfTheTexture) {
    const CellComposer composer(test::StandInSources(),
                                DrawOptions::fromChecks(true, true, true, true));
    ExpectSymbolCell(composer.composeImage(kWhite, 2, true), 2, kWhite, 0);
}

TEST(CellComposerTest, RefusesMissingSources) {
    CellSources sources = test::StandInSources();
    sources.symbolSheet = QImage();
    EXPECT_THROW(CellComposer(sources, DrawOptions{}), RenderError);
    sources = test::StandInSources();
    sources.stitchTile = sources.stitchTile.copy(0, 0, 17, 17);
    EXPECT_THROW(CellComposer(sources, DrawOptions{}), RenderError);
}

} // namespace
} // namespace pelvano
