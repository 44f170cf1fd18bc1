#pragma once

#include "engine/grid_budget.h"
#include "render/grid_geometry.h"

#include <cstdint>
#include <initializer_list>

namespace pelvano {

// Bytes a 24-bit raster of this size occupies, rows padded to 4 bytes.
std::uint64_t RasterBytes(PixelSize size);

// Throws RenderError, with the size in the message, when any raster is beyond what a 24-bit
// QImage can address or all of them together need more than `budgetBytes`. Called before
// allocating: a refused drawing must not disturb the images already shown.
void CheckRastersFit(std::initializer_list<PixelSize> sizes, std::uint64_t budgetBytes);

} // namespace pelvano
