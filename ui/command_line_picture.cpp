#include "ui/command_line_picture.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace pelvano {

QString CommandLinePicture(const QStringList& arguments) {
    if (arguments.size() < 2 || arguments.at(1).isEmpty())
        return {};
    const QString& argument = arguments.at(1);
    const QUrl url(argument);
    const QString path = url.isLocalFile() ? url.toLocalFile() : argument;
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

} // namespace pelvano
