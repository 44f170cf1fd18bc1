#include "io/picture_decoders.h"
#include "io/picture_input.h"
#include "io_test_support.h"

#include <gtest/gtest.h>
#include <set>

namespace pelvano {
namespace {

using test::Corpus;
using test::DecodeWithDjpeg;
using test::FirstDifference;
using test::ReadBytes;

LoadedPicture Decode(const QString& relative) {
    return DecodeJpeg(ReadBytes(Corpus(relative)));
}

// The decoder settings (float IDCT, block smoothing, blue-green-red output, 236 dithered grey
// levels) must give exactly what libjpeg's own tool gives with the same settings. Damaged files
// are included: what a truncated or corrupt file shows is libjpeg's recovery, not garbage.
TEST(JpegDecode, MatchesLibjpegsOwnDecoderPixelForPixel) {
    struct Case {
        const char* file;
        QStringList djpegOptions;
    };
    const QStringList colour{"-dct", "float"};
    const QStringList grey{"-dct", "float", "-colors", "236"};
    for (const Case& c :
         {Case{"photos/grace-hopper-512x600.jpg", colour},
          Case{"photos/aitzgorri-wide.jpg", colour}, Case{"photos/life-gray.jpg", grey},
          Case{"broken/truncated-baseline.jpg", colour},
          Case{"broken/truncated-progressive.jpg", colour}, Case{"broken/corrupt-scan.jpg", colour},
          Case{"broken/arithmetic-coded.jpg", colour}}) {
        SCOPED_TRACE(c.file);
        const LoadedPicture ours = Decode(c.file);
        ASSERT_TRUE(ours.ok()) << ours.error.toStdString();
        EXPECT_EQ(ours.picture.format(), QImage::Format_BGR888);
        const std::optional<QImage> reference = DecodeWithDjpeg(Corpus(c.file), c.djpegOptions);
        if (!reference)
            GTEST_SKIP() << "djpeg is not installed";
        ASSERT_FALSE(reference->isNull());
        EXPECT_EQ(FirstDifference(ours.picture, *reference), QString());
    }
}

TEST(JpegDecode, GreyFilesBecomeAtMost236GreyLevels) {
    const LoadedPicture loaded = Decode(QStringLiteral("photos/life-gray.jpg"));
    ASSERT_TRUE(loaded.ok()) << loaded.error.toStdString();
    ASSERT_EQ(loaded.picture.size(), QSize(1600, 1065));
    std::set<int> levels;
    for (int y = 0; y < loaded.picture.height(); ++y) {
        const uchar* p = loaded.picture.constScanLine(y);
        for (int x = 0; x < loaded.picture.width(); ++x, p += 3) {
            ASSERT_TRUE(p[0] == p[1] && p[1] == p[2]) << "colour at " << x << ", " << y;
            levels.insert(p[0]);
        }
    }
    EXPECT_LE(levels.size(), 236u);
    EXPECT_GT(levels.size(), 100u); // dithered, not posterised to a few levels
}

TEST(JpegDecode, LargeProgressiveAndOddShapedFilesOpenAtFullSize) {
    struct Case {
        const char* file;
        QSize size;
    };
    for (const Case& c : {Case{"photos/seeding-5312x2988-progressive.jpg", QSize(5312, 2988)},
                          Case{"photos/kleiber-6028x3391.jpg", QSize(6028, 3391)},
                          Case{"photos/aitzgorri-wide.jpg", QSize(3088, 160)},
                          Case{"broken/header-only.jpg", QSize(512, 600)}}) {
        SCOPED_TRACE(c.file);
        const LoadedPicture loaded = Decode(c.file);
        ASSERT_TRUE(loaded.ok()) << loaded.error.toStdString();
        EXPECT_EQ(loaded.picture.size(), c.size);
    }
}

TEST(JpegDecode, FatalErrorsGiveLibjpegsMessageNumberAndNoPicture) {
    struct Case {
        const char* file;
        const char* error;
    };
    for (const Case& c : {Case{"photos/picos-cmyk.jpg", "JPEG error #27"},
                          Case{"broken/precision12-patched.jpg", "JPEG error #15"},
                          Case{"broken/empty.jpg", "JPEG error #42"},
                          Case{"broken/text-named.jpg", "JPEG error #53"},
                          Case{"broken/bmp-named.jpg", "JPEG error #53"},
                          Case{"broken/png-named.png", "JPEG error #53"}}) {
        SCOPED_TRACE(c.file);
        const LoadedPicture loaded = Decode(c.file);
        EXPECT_EQ(loaded.error, QString::fromLatin1(c.error));
        EXPECT_TRUE(loaded.picture.isNull());
    }
    // A file cut inside its header fails too, at whatever point the data run out.
    const QByteArray whole = ReadBytes(Corpus(QStringLiteral("photos/grace-hopper-512x600.jpg")));
    for (qsizetype cut : {2, 20, 100, 300}) {
        const LoadedPicture loaded = DecodeJpeg(whole.left(cut));
        EXPECT_TRUE(loaded.error.startsWith(QStringLiteral("JPEG error #"))) << cut;
    }
}

TEST(JpegDecode, SizeClaimsBeyondTheLimitAreRefusedBeforeDecoding) {
    const QByteArray bytes = ReadBytes(Corpus(QStringLiteral("photos/grace-hopper-512x600.jpg")));
    PictureLimits limits;
    limits.maxRasterBytes = 512 * 3 * 600 - 1;
    const LoadedPicture refused = DecodeJpeg(bytes, limits);
    EXPECT_EQ(refused.error, QStringLiteral("Picture is too large: 512 × 600 pixels"));
    EXPECT_TRUE(refused.picture.isNull());
    limits.maxRasterBytes += 1;
    EXPECT_TRUE(DecodeJpeg(bytes, limits).ok());

    // A header claiming 65000 x 65000 pixels (12.7 GB) with no data behind it.
    QByteArray patched = bytes;
    const qsizetype sof = patched.indexOf(QByteArray("\xFF\xC0", 2));
    ASSERT_GT(sof, 0);
    for (qsizetype at : {sof + 5, sof + 7}) {
        patched[at] = static_cast<char>(0xFD);
        patched[at + 1] = static_cast<char>(0xE8);
    }
    EXPECT_EQ(DecodeJpeg(patched).error,
              QStringLiteral("Picture is too large: 65000 × 65000 pixels"));
}

} // namespace
} // namespace pelvano
