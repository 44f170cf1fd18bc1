#include "io/file_name.h"
#include "io/picture_input.h"
#include "io_test_support.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace pelvano {
namespace {

using test::Corpus;

class LoadPictureTest : public ::testing::Test {
protected:
    // Copies a corpus file into the temporary folder under another name.
    QString CopyAs(const QString& corpusFile, const QString& name) {
        const QString target = folder_.filePath(name);
        QDir().mkpath(QFileInfo(target).path());
        EXPECT_TRUE(QFile::copy(Corpus(corpusFile), target)) << name.toStdString();
        return target;
    }
    QTemporaryDir folder_;
};

TEST_F(LoadPictureTest, TheExtensionAloneChoosesTheDecoder) {
    const QString bmp = QStringLiteral("photos/rose-70x46.bmp");
    const QString jpeg = QStringLiteral("photos/grace-hopper-512x600.jpg");
    for (const char* name : {"PHOTO.BMP", "photo.Bmp", "a.jpg.bmp"}) {
        const LoadedPicture loaded = LoadPicture(CopyAs(bmp, QString::fromLatin1(name)));
        EXPECT_TRUE(loaded.ok()) << name << ": " << loaded.error.toStdString();
        EXPECT_EQ(loaded.picture.size(), QSize(70, 46)) << name;
    }
    for (const char* name :
         {"photo.JPG", "photo.jpeg", "photo.png", "photo", "dots.bmp/photo", "trailing."}) {
        const LoadedPicture loaded = LoadPicture(CopyAs(jpeg, QString::fromLatin1(name)));
        EXPECT_TRUE(loaded.ok()) << name << ": " << loaded.error.toStdString();
        EXPECT_EQ(loaded.picture.size(), QSize(512, 600)) << name;
    }
    EXPECT_EQ(LoadPicture(CopyAs(jpeg, QStringLiteral("photo.bmp"))).error,
              QStringLiteral("Bitmap image is not valid"));
    EXPECT_EQ(LoadPicture(CopyAs(bmp, QStringLiteral("photo2.jpg"))).error,
              QStringLiteral("JPEG error #53"));
    EXPECT_EQ(LoadPicture(CopyAs(bmp, QStringLiteral("rose"))).error,
              QStringLiteral("JPEG error #53"));
}

TEST_F(LoadPictureTest, MissingOrUnreadableFilesCannotBeOpened) {
    const QString missing = folder_.filePath(QStringLiteral("nothing here.jpg"));
    const LoadedPicture loaded = LoadPicture(missing);
    EXPECT_EQ(loaded.error, QStringLiteral("Cannot open file ") + missing);
    EXPECT_TRUE(loaded.picture.isNull());

    const QString folderNamedLikeAPicture = folder_.filePath(QStringLiteral("album.bmp"));
    ASSERT_TRUE(QDir().mkpath(folderNamedLikeAPicture));
    EXPECT_EQ(LoadPicture(folderNamedLikeAPicture).error,
              QStringLiteral("Cannot open file ") + folderNamedLikeAPicture);
}

TEST(PictureAspect, IsTheExactQuotientOfTheSides) {
    EXPECT_EQ(PictureAspect(QImage(600, 400, QImage::Format_BGR888)), 1.5L);
    EXPECT_EQ(PictureAspect(QImage(3088, 1, QImage::Format_BGR888)), 3088.0L);
    EXPECT_EQ(PictureAspect(QImage(1, 3, QImage::Format_BGR888)), 1.0L / 3.0L);
    EXPECT_EQ(PictureAspect(QImage()), 1.0L);
}

TEST(ToRasterView, ExposesThe24BitRowsWithTheirPadding) {
    QImage image(70, 46, QImage::Format_BGR888);
    image.fill(Qt::black);
    image.setPixel(69, 45, qRgb(10, 20, 30));
    const RasterView view = ToRasterView(image);
    ASSERT_EQ(view.data, image.constBits());
    EXPECT_EQ(view.width, 70);
    EXPECT_EQ(view.height, 46);
    EXPECT_EQ(view.stride, 212); // 210 bytes of pixels, padded to 4
    const std::uint8_t* last = view.data + 45 * view.stride + 69 * 3;
    EXPECT_EQ(last[0], 30); // blue first
    EXPECT_EQ(last[2], 10);

    EXPECT_EQ(ToRasterView(QImage(4, 4, QImage::Format_RGB32)).data, nullptr);
}

TEST(FileName, ExtensionsAndFoldersFollowTheLastSeparator) {
    EXPECT_EQ(LowerExtension(QStringLiteral("/pics/Photo.JPEG")), QStringLiteral(".jpeg"));
    EXPECT_EQ(LowerExtension(QStringLiteral("/my.pics/photo")), QString());
    EXPECT_EQ(LowerExtension(QStringLiteral("archive.tar.BMP")), QStringLiteral(".bmp"));
    EXPECT_EQ(FileNamePart(QStringLiteral("/out/photo.bmp")), QStringLiteral("photo.bmp"));
    EXPECT_EQ(FileNamePart(QStringLiteral("photo.bmp")), QStringLiteral("photo.bmp"));
    EXPECT_EQ(FolderOfFile(QStringLiteral("/home/u/pics/a.jpg")), QStringLiteral("/home/u/pics"));
    EXPECT_EQ(FolderOfFile(QStringLiteral("a.jpg")), QString());
#ifdef Q_OS_WIN
    EXPECT_EQ(FolderOfFile(QStringLiteral("D:\\pics\\a.jpg")), QStringLiteral("D:\\pics"));
    EXPECT_EQ(FolderOfFile(QStringLiteral("D:\\a.jpg")), QStringLiteral("D:\\"));
    EXPECT_EQ(LowerExtension(QStringLiteral("D:\\my.pics\\photo")), QString());
#endif
}

} // namespace
} // namespace pelvano
