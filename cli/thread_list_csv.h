#pragma once

#include "engine/pattern_data.h"

#include <string>

namespace pelvano {

// The threads of a finished pattern as CSV, one row per thread in key order: symbol number (its
// row in the key, from 0), catalogue name, red, green, blue, and the crosses it has in the final
// pattern. Starts with a header row; names are always quoted.
std::string ThreadListCsv(const PatternData& pattern);

} // namespace pelvano
