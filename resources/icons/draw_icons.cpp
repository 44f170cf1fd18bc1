// Draws the window's icons from simple shapes and writes them as PNG files into the folder given
// on the command line. The PNGs are committed; the build only embeds them.
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>
#include <functional>

namespace {

const QColor kOutline(60, 60, 60);

QImage canvas(int side) {
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void folder(QPainter& p) {
    p.setPen(QPen(QColor(140, 100, 20), 1));
    p.setBrush(QColor(240, 200, 80));
    QPainterPath back;
    back.moveTo(1.5, 3.5);
    back.lineTo(6.5, 3.5);
    back.lineTo(7.5, 5.0);
    back.lineTo(13.5, 5.0);
    back.lineTo(13.5, 13.5);
    back.lineTo(1.5, 13.5);
    back.closeSubpath();
    p.drawPath(back);
    p.setBrush(QColor(252, 224, 120));
    QPainterPath flap;
    flap.moveTo(3.5, 7.5);
    flap.lineTo(15.5, 7.5);
    flap.lineTo(13.5, 13.5);
    flap.lineTo(1.5, 13.5);
    flap.closeSubpath();
    p.drawPath(flap);
}

// A small piece of pattern: coloured cells under a grid.
void patternSheet(QPainter& p, QRectF area) {
    const QColor cells[] = {QColor(200, 40, 60), QColor(40, 140, 60), QColor(40, 90, 190),
                            QColor(240, 190, 40)};
    const qreal step = area.width() / 3;
    for (int x = 0; x < 3; ++x)
        for (int y = 0; y < 3; ++y)
            p.fillRect(QRectF(area.left() + x * step, area.top() + y * step, step, step),
                       cells[(x + 2 * y) % 4]);
    p.setPen(QPen(Qt::black, 0.8));
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i <= 3; ++i) {
        p.drawLine(QPointF(area.left() + i * step, area.top()),
                   QPointF(area.left() + i * step, area.bottom()));
        p.drawLine(QPointF(area.left(), area.top() + i * step),
                   QPointF(area.right(), area.top() + i * step));
    }
}

// A small key: swatches with a line of text beside each.
void keySheet(QPainter& p, QRectF area) {
    p.fillRect(area, Qt::white);
    const QColor swatches[] = {QColor(200, 40, 60), QColor(40, 140, 60), QColor(40, 90, 190)};
    const qreal row = area.height() / 3;
    for (int i = 0; i < 3; ++i) {
        const qreal y = area.top() + i * row + 0.5;
        p.fillRect(QRectF(area.left() + 0.5, y, row - 1, row - 1), swatches[i]);
        p.fillRect(QRectF(area.left() + row + 0.5, y + row / 2 - 0.5, area.width() - row - 1, 1),
                   kOutline);
    }
}

void floppy(QPainter& p) {
    p.setPen(QPen(QColor(20, 40, 90), 1));
    p.setBrush(QColor(60, 100, 180));
    QPainterPath body;
    body.moveTo(1.5, 1.5);
    body.lineTo(12.5, 1.5);
    body.lineTo(14.5, 3.5);
    body.lineTo(14.5, 14.5);
    body.lineTo(1.5, 14.5);
    body.closeSubpath();
    p.drawPath(body);
    p.setBrush(QColor(210, 210, 210));
    p.drawRect(QRectF(4.5, 1.5, 7, 4));
    p.fillRect(QRectF(9, 2, 1.5, 3), QColor(60, 100, 180));
}

void printer(QPainter& p) {
    p.setPen(QPen(kOutline, 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(3.5, 0.5, 9, 6));
    p.setBrush(QColor(170, 170, 170));
    p.drawRoundedRect(QRectF(0.5, 5.5, 15, 6), 1.5, 1.5);
    p.fillRect(QRectF(12, 7, 2, 1.5), QColor(60, 200, 60));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(3.5, 9.5, 9, 6));
}

QImage savePattern() {
    QImage image = canvas(16);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    floppy(p);
    patternSheet(p, QRectF(4, 7, 8, 7));
    return image;
}

QImage saveKey() {
    QImage image = canvas(16);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    floppy(p);
    keySheet(p, QRectF(3.5, 7, 9, 7));
    return image;
}

QImage printPattern() {
    QImage image = canvas(16);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    printer(p);
    patternSheet(p, QRectF(5, 10, 6, 5.5));
    return image;
}

QImage printKey() {
    QImage image = canvas(16);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    printer(p);
    keySheet(p, QRectF(4, 10, 8, 5.5));
    return image;
}

// A page with a piece of grid on it and a red "PDF" band across its foot.
QImage chartPdf() {
    QImage image = canvas(16);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kOutline, 1));
    p.setBrush(Qt::white);
    QPainterPath page;
    page.moveTo(2.5, 0.5);
    page.lineTo(10.5, 0.5);
    page.lineTo(13.5, 3.5);
    page.lineTo(13.5, 15.5);
    page.lineTo(2.5, 15.5);
    page.closeSubpath();
    p.drawPath(page);
    p.drawLine(QPointF(10.5, 0.5), QPointF(10.5, 3.5));
    p.drawLine(QPointF(10.5, 3.5), QPointF(13.5, 3.5));
    // The grid on whole pixels, so that it stays crisp at this size.
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(QColor(90, 120, 180), 0));
    for (int i = 0; i < 3; ++i) {
        p.drawLine(QPoint(4 + 3 * i, 2), QPoint(4 + 3 * i, 8));
        p.drawLine(QPoint(4, 2 + 3 * i), QPoint(10, 2 + 3 * i));
    }
    p.fillRect(QRect(1, 9, 14, 7), QColor(200, 30, 40));
    p.end();
    // The letters in 3 by 5 pixels each, one pixel apart.
    const char* const letters[][5] = {
        {"XXX", "X.X", "XXX", "X..", "X.."},
        {"XX.", "X.X", "X.X", "X.X", "XX."},
        {"XXX", "X..", "XX.", "X..", "X.."},
    };
    for (int letter = 0; letter < 3; ++letter)
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 3; ++x)
                if (letters[letter][y][x] == 'X')
                    image.setPixelColor(3 + 4 * letter + x, 10 + y, Qt::white);
    return image;
}

QImage open() {
    QImage image = canvas(16);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    folder(p);
    return image;
}

// The program's icon: a heart stitched in crosses on a canvas with a grid.
const char* const kHeart[] = {
    "........", ".XX..XX.", "XXXXXXXX", "XXXXXXXX", ".XXXXXX.", "..XXXX..", "...XX...", "........",
};

QColor threadColour(int x, int y) {
    return (x + y) % 3 == 0 ? QColor(170, 20, 60) : QColor(215, 40, 80);
}

QImage application(int side) {
    const auto& heart = kHeart;
    QImage image = canvas(side);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal cell = side / 8.0;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 244, 228));
    p.drawRoundedRect(QRectF(0, 0, side, side), cell, cell);
    p.setPen(QPen(QColor(200, 190, 170), side >= 32 ? 1.0 : 0.5));
    for (int i = 1; i < 8; ++i) {
        p.drawLine(QPointF(i * cell, 0), QPointF(i * cell, side));
        p.drawLine(QPointF(0, i * cell), QPointF(side, i * cell));
    }
    const qreal stroke = std::max(1.0, cell / 4.0);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            if (heart[y][x] != 'X')
                continue;
            const QColor thread = threadColour(x, y);
            p.setPen(QPen(thread, stroke, Qt::SolidLine, Qt::RoundCap));
            const QRectF c(x * cell, y * cell, cell, cell);
            const qreal m = cell * 0.18;
            p.drawLine(c.topLeft() + QPointF(m, m), c.bottomRight() - QPointF(m, m));
            p.drawLine(c.topRight() + QPointF(-m, m), c.bottomLeft() + QPointF(m, -m));
        }
    return image;
}

// The same icon as a scalable picture, for desktops that draw icons at any size. Drawn on a
// 256-unit canvas with the shapes of the large PNG.
QByteArray applicationSvg() {
    constexpr double side = 256;
    constexpr double cell = side / 8;
    QString svg = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" "
        "viewBox=\"0 0 256 256\">\n"
        "  <rect width=\"256\" height=\"256\" rx=\"32\" ry=\"32\" fill=\"#faf4e4\"/>\n"
        "  <g stroke=\"#c8beaa\" stroke-width=\"1\">\n");
    for (int i = 1; i < 8; ++i) {
        svg +=
            QStringLiteral("    <line x1=\"%1\" y1=\"0\" x2=\"%1\" y2=\"256\"/>\n").arg(i * cell);
        svg +=
            QStringLiteral("    <line x1=\"0\" y1=\"%1\" x2=\"256\" y2=\"%1\"/>\n").arg(i * cell);
    }
    svg += QStringLiteral("  </g>\n  <g stroke-width=\"%1\" stroke-linecap=\"round\">\n")
               .arg(cell / 4);
    const double m = cell * 0.18;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            if (kHeart[y][x] != 'X')
                continue;
            const QString colour = threadColour(x, y).name();
            const double left = x * cell + m, right = (x + 1) * cell - m;
            const double top = y * cell + m, bottom = (y + 1) * cell - m;
            svg += QStringLiteral("    <path stroke=\"%1\" d=\"M%2 %3L%4 %5M%4 %3L%2 %5\"/>\n")
                       .arg(colour)
                       .arg(left)
                       .arg(top)
                       .arg(right)
                       .arg(bottom);
        }
    svg += QStringLiteral("  </g>\n</svg>\n");
    return svg.toUtf8();
}

} // namespace

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: pelvano_draw_icons OUTPUT_FOLDER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const std::pair<const char*, std::function<QImage()>> icons[] = {
        {"open.png", open},
        {"save-pattern.png", savePattern},
        {"save-key.png", saveKey},
        {"print-pattern.png", printPattern},
        {"print-key.png", printKey},
        {"chart-pdf.png", chartPdf},
        {"pelvano-16.png", [] { return application(16); }},
        {"pelvano-32.png", [] { return application(32); }},
        {"pelvano-48.png", [] { return application(48); }},
        {"pelvano-64.png", [] { return application(64); }},
        {"pelvano-128.png", [] { return application(128); }},
        {"pelvano-256.png", [] { return application(256); }},
    };
    for (const auto& [name, draw] : icons) {
        const QString path = folder + QLatin1Char('/') + QLatin1String(name);
        if (!draw().save(path, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    QFile svg(folder + QStringLiteral("/pelvano.svg"));
    if (!svg.open(QIODevice::WriteOnly) || svg.write(applicationSvg()) < 0) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(svg.fileName()));
        return 1;
    }
    return 0;
}
