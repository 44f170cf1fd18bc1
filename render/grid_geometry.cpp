#include "render/grid_geometry.h"

namespace pelvano {

int GridLineWidthBefore(std::int64_t index) {
    if (index <= 0) {
        return 1;
    }
    return 1 + (index % 5 == 0 ? 1 : 0) + (index % 10 == 0 ? 1 : 0);
}

std::int64_t CellOffset(std::int64_t index, bool grid) {
    if (!grid) {
        return 18 * index;
    }
    return 1 + 19 * index + index / 5 + index / 10;
}

std::int64_t PatternImageExtent(std::int64_t count, bool grid) {
    if (!grid) {
        return 18 * count;
    }
    return 19 * count + count / 5 + count / 10 + 1;
}

PixelSize PatternImageSize(std::int64_t columns, std::int64_t rows, bool grid) {
    return {PatternImageExtent(columns, grid), PatternImageExtent(rows, grid)};
}

} // namespace pelvano
