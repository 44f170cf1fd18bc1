#include "engine/linear_sampling.h"

#include <cstddef>

namespace pelvano {

LinearRgb AverageCellLinear(const RasterView& picture, const AxisSpan& column,
                            const AxisSpan& row) {
    double red = 0;
    double green = 0;
    double blue = 0;
    double total = 0;
    for (std::int32_t i = column.first; i <= column.last; ++i) {
        const double wx = static_cast<double>(SpanWeight(column, i));
        const std::uint8_t* pixel = picture.data +
                                    static_cast<std::ptrdiff_t>(row.first) * picture.stride +
                                    static_cast<std::ptrdiff_t>(i) * 3;
        for (std::int32_t j = row.first; j <= row.last; ++j, pixel += picture.stride) {
            const double w = wx * static_cast<double>(SpanWeight(row, j));
            red += SrgbToLinear(pixel[2]) * w;
            green += SrgbToLinear(pixel[1]) * w;
            blue += SrgbToLinear(pixel[0]) * w;
            total += w;
        }
    }
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
