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

} // namespace pelvano
