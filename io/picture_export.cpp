#include "io/picture_export.h"

#include "io/file_name.h"
#include "io/picture_encoders.h"
#include "io/safe_file.h"

#include <QDir>

namespace pelvano {

QString ForceExtension(const QString& path, PictureFormat format) {
    return WithExtension(path, format == PictureFormat::Bmp ? QStringLiteral(".bmp")
                                                            : QStringLiteral(".jpg"));
}

std::optional<PictureFormat> FormatFromExtension(const QString& path) {
    const QString extension = LowerExtension(path);
    if (extension == QLatin1String(".bmp"))
        return PictureFormat::Bmp;
    if (extension == QLatin1String(".jpg") || extension == QLatin1String(".jpeg"))
        return PictureFormat::Jpeg;
    return std::nullopt;
}

QString ImageForSaving(const QImage& image, QImage& bgr) {
    bgr = QImage();
    if (image.isNull())
        return QStringLiteral("There is no picture to save");
    // Drawn images are already 24-bit; anything else is converted first.
    bgr = image.format() == QImage::Format_BGR888 ? image
                                                  : image.convertToFormat(QImage::Format_BGR888);
    if (bgr.isNull())
        return QStringLiteral("Not enough memory to save the picture");
    return {};
}

QString SavePicture(const QImage& image, const QString& path, PictureFormat format) {
    QImage bgr;
    if (QString error = ImageForSaving(image, bgr); !error.isEmpty())
        return error;
    const PictureRowSource rows = [&bgr](std::int32_t y) { return bgr.constScanLine(y); };
    return format == PictureFormat::Bmp ? SaveBmpRows(bgr.width(), bgr.height(), rows, path)
                                        : SaveJpegRows(bgr.width(), bgr.height(), rows, path);
}

QString SaveFileBytes(const QByteArray& bytes, const QString& path) {
    const QString shown = QDir::toNativeSeparators(path);
    SafeFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("Cannot create file %1").arg(shown);
    if (file.write(bytes) != bytes.size() || !file.commit())
        return QStringLiteral("Cannot write file %1").arg(shown);
    return {};
}

} // namespace pelvano
