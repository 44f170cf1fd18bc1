#pragma once

#include "engine/color_science.h"
#include "engine/shade_limiting.h"

namespace pelvano {

// The CIELAB colour of palette thread 1..460, worked out once on first use.
const Lab& ThreadLab(int thread);

// Palette number (1..460) of the thread with the smallest CIEDE2000 difference from `color`;
// on equal difference the lower number wins. Safe to call from several threads at once.
int NearestThreadPerceptual(const Lab& color);

// The same answer by comparing every thread, for checking and measuring the fast one.
int NearestThreadPerceptualByScan(const Lab& color);

// Shade limiting for the perceptual run. Pairs are measured by CIEDE2000 between the threads'
// Lab colours. Of a merged pair the thread that stays is the one whose colour is nearer, by
// CIEDE2000, to the mean of the two Lab colours weighted by their crosses, so the surviving
// colour is the better stand-in for all the cells both threads covered; on equal difference
// the more used thread stays, as in the plain rule. (Measured by the plain Euclidean Lab
// distance this would always be the more used thread; CIEDE2000 is not uniform in Lab, so
// near the neutral axis and in the blues the other thread can be the nearer one.)
PairMergeRule PerceptualMergeRule();

} // namespace pelvano
