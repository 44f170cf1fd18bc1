#include "render/symbol_font.h"

#include "render/builtin_images.h"
#include "render/symbol_code_points.h"

#include <QFontDatabase>
#include <QStringList>
#include <algorithm>
#include <stdexcept>

namespace pelvano {

static_assert(kSymbolCodePoints.size() == kGlyphCount);

namespace {

QString RegisterSymbolFont() {
    const int id = QFontDatabase::addApplicationFont(QStringLiteral(":/SYMBOL_FONT"));
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    if (id < 0 || families.isEmpty()) {
        throw std::runtime_error(
            "built-in symbol font :/SYMBOL_FONT is missing or unreadable (resources not linked "
            "in, or no QGuiApplication?)");
    }
    return families.front();
}

} // namespace

QString SymbolFontFamily() {
    static const QString family = RegisterSymbolFont();
    return family;
}

char32_t SymbolCodePoint(int glyph) {
    return kSymbolCodePoints[static_cast<std::size_t>(std::clamp(glyph, 0, kGlyphCount - 1))];
}

QString SymbolText(int glyph) {
    const char32_t codePoint = SymbolCodePoint(glyph);
    return QString::fromUcs4(&codePoint, 1);
}

} // namespace pelvano
