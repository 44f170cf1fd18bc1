#include "engine/palette.h"
#include "engine/perceptual_matcher.h"

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
    // Random colours: half anywhere in the sRGB cube, as a linear-light average gives them,
    // half spread over the whole Lab box, including colours no screen shows.
    std::mt19937_64 random(20240611);
    std::uniform_real_distribution<double> unit(0, 1);
    int mismatches = 0;
    for (int n = 0; n < 20000; ++n) {
        const Lab color = n % 2 == 0 ? LinearRgbToLab({unit(random), unit(random), unit(random)})
                                     : Lab{100 * unit(random), 256 * unit(random) - 128,
                                           256 * unit(random) - 128};
        if (NearestThreadPerceptual(color) != NearestThreadPerceptualByScan(color)) {
            ++mismatches;
        }
    }
    EXPECT_EQ(mismatches, 0);
}

} // namespace
} // namespace pelvano
