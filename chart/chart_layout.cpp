#include "chart/chart_layout.h"

#include <algorithm>
#include <cmath>

namespace pelvano {

namespace {

ChartLayout LayOutTurned(std::int32_t columns, std::int32_t rows, QSizeF paperMm,
                         QPageLayout::Orientation orientation, double cellMm) {
    ChartLayout layout;
    layout.orientation = orientation;
    layout.paperMm = paperMm;
    const double gridWidth = paperMm.width() - 2 * kChartMarginMm - kChartGutterMm;
    const double gridHeight =
        paperMm.height() - 2 * kChartMarginMm - kChartGutterMm - kChartFooterMm;
    // A hair of tolerance so that cells that fit exactly are not lost to rounding.
    layout.pageColumns = std::max(kChartOverlap + 1,
                                  static_cast<std::int32_t>(std::floor(gridWidth / cellMm + 1e-9)));
    layout.pageRows = std::max(kChartOverlap + 1,
                               static_cast<std::int32_t>(std::floor(gridHeight / cellMm + 1e-9)));
    layout.across = SplitCells(columns, layout.pageColumns);
    layout.down = SplitCells(rows, layout.pageRows);
    std::int32_t number = 0;
    for (const ChartSpan& rowSpan : layout.down) {
        for (const ChartSpan& columnSpan : layout.across) {
            layout.pages.push_back({++number, columnSpan, rowSpan});
        }
    }
    return layout;
}

} // namespace

std::vector<ChartSpan> SplitCells(std::int32_t cells, std::int32_t perPage) {
    std::vector<ChartSpan> spans;
    if (cells <= 0 || perPage <= kChartOverlap) {
        return spans;
    }
    std::int32_t first = 0;
    std::int32_t repeated = 0;
    for (;;) {
        const std::int32_t count = std::min(perPage, cells - first);
        spans.push_back({first, count, repeated});
        if (first + count >= cells) {
            return spans;
        }
        first += count - kChartOverlap;
        repeated = kChartOverlap;
    }
}

ChartLayout LayOutChart(std::int32_t columns, std::int32_t rows, QPageSize::PageSizeId paper,
                        double cellMm) {
    const QSizeF upright = QPageSize(paper).size(QPageSize::Millimeter);
    const ChartLayout portrait =
        LayOutTurned(columns, rows, upright, QPageLayout::Portrait, cellMm);
    const ChartLayout landscape =
        LayOutTurned(columns, rows, upright.transposed(), QPageLayout::Landscape, cellMm);
    return landscape.pageCount() < portrait.pageCount() ? landscape : portrait;
}

} // namespace pelvano
