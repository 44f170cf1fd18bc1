#pragma once

#include <QString>

namespace pelvano {

// The built-in symbol font: the sheet's 120 glyphs as outlines, one character each, so that a
// chart can set its symbols as text that stays sharp at any size and that readers can copy out.
//
// One em is one glyph cell. At pixel size s the em runs from 14/18 s above the baseline to 4/18 s
// below it (the font's ascent and descent), every character advances by s, and each glyph sits
// in the em where the sheet has it in its cell; at s = 18 it covers nearly the same pixels. So
// text drawn at pixel size s and centred in an s x s box (Qt::AlignCenter) fills the box as a
// sheet cell would.

// The font's family name, for QFont. The first call registers the font with the application's
// font database (so it needs a QGuiApplication) and later calls return the same name. A missing
// or unreadable font resource is a build fault: throws std::runtime_error.
QString SymbolFontFamily();

// The character that draws glyph 0..119 in the symbol font: a look-alike where Unicode has one
// (U+25CF for the filled disc, 'T' for the letter T), else a private-use character from U+E000.
// All 120 are distinct and in the Basic Multilingual Plane. Numbers past the last glyph share the
// last one and negative numbers the first, as GlyphOrigin does.
char32_t SymbolCodePoint(int glyph);

// SymbolCodePoint(glyph) as a one-character string.
QString SymbolText(int glyph);

} // namespace pelvano
