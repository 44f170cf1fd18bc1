#include "io/bmp_plain_decode.h"
#include "io/picture_decoders.h"

#include <QBuffer>
#include <QImageReader>
#include <algorithm>
#include <climits>
#include <cstdlib>
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

// Passes reads through to the file and notes when the reader asked for bytes the file does not
// have. The bitmap reader stops quietly at the end of the data and returns the rows it never
// read as whatever memory held; a picture whose data ran out is refused instead.
class EndOfDataWatch : public QIODevice {
public:
    explicit EndOfDataWatch(QIODevice& source) : source_(source) {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    bool ranOut() const { return ranOut_; }
    bool isSequential() const override { return source_.isSequential(); }
    qint64 size() const override { return source_.size(); }
    bool seek(qint64 pos) override { return source_.seek(pos) && QIODevice::seek(pos); }

protected:
    qint64 readData(char* data, qint64 size) override {
        const qint64 got = source_.read(data, size);
        if (got < size)
            ranOut_ = true;
        return got;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QIODevice& source_;
    bool ranOut_ = false;
};

// Compressed bitmaps may skip pixels (a delta, an early end of line or of picture) that the
// reader then leaves unwritten. It reuses an image of the size and format it is about to make,
// so handing it one filled with palette entry 0 makes those pixels the same on every open.
QImage ClearedTarget(QImageReader& reader, QSize claimed) {
    const QImage::Format format = reader.imageFormat();
    if (format != QImage::Format_Indexed8 || claimed.width() <= 0 || claimed.height() == 0)
        return {};
    QImage target(claimed.width(), std::abs(claimed.height()), format);
    if (!target.isNull())
        target.fill(0);
    return target;
}

// A 32-bit bitmap with an alpha mask comes back as ARGB32; its colour bytes are read as they are
// stored, the alpha byte dropped, not blended with anything.
QImage DropAlpha(QImage image) {
    if (image.format() == QImage::Format_ARGB32)
        image.reinterpretAsFormat(QImage::Format_RGB32);
    return image;
}

// The general reader refuses any bitmap of more than this many pixels, whatever its limits.
constexpr std::int64_t kReaderMaxPixels = std::int64_t{16384} * 16384;

} // namespace

LoadedPicture DecodeBmp(QIODevice& file, const PictureLimits& limits) {
    if (std::optional<LoadedPicture> plain = DecodePlainBmp(file, limits))
        return std::move(*plain);
    LoadedPicture result;
    EndOfDataWatch device(file);
    QImageReader reader(&device, "bmp");
    // Only the bitmap reader: a JPEG named .bmp must be refused, not decoded by another plugin.
    reader.setAutoDetectImageFormat(false);
    reader.setAllocationLimit(ReaderAllocationLimitMiB(limits));

    // The header only; a top-down bitmap claims a negative height.
    const QSize claimed = reader.size();
    if (claimed.width() > 0 && claimed.height() != 0) {
        result.error = CheckPictureSize(claimed.width(), std::abs(claimed.height()), limits);
        if (!result.ok())
            return result;
    }

    QImage decoded = ClearedTarget(reader, claimed);
    if (!reader.read(&decoded) || decoded.isNull() || device.ranOut()) {
        const bool overCap =
            claimed.width() > 0 &&
            std::int64_t{claimed.width()} * std::abs(claimed.height()) > kReaderMaxPixels;
        result.error = overCap ? QStringLiteral("Picture is too large: %1 × %2 pixels")
                                     .arg(claimed.width())
                                     .arg(std::abs(claimed.height()))
                               : InvalidBitmap();
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
