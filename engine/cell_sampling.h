#pragma once

#include "engine/generation.h"
#include "engine/real.h"

#include <cstdint>
#include <vector>

namespace pelvano {

// The pixels one cell covers along one axis: pixels `first` to `last`, the first losing
// `firstCut` of its width and the last losing `lastCut`.
struct AxisSpan {
    std::int32_t first = 0;
    std::int32_t last = 0;
    Real firstCut = 0;
    Real lastCut = 0;
};

// Width of one cell in pixels. The 1e-7 moves an edge that would fall exactly on a pixel
// boundary just before it, so the pixel before the boundary gives a sliver to the next cell.
Real CellStep(std::int32_t pixels, std::int32_t cells);

// The spans of all `cells` cells along an axis of `pixels` pixels. Each edge is the previous
// edge plus the step (not index times step), which decides the last bits of the weights.
std::vector<AxisSpan> CellSpans(std::int32_t pixels, std::int32_t cells);

// Share of `pixel` (first..last of the span) that lies inside the cell.
inline Real SpanWeight(const AxisSpan& span, std::int32_t pixel) {
    Real w = 1;
    if (pixel == span.first) {
        w -= span.firstCut;
    }
    if (pixel == span.last) {
        w -= span.lastCut;
    }
    return w;
}

// Weighted sums of a cell's pixels per channel. Pixels are added column by column, rows inner,
// so the rounding of every partial sum is fixed and a run gives the same colours every time.
struct CellSums {
    Real red = 0;
    Real green = 0;
    Real blue = 0;
};
CellSums SumCell(const RasterView& picture, const AxisSpan& column, const AxisSpan& row);

// A cell's colour before it is stored: each channel rounded from the area average, not yet
// cut to 8 bits.
struct CellColor {
    std::int32_t red = 0;
    std::int32_t green = 0;
    std::int32_t blue = 0;
};

// Area-weighted average of the pixels under a cell, each channel rounded half up; `area` is the
// column step times the row step.
CellColor SampleCell(const RasterView& picture, const AxisSpan& column, const AxisSpan& row,
                     Real area);

} // namespace pelvano
