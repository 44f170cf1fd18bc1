#pragma once

#include <cstdint>

namespace pelvano {

struct PixelSize {
    std::int64_t width = 0;
    std::int64_t height = 0;
};

// Width of the black line before cell `index` along one axis when the grid is drawn: every fifth
// line is doubled and every tenth tripled, counted from the first cell, whose own line (the
// frame) is 1 pixel. The line before index `count` is the closing frame.
int GridLineWidthBefore(std::int64_t index);

// Left (or top) pixel of cell `index` along one axis.
std::int64_t CellOffset(std::int64_t index, bool grid);

// Pixels along one axis for `count` cells, frame included when the grid is drawn.
std::int64_t PatternImageExtent(std::int64_t count, bool grid);

PixelSize PatternImageSize(std::int64_t columns, std::int64_t rows, bool grid);

inline constexpr int kExactCellSize = 9;

inline PixelSize ExactImageSize(std::int64_t columns, std::int64_t rows) {
    return {kExactCellSize * columns, kExactCellSize * rows};
}

} // namespace pelvano
