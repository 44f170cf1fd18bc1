#include "io/picture_encoders.h"
#include "io/picture_export.h"

#include <cstdint>
#include <cstring>
#include <limits>
#include <new>

namespace pelvano {

namespace {

constexpr std::int64_t kFileHeaderSize = 14;
constexpr std::int64_t kInfoHeaderSize = 40;

void PutU16(char*& at, std::uint16_t value) {
    *at++ = static_cast<char>(value & 0xFF);
    *at++ = static_cast<char>(value >> 8);
}

void PutU32(char*& at, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        *at++ = static_cast<char>((value >> shift) & 0xFF);
}

} // namespace

QString EncodeBmpTo(const QImage& image, QByteArray& out) {
    out.clear();
    QImage bgr;
    if (QString error = ImageForSaving(image, bgr); !error.isEmpty())
        return error;

    const std::int64_t width = bgr.width();
    const std::int64_t height = bgr.height();
    const std::int64_t rowBytes = (width * 3 + 3) / 4 * 4; // rows padded to 4 bytes
    const std::int64_t pixelBytes = rowBytes * height;
    const std::int64_t fileBytes = kFileHeaderSize + kInfoHeaderSize + pixelBytes;
    if (fileBytes > std::numeric_limits<std::uint32_t>::max())
        return QStringLiteral("Picture is too large for a bitmap file: %1 × %2 pixels")
            .arg(width)
            .arg(height);

    try {
        out = QByteArray(static_cast<qsizetype>(fileBytes), Qt::Uninitialized);
    } catch (const std::bad_alloc&) {
        return QStringLiteral("Not enough memory to save the picture");
    }
    char* at = out.data();
    // BITMAPFILEHEADER
    *at++ = 'B';
    *at++ = 'M';
    PutU32(at, static_cast<std::uint32_t>(fileBytes));
    PutU32(at, 0); // reserved
    PutU32(at, static_cast<std::uint32_t>(kFileHeaderSize + kInfoHeaderSize));
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
