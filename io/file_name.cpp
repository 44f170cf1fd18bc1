#include "io/file_name.h"

namespace pelvano {

namespace {

bool IsSeparator(QChar c) {
#ifdef Q_OS_WIN
    return c == u'/' || c == u'\\' || c == u':';
#else
    return c == u'/';
#endif
}

// Position of the last separator, or -1.
qsizetype LastSeparator(const QString& path) {
    for (qsizetype i = path.size() - 1; i >= 0; --i) {
        if (IsSeparator(path[i]))
            return i;
    }
    return -1;
}

} // namespace

qsizetype ExtensionStart(const QString& path) {
    const qsizetype dot = path.lastIndexOf(u'.');
    return dot > LastSeparator(path) ? dot : -1;
}

QString LowerExtension(const QString& path) {
    const qsizetype dot = ExtensionStart(path);
    return dot < 0 ? QString() : path.mid(dot).toLower();
}

QString WithExtension(const QString& path, const QString& extension) {
    const qsizetype dot = ExtensionStart(path);
    return (dot < 0 ? path : path.left(dot)) + extension;
}

QString FileNamePart(const QString& path) {
    return path.mid(LastSeparator(path) + 1);
}

QString FolderOfFile(const QString& path) {
    const qsizetype separator = LastSeparator(path);
    if (separator < 0)
        return {};
    // "D:\" and "D:" stay whole: without the separator "D:" would mean the drive's current
    // folder, and a drive colon is not a separator to drop.
    if (path[separator] == u':' || (separator > 0 && path[separator - 1] == u':'))
        return path.left(separator + 1);
    return path.left(separator);
}

} // namespace pelvano
