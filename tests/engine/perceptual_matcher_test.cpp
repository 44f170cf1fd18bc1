#include "engine/palette.h"
#include "engine/perceptual_matcher.h"

#include <cmath>
#include <gtest/gtest.h>
#include <random>

namespace pelvano {
namespace {

TEST(PerceptualMatcher, AgreesWithThePlainScan) {
    // Every thread's own colour finds a thread at no difference (itself, or an earlier thread
    // of the same colour).
    for (int i = 1; i <= kThreadCount; ++i) {
        const int found = NearestThreadPerceptual(ThreadLab(i));
        EXPECT_EQ(DeltaE2000(ThreadLab(found), ThreadLab(i)), 0) << i;
        EXPECT_LE(found, i);
    }
    // Random colours: anywhere in the sRGB cube, as a linear-light average gives them; spread
    // over the whole Lab box and beyond, including colours no screen shows; and within a hair of
    // a thread, where the bounds are tightest against the difference itself.
    std::mt19937_64 random(20240611);
    std::uniform_real_distribution<double> unit(0, 1);
    int mismatches = 0;
    for (int n = 0; n < 30000; ++n) {
        const double hair = std::pow(10, -6 * unit(random));
        const Lab& thread = ThreadLab(1 + n % kThreadCount);
        const Lab color = n % 3 == 0   ? LinearRgbToLab({unit(random), unit(random), unit(random)})
                          : n % 3 == 1 ? Lab{140 * unit(random) - 20, 400 * unit(random) - 200,
                                             400 * unit(random) - 200}
                                       : Lab{thread.L + hair * (unit(random) - 0.5),
                                             thread.a + hair * (unit(random) - 0.5),
                                             thread.b + hair * (unit(random) - 0.5)};
        if (NearestThreadPerceptual(color) != NearestThreadPerceptualByScan(color)) {
            ++mismatches;
        }
    }
    EXPECT_EQ(mismatches, 0);
}

} // namespace
} // namespace pelvano
