#pragma once

#include "engine/cell_sampling.h"
#include "engine/color_science.h"
#include "engine/generation.h"

#include <cstdint>
#include <vector>

namespace pelvano {

// Average of the pixels under a cell taken in linear light: each pixel's sRGB is decoded,
// weighted by the share of it the cell covers (the same spans and weights as the exact
// sampling) and the sum divided by the total weight.
LinearRgb AverageCellLinear(const RasterView& picture, const AxisSpan& column, const AxisSpan& row);

// Every cell of a columns x rows grid over the picture, column-major like PatternData's grids.
// Empty when the picture or the grid is empty.
std::vector<LinearRgb> AverageCellsLinear(const RasterView& picture, std::int32_t columns,
                                          std::int32_t rows);

} // namespace pelvano
