#pragma once
// TEMPORARY STUB (not committed)
#include <QString>
namespace pelvano {
QString SymbolFontFamily();
char32_t SymbolCodePoint(int glyph);
QString SymbolText(int glyph);
}
