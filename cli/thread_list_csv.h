#pragma once

#include "engine/pattern_data.h"
#include "engine/real.h"

#include <string>
#include <string_view>

namespace pelvano {

// What the thread amounts depend on besides the crosses.
struct ThreadNeeds {
    Real crossWidthMm = 1.7L;
    Real crossHeightMm = 1.7L;
    int strands = 2;
};

// The threads of a finished pattern as CSV, one row per thread in key order: symbol number (its
// row in the key, from 0), catalogue name, red, green, blue, the crosses it has in the final
// pattern, and the metres (one decimal) and whole skeins they take, as the chart's key counts
// them. Starts with a header row; names are always quoted. A non-empty `comment` goes first as
// a line of its own starting with "# ".
std::string ThreadListCsv(const PatternData& pattern, const ThreadNeeds& needs,
                          std::string_view comment = {});

} // namespace pelvano
