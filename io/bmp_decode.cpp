#include "io/picture_decoders.h"

#include <QBuffer>
#include <QImageReader>
#include <algorithm>
#include <climits>
#include <utility>

namespace pelvano {

namespace {

QString InvalidBitmap() {
    return QStringLiteral("Bitmap image is not valid");
}

// The reader decodes into 32 bits per pixel at most (8 for palettes), so 4/3 of our 24-bit
// budget is enough for it; the header check before reading is what really guards.
int ReaderAllocationLimitMiB(const PictureLimits& limits) {
    const std::int64_t bytes = limits.maxRasterBytes / 3 * 4;
    const std::int64_t mib = bytes / (1024 * 1024) + 1;
    return static_cast<int>(std::min<std::int64_t>(mib, INT_MAX));
}

// A 32-bit bitmap with an alpha mask comes back as ARGB32; its colour bytes are read as they are
// stored, the alpha byte dropped, not blended with anything.
QImage DropAlpha(QImage image) {
    if (image.format() == QImage::Format_ARGB32)
        image.reinterpretAsFormat(QImage::Format_RGB32);
    return image;
}

} // namespace

LoadedPicture DecodeBmp(QIODevice& device, const PictureLimits& limits) {
    LoadedPicture result;
    QImageReader reader(&device, "bmp");
    // Only the bitmap reader: a JPEG named .bmp must be refused, not decoded by another plugin.
    reader.setAutoDetectImageFormat(false);
    reader.setAllocationLimit(ReaderAllocationLimitMiB(limits));

    const QSize claimed = reader.size(); // reads the header only
    if (claimed.isValid() && !claimed.isEmpty()) {
        result.error = CheckPictureSize(claimed.width(), claimed.height(), limits);
        if (!result.ok())
            return result;
    }

    QImage decoded;
    if (!reader.read(&decoded) || decoded.isNull()) {
        result.error = InvalidBitmap();
        return result;
    }
    result.error = CheckPictureSize(decoded.width(), decoded.height(), limits);
    if (!result.ok())
        return result;

    const int width = decoded.width();
    const int height = decoded.height();
    result.picture = DropAlpha(std::move(decoded)).convertToFormat(QImage::Format_BGR888);
    if (result.picture.isNull())
        result.error = OutOfMemoryMessage(width, height);
    return result;
}

LoadedPicture DecodeBmp(const QByteArray& bytes, const PictureLimits& limits) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return DecodeBmp(buffer, limits);
}

LoadedPicture DecodeBmp(const QByteArray& bytes) {
    return DecodeBmp(bytes, DefaultPictureLimits());
}

} // namespace pelvano
