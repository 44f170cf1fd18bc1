#include "io/picture_export.h"
#include "io/picture_input.h"
#include "io/print_picture.h"
#include "io_test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <csignal>
#include <cstdio>
#include <functional>
#include <gtest/gtest.h>
#include <jpeglib.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <utility>
#include <vector>

namespace pelvano {
namespace {

using test::FirstDifference;
using test::ReadBytes;
using test::ReadPlainBmp;
using test::TestCard;

std::uint32_t U32At(const QByteArray& b, int at) {
    const auto* p = reinterpret_cast<const unsigned char*>(b.constData()) + at;
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

TEST(ForceExtension, TheExtensionFollowsTheChosenFormat) {
    using F = PictureFormat;
    EXPECT_EQ(ForceExtension("/out/photo.jpg", F::Bmp), QStringLiteral("/out/photo.bmp"));
    EXPECT_EQ(ForceExtension("/out/picture", F::Bmp), QStringLiteral("/out/picture.bmp"));
    EXPECT_EQ(ForceExtension("schema", F::Jpeg), QStringLiteral("schema.jpg"));
    EXPECT_EQ(ForceExtension("my.work.jpg", F::Jpeg), QStringLiteral("my.work.jpg"));
    EXPECT_EQ(ForceExtension("Photo.JPEG", F::Jpeg), QStringLiteral("Photo.jpg"));
    EXPECT_EQ(ForceExtension("/out/my.dir/schema", F::Jpeg),
              QStringLiteral("/out/my.dir/schema.jpg"));
    EXPECT_EQ(ForceExtension("/out/my.dir/key.bmp", F::Jpeg),
              QStringLiteral("/out/my.dir/key.jpg"));

    EXPECT_EQ(FormatFromExtension("a.BMP"), F::Bmp);
    EXPECT_EQ(FormatFromExtension("a.Jpg"), F::Jpeg);
    EXPECT_EQ(FormatFromExtension("a.jpeg"), F::Jpeg);
    EXPECT_EQ(FormatFromExtension("a.png"), std::nullopt);
    EXPECT_EQ(FormatFromExtension("/out/x.bmp/a"), std::nullopt);
}

TEST(EncodeBmp, Writes24BitUncompressedWithExactPixels) {
    for (const QSize size : {QSize(633, 895), QSize(37, 5), QSize(1, 1), QSize(4, 3)}) {
        SCOPED_TRACE(size.width());
        const QImage card = TestCard(size.width(), size.height());
        const QByteArray file = EncodeBmp(card);
        const int rowBytes = (size.width() * 3 + 3) / 4 * 4;
        ASSERT_EQ(file.size(), 54 + rowBytes * size.height());
        EXPECT_TRUE(file.startsWith("BM"));
        EXPECT_EQ(U32At(file, 2), static_cast<std::uint32_t>(file.size()));
        EXPECT_EQ(U32At(file, 10), 54u); // pixels right after the headers
        EXPECT_EQ(U32At(file, 18), static_cast<std::uint32_t>(size.width()));
        EXPECT_EQ(U32At(file, 22), static_cast<std::uint32_t>(size.height()));
        EXPECT_EQ(U32At(file, 26) & 0xFFFF, 1u);  // planes
        EXPECT_EQ(U32At(file, 28) & 0xFFFF, 24u); // bits per pixel
        EXPECT_EQ(U32At(file, 30), 0u);           // BI_RGB
        EXPECT_EQ(FirstDifference(ReadPlainBmp(file), card), QString());
        EXPECT_EQ(FirstDifference(DecodeBmp(file).picture, card), QString());
    }
    // Other formats are converted, not misread.
    QImage rgb32(3, 2, QImage::Format_RGB32);
    rgb32.fill(qRgb(1, 2, 3));
    EXPECT_EQ(ReadPlainBmp(EncodeBmp(rgb32)).pixel(2, 1), qRgb(1, 2, 3));
    EXPECT_TRUE(EncodeBmp(QImage()).isEmpty());
}

// The standard tables of the JPEG standard's annex K, in natural order.
constexpr unsigned kStdLuminance[64] = {
    16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,
    14, 13, 16, 24, 40,  57,  69,  56,  14, 17, 22, 29, 51,  87,  80,  62,
    18, 22, 37, 56, 68,  109, 103, 77,  24, 35, 55, 64, 81,  104, 113, 92,
    49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99};
constexpr unsigned kStdChrominance[64] = {
    17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99, 24, 26, 56, 99, 99, 99,
    99, 99, 47, 66, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};
// Code counts per length of the standard luminance DC Huffman table.
constexpr unsigned kStdDcLuminanceBits[17] = {0, 0, 1, 5, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0};

TEST(EncodeJpeg, IsBaselineJfifOfQuality97WithDefaultSampling) {
    const QImage card = TestCard(97, 61);
    const QByteArray file = EncodeJpeg(card);
    ASSERT_FALSE(file.isEmpty());

    jpeg_decompress_struct cinfo{};
    jpeg_error_mgr errors{};
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(file.constData()),
                 static_cast<unsigned long>(file.size()));
    ASSERT_EQ(jpeg_read_header(&cinfo, TRUE), JPEG_HEADER_OK);
    EXPECT_TRUE(cinfo.saw_JFIF_marker);
    EXPECT_FALSE(cinfo.progressive_mode);
    EXPECT_FALSE(cinfo.arith_code);
    EXPECT_EQ(cinfo.jpeg_color_space, JCS_YCbCr);
    EXPECT_EQ(cinfo.image_width, 97u);
    EXPECT_EQ(cinfo.image_height, 61u);
    ASSERT_EQ(cinfo.num_components, 3);
    EXPECT_EQ(cinfo.comp_info[0].h_samp_factor, 2);
    EXPECT_EQ(cinfo.comp_info[0].v_samp_factor, 2);
    EXPECT_EQ(cinfo.comp_info[1].h_samp_factor, 1);
    EXPECT_EQ(cinfo.comp_info[2].v_samp_factor, 1);

    const int scale = jpeg_quality_scaling(97);
    ASSERT_EQ(scale, 6);
    for (int table = 0; table < 2; ++table) {
        const unsigned* standard = table == 0 ? kStdLuminance : kStdChrominance;
        ASSERT_NE(cinfo.quant_tbl_ptrs[table], nullptr);
        for (int i = 0; i < 64; ++i) {
            const unsigned expected = std::clamp((standard[i] * scale + 50) / 100, 1u, 255u);
            EXPECT_EQ(cinfo.quant_tbl_ptrs[table]->quantval[i], expected) << table << "/" << i;
        }
    }
    ASSERT_NE(cinfo.dc_huff_tbl_ptrs[0], nullptr);
    for (int i = 0; i < 17; ++i)
        EXPECT_EQ(cinfo.dc_huff_tbl_ptrs[0]->bits[i], kStdDcLuminanceBits[i]) << i;
    jpeg_destroy_decompress(&cinfo);
}

TEST(EncodeJpeg, KeepsASmoothPictureCloseToItsPixels) {
    QImage smooth(120, 90, QImage::Format_BGR888);
    for (int y = 0; y < smooth.height(); ++y) {
        for (int x = 0; x < smooth.width(); ++x)
            smooth.setPixel(x, y, qRgb(x * 2, y * 2, 255 - x - y));
    }
    const QImage back = DecodeJpeg(EncodeJpeg(smooth)).picture;
    ASSERT_EQ(back.size(), smooth.size());
    ASSERT_EQ(back.format(), QImage::Format_BGR888);
    int worst = 0;
    for (int y = 0; y < back.height(); ++y) {
        for (int i = 0; i < back.width() * 3; ++i)
            worst =
                std::max(worst, std::abs(back.constScanLine(y)[i] - smooth.constScanLine(y)[i]));
    }
    EXPECT_LE(worst, 6);
}

TEST(EncodeJpeg, EqualsLibjpegsOwnEncoderWithTheSameSettings) {
    const QString cjpeg = QStandardPaths::findExecutable(QStringLiteral("cjpeg"));
    if (cjpeg.isEmpty())
        GTEST_SKIP() << "cjpeg is not installed";
    const QImage card = TestCard(211, 67);
    QTemporaryDir folder;
    const QString ppm = folder.filePath(QStringLiteral("card.ppm"));
    ASSERT_TRUE(card.save(ppm, "PPM"));
    QProcess process;
    process.start(cjpeg, {"-quality", "97", "-dct", "float", ppm});
    ASSERT_TRUE(process.waitForFinished(60000));
    const QByteArray reference = process.readAllStandardOutput();
    ASSERT_FALSE(reference.isEmpty());
    EXPECT_TRUE(EncodeJpeg(card) == reference);
}

class SavePictureTest : public ::testing::Test {
protected:
    QString Path(const QString& name) const { return folder_.filePath(name); }
    QStringList Files() const { return QDir(folder_.path()).entryList(QDir::Files | QDir::Hidden); }
    QTemporaryDir folder_;
};

TEST_F(SavePictureTest, WritesBothFormatsAndReplacesAnExistingFileWhole) {
    const QImage card = TestCard(120, 80);
    const QString bmp = Path(QStringLiteral("pattern.bmp"));
    const QString jpg = Path(QStringLiteral("pattern.jpg"));
    test::WriteBytes(bmp, QByteArray(100000, 'x')); // longer than the new file
    ASSERT_EQ(SavePicture(card, bmp, PictureFormat::Bmp), QString());
    ASSERT_EQ(SavePicture(card, jpg, PictureFormat::Jpeg), QString());
    EXPECT_TRUE(ReadBytes(bmp) == EncodeBmp(card));
    EXPECT_TRUE(ReadBytes(jpg) == EncodeJpeg(card));
    EXPECT_EQ(Files(), QStringList({"pattern.bmp", "pattern.jpg"}));
}

TEST_F(SavePictureTest, FailuresNameTheFileAndLeaveExistingFilesAlone) {
    const QImage card = TestCard(64, 64);
    const QString noFolder = Path(QStringLiteral("missing/pattern.bmp"));
    EXPECT_EQ(SavePicture(card, noFolder, PictureFormat::Bmp),
              QStringLiteral("Cannot create file ") + noFolder);
    const QString notAFolder = Path(QStringLiteral("plain"));
    test::WriteBytes(notAFolder, "plain file");
    EXPECT_EQ(SavePicture(card, notAFolder + "/pattern.jpg", PictureFormat::Jpeg),
              QStringLiteral("Cannot create file ") + notAFolder + "/pattern.jpg");
    EXPECT_TRUE(ReadBytes(notAFolder) == "plain file");
    EXPECT_EQ(SavePicture(QImage(), Path(QStringLiteral("empty.bmp")), PictureFormat::Bmp),
              QStringLiteral("There is no picture to save"));
    EXPECT_EQ(Files(), QStringList({"plain"}));
}

// Writes fail on it as on a full disk: a tiny file system of its own, filled up, where the test
// may mount one; otherwise a file-size limit on this process, which fails writes the same way.
class FullDisk {
public:
    explicit FullDisk(const QString& folder) : folder_(folder) {
        mounted_ =
            ::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, "size=256k") == 0;
    }
    ~FullDisk() {
        if (mounted_)
            ::umount2(QFile::encodeName(folder_).constData(), MNT_DETACH);
    }
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

    // Runs `write` with the disk full; files written before stay as they are.
    template <class Write> QString whileFull(Write write) {
        if (mounted_) {
            const QString filler = folder_ + QStringLiteral("/filler");
            QFile file(filler);
            EXPECT_TRUE(file.open(QIODevice::WriteOnly));
            const QByteArray block(4096, 'f');
            while (file.write(block) == block.size() && file.flush()) {
            }
            file.close();
            const QString error = write();
            QFile::remove(filler);
            return error;
        }
        rlimit saved{};
        EXPECT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit tight = saved;
        tight.rlim_cur = 512;
        EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &tight), 0);
        const QString error = write();
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);
        return error;
    }

private:
    QString folder_;
    bool mounted_ = false;
};

TEST_F(SavePictureTest, AFullDiskKeepsTheOldFileAndSaysSo) {
    // Small files matter most: a writer that buffers them fails only when it flushes at the
    // end, which is where failures used to go unnoticed.
    const QImage small = TestCard(40, 30);
    const QImage big = TestCard(633, 895);
    const QByteArray csvBytes(3000, 'c');
    using Writer = std::function<QString(const QString&)>;
    const std::vector<std::pair<QString, Writer>> writers{
        {"small.bmp", [&](const QString& p) { return SavePicture(small, p, PictureFormat::Bmp); }},
        {"big.bmp", [&](const QString& p) { return SavePicture(big, p, PictureFormat::Bmp); }},
        {"small.jpg", [&](const QString& p) { return SavePicture(small, p, PictureFormat::Jpeg); }},
        {"threads.csv", [&](const QString& p) { return SaveFileBytes(csvBytes, p); }},
        {"pattern.pdf",
         [&](const QString& p) {
             try {
                 PrintPictureToPdf(small, PrintSubject::Pattern, p);
             } catch (const PrintError& error) {
                 return QString::fromStdString(error.what());
             }
             return QString();
         }},
    };
    FullDisk disk(folder_.path());
    const QByteArray old(300, 'o');
    for (const auto& [name, write] : writers)
        test::WriteBytes(Path(name), old);
    for (const auto& [name, write] : writers) {
        SCOPED_TRACE(name.toStdString());
        const QString target = Path(name);
        EXPECT_EQ(disk.whileFull([&] { return write(target); }),
                  QStringLiteral("Cannot write file ") + target);
        EXPECT_TRUE(ReadBytes(target) == old);
    }
    QStringList names;
    for (const auto& [name, write] : writers)
        names << name;
    names.sort();
    EXPECT_EQ(Files(), names); // no temporary file left behind
}

TEST_F(SavePictureTest, LinksAndLongNamesAreWrittenThrough) {
    const QImage card = TestCard(30, 20);
    // A name at the file system's 255-byte limit still gets a temporary file beside it.
    const QString longName = Path(QString(251, u'n') + QStringLiteral(".bmp"));
    test::WriteBytes(longName, "old");
    EXPECT_EQ(SavePicture(card, longName, PictureFormat::Bmp), QString());
    EXPECT_TRUE(ReadBytes(longName) == EncodeBmp(card));
    // A link keeps being a link; the file it points at gets the picture.
    const QString real = Path(QStringLiteral("real.bmp"));
    const QString link = Path(QStringLiteral("link.bmp"));
    test::WriteBytes(real, "old");
    ASSERT_TRUE(QFile::link(real, link));
    EXPECT_EQ(SavePicture(card, link, PictureFormat::Bmp), QString());
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_TRUE(ReadBytes(real) == EncodeBmp(card));
    // Too large for the format: refused before a file is made, naming a size that fits.
    EXPECT_EQ(BmpSizeError(57901, 32578),
              QStringLiteral("Picture is too large for a bitmap file: 57901 × 32578 pixels; a "
                             "bitmap file holds at most 4 GB, such as 43945 × 32578 pixels"));
    EXPECT_EQ(BmpSizeError(43945, 32578), QString());
    EXPECT_EQ(SaveBmpRows(57901, 32578, nullptr, Path(QStringLiteral("huge.bmp"))),
              BmpSizeError(57901, 32578));
    EXPECT_FALSE(QFileInfo::exists(Path(QStringLiteral("huge.bmp"))));
}

} // namespace
} // namespace pelvano
