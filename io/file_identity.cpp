#include "io/file_identity.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>

namespace pelvano {

QString ResolvedWritePath(const QString& path) {
    QFileInfo info(path);
    // A chain of dangling links ends somewhere; a loop is cut after a few steps.
    for (int hops = 0; hops < 40 && info.isSymLink() && !info.exists(); ++hops)
        info = QFileInfo(info.symLinkTarget());
    if (info.exists())
        return info.canonicalFilePath();
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return QDir::cleanPath((folder.isEmpty() ? info.absolutePath() : folder) + QLatin1Char('/') +
                           info.fileName());
}

bool SameFile(const QString& first, const QString& second) {
    struct stat a {};
    struct stat b {};
    if (::stat(QFile::encodeName(first).constData(), &a) == 0 &&
        ::stat(QFile::encodeName(second).constData(), &b) == 0)
        return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
    return ResolvedWritePath(first) == ResolvedWritePath(second);
}

} // namespace pelvano
