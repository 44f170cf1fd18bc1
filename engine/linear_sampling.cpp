#include "engine/linear_sampling.h"

#include <array>
#include <cstddef>

namespace pelvano {

LinearRgb AverageCellLinear(const RasterView& picture, const AxisSpan& column,
                            const AxisSpan& row) {
    const std::array<double, 256>& decode = SrgbToLinearTable();
    // Only the first and the last row of a span can weigh less than 1, so each column sums its
    // inner rows unweighted and its edge rows with their weights, and is then weighted as a
    // whole; the total weight is the product of the two spans' weights.
    const auto firstWeight = static_cast<double>(SpanWeight(row, row.first));
    const auto lastWeight = static_cast<double>(SpanWeight(row, row.last));
    double rowTotal = firstWeight;
    if (row.last != row.first) {
        rowTotal += lastWeight + static_cast<double>(row.last - row.first - 1);
    }
    double red = 0;
    double green = 0;
    double blue = 0;
    double columnTotal = 0;
    const std::ptrdiff_t stride = picture.stride;
    const std::uint8_t* top = picture.data + static_cast<std::ptrdiff_t>(row.first) * stride;
    for (std::int32_t i = column.first; i <= column.last; ++i) {
        const auto wx = static_cast<double>(SpanWeight(column, i));
        const std::uint8_t* pixel = top + static_cast<std::ptrdiff_t>(i) * 3;
        double r = decode[pixel[2]] * firstWeight;
        double g = decode[pixel[1]] * firstWeight;
        double b = decode[pixel[0]] * firstWeight;
        if (row.last != row.first) {
            pixel += stride;
            const std::uint8_t* const bottom = pixel + (row.last - row.first - 1) * stride;
            for (; pixel != bottom; pixel += stride) {
                r += decode[pixel[2]];
                g += decode[pixel[1]];
                b += decode[pixel[0]];
            }
            r += decode[pixel[2]] * lastWeight;
            g += decode[pixel[1]] * lastWeight;
            b += decode[pixel[0]] * lastWeight;
        }
        red += r * wx;
        green += g * wx;
        blue += b * wx;
        columnTotal += wx;
    }
    const double total = columnTotal * rowTotal;
    if (total <= 0) {
        return {};
    }
    return LinearRgb{red / total, green / total, blue / total};
}

std::vector<LinearRgb> AverageCellsLinear(const RasterView& picture, std::int32_t columns,
                                          std::int32_t rows) {
    std::vector<LinearRgb> cells;
    if (picture.data == nullptr || columns <= 0 || rows <= 0) {
        return cells;
    }
    const std::vector<AxisSpan> columnSpans = CellSpans(picture.width, columns);
    const std::vector<AxisSpan> rowSpans = CellSpans(picture.height, rows);
    if (columnSpans.empty() || rowSpans.empty()) {
        return cells;
    }
    cells.reserve(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows));
    for (const AxisSpan& column : columnSpans) {
        for (const AxisSpan& row : rowSpans) {
            cells.push_back(AverageCellLinear(picture, column, row));
        }
    }
    return cells;
}

} // namespace pelvano
