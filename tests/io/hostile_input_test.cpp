#include "io/picture_decoders.h"
#include "io/picture_export.h"
#include "io/picture_input.h"
#include "io_test_support.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <sys/stat.h>
#include <vector>

namespace pelvano {
namespace {

using test::Corpus;
using test::FirstDifference;
using test::ReadBytes;
using test::WriteBytes;

// Leaves freed heap blocks of many sizes full of `value`, so a decoder that hands out memory it
// never wrote shows it as a difference between two opens.
void DirtyHeap(unsigned char value) {
    std::vector<std::unique_ptr<char[]>> blocks;
    for (std::size_t size = 512; size <= 512 * 1024; size = size * 3 / 2) {
        blocks.emplace_back(new char[size]);
        std::memset(blocks.back().get(), value, size);
    }
}

// Broken files made here, beside the shared corpus: each one a way a file can lie.
void WriteMadeUpFiles(const QString& folder) {
    const QByteArray rose = ReadBytes(Corpus("photos/rose-70x46.bmp"));
    WriteBytes(folder + "/rose-half.bmp", rose.left(rose.size() / 2));
    WriteBytes(folder + "/rose-last-row-short.bmp", rose.left(rose.size() - 5));
    WriteBytes(folder + "/rose-header-only.bmp", rose.left(54));
    const QByteArray jpeg = EncodeJpeg(test::TestCard(96, 64));
    WriteBytes(folder + "/second-frame-header.jpg", test::WithSecondFrameHeader(jpeg));
    WriteBytes(folder + "/cut-in-header.jpg", jpeg.left(100));
    // A header claiming more pixels than the general bitmap reader takes, with no pixels at all.
    QByteArray big = rose.left(54);
    const qint32 side = 16385;
    std::memcpy(big.data() + 18, &side, 4);
    std::memcpy(big.data() + 22, &side, 4);
    WriteBytes(folder + "/big-claim-no-data.bmp", big);
    QFile zeros(folder + "/zeros.jpg");
    ASSERT_TRUE(zeros.open(QIODevice::WriteOnly));
    zeros.resize(qint64{64} << 20); // 64 MB that are no JPEG: refused from the first bytes
}

TEST(HostileInput, EveryFileGivesAClearErrorOrTheSamePictureEachTime) {
    QTemporaryDir made;
    WriteMadeUpFiles(made.path());
    QStringList files;
    for (const QString& root :
         {Corpus("bmpsuite"), Corpus("broken"), Corpus("photos"), made.path()}) {
        QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            if (!path.endsWith(".md") && QFileInfo(path).size() < (4 << 20))
                files << path;
        }
    }
    ASSERT_GT(files.size(), 100);
    int refused = 0;
    for (const QString& path : files) {
        SCOPED_TRACE(path.toStdString());
        const QByteArray before = QFileInfo(path).size() < (1 << 20) ? ReadBytes(path) : "";
        DirtyHeap(0x00);
        const LoadedPicture first = LoadPicture(path);
        DirtyHeap(0xA5);
        const LoadedPicture second = LoadPicture(path);
        EXPECT_EQ(first.error, second.error);
        if (first.ok()) {
            EXPECT_EQ(first.picture.format(), QImage::Format_BGR888);
            EXPECT_EQ(FirstDifference(first.picture, second.picture), QString());
        } else {
            ++refused;
            EXPECT_TRUE(first.picture.isNull());
            EXPECT_FALSE(first.error.contains("memory")) << first.error.toStdString();
        }
        if (!before.isEmpty()) {
            EXPECT_TRUE(ReadBytes(path) == before);
        }
    }
    EXPECT_GE(refused, 20);

    const QString invalid = QStringLiteral("Bitmap image is not valid");
    for (const char* name : {"rose-half.bmp", "rose-last-row-short.bmp", "rose-header-only.bmp",
                             "big-claim-no-data.bmp"})
        EXPECT_EQ(LoadPicture(made.filePath(name)).error, invalid) << name;
    EXPECT_EQ(LoadPicture(Corpus("bmpsuite/b/shortfile.bmp")).error, invalid);
    EXPECT_TRUE(
        LoadPicture(made.filePath("second-frame-header.jpg")).error.startsWith("JPEG error #"));
    EXPECT_EQ(LoadPicture(made.filePath("zeros.jpg")).error, "JPEG error #53");
}

TEST(HostileInput, OnlyRegularFilesAreRead) {
    QTemporaryDir folder;
    const QString fifo = folder.filePath("pipe.jpg");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString& path : {fifo, QString("/dev/zero"), folder.path()})
        EXPECT_EQ(LoadPicture(path).error, "Cannot open file " + path);
}

TEST(HostileInput, PlainBitmapsReadDirectlyMatchTheGeneralReader) {
    // Every 24-bit bitmap of the corpus, and hand-made variants: pixels after a gap, rows stored
    // top down, an offset that points into the header (ignored).
    QTemporaryDir made;
    const QByteArray rose = ReadBytes(Corpus("photos/rose-70x46.bmp"));
    QByteArray gap = rose;
    gap.insert(54, QByteArray(10, '\x7f'));
    const qint32 gapOffset = 64;
    std::memcpy(gap.data() + 10, &gapOffset, 4);
    WriteBytes(made.filePath("gap.bmp"), gap);
    QByteArray topDown = rose;
    const qint32 negative = -46;
    std::memcpy(topDown.data() + 22, &negative, 4);
    WriteBytes(made.filePath("top-down.bmp"), topDown);
    QByteArray inside = rose;
    const qint32 tooSmall = 20;
    std::memcpy(inside.data() + 10, &tooSmall, 4);
    WriteBytes(made.filePath("offset-inside.bmp"), inside);

    QStringList files{made.filePath("gap.bmp"), made.filePath("top-down.bmp"),
                      made.filePath("offset-inside.bmp")};
    QDirIterator it(Corpus(""), {"*.bmp"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    int plain = 0;
    for (const QString& path : files) {
        const QByteArray bytes = ReadBytes(path);
        if (bytes.size() < 54 || bytes[28] != 24 || bytes[30] != 0 || bytes[14] != 40)
            continue;
        SCOPED_TRACE(path.toStdString());
        ++plain;
        QImageReader reader(path, "bmp");
        const QImage general = reader.read().convertToFormat(QImage::Format_BGR888);
        const LoadedPicture direct = LoadPicture(path);
        ASSERT_EQ(direct.ok(), !general.isNull()) << direct.error.toStdString();
        if (direct.ok()) {
            EXPECT_EQ(FirstDifference(direct.picture, general), QString());
        }
    }
    EXPECT_GE(plain, 6);
}

} // namespace
} // namespace pelvano
