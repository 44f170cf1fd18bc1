#include "io/picture_decoders.h"
#include "io/picture_input.h"
#include "io_test_support.h"

#include <QImageReader>
#include <QImageWriter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace pelvano {
namespace {

using test::Corpus;
using test::FirstDifference;

QString Written(const QTemporaryDir& folder, const QImage& image, const char* name,
                const QByteArray& format, int quality = -1) {
    const QString path = folder.filePath(QString::fromLatin1(name));
    QImageWriter writer(path, format);
    writer.setQuality(quality);
    EXPECT_TRUE(writer.write(image)) << name << ": " << writer.errorString().toStdString();
    return path;
}

TEST(PictureFormats, LosslessFilesGiveTheBitmapsPixelsAndTransparencyLiesOverWhite) {
    QTemporaryDir folder;
    const LoadedPicture bitmap = LoadPicture(Corpus("photos/rose-70x46.bmp"));
    ASSERT_TRUE(bitmap.ok());
    const QImage rgb = bitmap.picture.convertToFormat(QImage::Format_RGB32);
    for (const auto& [name, format, quality] :
         {std::tuple{"rose.png", "png", -1}, std::tuple{"rose.tiff", "tiff", -1},
          std::tuple{"rose.TIF", "tiff", -1}, std::tuple{"rose.webp", "webp", 100}}) {
        SCOPED_TRACE(name);
        const LoadedPicture loaded = LoadPicture(Written(folder, rgb, name, format, quality));
        ASSERT_TRUE(loaded.ok()) << loaded.error.toStdString();
        EXPECT_EQ(loaded.picture.format(), QImage::Format_BGR888);
        EXPECT_EQ(FirstDifference(loaded.picture, bitmap.picture), QString());
    }

    // Half-transparent red over white is pink; fully transparent is white; GIF's transparent
    // palette entry too.
    QImage see(4, 1, QImage::Format_ARGB32);
    see.setPixel(0, 0, qRgba(255, 0, 0, 255));
    see.setPixel(1, 0, qRgba(255, 0, 0, 128));
    see.setPixel(2, 0, qRgba(0, 0, 0, 0));
    see.setPixel(3, 0, qRgba(0, 0, 255, 255));
    const LoadedPicture seen = LoadPicture(Written(folder, see, "see.png", "png"));
    ASSERT_TRUE(seen.ok()) << seen.error.toStdString();
    EXPECT_EQ(seen.picture.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(seen.picture.pixel(1, 0), qRgb(255, 127, 127));
    EXPECT_EQ(seen.picture.pixel(2, 0), qRgb(255, 255, 255));
    EXPECT_EQ(seen.picture.pixel(3, 0), qRgb(0, 0, 255));
    // Qt writes no GIF: four pixels red, green, transparent, blue, by hand.
    const QByteArray gif = QByteArray::fromHex("47494638396104000100910000"
                                               "ff000000ff00000000"
                                               "0000ff"
                                               "21f90401000002002c000000000400010000"
                                               "0203443405003b");
    test::WriteBytes(folder.filePath("see.gif"), gif);
    const LoadedPicture frame = LoadPicture(folder.filePath("see.gif"));
    ASSERT_TRUE(frame.ok()) << frame.error.toStdString();
    EXPECT_EQ(frame.picture.pixel(1, 0), qRgb(0, 255, 0));
    EXPECT_EQ(frame.picture.pixel(2, 0), qRgb(255, 255, 255));

    // 16-bit channels are rounded: 0x00FF is 0.99 in 8 bits, so 1 where dropping the low byte
    // gives 0; 0x8180 is 128.996, so 129 where cutting the fraction gives 128.
    QImage deep(2, 1, QImage::Format_RGBX64);
    deep.setPixelColor(0, 0, QColor::fromRgba64(0x00FF, 0x00FF, 0x00FF));
    deep.setPixelColor(1, 0, QColor::fromRgba64(0x8180, 0x8180, 0x8180));
    const QString deepPath = Written(folder, deep, "deep.png", "png");
    ASSERT_EQ(QImageReader(deepPath).imageFormat(), QImage::Format_RGBX64); // really 16-bit
    const LoadedPicture rounded = LoadPicture(deepPath);
    ASSERT_TRUE(rounded.ok());
    EXPECT_EQ(rounded.picture.pixel(0, 0), qRgb(1, 1, 1));
    EXPECT_EQ(rounded.picture.pixel(1, 0), qRgb(129, 129, 129));

    // Broken files are refused with the kind's own text; a JPEG under a PNG's name opens.
    const QByteArray png = test::ReadBytes(folder.filePath("rose.png"));
    EXPECT_EQ(DecodeWithQtReader(png.left(png.size() / 2), "png", DefaultPictureLimits()).error,
              "PNG image is not valid");
    EXPECT_EQ(DecodeWithQtReader(png, "webp", DefaultPictureLimits()).error,
              "WEBP image is not valid");
    PictureLimits small;
    small.maxRasterBytes = 1000;
    EXPECT_EQ(DecodeWithQtReader(png, "png", small).error, "Picture is too large: 70 × 46 pixels");
    EXPECT_TRUE(LoadPicture(Corpus("broken/jpeg-named.png")).ok());
}

} // namespace
} // namespace pelvano
