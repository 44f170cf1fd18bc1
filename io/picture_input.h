#pragma once

#include "engine/generation.h"
#include "engine/real.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

namespace pelvano {

// A picture decoded from a file. Decoding always builds a new image, so a failed open leaves
// whatever picture the caller held before untouched.
struct LoadedPicture {
    QImage picture; // Format_BGR888 (24-bit, byte order blue, green, red), at the file's full size
    QString error;  // empty on success; otherwise the exact text to show
    bool ok() const { return error.isEmpty(); }
};

// Reads a picture file. The decoder follows the name: ".bmp" in any case is read as a Windows
// bitmap; ".png", ".gif", ".tif", ".tiff" and ".webp" by Qt's reader of that kind (unless the
// file is in fact a JPEG); every other name (".jpg", none at all) as JPEG. Only regular files are
// read (a pipe, a device or a folder is refused at once, without waiting for data), and they are
// read as the decoder needs them, never whole.
LoadedPicture LoadPicture(const QString& path);

// Watches a picture arrive, for callers that start work on it before it is complete. `started`
// comes once the size is known and the raster exists, before any row is written; after it,
// `rowsReady(n)` says rows 0..n-1 are written and final. Both run on the loading thread and
// must not throw. A file that fails before its size is known calls neither; one that fails later
// still returns its error. `started` is handed a share of the raster: the rows stay valid for as
// long as the observer holds it, also after a failed load, so work reading them (another thread)
// is stopped before they can go by releasing the share only after that work.
struct LoadObserver {
    std::function<void(const std::shared_ptr<const QImage>& picture)> started;
    std::function<void(std::int32_t rows)> rowsReady;
};

// LoadPicture, telling `observer` about the rows as they are decoded. A bitmap is reported whole
// once it is read.
LoadedPicture LoadPicture(const QString& path, const LoadObserver& observer);

// Windows bitmap of any depth the bitmap reader accepts, converted to 24 bits ("Bitmap image is
// not valid" otherwise).
LoadedPicture DecodeBmp(const QByteArray& bytes);

// JPEG through libjpeg: full size, floating-point IDCT, block smoothing. A fatal decoder error
// gives "JPEG error #N" with libjpeg's message number; warnings (a truncated file) are ignored
// and the picture holds what the data gave.
LoadedPicture DecodeJpeg(const QByteArray& bytes);

// Width over height, exactly as a long double division; 1 for an empty picture.
Real PictureAspect(const QImage& picture);

// The engine's view of a Format_BGR888 image; an empty view for any other format.
RasterView ToRasterView(const QImage& picture);

} // namespace pelvano
