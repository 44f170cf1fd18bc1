#include "io/exif_orientation.h"
#include "io/picture_decoders.h"
#include "io/picture_export.h"
#include "io_test_support.h"

#include <QBuffer>
#include <gtest/gtest.h>

namespace pelvano {
namespace {

// An APP1 segment holding only an orientation tag, in either byte order.
QByteArray ExifSegment(int orientation, bool bigEndian) {
    const auto u16 = [&](int v) {
        QByteArray bytes;
        bytes.append(char(bigEndian ? v >> 8 : v & 0xFF));
        bytes.append(char(bigEndian ? v & 0xFF : v >> 8));
        return bytes;
    };
    const auto u32 = [&](int v) { return bigEndian ? u16(0) + u16(v) : u16(v) + u16(0); };
    QByteArray tiff = QByteArray(bigEndian ? "MM" : "II") + u16(42) + u32(8) + u16(1) +
                      u16(0x0112) + u16(3) + u32(1) + u16(orientation) + u16(0) + u32(0);
    const QByteArray data = QByteArray("Exif\0\0", 6) + tiff;
    const int length = static_cast<int>(data.size()) + 2; // big-endian in any JPEG
    return QByteArray("\xFF\xE1", 2) + char(length >> 8) + char(length & 0xFF) + data;
}

// Turned upright by hand, pixel by pixel, for an orientation.
QImage ByHand(const QImage& stored, int orientation) {
    const bool swap = orientation >= 5;
    const int w = stored.width();
    const int h = stored.height();
    QImage out(swap ? h : w, swap ? w : h, stored.format());
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            int u = x;
            int v = y;
            switch (orientation) {
            case 2:
                u = w - 1 - x;
                break;
            case 3:
                u = w - 1 - x;
                v = h - 1 - y;
                break;
            case 4:
                v = h - 1 - y;
                break;
            case 5:
                u = y;
                v = x;
                break;
            case 6:
                u = h - 1 - y;
                v = x;
                break;
            case 7:
                u = h - 1 - y;
                v = w - 1 - x;
                break;
            case 8:
                u = y;
                v = w - 1 - x;
                break;
            default:
                break;
            }
            out.setPixel(u, v, stored.pixel(x, y));
        }
    }
    return out;
}

TEST(ExifOrientation, EveryOrientationOpensUprightAndDamageIsIgnored) {
    const QByteArray plain = EncodeJpeg(test::TestCard(24, 16));
    const LoadedPicture stored = DecodeJpeg(plain);
    ASSERT_TRUE(stored.ok());
    for (int orientation = 1; orientation <= 8; ++orientation) {
        for (bool bigEndian : {false, true}) {
            SCOPED_TRACE(orientation);
            QByteArray tagged = plain;
            tagged.insert(2, ExifSegment(orientation, bigEndian));
            const LoadedPicture upright = DecodeJpeg(tagged);
            ASSERT_TRUE(upright.ok()) << upright.error.toStdString();
            EXPECT_EQ(upright.picture.format(), QImage::Format_BGR888);
            EXPECT_EQ(test::FirstDifference(upright.picture, ByHand(stored.picture, orientation)),
                      QString());
        }
    }
    // Damaged or foreign segments leave the picture as stored: cut anywhere before the end of
    // the orientation's entry (the last four bytes, the next directory's place, are not needed).
    const QByteArray good = ExifSegment(6, false).mid(4);
    for (qsizetype cut = 0; cut < good.size() - 4; ++cut) {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(good.constData());
        const int value = ExifOrientation(bytes, static_cast<std::size_t>(cut));
        EXPECT_EQ(value, 1) << cut;
    }
    EXPECT_EQ(ExifOrientation(reinterpret_cast<const std::uint8_t*>(good.constData()),
                              static_cast<std::size_t>(good.size())),
              6);
    QByteArray foreign = good;
    foreign[0] = 'X';
    EXPECT_EQ(ExifOrientation(reinterpret_cast<const std::uint8_t*>(foreign.constData()),
                              static_cast<std::size_t>(foreign.size())),
              1);
}

} // namespace
} // namespace pelvano
