#include "render/cell_composer.h"

#include "engine/real.h"
#include "render/render_error.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace pelvano {

namespace {

QImage AsBgr(const QImage& image, int minWidth, int minHeight, const char* what) {
    if (image.isNull() || image.width() < minWidth || image.height() < minHeight) {
        throw RenderError(std::string("Не удалось подготовить ") + what +
                          ": встроенное изображение отсутствует или повреждено.");
    }
    return image.format() == QImage::Format_BGR888 ? image
                                                   : image.convertToFormat(QImage::Format_BGR888);
}

// Halves go to the even neighbour; written out so that no rounding mode set elsewhere matters.
int RoundHalfEven(Real value) {
    const Real floor = std::floor(value);
    const Real fraction = value - floor;
    auto result = static_cast<long long>(floor);
    if (fraction > 0.5L || (fraction == 0.5L && result % 2 != 0)) {
        ++result;
    }
    return static_cast<int>(result);
}

} // namespace

int SymbolLuminance(std::uint32_t color) {
    const int red = static_cast<int>(color & 0xFF);
    const int green = static_cast<int>((color >> 8) & 0xFF);
    const int blue = static_cast<int>((color >> 16) & 0xFF);
    // Extended-precision constants: 0.3L * 255 is exactly 76.5 here, so pure red rounds to 76.
    const Real luminance = 0.3L * red + 0.59L * green + 0.11L * blue;
    return RoundHalfEven(luminance);
}

std::uint32_t CellFillColor(std::uint32_t threadColor, const DrawOptions& options) {
    return options.color || !options.colorEnabled ? threadColor : kWhite;
}

int GlyphNumber(std::size_t symbolNumber) {
    return static_cast<int>(std::min<std::size_t>(symbolNumber, kGlyphCount - 1));
}

CellComposer::CellComposer(const CellSources& sources, const DrawOptions& options)
    : sheet_(AsBgr(sources.symbolSheet, kGlyphsPerRow * kGlyphCell,
                   (kGlyphCount / kGlyphsPerRow) * kGlyphCell, "значки")),
      tile_(AsBgr(sources.stitchTile, kCellSize, kCellSize, "текстуру стежка")), options_(options) {
}

void CellComposer::compose(std::uint32_t threadColor, std::size_t symbolNumber, bool allowTexture,
                           std::uint8_t* dest, std::ptrdiff_t stride) const {
    const std::uint32_t fill = CellFillColor(threadColor, options_);
    const std::uint8_t pixel[3] = {static_cast<std::uint8_t>(fill >> 16),
                                   static_cast<std::uint8_t>(fill >> 8),
                                   static_cast<std::uint8_t>(fill)};
    std::uint8_t* row = dest;
    for (int x = 0; x < kCellSize; ++x) {
        std::memcpy(row + 3 * x, pixel, 3);
    }
    for (int y = 1; y < kCellSize; ++y) {
        std::memcpy(dest + y * stride, row, kCellRowBytes);
    }

    constexpr int stampBytes = kStampSize * 3;
    if (options_.symbols) {
        const int glyph = GlyphNumber(symbolNumber);
        const QPoint corner = GlyphOrigin(glyph);
        const int left = corner.x() * 3;
        const int top = corner.y();
        const bool whiteSymbol = SymbolLuminance(fill) < kBlackSymbolLuminance;
        for (int y = 0; y < kStampSize; ++y) {
            const std::uint8_t* glyphRow = sheet_.constScanLine(top + y) + left;
            std::uint8_t* out = dest + y * stride;
            for (int b = 0; b < stampBytes; ++b) {
                // Black glyph pixels turn the cell white (OR NOT) or black (AND).
                out[b] = whiteSymbol ? static_cast<std::uint8_t>(out[b] | ~glyphRow[b])
                                     : static_cast<std::uint8_t>(out[b] & glyphRow[b]);
            }
        }
    } else if (options_.texture && allowTexture) {
        for (int y = 0; y < kStampSize; ++y) {
            const std::uint8_t* tileRow = tile_.constScanLine(y);
            std::uint8_t* out = dest + y * stride;
            for (int b = 0; b < stampBytes; ++b) {
                out[b] &= tileRow[b];
            }
        }
    }
}

QImage CellComposer::composeImage(std::uint32_t threadColor, std::size_t symbolNumber,
                                  bool allowTexture) const {
    QImage cell(kCellSize, kCellSize, QImage::Format_BGR888);
    compose(threadColor, symbolNumber, allowTexture, cell.bits(), cell.bytesPerLine());
    return cell;
}

} // namespace pelvano
