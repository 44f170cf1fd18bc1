#pragma once

#include "io/picture_input.h"
#include "io/picture_limits.h"

#include <QIODevice>
#include <optional>

namespace pelvano {

// Uncompressed 24-bit bitmaps with the classic 40-byte header, the kind nearly every large bitmap
// is, read straight into the 24-bit raster: the same pixels the general reader gives, without its
// intermediate 32-bit copy and without its fixed cap of 16384 x 16384 pixels, so the program's
// own picture limit is the only one. Nothing (and the device untouched) for any other kind.
std::optional<LoadedPicture> DecodePlainBmp(QIODevice& device, const PictureLimits& limits);

} // namespace pelvano
