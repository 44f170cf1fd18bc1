#include "io/picture_decoders.h"
#include "render/raster_allocation.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>
#include <algorithm>
#include <climits>

namespace pelvano {

namespace {

// The reader decodes into at most 64 bits per pixel (16-bit channels with alpha).
int AllocationLimitMiB(const PictureLimits& limits) {
    const std::int64_t mib = limits.maxRasterBytes / 3 * 8 / (1024 * 1024) + 1;
    return static_cast<int>(std::min<std::int64_t>(mib, INT_MAX));
}

bool SixteenBit(QImage::Format format) {
    return format == QImage::Format_RGBX64 || format == QImage::Format_RGBA64 ||
           format == QImage::Format_RGBA64_Premultiplied || format == QImage::Format_Grayscale16;
}

// The 24-bit raster of any decoded picture. Transparent parts are laid over white; 16-bit
// channels are rounded to 8 bits, not cut; a colour profile is not applied.
QImage ToBgr(QImage image) {
    if (image.hasAlphaChannel()) {
        const bool deep = SixteenBit(image.format());
        QImage paper(image.size(), deep ? QImage::Format_RGBX64 : QImage::Format_RGB32);
        if (paper.isNull())
            return {};
        paper.fill(Qt::white);
        QPainter painter(&paper);
        painter.drawImage(0, 0, image);
        painter.end();
        image = std::move(paper);
    }
    return image.convertToFormat(QImage::Format_BGR888);
}

} // namespace

LoadedPicture DecodeWithQtReader(QIODevice& device, const QByteArray& format,
                                 const PictureLimits& limits) {
    LoadedPicture result;
    const QString invalid =
        QStringLiteral("%1 image is not valid").arg(QString::fromLatin1(format).toUpper());
    QImageReader reader(&device, format);
    // Only the reader the name asks for: content of another kind is refused, not guessed.
    reader.setAutoDetectImageFormat(false);
    reader.setAutoTransform(false);
    QImageReader::setAllocationLimit(AllocationLimitMiB(limits));
    const QSize claimed = reader.size();
    if (claimed.isValid() && !claimed.isEmpty()) {
        result.error = CheckPictureSize(claimed.width(), claimed.height(), limits);
        if (!result.ok())
            return result;
    }
    QImage decoded;
    if (!reader.read(&decoded) || decoded.isNull()) {
        result.error = invalid;
        return result;
    }
    result.error = CheckPictureSize(decoded.width(), decoded.height(), limits);
    if (!result.ok())
        return result;
    const int width = decoded.width();
    const int height = decoded.height();
    result.picture = ToBgr(std::move(decoded));
    if (result.picture.isNull())
        result.error = OutOfMemoryMessage(width, height);
    return result;
}

LoadedPicture DecodeWithQtReader(const QByteArray& bytes, const QByteArray& format,
                                 const PictureLimits& limits) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return DecodeWithQtReader(buffer, format, limits);
}

} // namespace pelvano
