#include "ui/folder_of.h"

namespace pelvano {

namespace {

bool isSeparator(QChar c) {
#ifdef Q_OS_WIN
    return c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char(':');
#else
    return c == QLatin1Char('/');
#endif
}

} // namespace

QString DialogFolderOf(const QString& path) {
    qsizetype end = path.size();
    while (end > 0 && !isSeparator(path[end - 1]))
        --end;
    if (end == 0)
        return {};
    // `end` is just past the separator. A root keeps it: "/" and "D:\" (or a bare "D:").
    const QChar last = path[end - 1];
    if (last == QLatin1Char(':'))
        return path.left(end);
    if (end == 1)
        return path.left(1);
    if (path[end - 2] == QLatin1Char(':'))
        return path.left(end);
    return path.left(end - 1);
}

} // namespace pelvano
