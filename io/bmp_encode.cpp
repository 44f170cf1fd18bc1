#include "io/picture_encoders.h"
#include "io/picture_export.h"
#include "io/safe_file.h"

#include <QDir>
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <new>
#include <vector>

namespace pelvano {

namespace {

constexpr std::int64_t kFileHeaderSize = 14;
constexpr std::int64_t kInfoHeaderSize = 40;
constexpr std::int64_t kHeaderBytes = kFileHeaderSize + kInfoHeaderSize;
// The file header stores the file's size in 32 bits.
constexpr std::int64_t kMaxFileBytes = std::numeric_limits<std::uint32_t>::max();
// Rows are written to the file in bands of about this size.
constexpr std::int64_t kBandBytes = std::int64_t{1} << 20;

std::int64_t RowBytes(std::int64_t width) {
    return (width * 3 + 3) / 4 * 4; // rows padded to 4 bytes
}

void PutU16(char*& at, std::uint16_t value) {
    *at++ = static_cast<char>(value & 0xFF);
    *at++ = static_cast<char>(value >> 8);
}

void PutU32(char*& at, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        *at++ = static_cast<char>((value >> shift) & 0xFF);
}

// Both headers of an uncompressed 24-bit bitmap whose size BmpSizeError accepted.
void PutHeaders(char* at, std::int64_t width, std::int64_t height) {
    const std::int64_t pixelBytes = RowBytes(width) * height;
    // BITMAPFILEHEADER
    *at++ = 'B';
    *at++ = 'M';
    PutU32(at, static_cast<std::uint32_t>(kHeaderBytes + pixelBytes));
    PutU32(at, 0); // reserved
    PutU32(at, static_cast<std::uint32_t>(kHeaderBytes));
    // BITMAPINFOHEADER: positive height, so rows are stored bottom-up.
    PutU32(at, static_cast<std::uint32_t>(kInfoHeaderSize));
    PutU32(at, static_cast<std::uint32_t>(width));
    PutU32(at, static_cast<std::uint32_t>(height));
    PutU16(at, 1);  // planes
    PutU16(at, 24); // bits per pixel
    PutU32(at, 0);  // BI_RGB, uncompressed
    PutU32(at, static_cast<std::uint32_t>(pixelBytes));
    PutU32(at, 0); // horizontal resolution: unspecified
    PutU32(at, 0); // vertical resolution
    PutU32(at, 0); // colours used: no palette
    PutU32(at, 0); // important colours
}

} // namespace

QString BmpSizeError(std::int64_t width, std::int64_t height) {
    if (width > 0 && height > 0 && width <= kMaxFileBytes && height <= kMaxFileBytes &&
        kHeaderBytes + RowBytes(width) * height <= kMaxFileBytes)
        return {};
    QString text = QStringLiteral("Picture is too large for a bitmap file: %1 × %2 pixels")
                       .arg(width)
                       .arg(height);
    // The widest picture of the same height that still fits, as a hint of the scale.
    const std::int64_t widest =
        height > 0 ? (kMaxFileBytes - kHeaderBytes) / height / 4 * 4 / 3 : 0;
    if (widest > 0)
        text += QStringLiteral("; a bitmap file holds at most 4 GB, such as %1 × %2 pixels")
                    .arg(widest)
                    .arg(height);
    return text;
}

QString SaveBmpRows(std::int32_t width, std::int32_t height, const PictureRowSource& rows,
                    const QString& path) {
    if (width <= 0 || height <= 0)
        return QStringLiteral("There is no picture to save");
    if (QString error = BmpSizeError(width, height); !error.isEmpty())
        return error;

    const QString shown = QDir::toNativeSeparators(path);
    SafeFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("Cannot create file %1").arg(shown);

    char header[kHeaderBytes];
    PutHeaders(header, width, height);
    file.write(header, kHeaderBytes);
    // Rows arrive top first and are stored bottom-up: a band of them is laid out in the order of
    // the file and written in one piece at its place.
    const std::int64_t rowBytes = RowBytes(width);
    const auto lineBytes = static_cast<std::size_t>(width) * 3;
    const std::int32_t bandRows =
        static_cast<std::int32_t>(std::clamp<std::int64_t>(kBandBytes / rowBytes, 1, height));
    std::vector<char> band(static_cast<std::size_t>(rowBytes * bandRows), 0);
    for (std::int32_t top = 0; top < height && !file.failed(); top += bandRows) {
        const std::int32_t count = std::min(bandRows, height - top);
        for (std::int32_t i = 0; i < count; ++i)
            std::memcpy(band.data() + (count - 1 - i) * rowBytes, rows(top + i), lineBytes);
        file.seek(kHeaderBytes + static_cast<std::int64_t>(height - top - count) * rowBytes);
        file.write(band.data(), count * rowBytes);
    }
    if (file.failed() || !file.commit())
        return QStringLiteral("Cannot write file %1").arg(shown);
    return {};
}

QString EncodeBmpTo(const QImage& image, QByteArray& out) {
    out.clear();
    QImage bgr;
    if (QString error = ImageForSaving(image, bgr); !error.isEmpty())
        return error;
    const std::int64_t width = bgr.width();
    const std::int64_t height = bgr.height();
    if (QString error = BmpSizeError(width, height); !error.isEmpty())
        return error;

    const std::int64_t rowBytes = RowBytes(width);
    try {
        out =
            QByteArray(static_cast<qsizetype>(kHeaderBytes + rowBytes * height), Qt::Uninitialized);
    } catch (const std::bad_alloc&) {
        return QStringLiteral("Not enough memory to save the picture");
    }
    char* at = out.data();
    PutHeaders(at, width, height);
    at += kHeaderBytes;
    const auto lineBytes = static_cast<std::size_t>(width * 3);
    for (std::int64_t y = height - 1; y >= 0; --y) {
        std::memcpy(at, bgr.constScanLine(static_cast<int>(y)), lineBytes);
        std::memset(at + lineBytes, 0, static_cast<std::size_t>(rowBytes) - lineBytes);
        at += rowBytes;
    }
    return {};
}

QByteArray EncodeBmp(const QImage& image) {
    QByteArray bytes;
    EncodeBmpTo(image, bytes);
    return bytes;
}

} // namespace pelvano
