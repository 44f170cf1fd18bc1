#include "ui/dialogs.h"
#include "ui/form1.h"

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
    form.show();
    return QApplication::exec();
}
