#include "io/picture_input.h"

#include "io/file_name.h"
#include "io/picture_decoders.h"

#include <QDir>
#include <QFile>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pelvano {

namespace {

QString CannotOpen(const QString& path) {
    return QStringLiteral("Cannot open file %1").arg(QDir::toNativeSeparators(path));
}

// Opens without blocking (a pipe with no writer would wait forever) and keeps only regular
// files: a device such as /dev/zero never ends, a folder has no picture.
bool OpenRegularFile(const QString& path, QFile& file, QString& error) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = CannotOpen(path);
        return false;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        error = CannotOpen(path);
        return false;
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        error = CannotOpen(path);
        return false;
    }
    return true;
}

// Decoders that hand out no rows as they go report the picture once it is whole.
LoadedPicture ReportedWhole(LoadedPicture loaded, const LoadObserver& observer) {
    if (loaded.ok()) {
        if (observer.started)
            observer.started(std::make_shared<const QImage>(loaded.picture));
        if (observer.rowsReady)
            observer.rowsReady(loaded.picture.height());
    }
    return loaded;
}

} // namespace

LoadedPicture LoadPicture(const QString& path) {
    return LoadPicture(path, LoadObserver{});
}

LoadedPicture LoadPicture(const QString& path, const LoadObserver& observer) {
    QFile file;
    QString error;
    if (!OpenRegularFile(path, file, error))
        return {QImage(), error};

    const PictureLimits limits = DefaultPictureLimits();
    if (LowerExtension(path) == QLatin1String(".bmp")) {
        // Read from the file itself: a big bitmap is not held twice, once as bytes.
        return ReportedWhole(DecodeBmp(file, limits), observer);
    }
    if (const QByteArray format = QtReaderFormat(path); !format.isEmpty()) {
        // A JPEG under another picture's name is still read as the JPEG it is.
        if (!file.peek(3).startsWith("\xFF\xD8\xFF"))
            return ReportedWhole(DecodeWithQtReader(file, format, limits), observer);
    }
    return DecodeJpeg(file, limits, observer);
}

QByteArray QtReaderFormat(const QString& path) {
    const QString extension = LowerExtension(path);
    if (extension == QLatin1String(".png"))
        return "png";
    if (extension == QLatin1String(".gif"))
        return "gif";
    if (extension == QLatin1String(".tif") || extension == QLatin1String(".tiff"))
        return "tiff";
    if (extension == QLatin1String(".webp"))
        return "webp";
    return {};
}

Real PictureAspect(const QImage& picture) {
    if (picture.isNull() || picture.height() == 0)
        return 1.0L;
    return static_cast<Real>(picture.width()) / static_cast<Real>(picture.height());
}

RasterView ToRasterView(const QImage& picture) {
    RasterView view;
    if (picture.format() != QImage::Format_BGR888 || picture.isNull())
        return view;
    view.data = picture.constBits();
    view.width = picture.width();
    view.height = picture.height();
    view.stride = picture.bytesPerLine();
    return view;
}

} // namespace pelvano
