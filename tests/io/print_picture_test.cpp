#include "io/print_geometry.h"
#include "io/print_picture.h"
#include "io_test_support.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace pelvano {
namespace {

// What a PDF file holds, read back with poppler's tools.
struct PdfReadBack {
    int pages = 0;
    QSizeF pointSize;
    QImage raster; // the first page at 72 dpi: one pixel per point
};

QString Run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0) {
        ADD_FAILURE() << program.toStdString()
                      << " failed: " << process.readAllStandardError().toStdString();
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

PdfReadBack ReadBack(const QString& pdf) {
    PdfReadBack result;
    const QString info = Run(QStringLiteral("pdfinfo"), {pdf});
    const auto pages = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
    const auto size =
        QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+) pts")).match(info);
    if (pages.hasMatch())
        result.pages = pages.captured(1).toInt();
    if (size.hasMatch())
        result.pointSize = QSizeF(size.captured(1).toDouble(), size.captured(2).toDouble());
    const QString prefix = pdf + QStringLiteral("-page");
    Run(QStringLiteral("pdftoppm"),
        {QStringLiteral("-r"), QStringLiteral("72"), QStringLiteral("-png"),
         QStringLiteral("-singlefile"), pdf, prefix});
    result.raster = QImage(prefix + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
    return result;
}

// The smallest rectangle holding every pixel that is not paper white.
QRect InkBounds(const QImage& page) {
    QRect bounds;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (qGray(page.pixel(x, y)) < 235)
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

// Where R lands on the page, in points: the printable area starts at the layout's margins.
QRectF ExpectedPoints(const QPrinter& printer, const PrintRect& r) {
    const qreal perPixel = 72.0 / printer.resolution();
    const QPointF origin = printer.pageLayout().paintRect(QPageLayout::Point).topLeft();
    return QRectF(origin.x() + r.left * perPixel, origin.y() + r.top * perPixel,
                  r.width() * perPixel, r.height() * perPixel);
}

void ExpectEdges(const QRect& ink, const QRectF& expected) {
    EXPECT_NEAR(ink.left(), expected.left(), 1.0);
    EXPECT_NEAR(ink.top(), expected.top(), 1.0);
    EXPECT_NEAR(ink.right() + 1, expected.right(), 1.0);
    EXPECT_NEAR(ink.bottom() + 1, expected.bottom(), 1.0);
}

// Each pixel its own colour, so that blocks show where every pixel went.
QImage Blocks(int width, int height) {
    static const QRgb colours[] = {qRgb(220, 0, 0),  qRgb(0, 160, 0),   qRgb(0, 0, 220),
                                   qRgb(0, 0, 0),    qRgb(200, 0, 200), qRgb(0, 150, 150),
                                   qRgb(120, 60, 0), qRgb(90, 90, 90)};
    QImage image(width, height, QImage::Format_BGR888);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, colours[(y * width + x) % 8]);
    return image;
}

// Every pixel's block is a flat area of its colour at its place: no smoothing, no mirroring.
void ExpectBlocks(const QImage& page, const QRect& ink, const QImage& image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const int px = ink.left() + (2 * x + 1) * ink.width() / (2 * image.width());
            const int py = ink.top() + (2 * y + 1) * ink.height() / (2 * image.height());
            for (const QPoint at : {QPoint(px, py), QPoint(px - 3, py - 3), QPoint(px + 3, py + 3)})
                EXPECT_EQ(page.pixel(at) & 0xFFFFFF, image.pixel(x, y) & 0xFFFFFF)
                    << "pixel " << x << ", " << y << " at " << at.x() << ", " << at.y();
        }
}

QString ErrorOf(const std::function<void()>& print) {
    try {
        print();
    } catch (const PrintError& error) {
        return QString::fromUtf8(error.what());
    }
    return {};
}

class PrintPictureTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (QGuiApplication::instance())
            return;
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "test_io";
        static char* argv[] = {name, nullptr};
        app_ = std::make_unique<QGuiApplication>(argc, argv);
    }
    static void TearDownTestSuite() { app_.reset(); }

    // Qt's PDF printer: A4, 1200 device pixels per inch, a printable area inside 10-point margins.
    std::unique_ptr<QPrinter> PdfPrinter(const QString& name) {
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(dir_.filePath(name));
        return printer;
    }

    QTemporaryDir dir_;
    static std::unique_ptr<QGuiApplication> app_;
};

std::unique_ptr<QGuiApplication> PrintPictureTest::app_;

TEST_F(PrintPictureTest, KeyIsStretchedOverAPortraitPage) {
    auto printer = PdfPrinter(QStringLiteral("key.pdf"));
    // Wider than high: a key still prints portrait, stretched.
    const QImage key = Blocks(4, 3);
    PrintPicture(*printer, key, PrintSubject::Key);

    const PdfReadBack back = ReadBack(printer->outputFileName());
    EXPECT_EQ(back.pages, 1);
    EXPECT_NEAR(back.pointSize.width(), 595.3, 0.5);
    EXPECT_NEAR(back.pointSize.height(), 841.9, 0.5);
    const QRect ink = InkBounds(back.raster);
    ExpectEdges(ink, ExpectedPoints(*printer, KeyPrintRect(printer->width(), printer->height())));
    ExpectBlocks(back.raster, ink, key);
}

TEST_F(PrintPictureTest, PatternIsFittedAndTurned) {
    struct Case {
        QImage pattern;
        bool landscape;
    };
    const Case cases[] = {
        {Blocks(2, 3), false}, // taller than A4: fills the height
        {Blocks(3, 3), false}, // square: portrait, fills the width
        {Blocks(6, 5), true},  // 1.2: landscape, fills the height
        {Blocks(4, 2), true},  // 2.0: landscape, fills the width
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.pattern.width() << " x " << c.pattern.height());
        auto printer = PdfPrinter(QStringLiteral("pattern-%1.pdf").arg(++n));
        PrintPicture(*printer, c.pattern, PrintSubject::Pattern);

        EXPECT_EQ(printer->pageLayout().orientation(),
                  c.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
        const PdfReadBack back = ReadBack(printer->outputFileName());
        EXPECT_EQ(back.pages, 1);
        EXPECT_EQ(back.pointSize.width() > back.pointSize.height(), c.landscape);
        const Real aspect = static_cast<Real>(c.pattern.width()) / c.pattern.height();
        const QRect ink = InkBounds(back.raster);
        ExpectEdges(ink, ExpectedPoints(*printer, PatternPrintRect(aspect, printer->width(),
                                                                   printer->height())));
        ExpectBlocks(back.raster, ink, c.pattern);
    }
}

TEST_F(PrintPictureTest, PatternOnLetterPaperStaysOnThePage) {
    auto printer = PdfPrinter(QStringLiteral("letter.pdf"));
    printer->setPageSize(QPageSize(QPageSize::Letter));
    // 0.75: wider than A4, taller than Letter's printable area.
    const QImage pattern = Blocks(3, 4);
    PrintPicture(*printer, pattern, PrintSubject::Pattern);

    const PdfReadBack back = ReadBack(printer->outputFileName());
    EXPECT_EQ(back.pages, 1);
    EXPECT_NEAR(back.pointSize.width(), 612, 0.5);
    EXPECT_NEAR(back.pointSize.height(), 792, 0.5);
    const QRect ink = InkBounds(back.raster);
    const QRectF printable = printer->pageLayout().paintRect(QPageLayout::Point);
    EXPECT_LE(ink.bottom() + 1, printable.bottom());
    // The height fills the page less its margin, the width follows the pattern's proportions.
    ExpectEdges(ink, ExpectedPoints(
                         *printer,
                         PrintRect{10, 10, static_cast<int>((printer->height() - 20) * 0.75 + 0.5),
                                   printer->height() - 20}));
    ExpectBlocks(back.raster, ink, pattern);
}

TEST_F(PrintPictureTest, PdfFileIsOneA4PageAndReplacedWhole) {
    const QString path = dir_.filePath(QStringLiteral("out.pdf"));
    test::WriteBytes(path, "old contents");
    PrintPictureToPdf(Blocks(4, 2), PrintSubject::Pattern, path);
    const PdfReadBack back = ReadBack(path);
    EXPECT_EQ(back.pages, 1);
    EXPECT_NEAR(back.pointSize.width(), 841.9, 0.5); // landscape A4
    EXPECT_NEAR(back.pointSize.height(), 595.3, 0.5);
    ExpectBlocks(back.raster, InkBounds(back.raster), Blocks(4, 2));

    // Nothing printable: the error comes before the old file is touched.
    EXPECT_EQ(ErrorOf([&] { PrintPictureToPdf(QImage(), PrintSubject::Key, path); }),
              QStringLiteral("There is no picture to print"));
    EXPECT_EQ(ReadBack(path).pages, 1);
    // No temporary file is left beside it.
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList({QStringLiteral("out.pdf"), QStringLiteral("out.pdf-page.png")}));

    const QString nowhere = dir_.filePath(QStringLiteral("missing/out.pdf"));
    EXPECT_EQ(ErrorOf([&] { PrintPictureToPdf(Blocks(2, 2), PrintSubject::Key, nowhere); }),
              QStringLiteral("Cannot create file %1").arg(QDir::toNativeSeparators(nowhere)));
}

TEST_F(PrintPictureTest, PrinterChoiceErrors) {
    QPrinter printer(QPrinter::HighResolution);
    // No printers at all, and no default.
    EXPECT_EQ(ErrorOf([&] { SelectPrinter(printer, {}, -1); }), kNoDefaultPrinter);
    // A stored index past the list stands for the default printer, and there is none.
    const PrinterList two{{QStringLiteral("One"), QStringLiteral("Two")}, QString()};
    EXPECT_EQ(ErrorOf([&] { SelectPrinter(printer, two, 3); }), kNoDefaultPrinter);
    // A printer the print system no longer knows.
    const PrinterList gone{{QStringLiteral("Pelvano test printer that is not installed")},
                           QString()};
    EXPECT_EQ(ErrorOf([&] { SelectPrinter(printer, gone, 0); }), kPrinterNotValid);

    auto pdf = PdfPrinter(QStringLiteral("empty.pdf"));
    EXPECT_EQ(ErrorOf([&] { PrintPicture(*pdf, QImage(), PrintSubject::Pattern); }),
              QStringLiteral("There is no picture to print"));
    EXPECT_FALSE(QFile::exists(pdf->outputFileName()));
}

} // namespace
} // namespace pelvano
