#pragma once

#include "engine/pattern_data.h"

#include <cstdint>

namespace pelvano {

inline constexpr double kConfettiMaxDifference = 12;

// Removes lone stitches: a cell whose thread none of its (up to 8) neighbours has takes, of the
// threads among its neighbours, the one nearest by CIEDE2000 to the cell's own average colour
// in `exactGrid`; on equal difference the thread more neighbours have, then the lower palette
// number. The cell keeps its thread when even the nearest differs by more than `maxDifference`.
// Every cell is judged on the grid as it was before the pass, so the order of the scan does
// not matter. Afterwards `usedColors` and `shadeCount` describe the new grid; the sampling's
// record (threadUsage, usedThreads, usedThreadCount) is left as it was. Returns the number of
// cells changed; a pattern whose exact grid does not fit its shape is left alone.
std::int32_t RemoveConfetti(PatternData& pattern, double maxDifference = kConfettiMaxDifference);

} // namespace pelvano
