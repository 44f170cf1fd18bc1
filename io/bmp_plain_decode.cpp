#include "io/bmp_plain_decode.h"

#include "render/raster_allocation.h"

#include <cstdlib>
#include <cstring>

namespace pelvano {

namespace {

constexpr qint64 kFileHeaderSize = 14;
constexpr qint64 kInfoHeaderSize = 40;
constexpr qint64 kHeadersSize = kFileHeaderSize + kInfoHeaderSize;

std::uint16_t U16(const unsigned char* at) {
    return static_cast<std::uint16_t>(at[0] | at[1] << 8);
}

std::uint32_t U32(const unsigned char* at) {
    return static_cast<std::uint32_t>(at[0]) | static_cast<std::uint32_t>(at[1]) << 8 |
           static_cast<std::uint32_t>(at[2]) << 16 | static_cast<std::uint32_t>(at[3]) << 24;
}

} // namespace

std::optional<LoadedPicture> DecodePlainBmp(QIODevice& device, const PictureLimits& limits) {
    const qint64 start = device.pos();
    unsigned char header[kHeadersSize];
    const qint64 got = device.peek(reinterpret_cast<char*>(header), kHeadersSize);
    if (got != kHeadersSize || header[0] != 'B' || header[1] != 'M')
        return std::nullopt;
    const auto offset = static_cast<std::int32_t>(U32(header + 10));
    const std::uint32_t infoSize = U32(header + 14);
    const auto width = static_cast<std::int32_t>(U32(header + 18));
    const auto storedHeight = static_cast<std::int32_t>(U32(header + 22));
    const std::uint16_t planes = U16(header + 26);
    const std::uint16_t bitCount = U16(header + 28);
    const std::uint32_t compression = U32(header + 30);
    // Only the plainest kind: the classic header, 24 bits, no compression. Everything else goes
    // to the general reader.
    if (infoSize != kInfoHeaderSize || planes != 1 || bitCount != 24 || compression != 0 ||
        width <= 0 || storedHeight == 0 || storedHeight == INT32_MIN)
        return std::nullopt;

    const std::int32_t height = std::abs(storedHeight);
    LoadedPicture result;
    result.error = CheckPictureSize(width, height, limits);
    if (!result.ok())
        return result;

    // The pixels follow the headers, or start at the offset the file header names when that lies
    // beyond them; an offset inside the headers (or negative) is ignored, as bitmap readers do.
    const qint64 pixels = offset > kHeadersSize ? offset : kHeadersSize;
    const qint64 rowBytes = (static_cast<qint64>(width) * 3 + 3) / 4 * 4;
    // A file too short for its rows is refused before the raster is allocated: a header alone
    // must not cost the memory of the picture it claims.
    const bool complete =
        device.isSequential() || device.size() - start - pixels >= rowBytes * height;
    if (!complete || !device.seek(start + pixels)) {
        result.error = QStringLiteral("Bitmap image is not valid");
        return result;
    }
    result.picture = NewBgrRaster(width, height);
    if (result.picture.isNull()) {
        result.error = OutOfMemoryMessage(width, height);
        return result;
    }
    // A stored row is the raster's row, padding included: blue, green, red, padded to 4 bytes.
    const bool bottomUp = storedHeight > 0;
    for (std::int32_t i = 0; i < height; ++i) {
        const int y = bottomUp ? height - 1 - i : i;
        char* row = reinterpret_cast<char*>(result.picture.scanLine(y));
        if (device.read(row, rowBytes) != rowBytes) {
            // The rows the file lacks would be whatever memory held: refuse the picture.
            result.picture = QImage();
            result.error = QStringLiteral("Bitmap image is not valid");
            return result;
        }
    }
    return result;
}

} // namespace pelvano
