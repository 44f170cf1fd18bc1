#pragma once

#include "io/print_picture.h"

#include <QDialog>
#include <QString>
#include <cstdint>

class QComboBox;
class QLabel;
class QPushButton;

namespace pelvano {

inline const QString kPdfFileEntry = QStringLiteral("PDF-файл");
inline const QString kPrintPatternCaption = QStringLiteral("Печатаем схему");
inline const QString kPrintKeyCaption = QStringLiteral("Печатаем ключ");
// PrinterIndex of the "PDF-файл" choice. Not the entry's list position: that position belongs to
// the next printer installed, which would silently take over the choice. No stored setting of an
// older version holds this value (-1 is the default printer, positions count from 0).
inline constexpr std::int32_t kPdfPrinterIndex = -2;

// The printer choice dialog. One instance is made at start-up, after the main window, and
// reused by every print command; its list is filled then and never refreshed. The print command
// clears Tag, sets the caption and shows it modally; Tag is 1 afterwards only if "Печать" was
// pressed.
class TForm5 : public QDialog {
    Q_OBJECT
public:
    // `printerIndex` is the session's printer choice (restored before the dialog is made and
    // saved at exit): the dialog shows it selected and writes every change of the selection
    // into it at once, so a choice survives a cancelled dialog. A printer is stored as its list
    // position, the "PDF-файл" entry as kPdfPrinterIndex.
    TForm5(PrinterList printers, std::int32_t& printerIndex, QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;
    QComboBox* ComboBox1 = nullptr; // the printers, then "PDF-файл"
    QPushButton* Button1 = nullptr; // "Печать"
    QPushButton* Button2 = nullptr; // "Отмена"

    std::int32_t Tag = 0;

    void FormCreate();
    void ComboBox1Change();
    void Button1Click();
    void Button2Click();

    // The printers the list was filled with.
    const PrinterList& printers() const { return printers_; }
    // Position of the "PDF-файл" entry in the list: after every real printer, so the positions of
    // the printers, and a stored choice of one, keep their meaning.
    int pdfEntryIndex() const { return static_cast<int>(printers_.names.size()); }

    // Places the dialog over the middle of `owner`.
    void centreOver(const QWidget* owner);

protected:
    // Escape closes nothing here; only the buttons and the close box end the dialog.
    void keyPressEvent(QKeyEvent* event) override;

private:
    PrinterList printers_;
    std::int32_t& printerIndex_;
};

} // namespace pelvano
