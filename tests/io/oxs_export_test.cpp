#include "engine/palette.h"
#include "io/oxs_export.h"

#include <QXmlStreamReader>
#include <gtest/gtest.h>
#include <map>

namespace pelvano {
namespace {

TEST(OxsExport, ReadsBackWithSizesPaletteAndOneStitchPerCell) {
    const ThreadTable& palette = ThreadPalette();
    PatternData pattern;
    pattern.columns = 7;
    pattern.rows = 4;
    for (std::int32_t c = 0; c < pattern.columns; ++c) {
        for (std::int32_t r = 0; r < pattern.rows; ++r) {
            pattern.patternGrid.push_back(palette[1 + (c + 2 * r) % 3 * 50].Color);
        }
    }
    pattern.usedColors = {palette[1].Color, palette[101].Color, palette[51].Color};
    const OxsSubject subject{QStringLiteral("роза & <шипы>.bmp"), 25.4 / 14, 25.4 / 16, 3};

    QXmlStreamReader xml(OxsDocument(pattern, subject));
    std::map<int, QString> colours; // palette index -> RRGGBB
    std::map<std::pair<int, int>, int> stitches;
    QStringList empty;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) {
            continue;
        }
        const auto a = xml.attributes();
        if (xml.name() == QLatin1String("properties")) {
            EXPECT_EQ(a.value("oxsversion"), QLatin1String("1.0"));
            EXPECT_EQ(a.value("chartwidth").toInt(), 7);
            EXPECT_EQ(a.value("chartheight").toInt(), 4);
            EXPECT_EQ(a.value("charttitle"), subject.title);
            EXPECT_EQ(a.value("stitchesperinch"), QLatin1String("14.00"));
            EXPECT_EQ(a.value("stitchesperinch_y"), QLatin1String("16.00"));
            EXPECT_EQ(a.value("palettecount").toInt(), 4);
        } else if (xml.name() == QLatin1String("palette_item")) {
            colours[a.value("index").toInt()] = a.value("color").toString();
            if (a.value("index").toInt() == 0) {
                EXPECT_EQ(a.value("number"), QLatin1String("cloth"));
                EXPECT_EQ(a.value("color"), QLatin1String("FFFFFF"));
            } else {
                EXPECT_TRUE(a.value("number").startsWith(QLatin1String("DMC ")));
                EXPECT_EQ(a.value("strands").toInt(), 3);
                EXPECT_EQ(a.value("symbol").size(), 1);
            }
        } else if (xml.name() == QLatin1String("stitch")) {
            const auto cell = std::pair{a.value("x").toInt(), a.value("y").toInt()};
            EXPECT_EQ(stitches.count(cell), 0u);
            stitches[cell] = a.value("palindex").toInt();
        } else if (xml.name() != QLatin1String("chart") && xml.name() != QLatin1String("palette") &&
                   xml.name() != QLatin1String("fullstitches")) {
            empty << xml.name().toString();
        }
    }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_EQ(empty, QStringList({"format", "partstitches", "backstitches",
                                  "ornaments_inc_knots_and_beads", "commentboxes"}));
    ASSERT_EQ(colours.size(), 4u);
    ASSERT_EQ(stitches.size(), 28u);
    // Each stitch's palette colour is its cell's thread, as RRGGBB.
    for (const auto& [cell, index] : stitches) {
        const std::uint32_t c = pattern.patternGrid[pattern.cellIndex(cell.first, cell.second)];
        const QString rgb = QStringLiteral("%1%2%3")
                                .arg(c & 0xFF, 2, 16, QLatin1Char('0'))
                                .arg((c >> 8) & 0xFF, 2, 16, QLatin1Char('0'))
                                .arg((c >> 16) & 0xFF, 2, 16, QLatin1Char('0'))
                                .toUpper();
        EXPECT_EQ(colours[index], rgb) << cell.first << "," << cell.second;
    }
}

} // namespace
} // namespace pelvano
