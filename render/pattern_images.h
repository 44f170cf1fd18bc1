#pragma once

#include "engine/pattern_data.h"
#include "render/cell_composer.h"
#include "render/draw_options.h"
#include "render/grid_geometry.h"
#include "render/render_error.h"

#include <QImage>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

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

class PatternCellPainter;

// PatternImage a band of rows at a time, for savers that stream it instead of holding the whole
// image: every row has the bytes of the same row of DrawPattern's image (without the padding).
// Checks the data and throws RenderError exactly as DrawPattern does, before drawing anything;
// afterwards drawing allocates nothing and throws nothing.
class PatternRowDrawer {
public:
    PatternRowDrawer(const CellSources& sources, std::uint64_t memoryBudget,
                     const PatternData& data, std::int32_t columns, std::int32_t rows,
                     const DrawOptions& options);
    ~PatternRowDrawer();
    PatternRowDrawer(const PatternRowDrawer&) = delete;
    PatternRowDrawer& operator=(const PatternRowDrawer&) = delete;

    // The image's size; empty when there is nothing to draw.
    PixelSize size() const { return size_; }
    // Row y (0 <= y < height), three bytes per pixel, blue first. Valid until the next call;
    // rows asked for in order are cheapest.
    const std::uint8_t* row(std::int64_t y);

private:
    static constexpr std::int64_t kBandRows = 2 * kCellSize;
    void drawBand(std::int64_t top);

    CellShape shape_;
    bool grid_ = false;
    PixelSize size_;
    std::unique_ptr<PatternCellPainter> painter_;
    std::size_t rowBytes_ = 0;
    std::vector<std::uint8_t> band_;
    std::int64_t bandTop_ = -kBandRows;
    std::int32_t firstCellRow_ = 0;
};

// The same with the built-in sources and the memory budget DrawPattern uses.
std::unique_ptr<PatternRowDrawer> NewPatternRowDrawer(const PatternData& data, std::int32_t columns,
                                                      std::int32_t rows,
                                                      const DrawOptions& options);

} // namespace pelvano
