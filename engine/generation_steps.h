#pragma once

#include "engine/cell_sampling.h"
#include "engine/generation.h"
#include "engine/generation_tuning.h"
#include "engine/palette.h"

#include <cstdint>
#include <variant>

namespace pelvano {

// The steps every way of running a generation shares, so that sampling the cells in another
// order cannot change anything else about the result.

// The refusal a run gives, checked before anything is built; otherwise the parsed shade limit.
std::variant<GenerationRefusal, std::int32_t>
CheckGenerationRequest(const GenerationRequest& request, const GenerationTuning& tuning);

// Zeroed grids of the requested shape in a fresh result.
void PrepareGrids(PatternData& pattern, std::int32_t columns, std::int32_t rows);

// Stores one sampled cell: its exact colour and the nearest thread, counted into `usage`.
inline void StoreCell(PatternData& pattern, std::size_t cell, const CellColor& c,
                      ThreadUsage& usage) {
    std::uint8_t* exact = &pattern.exactGrid[cell * 3];
    exact[0] = static_cast<std::uint8_t>(c.blue & 0xFF);
    exact[1] = static_cast<std::uint8_t>(c.green & 0xFF);
    exact[2] = static_cast<std::uint8_t>(c.red & 0xFF);
    pattern.patternGrid[cell] = NearestThread(c.red, c.green, c.blue, usage);
}

// Everything after sampling: the used threads, the shade limit, the used colours and the label.
// `pattern.threadUsage` must hold the counts of every cell.
void CompleteGeneration(GenerationResult& result, const GenerationRequest& request,
                        std::int32_t shadeLimit);

} // namespace pelvano
