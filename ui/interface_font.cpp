#include "ui/interface_font.h"

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

} // namespace pelvano
