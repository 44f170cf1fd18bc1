// The chart read back with poppler's own tools, as a reading app or a person would see it.
#include "chart/chart_layout.h"
#include "chart/chart_pdf.h"
#include "engine/palette.h"
#include "engine/thread_amount.h"
#include "render/symbol_font.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <cmath>
#include <gtest/gtest.h>
#include <map>
#include <memory>

namespace pelvano {
namespace {

class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "test_chart";
        static char* argv[] = {name, nullptr};
        app_ = std::make_unique<QGuiApplication>(argc, argv);
    }
    void TearDown() override { app_.reset(); }

private:
    std::unique_ptr<QGuiApplication> app_;
};

[[maybe_unused]] const auto* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

QString RunTool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    EXPECT_TRUE(process.waitForFinished(60000)) << program.toStdString();
    EXPECT_EQ(process.exitCode(), 0) << program.toStdString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

// A pattern of light threads in bands, so that every cell's symbol can be told from its place:
// `threads` threads, each the colour of a palette entry, first met column by column.
PatternData BandedPattern(std::int32_t columns, std::int32_t rows, int threads) {
    const ThreadTable& palette = ThreadPalette();
    std::vector<std::uint32_t> light;
    for (int i = 1; i <= kThreadCount && static_cast<int>(light.size()) < threads; ++i) {
        const std::uint32_t c = palette[i].Color;
        if ((c & 0xFF) + ((c >> 8) & 0xFF) + ((c >> 16) & 0xFF) > 450) {
            light.push_back(c);
        }
    }
    PatternData data;
    data.columns = columns;
    data.rows = rows;
    data.patternGrid.resize(static_cast<std::size_t>(columns) * rows);
    for (std::int32_t c = 0; c < columns; ++c) {
        for (std::int32_t r = 0; r < rows; ++r) {
            const std::uint32_t color = light[static_cast<std::size_t>((c / 7 + r / 5) % threads)];
            data.patternGrid[data.cellIndex(c, r)] = color;
            if (std::find(data.usedColors.begin(), data.usedColors.end(), color) ==
                data.usedColors.end()) {
                data.usedColors.push_back(color);
            }
        }
    }
    return data;
}

struct Word {
    int page = 0;
    QRectF box; // points
    QString text;
};

std::vector<Word> WordsOf(const QString& pdf) {
    QXmlStreamReader xml(RunTool("pdftotext", {"-bbox", pdf, "-"}));
    std::vector<Word> words;
    int page = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement()) {
            continue;
        }
        if (xml.name() == QLatin1String("page")) {
            ++page;
        } else if (xml.name() == QLatin1String("word")) {
            const auto a = xml.attributes();
            const double x0 = a.value("xMin").toDouble();
            const double y0 = a.value("yMin").toDouble();
            QRectF box(QPointF(x0, y0),
                       QPointF(a.value("xMax").toDouble(), a.value("yMax").toDouble()));
            words.push_back({page, box, xml.readElementText()});
        }
    }
    return words;
}

TEST(Chart, PagesSymbolsKeyAndFontsReadBack) {
    const PatternData pattern = BandedPattern(130, 95, 24);
    ChartSubject subject;
    subject.title = QStringLiteral("цветок.bmp");
    ChartSettings settings; // A4, 3 mm, black on white
    const ChartLayout layout = LayOutChart(pattern.columns, pattern.rows, settings.paper, 3);

    QTemporaryDir folder;
    const QString pdf = folder.filePath("chart.pdf");
    ASSERT_EQ(SaveChart(pdf, pattern, subject, settings), QString());

    // Cover, the chart pages, one key page.
    const QString info = RunTool("pdfinfo", {pdf});
    const int pages = QRegularExpression("Pages:\\s+(\\d+)").match(info).captured(1).toInt();
    EXPECT_EQ(pages, 1 + layout.pageCount() + 1);
    EXPECT_GT(layout.pageCount(), 1);

    // Every cell of every page, the repeated strips included, holds its thread's symbol, read
    // back as text at its place. Characters of one word are consecutive cells of a row.
    std::map<char32_t, int> keyRowOf;
    for (int i = 0; i < static_cast<int>(pattern.usedColors.size()); ++i) {
        keyRowOf[SymbolCodePoint(i)] = i;
    }
    const double pt = 72 / 25.4;
    const double origin = (kChartMarginMm + kChartGutterMm) * pt;
    const double cell = 3 * pt;
    std::map<int, int> cellsSeen;
    int wrong = 0;
    for (const Word& word : WordsOf(pdf)) {
        const QList<uint> chars = word.text.toUcs4();
        if (word.page < 2 || word.page > 1 + layout.pageCount() || chars.isEmpty() ||
            !std::all_of(chars.begin(), chars.end(), [&](uint c) { return keyRowOf.count(c); })) {
            continue;
        }
        const ChartPage& page = layout.pages[static_cast<std::size_t>(word.page - 2)];
        const int row =
            page.rows.first + static_cast<int>(std::floor((word.box.center().y() - origin) / cell));
        // A word's characters stand a cell apart; its box also holds the last one's advance.
        const double advance = word.box.width() - static_cast<double>(chars.size() - 1) * cell;
        for (int k = 0; k < chars.size(); ++k) {
            const double centre = word.box.left() + k * cell + advance / 2;
            const int column =
                page.columns.first + static_cast<int>(std::floor((centre - origin) / cell));
            ASSERT_TRUE(column < page.columns.first + page.columns.count &&
                        row < page.rows.first + page.rows.count)
                << "page " << word.page << " column " << column << " row " << row;
            const std::uint32_t color = pattern.patternGrid[pattern.cellIndex(column, row)];
            const auto expected =
                std::find(pattern.usedColors.begin(), pattern.usedColors.end(), color) -
                pattern.usedColors.begin();
            wrong += keyRowOf[chars[k]] != expected;
            ++cellsSeen[word.page];
        }
    }
    EXPECT_EQ(wrong, 0);
    for (const ChartPage& page : layout.pages) {
        EXPECT_EQ(cellsSeen[page.number + 1], page.columns.count * page.rows.count)
            << "page " << page.number;
    }

    // The key: every thread's name and crosses, and the totals.
    const QString key = RunTool("pdftotext", {"-layout", "-f", QString::number(pages), pdf, "-"});
    const std::vector<std::int64_t> crosses = CrossesInKeyOrder(pattern);
    const ThreadTable& palette = ThreadPalette();
    for (std::size_t i = 0; i < pattern.usedColors.size(); ++i) {
        const auto& name = palette[ThreadIndexOfColor(pattern.usedColors[i])].Name;
        const QRegularExpression line(
            QStringLiteral("%1\\s+%2\\s+[\\d,]+\\s+%3")
                .arg(QRegularExpression::escape(QString::fromUtf8(name.data(), name.size())))
                .arg(crosses[i])
                .arg(ThreadForCrosses(crosses[i], subject.crossWidthMm, subject.crossHeightMm, 2)
                         .skeins));
        EXPECT_TRUE(line.match(key).hasMatch()) << name;
    }
    EXPECT_TRUE(key.contains(QStringLiteral("Всего")));
    EXPECT_TRUE(key.contains(QString::number(130 * 95)));

    // Both fonts embedded with a Unicode map.
    const QStringList fonts = RunTool("pdffonts", {pdf}).split('\n').mid(2);
    EXPECT_GE(fonts.size(), 2);
    for (const QString& font : fonts) {
        if (!font.trimmed().isEmpty()) {
            EXPECT_TRUE(font.contains(QRegularExpression("\\syes\\s+\\S+\\s+yes\\s")))
                << font.toStdString();
        }
    }

    // The cover's preview has no grid: a pattern of light threads shows no dark pixel.
    RunTool("pdftoppm", {"-r", "100", "-png", "-f", "1", "-l", "1", "-singlefile", pdf,
                         folder.filePath("cover")});
    const QImage cover(folder.filePath("cover.png"));
    ASSERT_FALSE(cover.isNull());
    const int top = static_cast<int>(std::lround((kChartMarginMm + 15) / 25.4 * 100));
    const int bottom = static_cast<int>(std::lround((kChartMarginMm + 14 + 110) / 25.4 * 100));
    int dark = 0;
    for (int y = top; y < bottom; ++y) {
        for (int x = cover.width() / 4; x < cover.width() * 3 / 4; ++x) {
            dark += qGray(cover.pixel(x, y)) < 100;
        }
    }
    EXPECT_EQ(dark, 0);
}

TEST(Chart, PagesOverlapAndTooManyThreadsAreRefused) {
    // Each page after the first repeats the last three cells of the one before.
    const std::vector<ChartSpan> spans = SplitCells(200, 90);
    ASSERT_EQ(spans.size(), 3u);
    EXPECT_EQ(spans[1].first, 87);
    EXPECT_EQ(spans[1].repeated, 3);
    EXPECT_EQ(spans[2].first, 174);
    EXPECT_EQ(spans[2].count, 26);
    EXPECT_EQ(SplitCells(90, 90).size(), 1u);
    // A wide pattern turns the pages.
    EXPECT_EQ(LayOutChart(300, 40, QPageSize::A4, 3).orientation, QPageLayout::Landscape);
    EXPECT_EQ(LayOutChart(40, 300, QPageSize::A4, 3).orientation, QPageLayout::Portrait);

    PatternData many = BandedPattern(30, 30, 24);
    for (std::uint32_t i = 0; many.usedColors.size() <= kMaxChartThreads; ++i) {
        many.usedColors.push_back(0x010101u * i);
    }
    QTemporaryDir folder;
    const QString pdf = folder.filePath("many.pdf");
    EXPECT_TRUE(SaveChart(pdf, many, {}, {}).contains(QStringLiteral("до 120")));
    EXPECT_FALSE(QFile::exists(pdf));
}

} // namespace
} // namespace pelvano
