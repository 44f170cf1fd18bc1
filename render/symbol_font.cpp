#include "render/symbol_font.h"
namespace pelvano {
QString SymbolFontFamily() { return QStringLiteral("DejaVu Sans"); }
char32_t SymbolCodePoint(int glyph) { return 0x0410 + glyph; }
QString SymbolText(int glyph) { char32_t c = 0x0410 + glyph; return QString::fromUcs4(&c, 1); }
}
