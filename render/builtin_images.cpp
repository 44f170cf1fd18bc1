#include "render/builtin_images.h"

#include <QColor>
#include <QString>
#include <algorithm>
#include <initializer_list>
#include <stdexcept>
#include <string>

namespace pelvano {

namespace {

// Loads a resource image and checks it is exactly what the renderers assume: the right size and
// only the expected colours. Anything else means the resource was not built in or was damaged.
QImage LoadBuiltin(const char* path, int width, int height, std::initializer_list<QRgb> colours) {
    QImage loaded(QString::fromLatin1(path));
    if (loaded.isNull()) {
        throw std::runtime_error(std::string("built-in image ") + path +
                                 " is missing or unreadable (resources not linked in?)");
    }
    if (loaded.width() != width || loaded.height() != height) {
        throw std::runtime_error(std::string("built-in image ") + path + " is " +
                                 std::to_string(loaded.width()) + " x " +
                                 std::to_string(loaded.height()) + " pixels, expected " +
                                 std::to_string(width) + " x " + std::to_string(height));
    }
    QImage image = loaded.convertToFormat(QImage::Format_BGR888);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const QRgb pixel = image.pixel(x, y) | 0xFF000000u;
            if (std::find(colours.begin(), colours.end(), pixel) == colours.end()) {
                throw std::runtime_error(std::string("built-in image ") + path +
                                         " has an unexpected colour at (" + std::to_string(x) +
                                         ", " + std::to_string(y) + ")");
            }
        }
    }
    return image;
}

} // namespace

const QImage& SymbolSheet() {
    static const QImage sheet = LoadBuiltin(":/SYMBOLS", kGlyphCell * kGlyphsPerRow,
                                            kGlyphCell * (kGlyphCount / kGlyphsPerRow),
                                            {qRgb(0, 0, 0), qRgb(255, 255, 255)});
    return sheet;
}

const QImage& StitchTile() {
    static const QImage tile =
        LoadBuiltin(":/STITCH", kGlyphCell, kGlyphCell, {qRgb(192, 192, 192), qRgb(255, 255, 255)});
    return tile;
}

QPoint GlyphOrigin(int glyph) {
    const int g = std::clamp(glyph, 0, kGlyphCount - 1);
    return {kGlyphCell * (g % kGlyphsPerRow), kGlyphCell * (g / kGlyphsPerRow)};
}

} // namespace pelvano
