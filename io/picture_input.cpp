#include "io/picture_input.h"

#include "io/file_name.h"
#include "io/picture_decoders.h"

#include <QDir>
#include <QFile>

namespace pelvano {

namespace {

QString CannotOpen(const QString& path) {
    return QStringLiteral("Cannot open file %1").arg(QDir::toNativeSeparators(path));
}

} // namespace

LoadedPicture LoadPicture(const QString& path) {
    return LoadPicture(path, LoadObserver{});
}

LoadedPicture LoadPicture(const QString& path, const LoadObserver& observer) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {QImage(), CannotOpen(path)};

    const PictureLimits limits = DefaultPictureLimits();
    if (LowerExtension(path) == QLatin1String(".bmp")) {
        // Read from the file itself: a big bitmap is not held twice, once as bytes.
        LoadedPicture loaded = DecodeBmp(file, limits);
        if (loaded.ok()) {
            const RasterView view = ToRasterView(loaded.picture);
            if (observer.started)
                observer.started(view);
            if (observer.rowsReady)
                observer.rowsReady(view.height);
        }
        return loaded;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {QImage(), CannotOpen(path)};
    return DecodeJpeg(bytes, limits, observer);
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
