#include "io/picture_export.h"
#include "io_test_support.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <vector>

namespace pelvano {
namespace {

using test::ReadBytes;
using test::TestCard;
using test::WriteBytes;

PictureRowSource RowsOf(const QImage& image, std::vector<int>* asked = nullptr) {
    return [&image, asked](std::int32_t y) {
        if (asked != nullptr) {
            asked->push_back(y);
        }
        return image.constScanLine(y);
    };
}

TEST(SaveJpegRowsTest, WritesTheSameBytesAsSavingTheWholeImage) {
    QTemporaryDir folder;
    // Odd sizes exercise the partial blocks; the large one spans several output blocks.
    for (const auto& [width, height] : {std::pair{1, 1}, {37, 23}, {1500, 1300}}) {
        SCOPED_TRACE(::testing::Message() << width << " x " << height);
        const QImage card = TestCard(width, height);
        const QString whole = folder.filePath("whole.jpg");
        const QString rows = folder.filePath("rows.jpg");
        ASSERT_EQ(SavePicture(card, whole, PictureFormat::Jpeg), QString());
        std::vector<int> asked;
        ASSERT_EQ(SaveJpegRows(width, height, RowsOf(card, &asked), rows), QString());
        EXPECT_EQ(ReadBytes(rows), ReadBytes(whole));
        ASSERT_EQ(asked.size(), static_cast<std::size_t>(height));
        for (int y = 0; y < height; ++y) {
            EXPECT_EQ(asked[static_cast<std::size_t>(y)], y);
        }
    }
}

TEST(SaveJpegRowsTest, AFailureLeavesTheOldFileAndSaysWhy) {
    QTemporaryDir folder;
    const QString target = folder.filePath("pattern.jpg");
    WriteBytes(target, "old pattern");

    // Wider than a JPEG can be: libjpeg refuses before the first row.
    const QImage wide = TestCard(70000, 1);
    const QString error = SaveJpegRows(70000, 1, RowsOf(wide), target);
    EXPECT_TRUE(error.startsWith("JPEG error #")) << error.toStdString();
    EXPECT_EQ(ReadBytes(target), QByteArray("old pattern"));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"pattern.jpg"});

    const QImage card = TestCard(8, 8);
    const QString missing = folder.filePath("no/such/folder/pattern.jpg");
    EXPECT_EQ(SaveJpegRows(8, 8, RowsOf(card), missing),
              "Cannot create file " + QDir::toNativeSeparators(missing));
    EXPECT_EQ(SaveJpegRows(0, 8, RowsOf(card), target), "There is no picture to save");
    EXPECT_EQ(ReadBytes(target), QByteArray("old pattern"));
}

} // namespace
} // namespace pelvano
