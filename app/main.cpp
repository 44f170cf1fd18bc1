#include "io/print_picture.h"
#include "ui/dialogs.h"
#include "ui/form1.h"
#include "ui/form5.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pelvano"));
    QIcon icon;
    for (const char* size : {"16", "32", "64"})
        icon.addFile(QStringLiteral(":/icons/pelvano-%1.png").arg(QLatin1String(size)));
    QApplication::setWindowIcon(icon);

    pelvano::QtDialogs dialogs;
    pelvano::TForm1 form(dialogs);
    form.Form5 = new pelvano::TForm5(pelvano::SystemPrinters(), form.PrinterIndex, &form);
    form.show();
    return QApplication::exec();
}
