#pragma once

#include "engine/pattern_data.h"
#include "render/cell_composer.h"

#include <QImage>
#include <cstdint>
#include <string>
#include <vector>

namespace pelvano::test {

// Stand-in sheet and tile whose pixels the tests know: glyph g has black pixels at (1, 1),
// (16, 16) and a bar of g % 16 + 1 pixels along row 8, and the last row and column of every glyph
// cell are black so that a stamp reaching past 17 x 17 would show. The tile has a silver diagonal
// and a silver last row and column.
CellSources StandInSources();

inline bool GlyphPixelIsBlack(int glyph, int x, int y) {
    return (x == 1 && y == 1) || (x == 16 && y == 16) ||
           (y == 8 && x >= 1 && x <= glyph % 16 + 1) || x == 17 || y == 17;
}
inline bool TilePixelIsSilver(int x, int y) {
    return x == y || x == 17 || y == 17;
}

inline std::uint32_t Rgb(int r, int g, int b) {
    return static_cast<std::uint32_t>(r) | static_cast<std::uint32_t>(g) << 8 |
           static_cast<std::uint32_t>(b) << 16;
}

// Pixel of a Format_BGR888 image as 0x00BBGGRR.
std::uint32_t PixelAt(const QImage& image, int x, int y);

// A pattern of the given shape whose cell (c, r) has colour colors[(c + r) % colors.size()] and an
// exact colour derived from its position; usedColors in first-appearance order.
PatternData MakePattern(std::int32_t columns, std::int32_t rows,
                        const std::vector<std::uint32_t>& colors);

// Saves a picture for people to look at.
void SaveForReview(const QImage& image, const std::string& name);

} // namespace pelvano::test
