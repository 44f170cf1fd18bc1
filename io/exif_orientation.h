#pragma once

#include <QImage>
#include <cstddef>
#include <cstdint>

namespace pelvano {

// Phones store a photo as the sensor saw it and record in the EXIF orientation tag how to turn
// it upright: 1 upright, 2 mirrored, 3 turned 180°, 4 flipped, 5 mirrored and turned 270°,
// 6 turned 90° clockwise, 7 mirrored and turned 90°, 8 turned 270°.

// The orientation in an APP1 segment's data (starting "Exif\0\0"), or 1 when there is none or the
// segment is damaged. Every offset is checked against the segment's length.
int ExifOrientation(const std::uint8_t* data, std::size_t size);

// `picture` turned upright for that orientation; values outside 2..8 leave it as it is. Pixels are
// moved, never resampled, and the format is kept.
QImage Upright(const QImage& picture, int orientation);

} // namespace pelvano
