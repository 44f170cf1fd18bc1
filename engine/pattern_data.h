#pragma once

#include "engine/palette.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace pelvano {

// Everything a generation run leaves behind for drawing, saving and printing. Grids are stored
// column-major, [column][row] with column 0 at the left and row 0 at the top, so the cell of
// column c and row r is at index c * rows + r.
struct PatternData {
    std::int32_t columns = 0; // the shape the grids were built with
    std::int32_t rows = 0;

    // Area-averaged colour of every cell, three bytes each: blue, green, red.
    std::vector<std::uint8_t> exactGrid;
    // The chosen thread's colour, 0x00BBGGRR, of every cell (after shade limiting).
    std::vector<std::uint32_t> patternGrid;

    ThreadUsage threadUsage{};              // crosses per palette number, as the sampling counted
    std::vector<std::uint32_t> usedThreads; // palette numbers used (reordered by shade limiting)
    std::int32_t usedThreadCount = 0;       // distinct threads the sampling chose
    std::int32_t shadeCount = 0;            // distinct threads in the final pattern
    // Distinct pattern colours in order of first appearance, columns outer, rows inner; a
    // colour's position is its symbol number and its row in the key.
    std::vector<std::uint32_t> usedColors;

    std::size_t cellIndex(std::int32_t column, std::int32_t row) const {
        return static_cast<std::size_t>(column) * static_cast<std::size_t>(rows) +
               static_cast<std::size_t>(row);
    }
    bool empty() const { return columns == 0 || rows == 0; }
};

} // namespace pelvano
