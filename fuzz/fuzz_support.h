#pragma once

#include "io/picture_input.h"
#include "io/picture_limits.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>

namespace pelvano::fuzz {

// Small enough that a forged header cannot make one run take seconds or gigabytes, large
// enough for every corpus picture used as a seed.
PictureLimits FuzzLimits();

// Wraps the fuzzer's bytes without copying.
QByteArray BytesOf(const std::uint8_t* data, std::size_t size);

// Keeps Qt's reader warnings off the fuzzer's output.
void SilenceQt();

// What every decode must hold: either a picture of the promised format within the limits, or an
// error and no picture. Aborts otherwise, which the fuzzer reports as a crash.
void CheckOutcome(const LoadedPicture& loaded);

} // namespace pelvano::fuzz
