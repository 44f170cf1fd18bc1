#include "io/picture_decoders.h"
#include "io/picture_input.h"
#include "io_test_support.h"

#include <QDir>
#include <gtest/gtest.h>

namespace pelvano {
namespace {

using test::Corpus;
using test::FirstDifference;
using test::ReadBytes;
using test::ReadPlainBmp;

QStringList BmpFiles(const QString& folder) {
    const QDir dir(Corpus(folder));
    QStringList paths;
    for (const QString& name : dir.entryList({QStringLiteral("*.bmp")}, QDir::Files, QDir::Name))
        paths << dir.filePath(name);
    return paths;
}

LoadedPicture Decode(const QString& path) {
    return DecodeBmp(ReadBytes(path));
}

TEST(BmpDecode, EveryGoodBitmapOpensAtItsSizeAs24Bit) {
    const QStringList files = BmpFiles(QStringLiteral("bmpsuite/g"));
    ASSERT_EQ(files.size(), 27);
    for (const QString& path : files) {
        SCOPED_TRACE(path.toStdString());
        const LoadedPicture loaded = Decode(path);
        ASSERT_TRUE(loaded.ok()) << loaded.error.toStdString();
        EXPECT_EQ(loaded.picture.format(), QImage::Format_BGR888);
        EXPECT_EQ(loaded.picture.size(), test::BmpHeaderSize(ReadBytes(path)));
        // Wherever an independent reading of the file is possible, every pixel must match it.
        const QImage reference = ReadPlainBmp(ReadBytes(path));
        if (!reference.isNull()) {
            EXPECT_EQ(FirstDifference(loaded.picture, reference), QString());
        }
    }
}

TEST(BmpDecode, DepthsAndHeaderVariantsGiveTheSamePixels) {
    const QImage rgb24 = Decode(Corpus(QStringLiteral("bmpsuite/g/rgb24.bmp"))).picture;
    ASSERT_FALSE(rgb24.isNull());
    // 32-bit pixels lose their fourth byte, also where it is not zero.
    for (const char* name :
         {"g/rgb24pal", "g/rgb32", "g/rgb32bf", "g/rgb32bfdef", "q/rgb32fakealpha"}) {
        SCOPED_TRACE(name);
        const LoadedPicture other = Decode(Corpus(QStringLiteral("bmpsuite/%1.bmp").arg(name)));
        ASSERT_TRUE(other.ok()) << other.error.toStdString();
        EXPECT_EQ(FirstDifference(other.picture, rgb24), QString());
    }
    const QImage pal8 = Decode(Corpus(QStringLiteral("bmpsuite/g/pal8.bmp"))).picture;
    for (const char* name : {"pal8-0", "pal8rle", "pal8topdown", "pal8os2", "pal8v4", "pal8v5"}) {
        SCOPED_TRACE(name);
        const LoadedPicture other = Decode(Corpus(QStringLiteral("bmpsuite/g/%1.bmp").arg(name)));
        ASSERT_TRUE(other.ok()) << other.error.toStdString();
        EXPECT_EQ(FirstDifference(other.picture, pal8), QString());
    }
}

TEST(BmpDecode, BadAndQuestionableBitmapsFailCleanlyOrOpen) {
    QStringList files = BmpFiles(QStringLiteral("bmpsuite/b")) +
                        BmpFiles(QStringLiteral("bmpsuite/q")) +
                        BmpFiles(QStringLiteral("bmpsuite/x"));
    ASSERT_EQ(files.size(), 20 + 43 + 1);
    int refused = 0;
    for (const QString& path : files) {
        SCOPED_TRACE(path.toStdString());
        const LoadedPicture loaded = Decode(path);
        if (loaded.ok()) {
            EXPECT_EQ(loaded.picture.format(), QImage::Format_BGR888);
            EXPECT_LE(static_cast<qint64>(loaded.picture.width()) * loaded.picture.height(),
                      qint64{4096} * 4096);
        } else {
            EXPECT_TRUE(loaded.picture.isNull());
            ++refused;
        }
    }
    EXPECT_GE(refused, 6);
    // A header claiming 3,000,000 x 2,000,000 pixels is refused, not allocated.
    const LoadedPicture big = Decode(Corpus(QStringLiteral("bmpsuite/b/reallybig.bmp")));
    EXPECT_FALSE(big.ok());
    EXPECT_FALSE(Decode(Corpus(QStringLiteral("bmpsuite/x/ba-bm.bmp"))).ok());
}

TEST(BmpDecode, HugeHeadersAndNonBitmapsAreRefused) {
    for (const char* name : {"huge-dims-100000x100000.bmp", "huge-width-overflow.bmp"}) {
        const LoadedPicture huge = Decode(Corpus(QStringLiteral("broken/") + name));
        EXPECT_FALSE(huge.ok()) << name;
        EXPECT_TRUE(huge.picture.isNull()) << name;
    }

    const QString invalid = QStringLiteral("Bitmap image is not valid");
    EXPECT_EQ(DecodeBmp(QByteArray()).error, invalid);
    EXPECT_EQ(Decode(Corpus(QStringLiteral("broken/jpeg-named.bmp"))).error, invalid);
    EXPECT_EQ(DecodeBmp(QByteArray("BM this is not a bitmap header")).error, invalid);

    // The limit is checked against the header, before the pixels are read.
    PictureLimits small;
    small.maxRasterBytes = 1000;
    const LoadedPicture refused = DecodeBmp(ReadBytes(Corpus("photos/rose-70x46.bmp")), small);
    EXPECT_EQ(refused.error, QStringLiteral("Picture is too large: 70 × 46 pixels"));
    EXPECT_TRUE(refused.picture.isNull());
}

TEST(BmpDecode, RealPhotosOfEveryDepthMatchTheirFiles) {
    struct Case {
        const char* file;
        int width;
        int height;
    };
    for (const Case& c : {Case{"rose-70x46.bmp", 70, 46}, Case{"fig-pal8.bmp", 800, 541},
                          Case{"friends-1bit.bmp", 600, 901}, Case{"wine-tall.bmp", 200, 3837}}) {
        SCOPED_TRACE(c.file);
        const QByteArray bytes = ReadBytes(Corpus(QStringLiteral("photos/") + c.file));
        const LoadedPicture loaded = DecodeBmp(bytes);
        ASSERT_TRUE(loaded.ok()) << loaded.error.toStdString();
        EXPECT_EQ(loaded.picture.size(), QSize(c.width, c.height));
        EXPECT_EQ(FirstDifference(loaded.picture, ReadPlainBmp(bytes)), QString());
    }
}

} // namespace
} // namespace pelvano
