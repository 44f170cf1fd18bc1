#include "render/raster_allocation.h"

#include <cstring>
#include <gtest/gtest.h>

namespace pelvano {
namespace {

// Large rasters live in their own mapping; they must behave like any other QImage for the code
// that draws on, copies and frees them.
TEST(NewBgrRaster, LargeAndSmallRastersBehaveLikeOrdinaryImages) {
    for (const QSize size : {QSize(3001, 1001), QSize(70, 46), QSize(2, 1)}) {
        SCOPED_TRACE(size.width());
        QImage raster = NewBgrRaster(size.width(), size.height());
        ASSERT_FALSE(raster.isNull());
        EXPECT_EQ(raster.format(), QImage::Format_BGR888);
        EXPECT_EQ(raster.size(), size);
        EXPECT_EQ(raster.bytesPerLine(), QImage(size, QImage::Format_BGR888).bytesPerLine());
        std::memset(raster.bits(), 0x20, static_cast<std::size_t>(raster.sizeInBytes()));
        raster.setPixel(size.width() - 1, size.height() - 1, qRgb(1, 2, 3));

        QImage shared = raster; // a copy shares the bytes until one side writes
        shared.setPixel(0, 0, qRgb(9, 9, 9));
        EXPECT_EQ(raster.pixel(0, 0), qRgb(0x20, 0x20, 0x20));
        raster = QImage(); // the copy keeps working after the original is gone
        EXPECT_EQ(shared.pixel(size.width() - 1, size.height() - 1), qRgb(1, 2, 3));
        EXPECT_EQ(shared.pixel(0, 0), qRgb(9, 9, 9));
    }
    EXPECT_TRUE(NewBgrRaster(0, 5).isNull());
}

} // namespace
} // namespace pelvano
