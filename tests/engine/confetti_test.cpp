#include "engine/confetti.h"
#include "engine/perceptual_matcher.h"

#include <gtest/gtest.h>
#include <initializer_list>

namespace pelvano {
namespace {

std::uint32_t Thread(int index) {
    return ThreadPalette()[static_cast<std::size_t>(index)].Color;
}

// A pattern from rows of palette numbers; every cell's average colour is `average` (an index
// into the palette) unless the cell is listed in `ownAverage`.
PatternData Pattern(std::initializer_list<std::initializer_list<int>> rows, int average) {
    PatternData p;
    p.rows = static_cast<std::int32_t>(rows.size());
    p.columns = static_cast<std::int32_t>(rows.begin()->size());
    p.patternGrid.resize(static_cast<std::size_t>(p.rows * p.columns));
    p.exactGrid.resize(p.patternGrid.size() * 3);
    std::int32_t r = 0;
    for (const auto& row : rows) {
        std::int32_t c = 0;
        for (const int index : row) {
            p.patternGrid[p.cellIndex(c++, r)] = Thread(index);
        }
        ++r;
    }
    const Item& t = ThreadPalette()[static_cast<std::size_t>(average)];
    for (std::size_t k = 0; k < p.patternGrid.size(); ++k) {
        p.exactGrid[k * 3] = t.B;
        p.exactGrid[k * 3 + 1] = t.G;
        p.exactGrid[k * 3 + 2] = t.R;
    }
    return p;
}

int IndexAt(const PatternData& p, int c, int r) {
    return ThreadIndexOfColor(p.patternGrid[p.cellIndex(c, r)]);
}

TEST(Confetti, LoneCellsTakeTheNearestNeighbourThread) {
    // Threads of one family near each other in colour, and one far off.
    const int a = 100;
    const int b = 101;
    const int far = 1;
    ASSERT_GT(DeltaE2000(ThreadLab(far), ThreadLab(a)), kConfettiMaxDifference);
    ASSERT_LT(DeltaE2000(ThreadLab(b), ThreadLab(a)), kConfettiMaxDifference);
    ASSERT_GT(DeltaE2000(ThreadLab(b), ThreadLab(a)), kConfettiMaxRise);

    // A lone cell in the middle changes; the cells around it do not.
    PatternData p = Pattern({{a, a, a}, {a, b, a}, {a, a, a}}, a);
    EXPECT_EQ(RemoveConfetti(p), 1);
    EXPECT_EQ(IndexAt(p, 1, 1), a);
    EXPECT_EQ(p.usedColors, (std::vector<std::uint32_t>{Thread(a)}));
    EXPECT_EQ(p.shadeCount, 1);

    // Two touching cells of one thread keep it.
    p = Pattern({{a, a, a, a}, {a, b, b, a}, {a, a, a, a}}, a);
    EXPECT_EQ(RemoveConfetti(p), 0);

    // A lone cell whose own colour is far from every neighbour's thread stays.
    p = Pattern({{a, a, a}, {a, far, a}, {a, a, a}}, far);
    EXPECT_EQ(RemoveConfetti(p), 0);
    EXPECT_EQ(RemoveConfetti(p, 1000, 1000), 1); // with no bound it goes
    // Nor does one whose own thread matches it much better than the neighbours' would.
    p = Pattern({{a, a, a}, {a, b, a}, {a, a, a}}, b);
    EXPECT_EQ(RemoveConfetti(p), 0);
    EXPECT_EQ(RemoveConfetti(p, kConfettiMaxDifference, 1000), 1);

    // Alternating threads with a same-thread cell beside, above or diagonal: nothing is lone.
    p = Pattern({{a, b, a, b}, {a, b, a, b}}, a);
    EXPECT_EQ(RemoveConfetti(p), 0); // each column has its thread above or below
    p = Pattern({{a, b, a}, {b, a, b}, {a, b, a}}, b);
    EXPECT_EQ(RemoveConfetti(p), 0); // diagonals count as neighbours
    // A row where every cell is lone: each is judged on the grid before the pass, so the
    // middle cell still sees its neighbours' old threads after they have changed.
    p = Pattern({{a, b, far}}, a);
    EXPECT_EQ(RemoveConfetti(p, 1000, 1000), 3);
    EXPECT_EQ(IndexAt(p, 0, 0), b);
    EXPECT_EQ(IndexAt(p, 1, 0), a); // the nearer of its two neighbours, to the colour a
    EXPECT_EQ(IndexAt(p, 2, 0), b);
    EXPECT_EQ(p.usedColors, (std::vector<std::uint32_t>{Thread(b), Thread(a)}));
    EXPECT_EQ(p.shadeCount, 2);
}

} // namespace
} // namespace pelvano
