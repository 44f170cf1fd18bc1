#include "engine/real.h"

#include <gtest/gtest.h>

namespace pelvano {
namespace {

TEST(RealHelpers, RoundHalfUpLooksAtTheFirstDecimalOnly) {
    EXPECT_EQ(RoundHalfUp(2.5L), 3);
    EXPECT_EQ(RoundHalfUp(2.49L), 2);
    EXPECT_EQ(RoundHalfUp(127.5L), 128);
    EXPECT_EQ(RoundHalfUp(127.49L), 127);
    EXPECT_EQ(RoundHalfUp(255.0L), 255);
    EXPECT_EQ(RoundHalfUp(0.0L), 0);
    // Only the first digit counts: 0.49999 stays down even though it is within 1e-5 of a half.
    EXPECT_EQ(RoundHalfUp(0.49999L), 0);
    EXPECT_EQ(RoundHalfUp(254.99999999L), 255);
    // Negative numbers truncate towards zero whatever their fraction.
    EXPECT_EQ(RoundHalfUp(-2.7L), -2);
    EXPECT_EQ(RoundHalfUp(-0.5L), 0);
}

TEST(RealHelpers, CeilLooseIgnoresFractionsUpToOneTenMillionth) {
    EXPECT_EQ(CeilLoose(3.0L), 3);
    EXPECT_EQ(CeilLoose(3.00000005L), 3);
    EXPECT_EQ(CeilLoose(3.0000002L), 4);
    EXPECT_EQ(CeilLoose(2.499999975L), 3);
    EXPECT_EQ(CeilLoose(4.99999995L), 5);
    EXPECT_EQ(CeilLoose(-2.7L), -2);
}

TEST(RealHelpers, OutOfRangeValuesSaturateInsteadOfOverflowing) {
    EXPECT_EQ(RoundHalfUp(1e30L), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(RoundHalfUp(-1e30L), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(CeilLoose(1e30L), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(RoundHalfUp(std::numeric_limits<Real>::quiet_NaN()), 0);
}

} // namespace
} // namespace pelvano
