#pragma once

#include <QImage>
#include <QString>
#include <QStringList>
#include <stdexcept>

class QPagedPaintDevice;
class QPrinter;

namespace pelvano {

enum class PrintSubject {
    Pattern, // fitted to the page in its proportions, landscape when wider than high
    Key,     // stretched over the page, always portrait
};

// The printers of the print system, in the order it reports them, and the name of its default
// printer (empty when there is none).
struct PrinterList {
    QStringList names;
    QString defaultName;
};

// What the print system reports right now.
PrinterList SystemPrinters();

// A failure of the print layer; what() is the text to show (UTF-8).
class PrintError : public std::runtime_error {
public:
    explicit PrintError(const QString& text) : std::runtime_error(text.toStdString()) {}
};

inline const QString kNoDefaultPrinter =
    QStringLiteral("There is no default printer currently selected");
inline const QString kPrinterNotValid = QStringLiteral("Printer selected is not valid");
inline const QString kOrientationNotSupported =
    QStringLiteral("Operation not supported on selected printer");

// Points `printer` at the printer at `index` in `printers`. An index outside the list stands for
// the default printer. Throws PrintError when that printer does not exist.
void SelectPrinter(QPrinter& printer, const PrinterList& printers, int index);

// Prints `image` as one document of exactly one page on `device` (a printer, or a PDF writer),
// placed as the subject asks. Every image pixel becomes a block of device pixels with no
// smoothing; only devices of 8 bits per pixel or fewer get a smoothed image to halftone. Throws
// PrintError when the device refuses anything; the device's orientation stays as last set.
void PrintPicture(QPagedPaintDevice& device, const QImage& image, PrintSubject which);

// The same page written as a PDF file on A4 paper. The file appears, or replaces an existing one,
// only once the whole document is written.
void PrintPictureToPdf(const QImage& image, PrintSubject which, const QString& path);

} // namespace pelvano
