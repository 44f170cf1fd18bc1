#include "chart/chart_pdf.h"

#include "chart/chart_layout.h"
#include "engine/palette.h"
#include "engine/thread_amount.h"
#include "io/safe_file.h"
#include "render/cell_composer.h"
#include "render/symbol_font.h"

#include <QDir>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <array>
#include <cmath>
#include <unordered_map>
#include <vector>

namespace pelvano {

namespace {

constexpr int kResolution = 1200; // dots per inch of the page's coordinates
const QColor kRepeatedShade(217, 217, 217);
const QColor kRepeatedTint(128, 128, 128, 90);
const QString kTextFamily = QStringLiteral("DejaVu Sans");

double Px(double mm) {
    return mm * kResolution / 25.4;
}

QString Decimal(double value, int decimals) {
    return QString::number(value, 'f', decimals).replace(u'.', u',');
}

QFont TextFont(double heightMm, bool bold = false) {
    QFont font(kTextFamily);
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(Px(heightMm)))));
    font.setBold(bold);
    return font;
}

// Everything the pages draw from, worked out once.
struct ChartContent {
    const PatternData& pattern;
    const ChartSubject& subject;
    const ChartSettings& settings;
    ChartLayout layout;
    std::unordered_map<std::uint32_t, int> symbolOf; // thread colour -> key row
    std::vector<std::int64_t> crosses;               // per key row
    int strands = 2;
};

class ChartPainter {
public:
    ChartPainter(QPdfWriter& writer, const ChartContent& content)
        : writer_(writer), content_(content) {}

    void paint() {
        if (!painter_.begin(&writer_)) {
            throw ChartError("Не удалось начать PDF-файл");
        }
        prepareSymbols();
        paintCover();
        for (const ChartPage& page : content_.layout.pages) {
            nextPage(content_.layout.orientation);
            paintChartPage(page);
        }
        paintKey();
        if (!painter_.end()) {
            throw ChartError("Не удалось записать PDF-файл");
        }
    }

private:
    void nextPage(QPageLayout::Orientation orientation) {
        writer_.setPageOrientation(orientation);
        if (!writer_.newPage()) {
            throw ChartError("Не удалось начать страницу PDF-файла");
        }
    }

    // Symbols are drawn at the cell's centre: the offset from the centre to the text origin of
    // every glyph, measured once.
    void prepareSymbols() {
        symbolFont_ = QFont(SymbolFontFamily());
        symbolFont_.setPixelSize(
            std::max(1, static_cast<int>(std::lround(Px(content_.settings.cellMm * 0.95)))));
        const QFontMetricsF metrics(symbolFont_, &writer_);
        for (int glyph = 0; glyph < kMaxChartThreads; ++glyph) {
            symbols_[glyph] = SymbolText(glyph);
            const QRectF box = metrics.tightBoundingRect(symbols_[glyph]);
            offsets_[glyph] =
                box.isEmpty() ? QPointF(-metrics.averageCharWidth() / 2, 0) : -box.center();
        }
    }

    void drawSymbol(int glyph, QPointF centre) {
        painter_.drawText(centre + offsets_[glyph], symbols_[glyph]);
    }

    void text(QRectF box, int flags, const QString& words, const QFont& font) {
        painter_.setFont(font);
        painter_.drawText(box, flags, words);
    }

    double pageWidthMm() const {
        return writer_.pageLayout().paintRect(QPageLayout::Millimeter).width();
    }

    // Cover -------------------------------------------------------------------------------------

    void paintCover() {
        const PatternData& pattern = content_.pattern;
        const ChartSubject& subject = content_.subject;
        const double width = pageWidthMm();
        double y = 0;
        text(QRectF(0, 0, Px(width), Px(10)), Qt::AlignLeft | Qt::AlignVCenter, subject.title,
             TextFont(5, true));
        y += 14;

        // The preview: each cell a flat square of its thread's colour, no grid and no symbols.
        QImage preview(pattern.columns, pattern.rows, QImage::Format_RGB32);
        for (std::int32_t c = 0; c < pattern.columns; ++c) {
            for (std::int32_t r = 0; r < pattern.rows; ++r) {
                const std::uint32_t color = pattern.patternGrid[pattern.cellIndex(c, r)];
                preview.setPixel(c, r,
                                 qRgb(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF));
            }
        }
        const double boxWidth = width;
        const double boxHeight = 120;
        const double aspect = (pattern.columns * subject.crossWidthMm) /
                              std::max(1e-9, pattern.rows * subject.crossHeightMm);
        double shownWidth = boxWidth;
        double shownHeight = boxWidth / aspect;
        if (shownHeight > boxHeight) {
            shownHeight = boxHeight;
            shownWidth = boxHeight * aspect;
        }
        painter_.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter_.setRenderHint(QPainter::LosslessImageRendering);
        painter_.drawImage(
            QRectF(Px((boxWidth - shownWidth) / 2), Px(y), Px(shownWidth), Px(shownHeight)),
            preview);
        y += shownHeight + 8;

        const double widthCm = pattern.columns * subject.crossWidthMm / 10;
        const double heightCm = pattern.rows * subject.crossHeightMm / 10;
        const double count = FabricCount(subject.crossWidthMm);
        const std::optional<int> aida = UsualAidaCount(count);
        std::int64_t total = 0;
        for (std::int64_t n : content_.crosses) {
            total += n;
        }
        const QStringList lines{
            QStringLiteral("Размер: %1 × %2 крестиков, %3 × %4 см")
                .arg(pattern.columns)
                .arg(pattern.rows)
                .arg(Decimal(widthCm, 1), Decimal(heightCm, 1)),
            QStringLiteral("Канва: %1 крестика на дюйм%2")
                .arg(Decimal(count, 1), aida ? QStringLiteral(" (Аида %1)").arg(*aida) : QString()),
            QStringLiteral("Отрезать канвы: %1 × %2 см (по 5 см запаса с каждой стороны)")
                .arg(Decimal(widthCm + 10, 1), Decimal(heightCm + 10, 1)),
            QStringLiteral("Ниток: %1, крестиков: %2").arg(content_.crosses.size()).arg(total),
            QStringLiteral("Листов схемы: %1").arg(content_.layout.pageCount()),
        };
        const QFont body = TextFont(3.5);
        for (const QString& line : lines) {
            text(QRectF(0, Px(y), Px(width), Px(6)), Qt::AlignLeft | Qt::AlignVCenter, line, body);
            y += 6;
        }
        y += 4;
        paintPageMap(QRectF(0, Px(y), Px(std::min(width, 120.0)), Px(60)));
    }

    // The pattern cut into its pages, each with its number, without the repeated strips.
    void paintPageMap(QRectF box) {
        const PatternData& pattern = content_.pattern;
        const double scale = std::min(box.width() / pattern.columns, box.height() / pattern.rows);
        painter_.setPen(QPen(Qt::black, Px(0.3)));
        painter_.setBrush(Qt::NoBrush);
        const QFont font = TextFont(3);
        for (const ChartPage& page : content_.layout.pages) {
            const double left = page.columns.first + page.columns.repeated;
            const double top = page.rows.first + page.rows.repeated;
            const QRectF cell(box.left() + left * scale, box.top() + top * scale,
                              (page.columns.first + page.columns.count - left) * scale,
                              (page.rows.first + page.rows.count - top) * scale);
            painter_.drawRect(cell);
            text(cell, Qt::AlignCenter, QString::number(page.number), font);
        }
    }

    // Chart pages -------------------------------------------------------------------------------

    void paintChartPage(const ChartPage& page) {
        const PatternData& pattern = content_.pattern;
        const double cell = Px(content_.settings.cellMm);
        const QPointF origin(Px(kChartGutterMm), Px(kChartGutterMm));
        const auto cellRect = [&](std::int32_t c, std::int32_t r) {
            return QRectF(origin.x() + (c - page.columns.first) * cell,
                          origin.y() + (r - page.rows.first) * cell, cell, cell);
        };
        const std::int32_t lastColumn = page.columns.first + page.columns.count;
        const std::int32_t lastRow = page.rows.first + page.rows.count;
        const bool colour = content_.settings.colour;

        painter_.setPen(Qt::NoPen);
        if (colour) {
            for (std::int32_t c = page.columns.first; c < lastColumn; ++c) {
                for (std::int32_t r = page.rows.first; r < lastRow; ++r) {
                    const std::uint32_t color = pattern.patternGrid[pattern.cellIndex(c, r)];
                    painter_.fillRect(cellRect(c, r), QColor(color & 0xFF, (color >> 8) & 0xFF,
                                                             (color >> 16) & 0xFF));
                }
            }
        }
        // The strips this page repeats from its neighbours are shaded, to line the pages up.
        const QRectF grid(origin, QSizeF(page.columns.count * cell, page.rows.count * cell));
        const QColor shade = colour ? kRepeatedTint : kRepeatedShade;
        if (page.columns.repeated > 0) {
            painter_.fillRect(
                QRectF(grid.topLeft(), QSizeF(page.columns.repeated * cell, grid.height())), shade);
        }
        if (page.rows.repeated > 0) {
            const double left = page.columns.repeated * cell;
            painter_.fillRect(QRectF(grid.left() + left, grid.top(), grid.width() - left,
                                     page.rows.repeated * cell),
                              shade);
        }

        painter_.setFont(symbolFont_);
        for (std::int32_t c = page.columns.first; c < lastColumn; ++c) {
            for (std::int32_t r = page.rows.first; r < lastRow; ++r) {
                const std::uint32_t color = pattern.patternGrid[pattern.cellIndex(c, r)];
                const auto found = content_.symbolOf.find(color);
                if (found == content_.symbolOf.end()) {
                    continue;
                }
                const bool white = colour && SymbolLuminance(color) < kBlackSymbolLuminance;
                painter_.setPen(white ? Qt::white : Qt::black);
                drawSymbol(found->second, cellRect(c, r).center());
            }
        }

        paintGridLines(page, grid, cell);
        paintEdgeNumbers(page, grid, cell);
        paintMiddleArrows(page, grid, cell);

        const QString footer = QStringLiteral("Лист %1 из %2 · столбцы %3–%4 · строки %5–%6")
                                   .arg(page.number)
                                   .arg(content_.layout.pageCount())
                                   .arg(page.columns.first + 1)
                                   .arg(lastColumn)
                                   .arg(page.rows.first + 1)
                                   .arg(lastRow);
        painter_.setPen(Qt::black);
        const QRectF paper = writer_.pageLayout().paintRectPixels(kResolution);
        text(QRectF(0, paper.height() - Px(kChartFooterMm - 2), paper.width(),
                    Px(kChartFooterMm - 2)),
             Qt::AlignCenter, footer, TextFont(3));
    }

    // Thin lines between all cells, bold ones every tenth line counted from the pattern's
    // top-left corner, and a frame.
    void paintGridLines(const ChartPage& page, QRectF grid, double cell) {
        const QPen thin(QColor(90, 90, 90), Px(0.1));
        const QPen bold(Qt::black, Px(0.35));
        for (std::int32_t i = 0; i <= page.columns.count; ++i) {
            const std::int32_t line = page.columns.first + i;
            const bool edge = i == 0 || i == page.columns.count;
            painter_.setPen(line % 10 == 0 || edge ? bold : thin);
            const double x = grid.left() + i * cell;
            painter_.drawLine(QPointF(x, grid.top()), QPointF(x, grid.bottom()));
        }
        for (std::int32_t j = 0; j <= page.rows.count; ++j) {
            const std::int32_t line = page.rows.first + j;
            const bool edge = j == 0 || j == page.rows.count;
            painter_.setPen(line % 10 == 0 || edge ? bold : thin);
            const double y = grid.top() + j * cell;
            painter_.drawLine(QPointF(grid.left(), y), QPointF(grid.right(), y));
        }
    }

    // Column numbers above and row numbers left of every tenth line, counted from 1.
    void paintEdgeNumbers(const ChartPage& page, QRectF grid, double cell) {
        painter_.setPen(Qt::black);
        const QFont font = TextFont(2.2);
        const double width = Px(8);
        const double height = Px(3);
        for (std::int32_t i = 1; i <= page.columns.count; ++i) {
            const std::int32_t column = page.columns.first + i;
            if (column % 10 == 0) {
                const double x = grid.left() + i * cell;
                text(QRectF(x - width / 2, grid.top() - height - Px(0.5), width, height),
                     Qt::AlignHCenter | Qt::AlignBottom, QString::number(column), font);
            }
        }
        for (std::int32_t j = 1; j <= page.rows.count; ++j) {
            const std::int32_t row = page.rows.first + j;
            if (row % 10 == 0) {
                const double y = grid.top() + j * cell;
                text(QRectF(grid.left() - width - Px(0.8), y - height / 2, width, height),
                     Qt::AlignRight | Qt::AlignVCenter, QString::number(row), font);
            }
        }
    }

    // Small triangles pointing at the pattern's middle column (above the grid) and middle row
    // (left of it), where they fall on this page, outside the numbers.
    void paintMiddleArrows(const ChartPage& page, QRectF grid, double cell) {
        const double middleColumn = content_.pattern.columns / 2.0;
        const double middleRow = content_.pattern.rows / 2.0;
        const double size = Px(1.6);
        painter_.setPen(Qt::NoPen);
        painter_.setBrush(Qt::black);
        if (middleColumn >= page.columns.first &&
            middleColumn <= page.columns.first + page.columns.count) {
            const double x = grid.left() + (middleColumn - page.columns.first) * cell;
            const double y = grid.top() - Px(kChartGutterMm);
            const QPointF points[3] = {{x, y + size}, {x - size / 2, y}, {x + size / 2, y}};
            painter_.drawPolygon(points, 3);
        }
        if (middleRow >= page.rows.first && middleRow <= page.rows.first + page.rows.count) {
            const double y = grid.top() + (middleRow - page.rows.first) * cell;
            const double x = grid.left() - Px(kChartGutterMm);
            const QPointF points[3] = {{x + size, y}, {x, y - size / 2}, {x, y + size / 2}};
            painter_.drawPolygon(points, 3);
        }
        painter_.setBrush(Qt::NoBrush);
    }

    // Key ---------------------------------------------------------------------------------------

    void paintKey() {
        const ChartSubject& subject = content_.subject;
        const ThreadTable& palette = ThreadPalette();
        const double rowMm = 6.5;
        const std::array<double, 5> columnsMm{16, 50, 32, 30, 26};
        const QStringList headings{QStringLiteral("Значок"), QStringLiteral("DMC"),
                                   QStringLiteral("Крестиков"), QStringLiteral("Метров"),
                                   QStringLiteral("Мотков")};
        const QFont body = TextFont(3.4);
        const QFont bold = TextFont(3.4, true);
        double pageHeightMm = 0;
        double y = 0;
        const auto startPage = [&] {
            nextPage(QPageLayout::Portrait);
            pageHeightMm = writer_.pageLayout().paintRect(QPageLayout::Millimeter).height();
            painter_.setPen(Qt::black);
            text(QRectF(0, 0, Px(pageWidthMm()), Px(9)), Qt::AlignLeft | Qt::AlignVCenter,
                 QStringLiteral("Ключ: %1").arg(subject.title), TextFont(4.5, true));
            y = 12;
            double x = 0;
            for (int k = 0; k < 5; ++k) {
                text(QRectF(Px(x), Px(y), Px(columnsMm[k] - 2), Px(rowMm)),
                     (k == 1 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter, headings[k],
                     bold);
                x += columnsMm[k];
            }
            y += rowMm;
        };
        const auto cellText = [&](int k, double x, const QString& words, const QFont& font) {
            text(QRectF(Px(x), Px(y), Px(columnsMm[k] - 2), Px(rowMm)),
                 (k == 1 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter, words, font);
        };

        startPage();
        std::int64_t totalCrosses = 0;
        double totalMetres = 0;
        std::int64_t totalSkeins = 0;
        const double cell = Px(std::min(rowMm - 1.5, 5.0));
        QFont symbolFont = symbolFont_;
        symbolFont.setPixelSize(std::max(1, static_cast<int>(std::lround(cell * 0.95))));
        const QFontMetricsF metrics(symbolFont, &writer_);
        for (std::size_t i = 0; i < content_.pattern.usedColors.size(); ++i) {
            if (y + 2 * rowMm > pageHeightMm) {
                startPage();
            }
            const std::uint32_t color = content_.pattern.usedColors[i];
            const int thread = ThreadIndexOfColor(color);
            const ThreadAmount amount = ThreadForCrosses(content_.crosses[i], subject.crossWidthMm,
                                                         subject.crossHeightMm, content_.strands);
            totalCrosses += content_.crosses[i];
            totalMetres += static_cast<double>(amount.metres);
            totalSkeins += amount.skeins;

            // The symbol in a square of the thread's colour beside it, as in the key picture.
            const QRectF square(Px(1), Px(y) + (Px(rowMm) - cell) / 2, cell, cell);
            painter_.setPen(QPen(Qt::black, Px(0.15)));
            painter_.setBrush(Qt::white);
            painter_.drawRect(square);
            painter_.setBrush(QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF));
            painter_.drawRect(square.translated(cell + Px(1.5), 0));
            painter_.setBrush(Qt::NoBrush);
            painter_.setFont(symbolFont);
            const QString symbol = SymbolText(static_cast<int>(i));
            const QRectF box = metrics.tightBoundingRect(symbol);
            painter_.drawText(square.center() - box.center(), symbol);

            double x = columnsMm[0];
            const QString name =
                thread > 0 ? QString::fromUtf8(palette[thread].Name.data(),
                                               static_cast<qsizetype>(palette[thread].Name.size()))
                           : QString();
            cellText(1, x, name, body);
            x += columnsMm[1];
            cellText(2, x, QString::number(content_.crosses[i]), body);
            x += columnsMm[2];
            cellText(3, x, Decimal(static_cast<double>(amount.metres), 1), body);
            x += columnsMm[3];
            cellText(4, x, QString::number(amount.skeins), body);
            y += rowMm;
        }
        if (y + 3 * rowMm + 20 > pageHeightMm) {
            startPage();
        }
        painter_.setPen(QPen(Qt::black, Px(0.3)));
        painter_.drawLine(QPointF(0, Px(y)), QPointF(Px(154), Px(y)));
        double x = columnsMm[0];
        cellText(1, x, QStringLiteral("Всего"), bold);
        x += columnsMm[1];
        cellText(2, x, QString::number(totalCrosses), bold);
        x += columnsMm[2];
        cellText(3, x, Decimal(totalMetres, 1), bold);
        x += columnsMm[3];
        cellText(4, x, QString::number(totalSkeins), bold);
        y += rowMm + 4;

        const QString assumptions =
            QStringLiteral("Расчёт: нить в %1 сложения; моток — %2 м нити в %3 сложений. На каждый "
                           "крестик взяты две его диагонали и переход с изнанки, с запасом на "
                           "закрепки и отходы; мотки округлены вверх, не меньше одного на цвет.")
                .arg(content_.strands)
                .arg(static_cast<int>(kSkeinMetres))
                .arg(kSkeinStrands);
        text(QRectF(0, Px(y), Px(std::min(pageWidthMm(), 160.0)), Px(20)),
             Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, assumptions, TextFont(3));
    }

    QPdfWriter& writer_;
    const ChartContent& content_;
    QPainter painter_;
    QFont symbolFont_;
    std::array<QString, kMaxChartThreads> symbols_;
    std::array<QPointF, kMaxChartThreads> offsets_;
};

} // namespace

QString ChartRefusal(const PatternData& pattern) {
    if (pattern.empty() || pattern.usedColors.empty()) {
        return QStringLiteral("Сначала постройте схему.");
    }
    const auto threads = static_cast<qsizetype>(pattern.usedColors.size());
    if (threads > kMaxChartThreads) {
        return QStringLiteral("В схеме %1 оттенков, а значков для схемы-PDF только %2: "
                              "ограничьте число оттенков до %2 и постройте схему заново.")
            .arg(threads)
            .arg(kMaxChartThreads);
    }
    return {};
}

int ChartStrands(const ChartSettings& settings, const ChartSubject& subject) {
    return settings.strands > 0 ? settings.strands : DefaultStrands(subject.crossWidthMm);
}

void WriteChart(QIODevice& device, const PatternData& pattern, const ChartSubject& subject,
                const ChartSettings& settings) {
    if (const QString refusal = ChartRefusal(pattern); !refusal.isEmpty()) {
        throw ChartError(refusal.toStdString());
    }
    const double cellMm = std::clamp(settings.cellMm, kMinChartCellMm, kMaxChartCellMm);
    ChartSettings used = settings;
    used.cellMm = cellMm;
    ChartContent content{pattern,
                         subject,
                         used,
                         LayOutChart(pattern.columns, pattern.rows, settings.paper, cellMm),
                         {},
                         CrossesInKeyOrder(pattern),
                         ChartStrands(settings, subject)};
    for (std::size_t i = 0; i < pattern.usedColors.size(); ++i) {
        content.symbolOf.emplace(pattern.usedColors[i], static_cast<int>(i));
    }

    QPdfWriter writer(&device);
    writer.setResolution(kResolution);
    writer.setCreator(QStringLiteral("Pelvano"));
    writer.setTitle(subject.title);
    const QMarginsF margins(kChartMarginMm, kChartMarginMm, kChartMarginMm, kChartMarginMm);
    writer.setPageLayout(QPageLayout(QPageSize(settings.paper), QPageLayout::Portrait, margins,
                                     QPageLayout::Millimeter));
    ChartPainter(writer, content).paint();
}

QString SaveChart(const QString& path, const PatternData& pattern, const ChartSubject& subject,
                  const ChartSettings& settings) {
    if (QString refusal = ChartRefusal(pattern); !refusal.isEmpty()) {
        return refusal;
    }
    const QString shown = QDir::toNativeSeparators(path);
    SafeFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return QStringLiteral("Cannot create file %1").arg(shown);
    }
    try {
        WriteChart(file, pattern, subject, settings);
    } catch (const ChartError& error) {
        return QString::fromStdString(error.what());
    }
    if (file.failed() || !file.commit()) {
        return QStringLiteral("Cannot write file %1").arg(shown);
    }
    return {};
}

} // namespace pelvano
