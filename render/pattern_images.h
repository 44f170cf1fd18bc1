#pragma once

#include "engine/pattern_data.h"
#include "render/cell_composer.h"
#include "render/draw_options.h"
#include "render/render_error.h"

#include <QImage>
#include <cstdint>
#include <functional>

namespace pelvano {

// Draws ExactImage (9x9 per cell) and PatternImage (18x18 cells, grid optional) in place,
// Format_BGR888. columns/rows are ColumnCount/RowCount as they stand now (may differ from the
// grids' shape). columnDone(i) is called after each column (1..columns) for a progress bar.
// Throws RenderError with a clear (Russian) message, before allocating, when an image would be
// too large for a raster.
void DrawPattern(const PatternData& data, std::int32_t columns, std::int32_t rows,
                 const DrawOptions& options, QImage& exactImage, QImage& patternImage,
                 const std::function<void(std::int32_t)>& columnDone = {});

// The same drawing from given sources and a memory budget for the two images.
void DrawPatternFrom(const CellSources& sources, std::uint64_t memoryBudget,
                     const PatternData& data, std::int32_t columns, std::int32_t rows,
                     const DrawOptions& options, QImage& exactImage, QImage& patternImage,
                     const std::function<void(std::int32_t)>& columnDone = {});

struct CellShape {
    std::int32_t columns = 0;
    std::int32_t rows = 0;
    bool empty() const { return columns == 0 || rows == 0; }
};

// The cells a drawing shows. The size fields may have changed since the grids were built: fewer
// columns or rows show the grids' top-left part, more are cut back to the grids (there is nothing
// beyond them to draw), and a count of 0 or less leaves nothing to draw in either direction.
CellShape DrawnCellShape(const PatternData& data, std::int32_t columns, std::int32_t rows);

} // namespace pelvano
