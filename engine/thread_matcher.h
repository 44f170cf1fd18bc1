#pragma once

#include <cstdint>

namespace pelvano {

// Palette number (1..460) of the thread nearest to (r, g, b) by Euclidean distance; on equal
// distance the lower number wins. Counts nothing. Components outside 0..255 are accepted.
int NearestThreadIndex(int r, int g, int b);

// Builds the lookup structure behind NearestThreadIndex now instead of on first use, so that
// the first generation run does not pay for it in the middle of its progress.
void PrepareThreadMatcher();

} // namespace pelvano
