#include "io/print_picture.h"
#include "ui/command_line_picture.h"
#include "ui/dialogs.h"
#include "ui/form1.h"
#include "ui/form5.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QTimer>
#include <QTranslator>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pelvano"));
    // Lets desktops match the window to its menu entry (pelvano.desktop) and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("pelvano"));
    QIcon icon;
    for (const char* size : {"16", "32", "48", "64", "128", "256"})
        icon.addFile(QStringLiteral(":/icons/pelvano-%1.png").arg(QLatin1String(size)));
    QApplication::setWindowIcon(icon);
    // The window speaks Russian; Qt's own dialogs and buttons (file dialogs, "Yes"/"No", "OK")
    // should too, whatever language the desktop is set to. Without Qt's translations installed
    // they stay in English.
    QTranslator qtRussian;
    if (qtRussian.load(QStringLiteral("qtbase_ru"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtRussian);

    pelvano::QtDialogs dialogs;
    pelvano::TForm1 form(dialogs);
    form.Form5 = new pelvano::TForm5(pelvano::SystemPrinters(), form.PrinterIndex, &form);
    form.show();

    // A picture named on the command line (the file manager's "Open with") is opened as if it
    // had been chosen in the open dialog, once the window is on screen so that an error message
    // has a window to sit over. Qt has already taken its own options out of the arguments.
    const QString file = pelvano::CommandLinePicture(QApplication::arguments());
    if (!file.isEmpty()) {
        QTimer::singleShot(0, &form, [&form, file] {
            form.guarded([&form, &file] { form.OpenPictureFile(file); });
        });
    }
    return QApplication::exec();
}
