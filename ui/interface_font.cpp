#include "ui/interface_font.h"

#include <QFontMetrics>
#include <QStringList>

namespace pelvano {

QFont InterfaceFont(const QFont& base) {
    QFont face = base;
    face.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Arial"),
                      QStringLiteral("Liberation Sans"), QStringLiteral("Nimbus Sans"),
                      base.family()});
    face.setPixelSize(11);
    return face;
}

QFont FontFitting(const QFont& normal, const QString& text, int width) {
    constexpr int kSmallestPixels = 6;
    constexpr qreal kSmallestPoints = 4.5;
    QFont font = normal;
    while (QFontMetrics(font).horizontalAdvance(text) > width) {
        if (font.pixelSize() > 0) {
            if (font.pixelSize() <= kSmallestPixels)
                break;
            font.setPixelSize(font.pixelSize() - 1);
        } else {
            if (font.pointSizeF() <= kSmallestPoints)
                break;
            font.setPointSizeF(font.pointSizeF() - 0.5);
        }
    }
    return font;
}

} // namespace pelvano
