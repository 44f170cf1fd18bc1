#pragma once

#include "engine/generation.h"

#include <cstdint>

namespace pelvano {

// Knobs of a generation run that callers normally leave alone; tests and benchmarks set them.
struct GenerationTuning {
    // Memory the grids may take half of; 0 asks the system (AvailableMemoryBytes).
    std::uint64_t availableMemoryBytes = 0;
    // Threads that sample cells, the calling thread included; 0 means one per core. The result
    // does not depend on it.
    int samplingThreads = 0;
};

GenerationOutcome RunGeneration(const GenerationRequest& request, const ColumnProgress& progress,
                                const GenerationTuning& tuning);

} // namespace pelvano
