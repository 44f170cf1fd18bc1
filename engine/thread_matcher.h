#pragma once

#include <cstdint>

namespace pelvano {

// Palette number (1..460) of the thread nearest to (r, g, b) by Euclidean distance; on equal
// distance the lower number wins. Counts nothing. Components outside 0..255 are accepted.
int NearestThreadIndex(int r, int g, int b);

// NearestThreadIndex works out what it needs for each part of the colour cube on first use, so a
// small picture pays only for its own colours. This works all of it out now, for a program that
// can do so while it waits for the user; lookups on other threads may run at the same time.
void PrepareThreadMatcher();

} // namespace pelvano
