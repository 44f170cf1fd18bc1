#include "engine/thread_amount.h"

#include <gtest/gtest.h>

namespace pelvano {
namespace {

TEST(ThreadAmount, SkeinsFollowAHandWorkedExampleAndFabricCounts) {
    // 14-count: crosses of 25.4 / 14 = 1.8143 mm. One cross: two diagonals of 2.5658 mm and a
    // move across and down at the back, 8.7601 mm of stitching, times 1.57 for tails and waste:
    // 13.7534 mm of the working thread. A skein gives 6 / 2 = 3 lengths of 8 m of two strands,
    // 24 m, so 1,745 crosses (23.9997 m) take one skein and 1,746 (24.0134 m) take two.
    const Real aida14 = 25.4L / 14;
    ThreadAmount one = ThreadForCrosses(1745, aida14, aida14, 2);
    EXPECT_NEAR(static_cast<double>(one.metres), 24.0, 0.001);
    EXPECT_EQ(one.skeins, 1);
    EXPECT_EQ(ThreadForCrosses(1746, aida14, aida14, 2).skeins, 2);
    // Three strands: a skein holds only two lengths.
    EXPECT_EQ(ThreadForCrosses(1746, aida14, aida14, 3).skeins, 2);
    EXPECT_EQ(ThreadForCrosses(1163, aida14, aida14, 3).skeins, 1);
    // Any crosses at all take a skein; none take nothing.
    EXPECT_EQ(ThreadForCrosses(1, aida14, aida14, 2).skeins, 1);
    EXPECT_EQ(ThreadForCrosses(0, aida14, aida14, 2).skeins, 0);

    EXPECT_EQ(DefaultStrands(1.81L), 2);
    EXPECT_EQ(DefaultStrands(2.3L), 3);
    EXPECT_NEAR(static_cast<double>(FabricCount(1.7L)), 14.94, 0.01);
    EXPECT_EQ(UsualAidaCount(FabricCount(1.7L)), std::nullopt); // 6.7 % over 14, 6.6 % under 16
    EXPECT_EQ(UsualAidaCount(14.4L), 14);
    EXPECT_EQ(UsualAidaCount(15.0L), std::nullopt);
    EXPECT_EQ(UsualAidaCount(25.4L / 1.81L), 14);
}

} // namespace
} // namespace pelvano
