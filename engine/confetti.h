#pragma once

#include "engine/pattern_data.h"

#include <cstdint>

namespace pelvano {

// How close a neighbour's thread must be for a lone stitch to take it, chosen by measuring the
// corpus photos, drawings and the sample at 120 columns: at most this far from the cell's
// average colour (CIEDE2000)...
inline constexpr double kConfettiMaxDifference = 20;
// ...and at most this much farther than the cell's own thread. The second bound keeps pictures
// whose cells match their threads closely (dithered black and white, greys) from losing more
// than a few percent of their fidelity, while lone stitches that matched badly anyway go.
inline constexpr double kConfettiMaxRise = 5;

// Removes lone stitches: a cell whose thread none of its (up to 8) neighbours has takes, of the
// threads among its neighbours, the one nearest by CIEDE2000 to the cell's own average colour
// in `exactGrid`; on equal difference the thread more neighbours have, then the lower palette
// number. The cell keeps its thread when even the nearest differs by more than `maxDifference`,
// or by more than `maxRise` beyond the difference of the cell's own thread.
// Every cell is judged on the grid as it was before the pass, so the order of the scan does
// not matter. Afterwards `usedColors` and `shadeCount` describe the new grid; the sampling's
// record (threadUsage, usedThreads, usedThreadCount) is left as it was. Returns the number of
// cells changed; a pattern whose exact grid does not fit its shape is left alone.
std::int32_t RemoveConfetti(PatternData& pattern, double maxDifference = kConfettiMaxDifference,
                            double maxRise = kConfettiMaxRise);

} // namespace pelvano
