#include "render/key_image.h"

#include "engine/palette.h"
#include "render/render_error.h"

#include <QFont>
#include <QPainter>
#include <QString>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace pelvano {

namespace {

// The lowest-numbered thread of this colour, or nothing.
const Item* ThreadOfColor(std::uint32_t color) {
    const ThreadTable& palette = ThreadPalette();
    for (int index = 1; index <= kThreadCount; ++index) {
        if (palette[index].Color == color) {
            return &palette[index];
        }
    }
    return nullptr;
}

bool FitsInKey(QPoint origin) {
    return origin.x() + kCellSize <= kKeyWidth && origin.y() + kCellSize <= kKeyHeight;
}

// A fixed family and pixel size with hinting off, so the key looks the same on every machine
// whatever its screen and font settings.
QFont KeyFont() {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::NoSubpixelAntialias);
    return font;
}

} // namespace

QPoint KeySwatchOrigin(std::size_t index) {
    const auto column = static_cast<int>(index / kKeyRowsPerColumn);
    const auto row = static_cast<int>(index % kKeyRowsPerColumn);
    return {kKeyLeft + kKeyColumnPitch * column, kKeyTop + kKeyRowPitch * row};
}

void DrawKeyFrom(const CellSources& sources, const PatternData& data, const DrawOptions& options,
                 QImage& keyImage) {
    // Only the rows that fit are drawn, so only they need a thread.
    std::size_t shown = 0;
    while (shown < data.usedColors.size() && FitsInKey(KeySwatchOrigin(shown))) {
        ++shown;
    }
    std::vector<QString> names;
    names.reserve(shown);
    for (std::size_t i = 0; i < shown; ++i) {
        const Item* thread = ThreadOfColor(data.usedColors[i]);
        if (thread == nullptr) {
            throw RenderError("Данные схемы повреждены: цвет №" + std::to_string(i + 1) +
                              " не найден среди ниток палитры. Сгенерируйте схему заново.");
        }
        names.push_back(
            QString::fromUtf8(thread->Name.data(), static_cast<qsizetype>(thread->Name.size())));
    }

    const CellComposer composer(sources, options);
    QImage key(kKeyWidth, kKeyHeight, QImage::Format_BGR888);
    if (key.isNull()) {
        throw RenderError("Не хватает памяти для изображения ключа.");
    }
    std::memset(key.bits(), 0xFF, static_cast<std::size_t>(key.sizeInBytes()));

    std::uint8_t* bits = key.bits();
    const auto stride = static_cast<std::size_t>(key.bytesPerLine());
    for (std::size_t i = 0; i < shown; ++i) {
        const QPoint origin = KeySwatchOrigin(i);
        std::uint8_t* swatch =
            bits + static_cast<std::size_t>(origin.y()) * stride + origin.x() * 3;
        composer.compose(data.usedColors[i], i, false, swatch, static_cast<std::ptrdiff_t>(stride));
        std::uint8_t* dash = swatch + kKeyDashRow * stride + kKeyDashLeft * 3;
        std::memset(dash, 0, (kKeyDashRight - kKeyDashLeft) * 3);
    }

    QPainter painter(&key);
    painter.setFont(KeyFont());
    painter.setPen(Qt::black);
    painter.setBackground(Qt::white);
    painter.setBackgroundMode(Qt::OpaqueMode);
    for (std::size_t i = 0; i < shown; ++i) {
        const QPoint origin = KeySwatchOrigin(i);
        const QRect box(origin.x() + kKeyTextLeft, origin.y() + kKeyTextTop,
                        kKeyWidth - origin.x() - kKeyTextLeft, kKeyRowPitch - kKeyTextTop);
        painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, names[i]);
    }
    painter.end();
    keyImage = std::move(key);
}

} // namespace pelvano
