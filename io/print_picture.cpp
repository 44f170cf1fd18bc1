#include "io/print_picture.h"

#include "io/print_geometry.h"
#include "io/safe_file.h"

#include <QDir>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <algorithm>

namespace pelvano {

namespace {

// Resolution and margins of a PDF file written in place of a printer: those of Qt's own PDF
// printer, on A4.
constexpr int kPdfResolution = 1200;
constexpr qreal kPdfMarginPoints = 10;

void SetOrientation(QPagedPaintDevice& device, QPageLayout::Orientation orientation) {
    if (!device.setPageOrientation(orientation))
        throw PrintError(kOrientationNotSupported);
}

// The print system reports colour as a capability of the printer rather than as a pixel depth,
// so a printer that prints grey only counts as an 8-bit device.
int BitsPerPixel(const QPagedPaintDevice& device) {
    const auto* printer = dynamic_cast<const QPrinter*>(&device);
    if (printer && printer->outputFormat() == QPrinter::NativeFormat) {
        const QPrinterInfo info(*printer);
        const QList<QPrinter::ColorMode> modes = info.supportedColorModes();
        if (!info.isNull() && !modes.isEmpty() && !modes.contains(QPrinter::Color))
            return 8;
    }
    return device.depth();
}

// Few-colour devices dither what they get; dropping rows and columns before that loses thin
// lines entirely, so an image larger than its place is first averaged down to it. Enlarging is
// left to the device, which repeats pixels as always.
QImage HalftoneSource(const QImage& image, const PrintRect& r) {
    const int width = std::min(image.width(), static_cast<int>(r.width()));
    const int height = std::min(image.height(), static_cast<int>(r.height()));
    if (width == image.width() && height == image.height())
        return image;
    return image.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace

PrinterList SystemPrinters() {
    return {QPrinterInfo::availablePrinterNames(), QPrinterInfo::defaultPrinterName()};
}

void SelectPrinter(QPrinter& printer, const PrinterList& printers, int index) {
    const bool listed = index >= 0 && index < printers.names.size();
    const QString name = listed ? printers.names[index] : printers.defaultName;
    if (name.isEmpty())
        throw PrintError(kNoDefaultPrinter);
    // The list is read once at start-up; the printer may have been removed since.
    if (QPrinterInfo::printerInfo(name).isNull())
        throw PrintError(kPrinterNotValid);
    printer.setOutputFormat(QPrinter::NativeFormat);
    printer.setPrinterName(name);
    if (!printer.isValid())
        throw PrintError(kPrinterNotValid);
}

void PrintPicture(QPagedPaintDevice& device, const QImage& image, PrintSubject which) {
    if (image.isNull())
        throw PrintError(QStringLiteral("There is no picture to print"));

    SetOrientation(device, QPageLayout::Portrait);
    PrintRect r = KeyPrintRect(device.width(), device.height());
    if (which == PrintSubject::Pattern) {
        const Real aspect = static_cast<Real>(image.width()) / static_cast<Real>(image.height());
        if (PatternPrintsLandscape(aspect))
            SetOrientation(device, QPageLayout::Landscape);
        r = PatternPrintRect(aspect, device.width(), device.height());
    }
    if (r.width() <= 0 || r.height() <= 0)
        throw PrintError(QStringLiteral("The printable area of the page is too small"));

    const bool halftone = BitsPerPixel(device) <= 8;
    QPainter painter;
    if (!painter.begin(&device))
        throw PrintError(QStringLiteral("The printer did not accept the document"));
    // Nearest pixel: every image pixel becomes a sharp block of device pixels.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, halftone);
    // PDF-based devices would otherwise store the picture as JPEG, blurring cell edges and
    // shifting thread colours.
    painter.setRenderHint(QPainter::LosslessImageRendering);
    const QRect target(r.left, r.top, r.width(), r.height());
    painter.drawImage(target, halftone ? HalftoneSource(image, r) : image);
    if (!painter.end())
        throw PrintError(QStringLiteral("The printer did not accept the document"));
}

void PrintPictureToPdf(const QImage& image, PrintSubject which, const QString& path) {
    const QString shown = QDir::toNativeSeparators(path);
    // Written beside the target first, so a failure leaves an existing file as it was.
    SafeFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw PrintError(QStringLiteral("Cannot create file %1").arg(shown));
    {
        QPdfWriter writer(&file);
        writer.setResolution(kPdfResolution);
        writer.setPageLayout(QPageLayout(
            QPageSize(QPageSize::A4), QPageLayout::Portrait,
            QMarginsF(kPdfMarginPoints, kPdfMarginPoints, kPdfMarginPoints, kPdfMarginPoints),
            QPageLayout::Point));
        PrintPicture(writer, image, which);
    }
    if (!file.commit())
        throw PrintError(QStringLiteral("Cannot write file %1").arg(shown));
}

} // namespace pelvano
