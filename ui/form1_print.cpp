#include "io/file_name.h"
#include "io/print_picture.h"
#include "ui/form1.h"
#include "ui/form5.h"
#include "ui/save_command.h"

#include <QComboBox>
#include <QFileInfo>
#include <QPrinter>

namespace pelvano {

// Printing the pattern or the key, each on one page, after the printer choice dialog.

namespace {

// The image goes into a PDF file chosen in a save dialog, for users without a printer. Each "no"
// to replacing an existing file shows the dialog again.
void PrintToPdfFile(TForm1& form, const QImage& picture, PrintSubject which) {
    Dialogs& dialogs = form.dialogs();
    const QString title = form.Form5->windowTitle() + QStringLiteral(" в PDF-файл");
    for (;;) {
        const std::optional<SaveChoice> choice =
            dialogs.savePictureFile(&form, title, form.SaveDir, kPdfFilter, 1);
        if (!choice)
            return;
        const QString path = WithExtension(choice->path, QStringLiteral(".pdf"));
        if (QFileInfo::exists(path) &&
            !dialogs.askYesNo(&form, kQuestionCaption, OverwriteQuestion(path)))
            continue;
        PrintPictureToPdf(picture, which, path);
        return;
    }
}

// Errors of the print layer end the command; the window's error handler shows them.
void PrintCommand(TForm1& form, PrintSubject which) {
    TForm5* dialog = form.Form5;
    if (!dialog)
        return;
    dialog->centreOver(&form);
    dialog->Tag = 0;
    dialog->setWindowTitle(which == PrintSubject::Pattern ? kPrintPatternCaption
                                                          : kPrintKeyCaption);
    form.dialogs().showPrinterDialog(*dialog);
    if (dialog->Tag != 1)
        return;

    const QImage& picture = which == PrintSubject::Pattern ? form.Image4 : form.KeyImage;
    // The list's own selection decides, not PrinterIndex: a stored position past the list shows
    // no selection and prints on the default printer.
    const int selected = dialog->ComboBox1->currentIndex();
    if (selected == dialog->pdfEntryIndex()) {
        PrintToPdfFile(form, picture, which);
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    SelectPrinter(printer, dialog->printers(), selected);
    PrintPicture(printer, picture, which);
}

} // namespace

void TForm1::SpeedButton4Click() {
    PrintCommand(*this, PrintSubject::Pattern);
}

void TForm1::SpeedButton5Click() {
    PrintCommand(*this, PrintSubject::Key);
}

} // namespace pelvano
