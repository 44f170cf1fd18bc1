#pragma once

#include "engine/pattern_data.h"
#include "engine/real.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace pelvano {

// How much thread a pattern needs, and on what fabric.

// Crosses of every key row (the order of UsedColors), counted from the final grid: after shade
// limiting the sampling's own counters no longer match what is stitched.
std::vector<std::int64_t> CrossesInKeyOrder(const PatternData& pattern);

// Strands stitched together: 2, or 3 for crosses of 2.3 mm or more (11-count and coarser fabric).
int DefaultStrands(Real crossWidthMm);

// A skein is 8 m of six strands.
inline constexpr Real kSkeinMetres = 8;
inline constexpr int kSkeinStrands = 6;

struct ThreadAmount {
    Real metres = 0;         // of the working thread, all its strands together
    std::int32_t skeins = 0; // whole skeins, at least 1 for any crosses at all
};

// Thread for `crosses` full crosses of the given size. One cross takes its two diagonals on the
// front and a move across and one down at the back; stitchers use about 1.57 times that with
// tails and waste, so at 14-count with 2 strands one skein covers about 1,750 crosses.
ThreadAmount ThreadForCrosses(std::int64_t crosses, Real crossWidthMm, Real crossHeightMm,
                              int strands);

// The width of a cross, in hundredths of a millimetre rounded as the cross-size fields round, on
// fabric of `count` crosses per inch: 14 gives 181. 0 for a count that is not positive.
std::int32_t FabricCrossHundredths(Real count);

// Crosses per inch of a fabric whose crosses are this wide.
Real FabricCount(Real crossWidthMm);

// The usual Aida count (8, 11, 14, 16, 18, 20, 22 or 25) within 3 % of `count`, if any.
std::optional<int> UsualAidaCount(Real count);

} // namespace pelvano
