#pragma once

#include <QString>
#include <cstdint>

namespace pelvano {

// How large a decoded picture may be. A file's header can claim any size; the decoders compare
// the claim with these limits before they allocate anything, so a 40-byte header claiming
// 100000 x 100000 pixels gets a message instead of a 30 GB allocation.
struct PictureLimits {
    std::int64_t maxRasterBytes = 0; // of the 24-bit raster, rows padded to 4 bytes
};

// At most 2 GiB per raster and no more than the memory the system reports as available now.
PictureLimits DefaultPictureLimits();

// Bytes of a 24-bit raster of this size with rows padded to 4 bytes, or -1 when it would not even
// fit in 64 bits. Sizes below 1 give -1 too.
std::int64_t RasterBytes(std::int64_t width, std::int64_t height);

// Empty when a width x height picture (both at least 1) fits the limits, else the text to show.
QString CheckPictureSize(std::int64_t width, std::int64_t height, const PictureLimits& limits);

QString OutOfMemoryMessage(std::int64_t width, std::int64_t height);

} // namespace pelvano
