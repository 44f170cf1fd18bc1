#pragma once

#include "engine/palette.h"

namespace pelvano {

// The catalogue's threads in palette order, entry 0 empty. Generated from the catalogue table
// by engine/tools/generate_thread_table.py.
extern const ThreadTable kThreadTable;

} // namespace pelvano
