#include "io/print_geometry.h"

#include <gtest/gtest.h>
#include <ostream>

namespace pelvano {

void PrintTo(const PrintRect& r, std::ostream* out) {
    *out << '(' << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ')';
}

namespace {

Real Aspect(int width, int height) {
    return static_cast<Real>(width) / static_cast<Real>(height);
}

TEST(PrintGeometry, KeyFillsThePageLessItsMargins) {
    EXPECT_EQ(KeyPrintRect(4800, 6800), (PrintRect{10, 10, 4780, 6780}));
}

// A portrait page of 4800 x 6800 device pixels; landscape it reads 6800 x 4800.
TEST(PrintGeometry, PatternOnAnA4LikePage) {
    // 360 x 540: taller than A4, the height fills the page.
    EXPECT_FALSE(PatternPrintsLandscape(Aspect(360, 540)));
    EXPECT_EQ(PatternPrintRect(Aspect(360, 540), 4800, 6800), (PrintRect{10, 10, 4520, 6780}));
    // A square stays portrait and fills the width.
    EXPECT_FALSE(PatternPrintsLandscape(Aspect(540, 540)));
    EXPECT_EQ(PatternPrintRect(Aspect(540, 540), 4800, 6800), (PrintRect{10, 10, 4780, 4780}));
    // 1.2 turns the page; still relatively taller than landscape A4, so the height fills it.
    EXPECT_TRUE(PatternPrintsLandscape(Aspect(600, 500)));
    EXPECT_EQ(PatternPrintRect(Aspect(600, 500), 6800, 4800), (PrintRect{10, 10, 5736, 4780}));
    // 2.0: landscape, the width fills the page.
    EXPECT_TRUE(PatternPrintsLandscape(Aspect(800, 400)));
    EXPECT_EQ(PatternPrintRect(Aspect(800, 400), 6800, 4800), (PrintRect{10, 10, 6780, 3390}));
    // 0.5: portrait, the height fills the page.
    EXPECT_EQ(PatternPrintRect(Aspect(400, 800), 4800, 6800), (PrintRect{10, 10, 3390, 6780}));
}

TEST(PrintGeometry, ThresholdsAndRoundingOfThePatternFit) {
    // Exactly A4 proportions count as taller than A4 either way round.
    EXPECT_EQ(PatternPrintRect(Aspect(70, 99), 4800, 6800).bottom, 6780);
    EXPECT_EQ(PatternPrintRect(Aspect(99, 70), 6800, 4800).bottom, 4780);
    // Just past the threshold the width fills the page instead.
    EXPECT_EQ(PatternPrintRect(Aspect(7001, 9900), 4800, 6800).right, 4780);
    EXPECT_EQ(PatternPrintRect(Aspect(9901, 7000), 6800, 4800).right, 6780);
    // Halves go to the even neighbour: 6781 x 0.5 and 6781 / 2 are both 3390.5.
    EXPECT_EQ(PatternPrintRect(0.5L, 4800, 6801).right, 3390);
    EXPECT_EQ(PatternPrintRect(2.0L, 6801, 4800).bottom, 3390);
    EXPECT_EQ(PatternPrintRect(0.5L, 4800, 6803).right, 3392);
}

// US Letter at 600 dpi: 5100 x 6600, relatively wider than A4.
TEST(PrintGeometry, PatternStaysOnLetterPaper) {
    // 0.75 is wider than A4 but taller than Letter: filling the width would run 173 pixels off
    // the bottom, so the height fills the page.
    EXPECT_EQ(PatternPrintRect(0.75L, 5100, 6600), (PrintRect{10, 10, 4935, 6580}));
    // Landscape, 1.35 is taller than A4 but wider than Letter: the width fills the page.
    EXPECT_EQ(PatternPrintRect(1.35L, 6600, 5100), (PrintRect{10, 10, 6580, 4874}));
    // A rectangle that eats into the right margin but stays on the page is kept as it was.
    EXPECT_EQ(PatternPrintRect(1.298L, 6600, 5100), (PrintRect{10, 10, 6594, 5080}));
}

TEST(PrintGeometry, PatternNeverLeavesThePrintableAreaNorVanishes) {
    struct Page {
        int width;
        int height;
    };
    // A4, Letter, Legal, A5 and a square label, each both ways round.
    const Page pages[] = {{4800, 6800}, {5100, 6600}, {5100, 8400}, {3500, 4960}, {3000, 3000}};
    for (const Page& portrait : pages) {
        for (int step = 1; step <= 400; ++step) {
            const Real aspect = static_cast<Real>(step) / 100.0L;
            const bool landscape = PatternPrintsLandscape(aspect);
            const int width = landscape ? portrait.height : portrait.width;
            const int height = landscape ? portrait.width : portrait.height;
            const PrintRect r = PatternPrintRect(aspect, width, height);
            SCOPED_TRACE(testing::Message() << "page " << width << " x " << height << ", aspect "
                                            << static_cast<double>(aspect));
            EXPECT_EQ(r.left, 10);
            EXPECT_EQ(r.top, 10);
            EXPECT_LE(r.right, width);
            EXPECT_LE(r.bottom, height);
            // One side reaches the margin, and the proportions are the pattern's (within the
            // 10-pixel offset of the corner).
            EXPECT_TRUE(r.right >= width - 20 || r.bottom >= height - 20);
            const double drawn = static_cast<double>(r.right) / r.bottom;
            EXPECT_NEAR(drawn, static_cast<double>(aspect), 0.01 * static_cast<double>(aspect));
        }
    }
    // A single column or row of thousands of crosses keeps at least one device pixel.
    EXPECT_EQ(PatternPrintRect(Aspect(1, 100000), 4800, 6800), (PrintRect{10, 10, 11, 6780}));
    EXPECT_EQ(PatternPrintRect(Aspect(100000, 1), 6800, 4800), (PrintRect{10, 10, 6780, 11}));
}

} // namespace
} // namespace pelvano
