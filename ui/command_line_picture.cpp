#include "ui/command_line_picture.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace pelvano {

QString CommandLinePicture(const QStringList& arguments) {
    // The window takes no options of its own: "--help" and the like name no picture.
    if (arguments.size() < 2 || arguments.at(1).isEmpty() || arguments.at(1).startsWith(u'-'))
        return {};
    const QString& argument = arguments.at(1);
    const QUrl url(argument);
    const QString path = url.isLocalFile() ? url.toLocalFile() : argument;
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

} // namespace pelvano
