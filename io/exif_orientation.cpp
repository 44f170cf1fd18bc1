#include "io/exif_orientation.h"

#include <QTransform>
#include <cstring>

namespace pelvano {

namespace {

constexpr std::uint16_t kOrientationTag = 0x0112;
constexpr std::uint16_t kShortType = 3;

struct TiffReader {
    const std::uint8_t* data;
    std::size_t size;
    bool bigEndian;

    bool has(std::size_t at, std::size_t bytes) const { return at <= size && bytes <= size - at; }
    std::uint16_t u16(std::size_t at) const {
        return bigEndian ? static_cast<std::uint16_t>(data[at] << 8 | data[at + 1])
                         : static_cast<std::uint16_t>(data[at + 1] << 8 | data[at]);
    }
    std::uint32_t u32(std::size_t at) const {
        return bigEndian ? std::uint32_t{u16(at)} << 16 | u16(at + 2)
                         : std::uint32_t{u16(at + 2)} << 16 | u16(at);
    }
};

} // namespace

int ExifOrientation(const std::uint8_t* data, std::size_t size) {
    static constexpr char kHeader[6] = {'E', 'x', 'i', 'f', 0, 0};
    if (data == nullptr || size < sizeof kHeader + 8 || std::memcmp(data, kHeader, 6) != 0)
        return 1;
    // Offsets inside the TIFF structure count from its own start, after the header.
    TiffReader tiff{data + 6, size - 6, false};
    if (tiff.data[0] == 'M' && tiff.data[1] == 'M')
        tiff.bigEndian = true;
    else if (!(tiff.data[0] == 'I' && tiff.data[1] == 'I'))
        return 1;
    if (tiff.u16(2) != 42)
        return 1;
    const std::size_t ifd = tiff.u32(4);
    if (!tiff.has(ifd, 2))
        return 1;
    const std::size_t entries = tiff.u16(ifd);
    for (std::size_t i = 0; i < entries; ++i) {
        const std::size_t entry = ifd + 2 + 12 * i;
        if (!tiff.has(entry, 12))
            return 1;
        if (tiff.u16(entry) == kOrientationTag) {
            const int value =
                tiff.u16(entry) == kOrientationTag && tiff.u16(entry + 2) == kShortType
                    ? tiff.u16(entry + 8)
                    : 1;
            return value >= 1 && value <= 8 ? value : 1;
        }
    }
    return 1;
}

QImage Upright(const QImage& picture, int orientation) {
    if (orientation < 2 || orientation > 8 || picture.isNull())
        return picture;
    QImage out = picture;
    // Mirror first where the orientation includes a mirror, then turn clockwise.
    if (orientation == 2 || orientation == 5 || orientation == 7)
        out = out.mirrored(true, false);
    if (orientation == 4)
        out = out.mirrored(false, true);
    int turn = 0;
    switch (orientation) {
    case 3:
        turn = 180;
        break;
    case 6:
    case 7:
        turn = 90;
        break;
    case 5:
    case 8:
        turn = 270;
        break;
    default:
        break;
    }
    if (turn != 0)
        out = out.transformed(QTransform().rotate(turn));
    if (out.format() != picture.format())
        out = out.convertToFormat(picture.format());
    return out;
}

} // namespace pelvano
