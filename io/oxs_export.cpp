#include "io/oxs_export.h"

#include "engine/palette.h"
#include "io/picture_export.h"
#include "render/symbol_font.h"

#include <QXmlStreamWriter>
#include <unordered_map>

namespace pelvano {

namespace {

// RRGGBB in upper case from a colour stored as 0x00BBGGRR.
QString HexColour(std::uint32_t color) {
    const std::uint32_t rgb = ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
    return QStringLiteral("%1").arg(rgb, 6, 16, QLatin1Char('0')).toUpper();
}

QString PerInch(double crossMm) {
    return QString::number(crossMm > 0 ? 25.4 / crossMm : 0, 'f', 2);
}

} // namespace

QByteArray OxsDocument(const PatternData& pattern, const OxsSubject& subject) {
    QByteArray out;
    QXmlStreamWriter xml(&out);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("chart"));
    xml.writeEmptyElement(QStringLiteral("format"));

    const auto threads = static_cast<int>(pattern.usedColors.size());
    xml.writeEmptyElement(QStringLiteral("properties"));
    xml.writeAttribute(QStringLiteral("oxsversion"), QStringLiteral("1.0"));
    xml.writeAttribute(QStringLiteral("software"), QStringLiteral("Pelvano"));
    xml.writeAttribute(QStringLiteral("chartheight"), QString::number(pattern.rows));
    xml.writeAttribute(QStringLiteral("chartwidth"), QString::number(pattern.columns));
    xml.writeAttribute(QStringLiteral("charttitle"), subject.title);
    xml.writeAttribute(QStringLiteral("stitchesperinch"), PerInch(subject.crossWidthMm));
    xml.writeAttribute(QStringLiteral("stitchesperinch_y"), PerInch(subject.crossHeightMm));
    xml.writeAttribute(QStringLiteral("palettecount"), QString::number(threads + 1));

    // Index 0 is the cloth; thread i of the key is index i + 1, with the key's symbol.
    xml.writeStartElement(QStringLiteral("palette"));
    xml.writeEmptyElement(QStringLiteral("palette_item"));
    xml.writeAttribute(QStringLiteral("index"), QStringLiteral("0"));
    xml.writeAttribute(QStringLiteral("number"), QStringLiteral("cloth"));
    xml.writeAttribute(QStringLiteral("name"), QStringLiteral("cloth"));
    xml.writeAttribute(QStringLiteral("color"), QStringLiteral("FFFFFF"));
    const ThreadTable& palette = ThreadPalette();
    std::unordered_map<std::uint32_t, int> indexOf;
    for (int i = 0; i < threads; ++i) {
        const std::uint32_t color = pattern.usedColors[static_cast<std::size_t>(i)];
        indexOf.emplace(color, i + 1);
        const int thread = ThreadIndexOfColor(color);
        const QString name =
            thread > 0 ? QString::fromUtf8(palette[thread].Name.data(),
                                           static_cast<qsizetype>(palette[thread].Name.size()))
                       : QString();
        xml.writeEmptyElement(QStringLiteral("palette_item"));
        xml.writeAttribute(QStringLiteral("index"), QString::number(i + 1));
        xml.writeAttribute(QStringLiteral("number"), QStringLiteral("DMC ") + name);
        xml.writeAttribute(QStringLiteral("name"), name);
        xml.writeAttribute(QStringLiteral("color"), HexColour(color));
        xml.writeAttribute(QStringLiteral("printcolor"), HexColour(color));
        xml.writeAttribute(QStringLiteral("strands"), QString::number(subject.strands));
        xml.writeAttribute(QStringLiteral("symbol"), SymbolText(i));
    }
    xml.writeEndElement();

    // x is the column and y the row from the top-left, both from 0.
    xml.writeStartElement(QStringLiteral("fullstitches"));
    for (std::int32_t y = 0; y < pattern.rows; ++y) {
        for (std::int32_t x = 0; x < pattern.columns; ++x) {
            const auto found = indexOf.find(pattern.patternGrid[pattern.cellIndex(x, y)]);
            if (found == indexOf.end()) {
                continue;
            }
            xml.writeEmptyElement(QStringLiteral("stitch"));
            xml.writeAttribute(QStringLiteral("x"), QString::number(x));
            xml.writeAttribute(QStringLiteral("y"), QString::number(y));
            xml.writeAttribute(QStringLiteral("palindex"), QString::number(found->second));
        }
    }
    xml.writeEndElement();
    for (const char* empty :
         {"partstitches", "backstitches", "ornaments_inc_knots_and_beads", "commentboxes"}) {
        xml.writeEmptyElement(QString::fromLatin1(empty));
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    return out;
}

QString SaveOxs(const QString& path, const PatternData& pattern, const OxsSubject& subject) {
    if (pattern.empty()) {
        return QStringLiteral("There is no pattern to save");
    }
    return SaveFileBytes(OxsDocument(pattern, subject), path);
}

} // namespace pelvano
