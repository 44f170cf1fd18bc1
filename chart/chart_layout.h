#pragma once

#include <QPageLayout>
#include <QPageSize>
#include <QSizeF>
#include <cstdint>
#include <vector>

namespace pelvano {

// How a pattern is cut into chart pages. All lengths in millimetres on paper.

inline constexpr double kChartMarginMm = 10; // around everything on a page
inline constexpr double kChartGutterMm = 7;  // left of and above the grid: numbers and arrows
inline constexpr double kChartFooterMm = 8;  // below the grid: the page's footer
inline constexpr int kChartOverlap = 3;      // columns and rows repeated from the previous page
inline constexpr double kMinChartCellMm = 2;
inline constexpr double kMaxChartCellMm = 6;

// A stretch of columns (or rows) on one page: [first, first + count), the first `repeated` of
// them shown on the page before as well.
struct ChartSpan {
    std::int32_t first = 0;
    std::int32_t count = 0;
    std::int32_t repeated = 0;
};

struct ChartPage {
    std::int32_t number = 0; // 1-based, counting chart pages only
    ChartSpan columns;
    ChartSpan rows;
};

struct ChartLayout {
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QSizeF paperMm;                // as the pages are turned
    std::int32_t pageColumns = 0;  // cells a full page holds across
    std::int32_t pageRows = 0;     // and down
    std::vector<ChartSpan> across; // pages from left to right
    std::vector<ChartSpan> down;   // pages from top to bottom
    std::vector<ChartPage> pages;  // left to right, then top to bottom

    std::int32_t pageCount() const { return static_cast<std::int32_t>(pages.size()); }
};

// Spans of at most `perPage` cells covering `cells`, each after the first starting with the last
// kChartOverlap cells of the one before.
std::vector<ChartSpan> SplitCells(std::int32_t cells, std::int32_t perPage);

// The layout for a pattern of columns x rows at `cellMm` on this paper, turned whichever way
// takes fewer pages (upright when both take the same).
ChartLayout LayOutChart(std::int32_t columns, std::int32_t rows, QPageSize::PageSizeId paper,
                        double cellMm);

} // namespace pelvano
