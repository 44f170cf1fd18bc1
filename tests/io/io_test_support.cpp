#include "io_test_support.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>

namespace pelvano::test {

namespace {

std::uint32_t U32(const QByteArray& b, qsizetype at) {
    const auto* p = reinterpret_cast<const unsigned char*>(b.constData()) + at;
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::uint16_t U16(const QByteArray& b, qsizetype at) {
    const auto* p = reinterpret_cast<const unsigned char*>(b.constData()) + at;
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

} // namespace

QString Corpus(const QString& relative) {
    return QStringLiteral(PELVANO_CORPUS_DIR "/") + relative;
}

QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot read " << path.toStdString();
        return {};
    }
    return file.readAll();
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QImage ReadPlainBmp(const QByteArray& bytes) {
    if (bytes.size() < 54 || !bytes.startsWith("BM"))
        return {};
    const std::uint32_t pixelOffset = U32(bytes, 10);
    const std::uint32_t headerSize = U32(bytes, 14);
    const auto width = static_cast<std::int32_t>(U32(bytes, 18));
    const auto rawHeight = static_cast<std::int32_t>(U32(bytes, 22));
    const int bits = U16(bytes, 28);
    const std::uint32_t compression = U32(bytes, 30);
    std::uint32_t colours = U32(bytes, 46);
    if (compression != 0 || width <= 0 || rawHeight == 0 ||
        (bits != 1 && bits != 4 && bits != 8 && bits != 24))
        return {};
    const bool topDown = rawHeight < 0;
    const int height = std::abs(rawHeight);
    if (colours == 0 && bits <= 8)
        colours = 1u << bits;
    const qsizetype paletteAt = 14 + headerSize;
    const qsizetype rowBytes = (static_cast<qsizetype>(width) * bits + 31) / 32 * 4;
    if (static_cast<qsizetype>(pixelOffset) + rowBytes * height > bytes.size())
        return {};

    QImage image(width, height, QImage::Format_BGR888);
    for (int y = 0; y < height; ++y) {
        const qsizetype row = pixelOffset + rowBytes * (topDown ? y : height - 1 - y);
        const auto* in = reinterpret_cast<const unsigned char*>(bytes.constData()) + row;
        unsigned char* out = image.scanLine(y);
        for (int x = 0; x < width; ++x, out += 3) {
            if (bits == 24) {
                out[0] = in[x * 3];
                out[1] = in[x * 3 + 1];
                out[2] = in[x * 3 + 2];
                continue;
            }
            const int perByte = 8 / bits;
            const int shift = 8 - bits * (x % perByte + 1);
            const unsigned index = (in[x / perByte] >> shift) & ((1u << bits) - 1);
            if (index >= colours)
                return {};
            const auto* entry =
                reinterpret_cast<const unsigned char*>(bytes.constData()) + paletteAt + index * 4;
            out[0] = entry[0];
            out[1] = entry[1];
            out[2] = entry[2];
        }
    }
    return image;
}

QSize BmpHeaderSize(const QByteArray& bytes) {
    if (bytes.size() < 26 || !bytes.startsWith("BM"))
        return {};
    if (U32(bytes, 14) == 12) // the old OS/2 header has 16-bit sizes
        return QSize(U16(bytes, 18), U16(bytes, 20));
    return QSize(static_cast<std::int32_t>(U32(bytes, 18)),
                 std::abs(static_cast<std::int32_t>(U32(bytes, 22))));
}

QString FirstDifference(const QImage& a, const QImage& b) {
    if (a.size() != b.size())
        return QStringLiteral("sizes differ: %1 x %2 and %3 x %4")
            .arg(a.width())
            .arg(a.height())
            .arg(b.width())
            .arg(b.height());
    const QImage ca = a.convertToFormat(QImage::Format_BGR888);
    const QImage cb = b.convertToFormat(QImage::Format_BGR888);
    const auto rowBytes = static_cast<std::size_t>(ca.width()) * 3;
    for (int y = 0; y < ca.height(); ++y) {
        if (std::memcmp(ca.constScanLine(y), cb.constScanLine(y), rowBytes) == 0)
            continue;
        for (int x = 0; x < ca.width(); ++x) {
            if (ca.pixel(x, y) != cb.pixel(x, y))
                return QStringLiteral("(%1, %2): %3 and %4")
                    .arg(x)
                    .arg(y)
                    .arg(ca.pixel(x, y), 6, 16)
                    .arg(cb.pixel(x, y), 6, 16);
        }
    }
    return {};
}

QImage TestCard(int width, int height) {
    QImage image(width, height, QImage::Format_BGR888);
    for (int y = 0; y < height; ++y) {
        unsigned char* out = image.scanLine(y);
        for (int x = 0; x < width; ++x, out += 3) {
            out[0] = static_cast<unsigned char>(x * 255 / std::max(1, width - 1));
            out[1] = static_cast<unsigned char>(y * 255 / std::max(1, height - 1));
            out[2] = static_cast<unsigned char>((x * 7 + y * 13) & 0xFF);
        }
    }
    // Pure corners: the first and last bytes of the raster are easy to get wrong.
    image.setPixel(0, 0, qRgb(255, 0, 0));
    image.setPixel(width - 1, 0, qRgb(0, 255, 0));
    image.setPixel(0, height - 1, qRgb(0, 0, 255));
    image.setPixel(width - 1, height - 1, qRgb(255, 255, 255));
    return image;
}

std::optional<QImage> DecodeWithDjpeg(const QString& path, const QStringList& options) {
    const QString djpeg = QStandardPaths::findExecutable(QStringLiteral("djpeg"));
    if (djpeg.isEmpty())
        return std::nullopt;
    QProcess process;
    process.start(djpeg, options + QStringList{QStringLiteral("-bmp"), path});
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) {
        ADD_FAILURE() << "djpeg did not finish on " << path.toStdString();
        return QImage();
    }
    return ReadPlainBmp(process.readAllStandardOutput());
}

QByteArray WithSecondFrameHeader(const QByteArray& jpeg) {
    // Marker segments before the scan: FF xx, then a big-endian length that counts itself.
    for (qsizetype at = 2; at + 4 <= jpeg.size() && static_cast<unsigned char>(jpeg[at]) == 0xFF;) {
        const auto marker = static_cast<unsigned char>(jpeg[at + 1]);
        const int length = (static_cast<unsigned char>(jpeg[at + 2]) << 8) |
                           static_cast<unsigned char>(jpeg[at + 3]);
        if (marker == 0xC0 || marker == 0xC2) {
            const QByteArray frame = jpeg.mid(at, 2 + length);
            QByteArray out = jpeg;
            out.insert(out.lastIndexOf("\xFF\xD9"), frame);
            return out;
        }
        at += 2 + length;
    }
    ADD_FAILURE() << "no frame header found";
    return jpeg;
}

} // namespace pelvano::test
