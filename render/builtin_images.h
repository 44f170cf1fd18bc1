#pragma once

#include <QImage>
#include <QPoint>

namespace pelvano {

// The two images built into the program. Both are loaded on first use, kept for the whole run
// and never changed, in QImage::Format_BGR888 (three bytes per pixel: blue, green, red).
//
// SymbolSheet: 180 x 216, ten glyphs of 18 x 18 to a row, twelve rows; every glyph is pure black
// (0, 0, 0) on pure white (255, 255, 255) and keeps the first and last row and column of its cell
// white, so copying the top-left 17 x 17 pixels of a cell takes the whole glyph.
//
// StitchTile: 18 x 18, the silver (192, 192, 192) outline of one slanted stitch on white. ANDed
// onto a cell it keeps the two highest bits of each channel on the outline and leaves the rest.
//
// A missing or malformed resource is a build fault: both throw std::runtime_error saying which.
const QImage& SymbolSheet();
const QImage& StitchTile();

inline constexpr int kGlyphCell = 18;    // a glyph cell is kGlyphCell x kGlyphCell pixels
inline constexpr int kGlyphsPerRow = 10; // glyphs across the sheet
inline constexpr int kGlyphCount = 120;  // glyphs 0..119

// Top-left corner of glyph g's cell in SymbolSheet: (18 * (g mod 10), 18 * (g div 10)). Numbers
// past the last glyph share the last one, and negative numbers the first, so the corner always
// lies inside the sheet.
QPoint GlyphOrigin(int glyph);

} // namespace pelvano
