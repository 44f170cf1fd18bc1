#include "engine/cell_sampling.h"

#include <algorithm>
#include <cmath>

namespace pelvano {

Real CellStep(std::int32_t pixels, std::int32_t cells) {
    return (static_cast<Real>(pixels) - 1e-7L) / static_cast<Real>(cells);
}

std::vector<AxisSpan> CellSpans(std::int32_t pixels, std::int32_t cells) {
    std::vector<AxisSpan> spans;
    if (pixels <= 0 || cells <= 0) {
        return spans;
    }
    spans.reserve(static_cast<std::size_t>(cells));
    const Real step = CellStep(pixels, cells);
    for (std::int32_t k = 0; k < cells; ++k) {
        const Real start = static_cast<Real>(k) * step;
        const Real end = start + step;
        AxisSpan span;
        span.first = static_cast<std::int32_t>(std::trunc(start));
        span.last = CeilLoose(end) - 1;
        span.firstCut = start - std::trunc(start);
        span.lastCut = 1 - (end - std::trunc(end));
        // The edges stay inside the picture for every size a run accepts; the clamp only
        // keeps a damaged size from reading outside the raster.
        span.first = std::min(span.first, pixels - 1);
        span.last = std::min(span.last, pixels - 1);
        spans.push_back(span);
    }
    return spans;
}

CellSums SumCell(const RasterView& picture, const AxisSpan& column, const AxisSpan& row) {
    Real sumRed = 0;
    Real sumGreen = 0;
    Real sumBlue = 0;
    const auto add = [&](const std::uint8_t* pixel, Real w) {
        sumRed += pixel[2] * w;
        sumGreen += pixel[1] * w;
        sumBlue += pixel[0] * w;
    };
    const std::ptrdiff_t stride = picture.stride;
    const std::uint8_t* top = picture.data + static_cast<std::ptrdiff_t>(row.first) * stride;
    for (std::int32_t i = column.first; i <= column.last; ++i) {
        const Real wx = SpanWeight(column, i);
        const std::uint8_t* pixel = top + static_cast<std::ptrdiff_t>(i) * 3;
        add(pixel, wx * SpanWeight(row, row.first));
        if (row.last == row.first) {
            continue;
        }
        // Rows between the first and the last weigh exactly 1, so their weight is wx itself,
        // and a whole-pixel column adds the bytes unscaled: the same sums to the last bit.
        pixel += stride;
        const std::uint8_t* const bottom = pixel + (row.last - row.first - 1) * stride;
        if (wx == 1) {
            for (; pixel != bottom; pixel += stride) {
                sumRed += Real(pixel[2]);
                sumGreen += Real(pixel[1]);
                sumBlue += Real(pixel[0]);
            }
        } else {
            for (; pixel != bottom; pixel += stride) {
                add(pixel, wx);
            }
        }
        add(pixel, wx * SpanWeight(row, row.last));
    }
    return CellSums{sumRed, sumGreen, sumBlue};
}

CellColor SampleCell(const RasterView& picture, const AxisSpan& column, const AxisSpan& row,
                     Real area) {
    const CellSums sums = SumCell(picture, column, row);
    return CellColor{RoundHalfUp(sums.red / area), RoundHalfUp(sums.green / area),
                     RoundHalfUp(sums.blue / area)};
}

} // namespace pelvano
