#pragma once

#include "io/picture_input.h"
#include "io/picture_limits.h"

#include <QIODevice>

namespace pelvano {

// The decoders with explicit limits: the public functions use DefaultPictureLimits(); the
// fuzzers and tests pass small ones.
LoadedPicture DecodeBmp(QIODevice& device, const PictureLimits& limits);
LoadedPicture DecodeBmp(const QByteArray& bytes, const PictureLimits& limits);
LoadedPicture DecodeJpeg(const QByteArray& bytes, const PictureLimits& limits);
LoadedPicture DecodeJpeg(const QByteArray& bytes, const PictureLimits& limits,
                         const LoadObserver& observer);
// Reads the device a block at a time, from its current position.
LoadedPicture DecodeJpeg(QIODevice& device, const PictureLimits& limits,
                         const LoadObserver& observer);

// PNG, GIF (its first frame), TIFF or WebP through Qt's own readers, `format` naming the one to
// use ("png", "gif", "tiff", "webp"). Gives the same 24-bit raster as the other decoders:
// transparency over white, 16-bit channels rounded. "PNG image is not valid" and so on otherwise.
LoadedPicture DecodeWithQtReader(QIODevice& device, const QByteArray& format,
                                 const PictureLimits& limits);
LoadedPicture DecodeWithQtReader(const QByteArray& bytes, const QByteArray& format,
                                 const PictureLimits& limits);

// The Qt reader for a file name's extension (".png" gives "png", ".tif" "tiff"), or empty for
// names the bitmap and JPEG decoders take.
QByteArray QtReaderFormat(const QString& path);

} // namespace pelvano
