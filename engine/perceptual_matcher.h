#pragma once

#include "engine/color_science.h"

namespace pelvano {

// The CIELAB colour of palette thread 1..460, worked out once on first use.
const Lab& ThreadLab(int thread);

// Palette number (1..460) of the thread with the smallest CIEDE2000 difference from `color`;
// on equal difference the lower number wins. Safe to call from several threads at once.
int NearestThreadPerceptual(const Lab& color);

// The same answer by comparing every thread, for checking and measuring the fast one.
int NearestThreadPerceptualByScan(const Lab& color);

} // namespace pelvano
